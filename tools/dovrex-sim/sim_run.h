#pragma once
// The game run headless for a number of frames with scripted keys, writing
// a trace line and chosen pictures per frame, then closed through its normal
// shutdown.
#include <string>
#include <vector>

#include "tools/dovrex-sim/sim_options.h"

namespace dovrex::sim {

struct SimResult {
  int exitCode = 0;
  int framesRun = 0;
  bool closedByGame = false;  // Esc or the game's own close request
};

// Runs the simulation; problems with files or start-up are described in
// `error` (one line each) with a non-zero exit code.
SimResult RunSimulation(const SimOptions& options, std::string& error);

// Everything from argv to exit code, messages on stderr.
int SimMain(const std::vector<std::string_view>& args);

}  // namespace dovrex::sim
