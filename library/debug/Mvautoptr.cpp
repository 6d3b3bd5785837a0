#include "library/debug/Mvautoptr.h"

namespace MorvaneSystem {

namespace {

struct TMorvaneAutoPtrNode {
  const void* Pointer;
  std::int32_t Count;
  TMorvaneAutoPtrNode* Next;
  TMorvaneAutoPtrNode* Prev;
};

// The program-wide registry. Plain pointers and counts, constant-initialised,
// so they are valid before any unit's dynamic initialisation runs.
TMorvaneAutoPtrNode** gBuckets = nullptr;
int gUnits = 0;

TMorvaneAutoPtrNode* find(const void* address) {
  if (!gBuckets) return nullptr;
  for (auto* node = gBuckets[TMorvaneAutoPtrBase::Bucket(address)]; node; node = node->Next)
    if (node->Pointer == address) return node;
  return nullptr;
}

void allocateBuckets() {
  if (!gBuckets) gBuckets = new TMorvaneAutoPtrNode*[TMorvaneAutoPtrBase::kBuckets]();
}

}  // namespace

void TMorvaneAutoPtrBase::initialise() {
  if (gUnits++ == 0) allocateBuckets();
}

void TMorvaneAutoPtrBase::finalise() {
  if (--gUnits != 0) return;
  // Nodes still registered now belong to holders that outlive every unit
  // (leaked on purpose by their owners); they are left alone.
  delete[] gBuckets;
  gBuckets = nullptr;
}

std::int32_t TMorvaneAutoPtrBase::Count(const void* Address) {
  const auto* node = Address ? find(Address) : nullptr;
  return node ? node->Count : 0;
}

void TMorvaneAutoPtrBase::acquire(const void* Address) {
  if (!Address) return;
  if (auto* node = find(Address)) {
    node->Count += 1;
    return;
  }
  // A holder built before any unit initialised (impossible through the
  // header, but cheap to allow) still finds a table.
  allocateBuckets();
  auto*& head = gBuckets[Bucket(Address)];
  auto* node = new TMorvaneAutoPtrNode{Address, 1, head, nullptr};
  if (head) head->Prev = node;
  head = node;
}

bool TMorvaneAutoPtrBase::release(const void* Address) {
  if (!Address) return false;
  auto* node = find(Address);
  if (!node) throw EMvAutoPtr("リストされていないポインタが検出されました。");
  if (--node->Count > 0) return false;
  if (node->Next) node->Next->Prev = node->Prev;
  if (node->Prev) {
    node->Prev->Next = node->Next;
  } else {
    gBuckets[Bucket(Address)] = node->Next;
  }
  delete node;
  return true;
}

}  // namespace MorvaneSystem
