#pragma once
// Command line and input script of dovrex-sim.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dovrex::sim {

struct SimOptions {
  std::string directory;  // empty: the current one
  unsigned seed = 1;
  int frames = 1000;
  std::string inputFile;
  std::string traceFile;
  bool keepShield = false;
  std::string framesOutDir;
  std::set<int> framesOut;
  bool help = false;  // --help or -h: print the usage and run nothing
};

// A key event applied before the frame runs.
struct InputEvent {
  int frame = 0;  // 1 = the first frame
  bool down = false;
  int virtualKey = 0;
};

// What went wrong with a command line or an input script.
struct SimError {
  std::string message;
};

inline constexpr const char* kUsage =
    "usage: dovrex-sim [--dir DIR] [--seed N] [--frames N] [--input FILE] [--trace FILE]\n"
    "                  [--keep-shield] [--frames-out DIR --at F1,F2,...]\n";

inline constexpr const char* kHelp =
    "Runs the game headless from a script of keys and writes a JSON line per frame.\n"
    "  --dir DIR         the game's data folder (default: the current one)\n"
    "  --seed N          the random seed (default 1)\n"
    "  --frames N        how many frames to run (default 1000)\n"
    "  --input FILE      key script: lines \"FRAME down|up KEY\"\n"
    "  --trace FILE      where the per-frame trace goes\n"
    "  --keep-shield     the ship never loses its shield\n"
    "  --frames-out DIR  save the picture of the frames listed with --at\n";

// Parses argv[1..]; nothing is opened or checked on disk here.
std::optional<SimOptions> ParseArguments(const std::vector<std::string_view>& args, SimError& error);

// A key name (left right up down z x esc f9 f11, any case) or a decimal
// virtual-key code 1..255; nullopt otherwise.
std::optional<int> ParseKey(std::string_view text);

// Lines "FRAME down|up KEY"; '#' starts a comment; blank lines are skipped.
// Events come back in file order. The error names the line.
std::optional<std::vector<InputEvent>> ParseInputScript(std::string_view text, SimError& error);

}  // namespace dovrex::sim
