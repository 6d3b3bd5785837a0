#pragma once
// Reference-counted owning pointer. The counts live in one registry for the
// whole program, keyed by the owned object's address, so every holder of an
// object, whatever its type, shares one count; the last holder to let go
// deletes the object.
//
// The registry is set up by the first unit that includes this header and torn
// down after the last such unit's statics, so TMorvaneAutoPtr values held in
// statics are safe. Single-threaded: used from the main thread only.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "library/debug/exceptions.h"

namespace MorvaneSystem {

// The registry shared by every TMorvaneAutoPtr<T>: 8192 buckets of doubly
// linked chains.
class TMorvaneAutoPtrBase {
 public:
  static constexpr std::size_t kBuckets = 8192;

  static std::size_t Bucket(const void* Address) {
    return (reinterpret_cast<std::uintptr_t>(Address) >> 4) & (kBuckets - 1);
  }
  // Holders registered for the address; 0 when it is not registered.
  static std::int32_t Count(const void* Address);

 protected:
  // Registers one more holder; null is ignored.
  static void acquire(const void* Address);
  // Takes one holder away; true when it was the last one and the node is gone,
  // so the caller deletes the object. Null is ignored (false). Raises
  // EMvAutoPtr for an address that is not registered.
  static bool release(const void* Address);

 private:
  friend struct TMvautoptrUnit;
  static void initialise();
  static void finalise();
};

// Reference-counted initialisation of the registry, once per including unit.
struct TMvautoptrUnit {
  TMvautoptrUnit() { TMorvaneAutoPtrBase::initialise(); }
  ~TMvautoptrUnit() { TMorvaneAutoPtrBase::finalise(); }
  TMvautoptrUnit(const TMvautoptrUnit&) = delete;
  TMvautoptrUnit& operator=(const TMvautoptrUnit&) = delete;
};
static const TMvautoptrUnit MvautoptrUnit;

// T must have a destructor that frees the whole object (a virtual one when
// holders of a base type may be the last).
template <class T>
class TMorvaneAutoPtr : public TMorvaneAutoPtrBase {
 public:
  // Takes ownership: the object is deleted once no holder remains. If the
  // registry cannot take it (out of memory), the object is deleted at once.
  TMorvaneAutoPtr(T* Pointer = nullptr) : FPointer(Pointer) {
    try {
      acquire(Pointer);
    } catch (...) {
      delete Pointer;
      throw;
    }
  }
  TMorvaneAutoPtr(const TMorvaneAutoPtr& Other) : FPointer(Other.FPointer) { acquire(FPointer); }
  // A move hands the holder over without touching the count.
  TMorvaneAutoPtr(TMorvaneAutoPtr&& Other) noexcept : FPointer(std::exchange(Other.FPointer, nullptr)) {}

  ~TMorvaneAutoPtr() {
    try {
      Reset(nullptr);
    } catch (const EMvAutoPtr&) {
      // Not registered: nothing of ours to free, and a destructor must not throw.
    }
  }

  // Holds Pointer instead; nothing happens when it is the one already held.
  // When the held pointer is not registered, EMvAutoPtr is raised and the
  // held pointer stays.
  TMorvaneAutoPtr& operator=(T* Pointer) {
    Reset(Pointer);
    return *this;
  }
  TMorvaneAutoPtr& operator=(const TMorvaneAutoPtr& Other) {
    Reset(Other.FPointer);
    return *this;
  }
  TMorvaneAutoPtr& operator=(TMorvaneAutoPtr&& Other) {
    if (this != &Other) {
      Reset(nullptr);
      FPointer = std::exchange(Other.FPointer, nullptr);
    }
    return *this;
  }

  T* Get() const { return FPointer; }
  T* operator->() const { return FPointer; }
  T& operator*() const { return *FPointer; }
  explicit operator bool() const { return FPointer != nullptr; }

 private:
  void Reset(T* Pointer) {
    if (Pointer == FPointer) return;
    // The new pointer is acquired first: deleting the old object may destroy
    // the last other holder of the new one.
    acquire(Pointer);
    bool last;
    try {
      last = release(FPointer);
    } catch (...) {
      release(Pointer);
      throw;
    }
    T* old = std::exchange(FPointer, Pointer);
    if (last) delete old;
  }

  T* FPointer;
};

}  // namespace MorvaneSystem
