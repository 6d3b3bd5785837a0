#pragma once
// The guard every library operation runs under, so that no operation repeats
// the convention:
//
//  1. when profiling is on, a profile scope named after the operation is open
//     for the whole operation, on every way out;
//  2. every exception leaving the body is caught; when tracing is on its text
//     is written to the log (what() of standard exceptions, Message of the
//     framework's and the library's);
//  3. the same exception object is raised again, unchanged. An exception that
//     passes through two guarded operations is therefore traced twice.
//
// Usage, one guard around the whole body of each public operation:
//
//   void TMorvaneMidi::Play(const AnsiString& Name) {
//     Guarded("TMorvaneMidi::Play", [&] {
//       ...
//     });
//   }
//
//   int TMorvaneMidi::GetVolume() {
//     return Guarded("TMorvaneMidi::GetVolume", [&] { return FVolume; });
//   }
//
// The name: "Class::Operation", written as a string literal (or a constant)
// in exactly one place per operation. The profiler keys its rows by the
// pointer, not the text, so the same text at two addresses gives two rows.
//
// Constructors: guard the constructor's body the same way; a raise leaves
// the constructor as usual. Member initialisers run outside the guard, so
// initialise anything that can fail in the body.
//
// Destructors must not throw (the program would end): guard their body with
// GuardedNoThrow, which profiles and traces like Guarded and then swallows
// the exception instead of raising it again:
//
//   TMorvaneMidi::~TMorvaneMidi() {
//     GuardedNoThrow("TMorvaneMidi::~TMorvaneMidi", [&] { CleanUp(); });
//   }
//
// Component-specific trace lines go through Trace(text), which writes only
// when tracing is on.
//
// Cost with the log closed: two static flag reads and a null test; the body
// is called directly (the lambda is inlined), and the try block costs nothing
// unless something is thrown.
#include <utility>

#include "library/debug/Mvdebug.h"
#include "platform/framework/ansi_string.h"

namespace MorvaneDebugSystem {

// Writes the current exception's text as a trace line when tracing is on.
// Only to be called from a catch block; exceptions of other types are not
// written.
void TraceCurrentException() noexcept;

// Writes Text as a trace line when tracing is on.
void Trace(const char* Text);
inline void Trace(const AnsiString& Text) { Trace(Text.c_str()); }

// Runs Body under the library's convention and returns what it returns.
template <class F>
decltype(auto) Guarded(const char* Name, F&& Body) {
  MorvaneSystem::TMorvaneFunctionProfile scope(
      TMorvaneDebug::GetProfile() ? TMorvaneDebug::GetProfiler() : nullptr, Name);
  try {
    return std::forward<F>(Body)();
  } catch (...) {
    TraceCurrentException();
    throw;
  }
}

// For destructors: Body under the profile scope and the trace, but an
// exception is swallowed after it is traced. True when Body completed.
template <class F>
bool GuardedNoThrow(const char* Name, F&& Body) noexcept {
  MorvaneSystem::TMorvaneFunctionProfile scope(
      TMorvaneDebug::GetProfile() ? TMorvaneDebug::GetProfiler() : nullptr, Name);
  try {
    std::forward<F>(Body)();
    return true;
  } catch (...) {
    TraceCurrentException();
    return false;
  }
}

}  // namespace MorvaneDebugSystem
