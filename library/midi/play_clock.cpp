#include "library/midi/play_clock.h"

#include <chrono>

#include "platform/system/clock.h"

namespace MorvaneMidiSystem {

std::uint32_t TMidiSystemClock::NowMs() {
  static platform::SteadyClock clock;
  return clock.NowMs();
}

void TMidiSystemClock::SleepMs(std::uint32_t Ms) {
  std::unique_lock lock(FMutex);
  FCondition.wait_for(lock, std::chrono::milliseconds(Ms), [this] { return FWoken; });
}

void TMidiSystemClock::Wake() {
  {
    std::lock_guard lock(FMutex);
    FWoken = true;
  }
  FCondition.notify_all();
}

std::uint32_t TMidiStepClock::NowMs() {
  std::lock_guard lock(FMutex);
  return FNow;
}

void TMidiStepClock::SleepMs(std::uint32_t Ms) {
  std::unique_lock lock(FMutex);
  FWakeAt = FNow + Ms;
  ++FSleeps;
  FAsleep = true;
  FCondition.notify_all();
  FCondition.wait(lock, [this] { return FWoken || platform::ClockReached(FNow, FWakeAt); });
  FAsleep = false;
}

void TMidiStepClock::Wake() {
  {
    std::lock_guard lock(FMutex);
    FWoken = true;
  }
  FCondition.notify_all();
}

void TMidiStepClock::Advance(std::uint32_t Ms) {
  std::unique_lock lock(FMutex);
  FCondition.wait(lock, [this] { return FWoken || FAsleep; });
  if (FWoken) return;
  const std::uint64_t sleeps = FSleeps;
  FNow += Ms;
  FCondition.notify_all();
  if (!platform::ClockReached(FNow, FWakeAt)) return;
  FCondition.wait(lock, [&] { return FWoken || FSleeps > sleeps; });
}

void TMidiStepClock::WaitAsleep() {
  std::unique_lock lock(FMutex);
  FCondition.wait(lock, [this] { return FWoken || FAsleep; });
}

std::uint64_t TMidiStepClock::Sleeps() {
  std::lock_guard lock(FMutex);
  return FSleeps;
}

}  // namespace MorvaneMidiSystem
