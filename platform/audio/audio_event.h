#pragma once
// A wake-up word the audio thread can raise without taking any lock: up to 32
// independent bits, each behaving like an auto-reset event, that one thread
// at a time waits on (like waiting for any of several events at once).
//
// Raising is an atomic OR plus, only when a thread is waiting, one futex wake,
// which never sleeps; so the mixer may signal position notifications from its
// callback.
#include <atomic>
#include <cstdint>

namespace platform {

class AudioEvent {
 public:
  static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

  AudioEvent() = default;
  AudioEvent(const AudioEvent&) = delete;
  AudioEvent& operator=(const AudioEvent&) = delete;

  // Raises `bits`; callable from any thread, including the audio callback.
  void Signal(std::uint32_t bits = 1) noexcept;
  // Waits up to timeoutMs milliseconds (kInfinite: without limit) for any bit;
  // returns the raised bits and clears them, or 0 on timeout.
  std::uint32_t Wait(std::uint32_t timeoutMs = kInfinite) noexcept;
  // Returns and clears the raised bits without waiting.
  std::uint32_t Take() noexcept { return bits_.exchange(0, std::memory_order_acquire); }
  // The raised bits, left raised.
  std::uint32_t Peek() const noexcept { return bits_.load(std::memory_order_acquire); }

 private:
  std::atomic<std::uint32_t> bits_{0};
  std::atomic<std::uint32_t> waiters_{0};
};

}  // namespace platform
