#include "game/items.h"

// Not built yet: filled in with its rules.
namespace dovrex {

void DropCapsule(World&, const Enemy&, bool) {}
void CapsuleStep(World&, Enemy&) {}
void PickUpCapsule(World&, Enemy&) {}

}  // namespace dovrex
