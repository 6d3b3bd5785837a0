#pragma once
// Millisecond clocks as unsigned 32-bit values that wrap every 2^32 ms
// (about 49.7 days), as the multimedia timer did.
#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since an arbitrary origin, modulo 2^32; never goes backwards
  // except by wrapping.
  virtual std::uint32_t NowMs() = 0;
  // Lets about ms milliseconds of this clock's time pass: a real clock blocks
  // the calling thread (possibly a little longer), a virtual one moves at once.
  virtual void SleepMs(std::uint32_t ms) = 0;
  // True when SleepMs lands exactly on time, so a waiter has nothing to spin for.
  virtual bool SleepsExactly() const { return false; }
};

// The system's monotonic clock (std::chrono::steady_clock).
class SteadyClock final : public Clock {
 public:
  std::uint32_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
};

// A clock that only moves when told to; for tests and tools that must run
// frames without waiting.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::uint32_t startMs = 0) : now_(startMs) {}

  std::uint32_t NowMs() override { return now_; }
  void SleepMs(std::uint32_t ms) override { Advance(ms); }
  bool SleepsExactly() const override { return true; }

  // Moves forward by ms, wrapping modulo 2^32.
  void Advance(std::uint32_t ms) { now_ += ms; }
  void Set(std::uint32_t ms) { now_ = ms; }

 private:
  std::uint32_t now_;
};

// Milliseconds from since to now, correct across a wrap as long as the real
// interval is below 2^32 ms.
constexpr std::uint32_t ElapsedMs(std::uint32_t now, std::uint32_t since) { return now - since; }

// Whether the deadline target has been reached at now. Both values may have
// wrapped: the answer is right while they lie less than 2^31 ms (about 24.8
// days) apart, which a plain `now >= target` is not when the deadline sits
// just before the wrap and now just after it.
constexpr bool ClockReached(std::uint32_t now, std::uint32_t target) {
  return static_cast<std::int32_t>(now - target) >= 0;
}

}  // namespace platform
