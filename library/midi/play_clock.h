#pragma once
// What the play thread keeps time with: a millisecond clock and a sleep that
// can be cut short when the thread is to end. The system clock runs in real
// time; the step clock moves only when its driver says, one scheduler step at
// a time, so tests and offline rendering run the real thread on virtual time.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace MorvaneMidiSystem {

class TMidiPlayClock {
 public:
  virtual ~TMidiPlayClock() = default;

  // Milliseconds since an arbitrary origin, wrapping at 2^32.
  virtual std::uint32_t NowMs() = 0;
  // Lets about Ms milliseconds pass; returns at once once Wake() was called.
  virtual void SleepMs(std::uint32_t Ms) = 0;
  // Ends the current sleep and makes every later one return at once.
  virtual void Wake() = 0;
};

// The system's monotonic clock.
class TMidiSystemClock final : public TMidiPlayClock {
 public:
  std::uint32_t NowMs() override;
  void SleepMs(std::uint32_t Ms) override;
  void Wake() override;

 private:
  std::mutex FMutex;
  std::condition_variable FCondition;
  bool FWoken = false;
};

// Virtual time in lock step with one sleeping thread.
class TMidiStepClock final : public TMidiPlayClock {
 public:
  explicit TMidiStepClock(std::uint32_t StartMs = 0) : FNow(StartMs) {}

  std::uint32_t NowMs() override;
  // Blocks until the driver has moved time past the end of the sleep.
  void SleepMs(std::uint32_t Ms) override;
  void Wake() override;

  // Waits until the thread sleeps (it has finished its current step), moves
  // time on by Ms and, when that ends the sleep, waits until the thread has
  // done its next step and sleeps again. Returns at once after Wake().
  void Advance(std::uint32_t Ms);
  // Waits until the thread sleeps.
  void WaitAsleep();
  // Sleeps begun so far.
  std::uint64_t Sleeps();

 private:
  std::mutex FMutex;
  std::condition_variable FCondition;
  std::uint32_t FNow;
  std::uint32_t FWakeAt = 0;
  std::uint64_t FSleeps = 0;
  bool FAsleep = false;
  bool FWoken = false;
};

}  // namespace MorvaneMidiSystem
