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
  bool help = false;  // --help: print kUsage and kHelp, run nothing
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
    "                  [--keep-shield] [--frames-out DIR --at F1,F2,...]\n"
    "       dovrex-sim --help\n";

inline constexpr const char* kHelp =
    "\n"
    "Runs the game headless on a virtual clock, with a key script for input, and\n"
    "closes it through its normal shutdown after the given number of frames.\n"
    "\n"
    "  --dir DIR             the game's folder (bmp/, wav/, mid/, M_score.dat);\n"
    "                        default: the current one\n"
    "  --seed N              seed of the random numbers (default 1)\n"
    "  --frames N            frames to run (default 1000)\n"
    "  --input FILE          key script: lines \"FRAME down|up KEY\", applied before\n"
    "                        that frame (the first is 1); KEY is a virtual-key code\n"
    "                        or one of left right up down z x esc f9 f11; # comments\n"
    "  --trace FILE          one JSON object per frame, written after it\n"
    "  --keep-shield         refill the ship's shield before every frame\n"
    "  --frames-out DIR --at F1,F2,...\n"
    "                        save the presented image of those frames as\n"
    "                        DIR/frame-NNNNN.bmp\n"
    "\n"
    "Exits with 2 for bad arguments and 1 for files that cannot be read or\n"
    "written or a start-up that stops, each with a message on stderr.\n";

// Parses argv[1..]; nothing is opened or checked on disk here. --help where
// an option may stand ends the parse with help set.
std::optional<SimOptions> ParseArguments(const std::vector<std::string_view>& args, SimError& error);

// A key name (left right up down z x esc f9 f11, any case) or a decimal
// virtual-key code 1..255; nullopt otherwise.
std::optional<int> ParseKey(std::string_view text);

// Lines "FRAME down|up KEY"; '#' starts a comment; blank lines are skipped.
// Events come back in file order. The error names the line.
std::optional<std::vector<InputEvent>> ParseInputScript(std::string_view text, SimError& error);

}  // namespace dovrex::sim
