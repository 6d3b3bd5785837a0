#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "library/debug/Mvautoptr.h"

namespace {

using MorvaneSystem::EMvAutoPtr;
using MorvaneSystem::TMorvaneAutoPtr;
using MorvaneSystem::TMorvaneAutoPtrBase;

// Counts destructions, so a test sees each object deleted exactly once.
struct Resource {
  explicit Resource(int* deaths) : deaths(deaths) {}
  virtual ~Resource() { ++*deaths; }
  int* deaths;
};

struct DerivedResource : Resource {
  using Resource::Resource;
  std::string payload = std::string(64, 'p');
};

// Reaches the registry directly, as the template does.
struct Registry : TMorvaneAutoPtrBase {
  using TMorvaneAutoPtrBase::acquire;
  using TMorvaneAutoPtrBase::release;
};

TEST(AutoPtr, TwoHoldersDeleteOnceWhenTheLastGoes) {
  int deaths = 0;
  auto* object = new Resource(&deaths);
  auto first = std::make_unique<TMorvaneAutoPtr<Resource>>(object);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 1);
  {
    TMorvaneAutoPtr<Resource> second(*first);
    EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 2);
    EXPECT_EQ(second.Get(), object);
    EXPECT_EQ(second->deaths, &deaths);
    EXPECT_EQ(&*second, object);
  }
  EXPECT_EQ(deaths, 0) << "one holder remains";
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 1);
  first.reset();
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 0);
}

TEST(AutoPtr, NullIsNeverRegistered) {
  TMorvaneAutoPtr<Resource> empty;
  TMorvaneAutoPtr<Resource> copy(empty);
  EXPECT_FALSE(empty);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(nullptr), 0);
  Registry::acquire(nullptr);
  EXPECT_FALSE(Registry::release(nullptr));
}

TEST(AutoPtr, AssigningTheHeldPointerChangesNoCount) {
  int deaths = 0;
  auto* object = new Resource(&deaths);
  TMorvaneAutoPtr<Resource> holder(object);
  holder = object;
  TMorvaneAutoPtr<Resource>& alias = holder;
  holder = alias;
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 1);
  EXPECT_EQ(deaths, 0);
}

TEST(AutoPtr, AssigningAnotherPointerReleasesTheOld) {
  int deaths = 0;
  auto* a = new Resource(&deaths);
  auto* b = new Resource(&deaths);
  TMorvaneAutoPtr<Resource> holder(a);
  TMorvaneAutoPtr<Resource> other(b);
  holder = b;
  EXPECT_EQ(deaths, 1) << "a had no other holder";
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(a), 0);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(b), 2);
  other = nullptr;
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(b), 1);
  holder = other;
  EXPECT_EQ(deaths, 2);
  EXPECT_FALSE(holder);
}

TEST(AutoPtr, DeletesThroughTheVirtualDestructor) {
  int deaths = 0;
  { TMorvaneAutoPtr<Resource> holder(new DerivedResource(&deaths)); }
  EXPECT_EQ(deaths, 1);
}

TEST(AutoPtr, HoldersOfDifferentTypesShareOneCount) {
  int deaths = 0;
  auto* object = new DerivedResource(&deaths);
  TMorvaneAutoPtr<DerivedResource> derived(object);
  {
    TMorvaneAutoPtr<Resource> base(object);
    EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 2);
  }
  EXPECT_EQ(deaths, 0);
}

TEST(AutoPtr, MoveHandsTheHolderOver) {
  int deaths = 0;
  auto* object = new Resource(&deaths);
  TMorvaneAutoPtr<Resource> from(object);
  TMorvaneAutoPtr<Resource> to(std::move(from));
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 1);
  EXPECT_EQ(to.Get(), object);
  TMorvaneAutoPtr<Resource> last;
  last = std::move(to);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(object), 1);
  EXPECT_EQ(deaths, 0);
  last = nullptr;
  EXPECT_EQ(deaths, 1);
}

TEST(AutoPtrRegistry, SameBucketAddressesAreToldApart) {
  // Addresses 16 apart land in neighbouring buckets; 16 * 8192 apart, in the
  // same one. Inside one block, so the addresses are real and distinct.
  constexpr std::size_t kStride = 16 * TMorvaneAutoPtrBase::kBuckets;
  auto block = std::make_unique<unsigned char[]>(3 * kStride);
  const void* a = block.get();
  const void* b = block.get() + kStride;
  const void* c = block.get() + 2 * kStride;
  const void* lowBits = block.get() + 3;  // differs only in the low four bits
  ASSERT_EQ(TMorvaneAutoPtrBase::Bucket(a), TMorvaneAutoPtrBase::Bucket(b));
  ASSERT_EQ(TMorvaneAutoPtrBase::Bucket(a), TMorvaneAutoPtrBase::Bucket(c));
  if ((reinterpret_cast<std::uintptr_t>(a) & 0xF) == 0) {
    ASSERT_EQ(TMorvaneAutoPtrBase::Bucket(a), TMorvaneAutoPtrBase::Bucket(lowBits));
  }

  Registry::acquire(a);
  Registry::acquire(b);
  Registry::acquire(b);
  Registry::acquire(c);
  Registry::acquire(lowBits);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(a), 1);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(b), 2);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(c), 1);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(lowBits), 1);

  // Unlink from the middle, the front and the back of the chain.
  EXPECT_FALSE(Registry::release(b));
  EXPECT_TRUE(Registry::release(b));
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(b), 0);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(a), 1);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(c), 1);
  EXPECT_TRUE(Registry::release(lowBits));
  EXPECT_TRUE(Registry::release(a));
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(c), 1);
  EXPECT_TRUE(Registry::release(c));
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(c), 0);
  EXPECT_THROW(Registry::release(c), EMvAutoPtr);
}

TEST(AutoPtrRegistry, UnregisteredReleaseRaisesAndKeepsTheHeldPointer) {
  int deaths = 0;
  auto* object = new Resource(&deaths);
  int stack = 0;
  try {
    Registry::release(&stack);
    FAIL() << "no exception";
  } catch (const EMvAutoPtr& error) {
    EXPECT_EQ(error.Message, "TMorvaneAutoPtr エラー\n\nリストされていないポインタが検出されました。");
  }

  auto holder = std::make_unique<TMorvaneAutoPtr<Resource>>(object);
  EXPECT_TRUE(Registry::release(object)) << "registry emptied behind the holder's back";
  int otherDeaths = 0;
  auto* replacement = new Resource(&otherDeaths);
  EXPECT_THROW(*holder = replacement, EMvAutoPtr);
  EXPECT_EQ(holder->Get(), object) << "the held pointer stays";
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(replacement), 0) << "nothing half-registered";
  holder.reset();  // its release fails quietly: destructors do not throw
  EXPECT_EQ(deaths, 0);
  delete object;
  delete replacement;
}

TEST(AutoPtr, MapEntryErasedByNameDeletesTheResource) {
  int deaths = 0;
  std::map<std::string, TMorvaneAutoPtr<Resource>> named;
  auto* theme = new Resource(&deaths);
  named["theme"] = theme;
  named["boss"] = new Resource(&deaths);
  TMorvaneAutoPtr<Resource> kept = named["boss"];
  std::map<std::string, TMorvaneAutoPtr<Resource>> copy = named;
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(theme), 2);
  copy.clear();
  named.erase("theme");
  EXPECT_EQ(deaths, 1);
  named.clear();
  EXPECT_EQ(deaths, 1) << "boss is still held";
  kept = nullptr;
  EXPECT_EQ(deaths, 2);
}

// An object that owns the last holder of another: deleting it must not leave
// a dangling pointer in the holder that takes the other over.
struct Owner : Resource {
  using Resource::Resource;
  TMorvaneAutoPtr<Resource> inner;
};

TEST(AutoPtr, AssigningFromInsideTheReleasedObjectKeepsTheNewPointerAlive) {
  int deaths = 0;
  auto* owner = new Owner(&deaths);
  auto* inner = new Resource(&deaths);
  owner->inner = inner;
  TMorvaneAutoPtr<Resource> holder(owner);
  holder = owner->inner;  // deletes owner, and with it the other holder of inner
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(holder.Get(), inner);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(inner), 1);
}

// Held in a static: destroyed at exit, after the registry would be gone were
// it not reference-counted per including unit.
TMorvaneAutoPtr<Resource> gStaticHolder;
int gStaticDeaths = 0;

TEST(AutoPtr, StaticHolderIsUsable) {
  gStaticHolder = new Resource(&gStaticDeaths);
  EXPECT_EQ(TMorvaneAutoPtrBase::Count(gStaticHolder.Get()), 1);
}

}  // namespace
