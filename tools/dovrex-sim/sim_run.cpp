#include "tools/dovrex-sim/sim_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "game/shell/Dovrex_main.h"
#include "platform/app/application.h"
#include "platform/midi/recording_midi_out.h"
#include "platform/system/clock.h"
#include "tools/dovrex-sim/trace.h"

namespace dovrex::sim {

namespace {

namespace fs = std::filesystem;

// Virtual time starts well past the first frame period, as a real clock would.
constexpr std::uint32_t kClockStartMs = 100000;
// An input script is small; a bigger file is a mistake.
constexpr std::uintmax_t kMaxInputBytes = 64u << 20;

bool readInput(const std::string& path, std::vector<InputEvent>& events, std::string& error) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec || !fs::is_regular_file(path)) {
    error = "cannot read the input file '" + path + "'";
    return false;
  }
  if (size > kMaxInputBytes) {
    error = "the input file '" + path + "' is too large";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    error = "cannot read the input file '" + path + "'";
    return false;
  }
  SimError parseError;
  auto parsed = ParseInputScript(text, parseError);
  if (!parsed) {
    error = path + ": " + parseError.message;
    return false;
  }
  events = std::move(*parsed);
  return true;
}

std::string frameFileName(const std::string& directory, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05d.bmp", frame);
  return (fs::path(directory) / name).string();
}

}  // namespace

SimResult RunSimulation(const SimOptions& options, std::string& error) {
  SimResult result;
  const auto fail = [&](std::string message) {
    error = std::move(message);
    result.exitCode = 1;
    return result;
  };

  if (!options.directory.empty() && !fs::is_directory(options.directory)) {
    return fail("'" + options.directory + "' is not a directory");
  }
  std::vector<InputEvent> events;
  if (!options.inputFile.empty() && !readInput(options.inputFile, events, error)) {
    result.exitCode = 1;
    return result;
  }
  std::ofstream trace;
  if (!options.traceFile.empty()) {
    trace.open(options.traceFile, std::ios::binary | std::ios::trunc);
    if (!trace) return fail("cannot write the trace file '" + options.traceFile + "'");
  }
  if (!options.framesOutDir.empty()) {
    std::error_code ec;
    fs::create_directories(options.framesOutDir, ec);
    if (!fs::is_directory(options.framesOutDir)) {
      return fail("cannot make the frames directory '" + options.framesOutDir + "'");
    }
  }

  platform::Application app(platform::DisplayMode::Headless);
  app.Title = "Dovrex";
  platform::VirtualClock clock(kClockStartMs);
  TForm1Options formOptions;
  formOptions.directory = options.directory;
  formOptions.seed = options.seed;
  formOptions.clock = &clock;
  formOptions.music = [] { return std::unique_ptr<platform::MidiOut>(new platform::RecordingMidiOut()); };
  TForm1 form(app, formOptions);
  form.Window().Show();
  if (!form.Started()) {
    // The game itself would wait for Esc; the simulator closes at once.
    form.Window().Close();
    app.ProcessMessages();
    return fail("start-up stopped: " + form.StartupError().value_or("unknown error"));
  }

  std::size_t next = 0;
  for (int frame = 1; frame <= options.frames; ++frame) {
    for (; next < events.size() && events[next].frame <= frame; ++next) {
      if (events[next].frame < frame) continue;
      int key = events[next].virtualKey;
      if (events[next].down) {
        form.FormKeyDown(key);
      } else {
        form.FormKeyUp(key);
      }
    }
    if (options.keepShield) form.Record().player.shield = 6;
    app.ProcessMessages();
    if (app.Terminated()) {
      result.closedByGame = true;
      break;
    }
    bool done = true;
    if (app.OnIdle) app.OnIdle(done);
    result.framesRun = frame;
    if (trace.is_open()) {
      trace << TraceLine(frame, form.Record(), FrameOutputs{form.FrameSound(), form.FrameMusic()}) << '\n';
    }
    if (options.framesOut.contains(frame)) {
      try {
        form.Visible().SaveToFile(frameFileName(options.framesOutDir, frame));
      } catch (const std::exception& e) {
        return fail(e.what());
      }
    }
  }
  if (!app.Terminated()) {
    form.Window().Close();
    app.ProcessMessages();
  }
  if (trace.is_open()) {
    trace.flush();
    if (!trace) return fail("cannot write the trace file '" + options.traceFile + "'");
  }
  return result;
}

int SimMain(const std::vector<std::string_view>& args) {
  SimError parseError;
  const auto options = ParseArguments(args, parseError);
  if (!options) {
    std::fprintf(stderr, "dovrex-sim: %s\n%s", parseError.message.c_str(), kUsage);
    return 2;
  }
  if (options->help) {
    std::printf("%s%s", kUsage, kHelp);
    return 0;
  }
  std::string error;
  const SimResult result = RunSimulation(*options, error);
  if (result.exitCode != 0) {
    std::fprintf(stderr, "dovrex-sim: %s\n", error.c_str());
    return result.exitCode;
  }
  if (result.closedByGame) {
    std::fprintf(stderr, "dovrex-sim: the game closed before frame %d\n", result.framesRun + 1);
  }
  return 0;
}

}  // namespace dovrex::sim
