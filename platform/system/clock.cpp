#include "platform/system/clock.h"

#include <chrono>
#include <thread>

namespace platform {

std::uint32_t SteadyClock::NowMs() {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceOrigin).count();
  // Truncation to 32 bits is the wrap the callers expect.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void SteadyClock::SleepMs(std::uint32_t ms) {
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace platform
