#pragma once
// Wait-free hand-over of a whole value from one writer thread to one reader
// thread: the writer fills its back slot and publishes it; the reader takes
// the newest published slot. Neither ever waits for the other, and no slot is
// touched by both at once.
#include <array>
#include <atomic>
#include <cstdint>

namespace platform {

template <class T>
class TripleBuffer {
 public:
  // Writer side: the slot to fill. Its content is whatever an older value
  // left there; overwrite all of it.
  T& Back() { return slots_[back_]; }

  // Writer side: makes the back slot the newest value.
  void Publish() { back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & kIndex; }

  // Reader side: moves to the newest value if one was published since the
  // last call; true when it did.
  bool Update() {
    if ((middle_.load(std::memory_order_relaxed) & kFresh) == 0) return false;
    front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
    return true;
  }

  // Reader side: the current value.
  T& Front() { return slots_[front_]; }

 private:
  static constexpr std::uint8_t kIndex = 3;
  static constexpr std::uint8_t kFresh = 4;

  std::array<T, 3> slots_{};
  std::uint8_t back_ = 0;   // writer's
  std::uint8_t front_ = 1;  // reader's
  std::atomic<std::uint8_t> middle_{2};
};

}  // namespace platform
