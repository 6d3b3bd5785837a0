#pragma once
// Starts frames at least a fixed period apart on a millisecond clock. A late
// frame starts at once and becomes the new time base; nothing is caught up.
#include <cstdint>

#include "platform/system/clock.h"

namespace platform {

class FramePacer {
 public:
  // Sleeps overshoot by a millisecond or two, so the last spinMs of a wait
  // are spent reading the clock instead.
  static constexpr std::uint32_t kDefaultSpinMs = 2;

  FramePacer(Clock& clock, std::uint32_t periodMs, std::uint32_t spinMs = kDefaultSpinMs);

  // Waits until periodMs have passed since the previous frame began, then
  // reads the clock once more and returns that value as the new frame's start.
  std::uint32_t BeginFrame();

  // Start of the previous frame; 0 before the first, so that the first frame
  // does not wait once the clock is past periodMs.
  std::uint32_t LastFrameTime() const { return last_; }
  void SetLastFrameTime(std::uint32_t ms) { last_ = ms; }

  std::uint32_t PeriodMs() const { return period_; }
  Clock& GetClock() { return clock_; }

 private:
  Clock& clock_;
  std::uint32_t period_;
  std::uint32_t spin_;
  std::uint32_t last_ = 0;
};

}  // namespace platform
