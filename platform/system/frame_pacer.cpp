#include "platform/system/frame_pacer.h"

namespace platform {

FramePacer::FramePacer(Clock& clock, std::uint32_t periodMs, std::uint32_t spinMs)
    : clock_(clock), period_(periodMs), spin_(spinMs) {}

std::uint32_t FramePacer::BeginFrame() {
  for (;;) {
    // Elapsed time, not `now >= last + period`: the sum can wrap past 2^32
    // while the clock has not, and the plain comparison would then stall for
    // almost 50 days.
    const std::uint32_t elapsed = ElapsedMs(clock_.NowMs(), last_);
    if (elapsed >= period_) break;
    const std::uint32_t remaining = period_ - elapsed;
    if (clock_.SleepsExactly()) {
      clock_.SleepMs(remaining);
    } else if (remaining > spin_) {
      clock_.SleepMs(remaining - spin_);
    }
    // Otherwise spin: read the clock again.
  }
  last_ = clock_.NowMs();
  return last_;
}

}  // namespace platform
