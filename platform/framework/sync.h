#pragma once
// Critical section and auto-reset event.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class TCriticalSection {
 public:
  void Enter() { FMutex.lock(); }
  void Leave() { FMutex.unlock(); }
  // BasicLockable, so std::lock_guard<TCriticalSection> works.
  void lock() { Enter(); }
  void unlock() { Leave(); }

 private:
  std::mutex FMutex;
};

enum class TWaitResult { wrSignaled, wrTimeout };

// Auto-reset event: a successful wait consumes the signal.
class TEvent {
 public:
  static constexpr std::uint32_t INFINITE = 0xFFFFFFFFu;

  explicit TEvent(bool initiallySignaled = false) : FSignaled(initiallySignaled) {}

  void SetEvent() {
    {
      std::lock_guard lock(FMutex);
      FSignaled = true;
    }
    FCondition.notify_one();
  }

  void ResetEvent() {
    std::lock_guard lock(FMutex);
    FSignaled = false;
  }

  // Waits up to timeoutMs milliseconds (INFINITE: without limit).
  TWaitResult WaitFor(std::uint32_t timeoutMs) {
    std::unique_lock lock(FMutex);
    const auto ready = [this] { return FSignaled; };
    if (timeoutMs == INFINITE) {
      FCondition.wait(lock, ready);
    } else if (!FCondition.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
      return TWaitResult::wrTimeout;
    }
    FSignaled = false;
    return TWaitResult::wrSignaled;
  }

 private:
  std::mutex FMutex;
  std::condition_variable FCondition;
  bool FSignaled;
};
