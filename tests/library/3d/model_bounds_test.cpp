// Hostile and damaged model files: cuts, counts that lie, indices past the
// vertices, and chains too long for recursion.
#include <gtest/gtest.h>

#include <cstdio>

#include "library/3d/Mv3dobj.h"
#include "model_builder.h"

namespace {

using namespace model_test;
using Morvane3DSystem::EMv3DFile;
using Morvane3DSystem::TMorvane3DFile;
using Morvane3DSystem::TMorvane3DObject;

Record Mesh(const std::string& name, int vertices, int triangles) {
  Record record;
  record.Name(name).Text(kTexture0At, name + ".bmp");
  for (int i = 0; i < vertices; ++i) record.Vertex({float(i), 1, 2, 0, 1, 0, 0.5f, 0.5f});
  for (int i = 0; i < triangles; ++i) record.Triangle(0, 1, static_cast<std::uint16_t>(i % vertices));
  return record;
}

// Loads Bytes from memory; true when the load went through. On failure checks
// the failure handling: the load text with the file name, no root, no name.
::testing::AssertionResult LoadFails(TMorvane3DFile& model, const Bytes& bytes) {
  TMemoryStream stream(bytes.data(), bytes.size());
  try {
    model.LoadStream(nullptr, stream, "damaged.mvx");
  } catch (const EMv3DFile& e) {
    if (e.Message != kLoadPrefix + "damaged.mvx")
      return ::testing::AssertionFailure() << "text: " << e.Message;
    if (model.GetRoot() != nullptr) return ::testing::AssertionFailure() << "root kept";
    if (!model.GetName().empty()) return ::testing::AssertionFailure() << "name kept";
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "loaded " << bytes.size() << " bytes";
}

TEST(ModelBounds, ACutAtAnyFieldBoundaryOrInsideAFieldFailsTheLoad) {
  std::vector<RecordBoundaries> at;
  const Bytes whole = Build({Mesh("one", 3, 2), Mesh("two", 4, 1), Mesh("three", 0, 0)}, &at);
  TMorvane3DFile model;
  {
    TMemoryStream stream(whole.data(), whole.size());
    model.LoadStream(nullptr, stream, "whole.mvx");
    ASSERT_NE(model.FindObject("three"), nullptr);
  }
  for (const RecordBoundaries& r : at) {
    for (std::size_t cut :
         {r.name, r.attributes, r.vertexCount, r.vertices, r.indexCount, r.indices, r.continuation}) {
      EXPECT_TRUE(LoadFails(model, Bytes(whole.begin(), whole.begin() + cut))) << "cut at " << cut;
    }
  }
  // And every length in between, which cuts each field in the middle.
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    ASSERT_TRUE(LoadFails(model, Bytes(whole.begin(), whole.begin() + cut))) << "cut at " << cut;
  }
}

TEST(ModelBounds, ACountLargerThanTheRestOfTheFileFailsWithoutAllocatingIt) {
  TMorvane3DFile model;
  for (std::uint32_t claimed : {0xFFFFFFFFu, 0x08000000u, 4u}) {
    Record vertices = Mesh("v", 3, 1);
    vertices.claimedVertices = claimed;
    EXPECT_TRUE(LoadFails(model, Build({Mesh("first", 3, 1), vertices}))) << claimed;

    Record indices = Mesh("i", 3, 1);
    indices.claimedIndices = claimed;
    EXPECT_TRUE(LoadFails(model, Build({indices}))) << claimed;
  }
}

TEST(ModelBounds, CountsThatExactlyFillTheFileAreAccepted) {
  // The last index ends where the continuation word starts: nothing spare.
  TMorvane3DFile model;
  const Bytes bytes = Build({Mesh("fit", 3, 5)});
  TMemoryStream stream(bytes.data(), bytes.size());
  model.LoadStream(nullptr, stream, "fit.mvx");
  EXPECT_EQ(model.GetRoot()->indexCount, 15u);
  EXPECT_EQ(model.GetName(), "fit.mvx");
}

TEST(ModelBounds, AFailureDeepInTheChainDestroysWhatWasReadAndLeavesNoRoot) {
  TMorvane3DFile model;
  const Bytes good = Build({Mesh("kept", 3, 1)});
  {
    TMemoryStream stream(good.data(), good.size());
    model.LoadStream(nullptr, stream, "good.mvx");
  }
  std::vector<Record> records;
  for (int i = 0; i < 50; ++i) records.push_back(Mesh("r" + std::to_string(i), 3, 1));
  records.back().claimedIndices = 1000;
  EXPECT_TRUE(LoadFails(model, Build(records)));
  EXPECT_EQ(model.FindObject("kept"), nullptr);
}

TEST(ModelBounds, TrianglesReachingPastTheVerticesAreCountedAndLeftOutOfTheDrawList) {
  Record record = Mesh("bad", 4, 0);
  record
      .Triangle(0, 1, 2)        // fine
      .Triangle(1, 2, 4)        // 4 is one past the last vertex
      .Triangle(3, 3, 3)        // fine
      .Triangle(0, 65535, 1);   // far past
  record.indices.push_back(9);  // a partial triangle draws nothing at all
  const Bytes bytes = Build({record, Mesh("good", 3, 2)});
  TMorvane3DFile model;
  TMemoryStream stream(bytes.data(), bytes.size());
  model.LoadStream(nullptr, stream, "bad.mvx");

  const TMorvane3DObject& bad = *model.GetRoot();
  EXPECT_EQ(bad.indexCount, 13u);
  EXPECT_EQ(bad.CountOutOfRangeTriangles(), 2u);
  EXPECT_EQ(bad.DrawableIndices(), (std::vector<std::uint16_t>{0, 1, 2, 3, 3, 3}));
  EXPECT_EQ(model.FindObject("good")->CountOutOfRangeTriangles(), 0u);

  TMorvane3DObject empty;
  empty.SetMesh({}, {0, 0, 0});
  EXPECT_EQ(empty.CountOutOfRangeTriangles(), 1u);
  EXPECT_TRUE(empty.DrawableIndices().empty());
}

TEST(ModelBounds, ADeepChildTreeIsDestroyedWithoutRecursion) {
  auto root = std::make_unique<TMorvane3DObject>();
  TMorvane3DObject* at = root.get();
  for (int i = 0; i < 1'000'000; ++i) {
    at->child = std::make_unique<TMorvane3DObject>();
    at->child->next = std::make_unique<TMorvane3DObject>();
    at = at->child.get();
  }
  root.reset();
  SUCCEED() << "a recursive destructor would have overflowed the stack";
}

// A million objects: loaded, found, saved and destroyed, with the stack any
// thread gets. Written here with stdio so the file does not sit in memory twice.
TEST(ModelBounds, AMillionObjectChainLoadsSavesAndIsDestroyed) {
  constexpr int kObjects = 1'000'000;
  TempDir dir;
  const std::string in = dir.File("long.mvx");
  {
    FILE* file = std::fopen(in.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    Record record = Mesh("", 1, 0);
    record.indices = {0, 0, 0};
    for (int i = 0; i < kObjects; ++i) {
      record.Name("o" + std::to_string(i));
      record.continuation = i + 1 < kObjects ? 1u : 0u;
      const Bytes bytes = Build({record});
      ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    std::fclose(file);
  }
  const std::string out = dir.File("long-out.mvx");
  {
    TMorvane3DFile model;
    model.LoadFile(nullptr, in);
    int count = 0;
    for (auto* o = model.GetRoot(); o; o = o->GetNextObject()) ++count;
    EXPECT_EQ(count, kObjects);
    EXPECT_EQ(model.FindObject("O999999"), [&] {
      auto* o = model.GetRoot();
      while (o->next) o = o->next.get();
      return o;
    }());
    model.SaveFile(out);
  }
  EXPECT_EQ(ReadFile(out), ReadFile(in));
}

}  // namespace
