#pragma once
// Function profiler: how often each library operation ran and how many
// processor cycles it took. Operations do not call it directly; they open a
// TMorvaneFunctionProfile scope through the guard (library/debug/guard.h).
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <stack>

namespace MorvaneSystem {

struct TMorvaneProfileResult {
  std::uint32_t Count = 0;  // completed scopes
  std::uint64_t Total = 0;  // cycles of those scopes
};

// Source of cycle readings; the time-stamp counter unless a test injects one.
using TMorvaneCycleCounter = std::function<std::uint64_t()>;

class TMorvaneProfiler {
 public:
  // Writes to Stream, which it does not own. Without a stream (null) the
  // profiler still counts, but Trace and PrintOut write nothing.
  explicit TMorvaneProfiler(std::ostream* Stream, TMorvaneCycleCounter Counter = {});
  // Writes the results block (this class's PrintOut).
  virtual ~TMorvaneProfiler();

  TMorvaneProfiler(const TMorvaneProfiler&) = delete;
  TMorvaneProfiler& operator=(const TMorvaneProfiler&) = delete;

  // Opens a scope.
  void Start();
  // Closes the innermost open scope and books its cycles under Name, which is
  // keyed by address: one string constant per operation. An End without an
  // open scope books nothing.
  void End(const char* Name);
  // Writes the text and a newline, and flushes the stream.
  void Trace(const char* Text);
  // Writes the banner, the column heading and one row per operation, in
  // ascending order of the name's address.
  virtual void PrintOut();

  const std::map<const char*, TMorvaneProfileResult>& GetResults() const { return Results; }
  std::size_t OpenScopes() const { return Starts.size(); }

 protected:
  std::ostream* Stream;
  std::map<const char*, TMorvaneProfileResult> Results;
  std::stack<std::uint64_t> Starts;

 private:
  std::uint64_t Read() const;

  TMorvaneCycleCounter FCounter;
};

// One profile scope: Start on construction, End(Name) on destruction; with a
// null profiler it does nothing at all.
class TMorvaneFunctionProfile {
 public:
  TMorvaneFunctionProfile(TMorvaneProfiler* Profiler, const char* Name) : Name(Name), Profiler(Profiler) {
    if (Profiler) Profiler->Start();
  }
  ~TMorvaneFunctionProfile() {
    if (Profiler) Close();
  }

  TMorvaneFunctionProfile(const TMorvaneFunctionProfile&) = delete;
  TMorvaneFunctionProfile& operator=(const TMorvaneFunctionProfile&) = delete;

 private:
  void Close() noexcept;

  const char* Name;
  TMorvaneProfiler* Profiler;
};

}  // namespace MorvaneSystem
