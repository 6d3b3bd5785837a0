// TMorvane3DTLStack: the growable triangle array that sprite quads and alpha
// batches are copied into. Storage only grows; Render empties it without
// freeing, so a steady frame allocates nothing.
#include <algorithm>
#include <utility>

#include "library/3d/Mv3d.h"
#include "library/debug/guard.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;

namespace {
constexpr int kVerticesPerTriangle = 3;
constexpr int kTrianglesPerRect = 2;
}  // namespace

// A growth step below one would never make room.
TMorvane3DTLStack::TMorvane3DTLStack(int GrowBy) : FGrowBy(std::max(GrowBy, 1)) {
  Guarded("TMorvane3DTLStack::TMorvane3DTLStack", [&] {
    FStorage = std::make_unique_for_overwrite<TMorvane3DTLVertex[]>(static_cast<std::size_t>(FGrowBy) *
                                                                    kVerticesPerTriangle);
    FCapacity = FGrowBy;
  });
}

TMorvane3DTLStack::~TMorvane3DTLStack() {
  GuardedNoThrow("TMorvane3DTLStack::~TMorvane3DTLStack", [&] { CleanUp(); });
}

TMorvane3DTLStack::TMorvane3DTLStack(TMorvane3DTLStack&& Other) noexcept
    : FGrowBy(Other.FGrowBy),
      FCount(std::exchange(Other.FCount, 0)),
      FCapacity(std::exchange(Other.FCapacity, 0)),
      FStorage(std::move(Other.FStorage)) {}

TMorvane3DTLStack& TMorvane3DTLStack::operator=(TMorvane3DTLStack&& Other) noexcept {
  if (this != &Other) {
    FGrowBy = Other.FGrowBy;
    FCount = std::exchange(Other.FCount, 0);
    FCapacity = std::exchange(Other.FCapacity, 0);
    FStorage = std::move(Other.FStorage);
  }
  return *this;
}

void TMorvane3DTLStack::grow() {
  const int capacity = FCapacity + FGrowBy;
  auto storage = std::make_unique_for_overwrite<TMorvane3DTLVertex[]>(static_cast<std::size_t>(capacity) *
                                                                      kVerticesPerTriangle);
  if (FCount != 0)
    std::copy_n(FStorage.get(), static_cast<std::size_t>(FCount) * kVerticesPerTriangle, storage.get());
  FStorage = std::move(storage);
  FCapacity = capacity;
}

void TMorvane3DTLStack::Push(const TMorvane3DTLVertex& V0, const TMorvane3DTLVertex& V1,
                             const TMorvane3DTLVertex& V2) {
  Guarded("TMorvane3DTLStack::Push", [&] {
    if (FCount == FCapacity) grow();
    TMorvane3DTLVertex* t = FStorage.get() + static_cast<std::size_t>(FCount) * kVerticesPerTriangle;
    t[0] = V0;
    t[1] = V1;
    t[2] = V2;
    ++FCount;
  });
}

void TMorvane3DTLStack::PushRect(const TMorvane3DTLVertex& P0, const TMorvane3DTLVertex& P1,
                                 const TMorvane3DTLVertex& P2, const TMorvane3DTLVertex& P3) {
  Guarded("TMorvane3DTLStack::PushRect", [&] {
    // One step may not be enough when the stack grows by one triangle.
    while (FCapacity - FCount < kTrianglesPerRect) grow();
    TMorvane3DTLVertex* t = FStorage.get() + static_cast<std::size_t>(FCount) * kVerticesPerTriangle;
    t[0] = P0;
    t[1] = P1;
    t[2] = P2;
    t[3] = P2;
    t[4] = P1;
    t[5] = P3;
    FCount += kTrianglesPerRect;
  });
}

void TMorvane3DTLStack::Render(TMorvane3D& Component) {
  Guarded("TMorvane3DTLStack::Render", [&] {
    if (FCount == 0) return;
    // Emptied even when drawing fails: what was queued belongs to this frame.
    const int count = std::exchange(FCount, 0);
    Component.DrawTLTriangles(FStorage.get(), count);
  });
}

void TMorvane3DTLStack::CleanUp() {
  Guarded("TMorvane3DTLStack::CleanUp", [&] {
    FStorage.reset();
    FCount = 0;
    FCapacity = 0;
  });
}

}  // namespace Morvane3DSystem
