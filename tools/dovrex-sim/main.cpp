// dovrex-sim: the game run headless from a script of keys. See sim_options.h.
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "tools/dovrex-sim/sim_run.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  try {
    return dovrex::sim::SimMain(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dovrex-sim: %s\n", e.what());
    return 1;
  }
}
