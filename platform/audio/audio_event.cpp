#include "platform/audio/audio_event.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>

namespace platform {

static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t) &&
                  std::atomic<std::uint32_t>::is_always_lock_free,
              "the futex word must be a plain 32-bit integer");

namespace {

std::uint32_t* futexWord(std::atomic<std::uint32_t>& word) { return reinterpret_cast<std::uint32_t*>(&word); }

// Sleeps while *word == expected, at most `timeout` (null: without limit).
void futexWait(std::atomic<std::uint32_t>& word, std::uint32_t expected, const timespec* timeout) {
  syscall(SYS_futex, futexWord(word), FUTEX_WAIT_PRIVATE, expected, timeout, nullptr, 0);
}

void futexWakeAll(std::atomic<std::uint32_t>& word) {
  syscall(SYS_futex, futexWord(word), FUTEX_WAKE_PRIVATE, 0x7FFFFFFF, nullptr, nullptr, 0);
}

}  // namespace

void AudioEvent::Signal(std::uint32_t bits) noexcept {
  if (bits == 0) return;
  bits_.fetch_or(bits, std::memory_order_acq_rel);
  // seq_cst pairs with the waiter's increment: either it sees the bits before
  // sleeping, or we see it waiting and wake it.
  if (waiters_.load(std::memory_order_seq_cst) != 0) futexWakeAll(bits_);
}

std::uint32_t AudioEvent::Wait(std::uint32_t timeoutMs) noexcept {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (const std::uint32_t bits = bits_.exchange(0, std::memory_order_acquire)) return bits;
    timespec remaining{};
    const timespec* timeout = nullptr;
    if (timeoutMs != kInfinite) {
      const auto left = deadline - Clock::now();
      if (left <= Clock::duration::zero()) return 0;
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      remaining.tv_sec = static_cast<time_t>(ns / 1000000000);
      remaining.tv_nsec = static_cast<long>(ns % 1000000000);
      timeout = &remaining;
    }
    waiters_.fetch_add(1, std::memory_order_seq_cst);
    // The kernel compares the word with 0 atomically, so a signal raised
    // between the exchange above and this call is not lost.
    futexWait(bits_, 0, timeout);
    waiters_.fetch_sub(1, std::memory_order_seq_cst);
  }
}

}  // namespace platform
