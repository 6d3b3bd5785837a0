#pragma once
// The library's debug log: a header, the processor block, one line per trace
// message and, when the log closes, the profiler's table. Everything is off
// until a program calls SetDebug with a file name.
//
// Library operations do not use this class directly: they run through the
// guard in library/debug/guard.h, which opens the profile scope and traces
// exceptions.
#include <cstdint>
#include <fstream>

#include "library/debug/cpuid.h"
#include "library/debug/profiler.h"

namespace MorvaneDebugSystem {

// What SetDebug may be given instead of the real machine, for tests.
struct TMorvaneDebugSetup {
  // Printed as the processor block instead of detecting this processor and
  // measuring its clock (which takes 200 ms).
  const MorvaneSystem::TMorvaneCPUID* Processor = nullptr;
  // The log profiler's cycle counter; the time-stamp counter when empty.
  MorvaneSystem::TMorvaneCycleCounter Counter;
};

class TMorvaneDebug {
 public:
  // Closes the current log if any (three newlines, then the profiler's
  // results block), then opens FileName, replacing its content, when it is
  // not null. A file that cannot be opened is not reported: its lines are lost.
  // NOTE: not to be called from inside a guarded operation: the closing
  // frees the profiler that operation's open scope will report to.
  static void SetDebug(const char* FileName, bool Debug, bool Profile);
  static void SetDebug(const char* FileName, bool Debug, bool Profile, const TMorvaneDebugSetup& Setup);

  // Trace lines are written.
  static bool GetDebug() { return Debug; }
  // Library operations open profile scopes.
  static bool GetProfile() { return Profile; }
  // The log's profiler, which also carries Trace; null while the log is closed.
  static MorvaneSystem::TMorvaneProfiler* GetProfiler() { return DefaultProfiler; }

  TMorvaneDebug(const TMorvaneDebug&) = delete;
  TMorvaneDebug& operator=(const TMorvaneDebug&) = delete;

 private:
  friend struct TMvdebugUnit;
  // The one static instance: built by the first unit that includes this
  // header, destroyed (closing the log) after the last such unit's statics.
  TMorvaneDebug() = default;
  ~TMorvaneDebug();

  static void Close();

  // Plain constant-initialised statics: valid before any dynamic
  // initialisation and untouched by static destruction.
  static inline MorvaneSystem::TMorvaneProfiler* DefaultProfiler = nullptr;
  static inline std::ofstream* OutputStrm = nullptr;
  static inline bool Debug = false;
  static inline bool Profile = false;
};

// Reference-counted initialisation and finalisation, once per including unit.
struct TMvdebugUnit {
  TMvdebugUnit();
  ~TMvdebugUnit();
  TMvdebugUnit(const TMvdebugUnit&) = delete;
  TMvdebugUnit& operator=(const TMvdebugUnit&) = delete;
};
static const TMvdebugUnit MvdebugUnit;

}  // namespace MorvaneDebugSystem
