// Runs a failing operation under the installed library's guard with the
// debug log on; fails unless the error comes back and the log records it.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "library/debug/Mvdebug.h"
#include "library/debug/exceptions.h"
#include "library/debug/guard.h"

int main(int argc, char** argv) {
  const std::string log = argc > 1 ? argv[1] : "use_debug.log";
  MorvaneDebugSystem::TMorvaneDebug::SetDebug(log.c_str(), true, true);
  std::string caught;
  try {
    MorvaneDebugSystem::Guarded("Consumer::Fail",
                                [] { throw MorvaneMidiSystem::EMvMidi("consumer failure"); });
  } catch (const MorvaneMidiSystem::EMvMidi& e) {
    caught = e.what();
  }
  MorvaneDebugSystem::TMorvaneDebug::SetDebug(nullptr, false, false);
  std::stringstream text;
  text << std::ifstream(log).rdbuf();
  const bool logged = text.str().find("Consumer::Fail") != std::string::npos;
  std::printf("debug: caught \"%s\", log %s\n", caught.c_str(), logged ? "has the operation" : "misses it");
  const bool kept = caught.find("consumer failure") != std::string::npos;
  return kept && logged ? 0 : 1;
}
