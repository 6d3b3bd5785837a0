#pragma once
// Callbacks posted from any thread, run later on the main thread when the
// application dispatches its messages (Application::ProcessMessages).
#include <deque>
#include <functional>
#include <mutex>

class TMainThreadQueue {
 public:
  void Post(std::function<void()> callback);
  // Runs the callbacks posted before this call, in posting order; returns how
  // many ran. Callbacks posted while running wait for the next call. An
  // exception from a callback propagates; the callbacks after it stay queued.
  int RunPending();

 private:
  std::mutex FMutex;
  std::deque<std::function<void()>> FPending;
};

// The process-wide queue of the application's main thread.
TMainThreadQueue& MainThreadQueue();
