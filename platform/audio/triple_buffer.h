#pragma once
// Wait-free hand-over of a whole value from one writer thread to one reader
// thread: the writer fills its back slot and publishes it; the reader takes
// the newest published slot. Neither ever waits for the other, and no slot is
// touched by both at once.
#include <array>
#include <atomic>
#include <cstdint>

template <class T>
class TripleBuffer {
 public:
  // Writer side: the slot to fill. Its content is whatever an older value
  // left there; overwrite all of it.
  T& Back() { return FSlots[FBack]; }

  // Writer side: makes the back slot the newest value.
  void Publish() { FBack = FMiddle.exchange(FBack | kFresh, std::memory_order_acq_rel) & kIndex; }

  // Reader side: moves to the newest value if one was published since the
  // last call; true when it did.
  bool Update() {
    if ((FMiddle.load(std::memory_order_relaxed) & kFresh) == 0) return false;
    FFront = FMiddle.exchange(FFront, std::memory_order_acq_rel) & kIndex;
    return true;
  }

  // Reader side: the current value.
  T& Front() { return FSlots[FFront]; }

 private:
  static constexpr std::uint8_t kIndex = 3;
  static constexpr std::uint8_t kFresh = 4;

  std::array<T, 3> FSlots{};
  std::uint8_t FBack = 0;   // writer's
  std::uint8_t FFront = 1;  // reader's
  std::atomic<std::uint8_t> FMiddle{2};
};
