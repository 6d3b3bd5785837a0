#pragma once
// Wait-free single-producer single-consumer rings: how commands and messages
// reach the audio thread without a lock. Several producers must serialise
// among themselves (a mutex the consumer never takes is fine).
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

namespace platform {

// A ring of up to Capacity values (a power of two).
template <class T, std::size_t Capacity>
class SpscRing {
  static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

 public:
  // Producer side; false when the ring is full. The value is moved from only
  // when it is taken, so a caller may retry with the same value.
  bool Push(T& value) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
    slots_[tail & (Capacity - 1)] = std::move(value);
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Consumer side; false when the ring is empty. The slot is left moved-from,
  // so a ring of owning pointers holds no stale owners.
  bool Pop(T& out) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return false;
    out = std::move(slots_[head & (Capacity - 1)]);
    head_.store(head + 1, std::memory_order_release);
    return true;
  }

  bool Empty() const {
    return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire);
  }

 private:
  std::array<T, Capacity> slots_{};
  alignas(64) std::atomic<std::size_t> head_{0};
  alignas(64) std::atomic<std::size_t> tail_{0};
};

// A ring of bytes into which records are written whole or not at all.
class SpscByteRing {
 public:
  explicit SpscByteRing(std::size_t capacity)
      : capacity_(std::bit_ceil(std::max<std::size_t>(capacity, 16))),
        bytes_(std::make_unique<std::uint8_t[]>(capacity_)) {}

  // Producer side: appends a and then b as one record; false (nothing written)
  // when they do not fit.
  bool Write(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b = {}) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t free = capacity_ - (tail - head_.load(std::memory_order_acquire));
    if (a.size() + b.size() > free) return false;
    copyIn(tail, a);
    copyIn(tail + a.size(), b);
    tail_.store(tail + a.size() + b.size(), std::memory_order_release);
    return true;
  }

  // Consumer side: bytes that can be read now.
  std::size_t Readable() const {
    return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_relaxed);
  }

  // Consumer side: takes count bytes (count <= Readable()).
  void Read(std::uint8_t* out, std::size_t count) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    for (std::size_t done = 0; done < count;) {
      const std::size_t at = (head + done) & (capacity_ - 1);
      const std::size_t run = std::min(count - done, capacity_ - at);
      std::memcpy(out + done, bytes_.get() + at, run);
      done += run;
    }
    head_.store(head + count, std::memory_order_release);
  }

  std::size_t Capacity() const { return capacity_; }

 private:
  void copyIn(std::size_t from, std::span<const std::uint8_t> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
      const std::size_t at = (from + done) & (capacity_ - 1);
      const std::size_t run = std::min(bytes.size() - done, capacity_ - at);
      std::memcpy(bytes_.get() + at, bytes.data() + done, run);
      done += run;
    }
  }

  std::size_t capacity_;
  std::unique_ptr<std::uint8_t[]> bytes_;
  alignas(64) std::atomic<std::size_t> head_{0};
  alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace platform
