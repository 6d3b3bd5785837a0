#pragma once
// A thread object: derive, implement Execute, poll Terminated(). It is created
// suspended (Execute cannot run before the derived object is complete) and
// starts on Resume().
// NOTE: a derived class must call Terminate() and WaitFor() in its own
// destructor, before its members die, if Execute uses them.
#include <atomic>
#include <thread>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
 public:
  TThread() = default;
  virtual ~TThread();

  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts a thread created suspended; later calls do nothing.
  void Resume();
  void Terminate() { FTerminated.store(true, std::memory_order_release); }
  bool Terminated() const { return FTerminated.load(std::memory_order_acquire); }
  // Waits until Execute has returned.
  void WaitFor();

  // Asks the system for this priority; a refusal (no privilege) is ignored.
  void SetPriority(TThreadPriority priority);
  TThreadPriority Priority() const { return FPriority; }

  // Applies a priority to the calling thread; false when the system refuses.
  static bool SetCurrentThreadPriority(TThreadPriority priority);

 protected:
  virtual void Execute() = 0;

 private:
  void Run();

  std::thread FThread;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FStarted{false};
  TThreadPriority FPriority = TThreadPriority::tpNormal;
};
