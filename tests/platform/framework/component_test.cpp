#include "platform/framework/component.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/string_list.h"

namespace {

struct Probe : TComponent {
  Probe(TComponent* owner, std::vector<int>& log, int id) : TComponent(owner), log(log), id(id) {}
  ~Probe() override { log.push_back(id); }
  std::vector<int>& log;
  int id;
};

TEST(Component, OwnerFreesOwnedComponentsNewestFirst) {
  std::vector<int> log;
  auto* owner = new Probe(nullptr, log, 0);
  new Probe(owner, log, 1);
  auto* second = new Probe(owner, log, 2);
  new Probe(second, log, 3);
  EXPECT_EQ(owner->ComponentCount(), 2);
  delete owner;
  // Each destructor body runs before its base frees the owned components.
  EXPECT_EQ(log, (std::vector<int>{0, 2, 3, 1}));
}

TEST(Component, DeletingAnOwnedComponentUnlinksIt) {
  std::vector<int> log;
  Probe owner(nullptr, log, 0);
  delete new Probe(&owner, log, 1);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(StringList, KeepsOrderAndJoinsLines) {
  TStringList list;
  EXPECT_EQ(list.Add("one"), 0);
  EXPECT_EQ(list.Add("two"), 1);
  EXPECT_EQ(list[1], "two");
  EXPECT_EQ(list.Text(), "one\ntwo\n");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
