#include "tools/dovrex-sim/sim_options.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace dovrex::sim {

namespace {

// A whole decimal number in [low, high].
std::optional<long long> parseNumber(std::string_view text, long long low, long long high) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    const std::size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

bool parseFrameList(std::string_view text, std::set<int>& frames) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string_view item =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    const auto frame = parseNumber(item, 1, std::numeric_limits<int>::max());
    if (!frame) return false;
    frames.insert(static_cast<int>(*frame));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return !frames.empty();
}

}  // namespace

std::optional<SimOptions> ParseArguments(const std::vector<std::string_view>& args, SimError& error) {
  SimOptions options;
  bool haveAt = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "--keep-shield") {
      options.keepShield = true;
      continue;
    }
    const bool takesValue = arg == "--dir" || arg == "--seed" || arg == "--frames" || arg == "--input" ||
                            arg == "--trace" || arg == "--frames-out" || arg == "--at";
    if (!takesValue) {
      error.message = "unknown argument '" + std::string(arg) + "'";
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error.message = std::string(arg) + " needs a value";
      return std::nullopt;
    }
    const std::string_view value = args[++i];
    if (arg == "--dir") {
      options.directory = value;
    } else if (arg == "--seed") {
      const auto seed = parseNumber(value, 0, std::numeric_limits<unsigned>::max());
      if (!seed) {
        error.message = "--seed takes a number 0.." + std::to_string(std::numeric_limits<unsigned>::max());
        return std::nullopt;
      }
      options.seed = static_cast<unsigned>(*seed);
    } else if (arg == "--frames") {
      const auto frames = parseNumber(value, 0, 100'000'000);
      if (!frames) {
        error.message = "--frames takes a number 0..100000000";
        return std::nullopt;
      }
      options.frames = static_cast<int>(*frames);
    } else if (arg == "--input") {
      options.inputFile = value;
    } else if (arg == "--trace") {
      options.traceFile = value;
    } else if (arg == "--frames-out") {
      options.framesOutDir = value;
    } else {  // --at
      if (!parseFrameList(value, options.framesOut)) {
        error.message = "--at takes frame numbers (1 or more) separated by commas";
        return std::nullopt;
      }
      haveAt = true;
    }
    if (value.empty() && arg != "--dir") {
      error.message = std::string(arg) + " needs a value";
      return std::nullopt;
    }
  }
  if (options.framesOutDir.empty() != !haveAt) {
    error.message = "--frames-out and --at go together";
    return std::nullopt;
  }
  return options;
}

std::optional<int> ParseKey(std::string_view text) {
  static const struct {
    const char* name;
    int vk;
  } kNames[] = {{"left", 37}, {"right", 39}, {"up", 38},  {"down", 40}, {"z", 90},
                {"x", 88},    {"esc", 27},   {"f9", 120}, {"f11", 122}};
  const std::string name = lower(text);
  for (const auto& entry : kNames) {
    if (name == entry.name) return entry.vk;
  }
  if (const auto code = parseNumber(text, 1, 255)) return static_cast<int>(*code);
  return std::nullopt;
}

std::optional<std::vector<InputEvent>> ParseInputScript(std::string_view text, SimError& error) {
  std::vector<InputEvent> events;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    const auto parts = words(line);
    if (parts.empty()) continue;
    const auto fail = [&](const std::string& why) {
      error.message = "line " + std::to_string(lineNumber) + ": " + why;
      return std::nullopt;
    };
    if (parts.size() != 3) return fail("expected \"FRAME down|up KEY\"");
    const auto frame = parseNumber(parts[0], 1, std::numeric_limits<int>::max());
    if (!frame) return fail("frame '" + std::string(parts[0]) + "' is not a number 1 or more");
    const std::string action = lower(parts[1]);
    if (action != "down" && action != "up")
      return fail("expected down or up, not '" + std::string(parts[1]) + "'");
    const auto key = ParseKey(parts[2]);
    if (!key) return fail("unknown key '" + std::string(parts[2]) + "'");
    events.push_back(InputEvent{static_cast<int>(*frame), action == "down", *key});
  }
  return events;
}

}  // namespace dovrex::sim
