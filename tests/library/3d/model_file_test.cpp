// Loading, saving and finding objects of the model file, on files written by
// the test's own writer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "library/3d/Mv3dobj.h"
#include "model_builder.h"

namespace {

using namespace model_test;
using Morvane3DSystem::EMv3DFile;
using Morvane3DSystem::TMorvane3DFile;
using Morvane3DSystem::TMorvane3DObject;

Record Triangle(const std::string& name, float x) {
  Record record;
  record.Name(name)
      .Vertex({x, 0, 0, 0, 0, 1, 0, 0})
      .Vertex({x, 1, 0, 0, 0, 1, 0, 1})
      .Vertex({x + 1, 0, 0, 0, 0, 1, 1, 0})
      .Triangle(0, 1, 2);
  return record;
}

std::vector<std::string> ChainNames(const TMorvane3DFile& model) {
  std::vector<std::string> names;
  for (auto* o = model.GetRoot(); o; o = o->GetNextObject()) names.push_back(o->GetName());
  return names;
}

class ModelFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir.File(name);
    WriteFile(path, bytes);
    return path;
  }
  TempDir dir;
  TMorvane3DFile model;
};

TEST_F(ModelFile, ContinuationZeroEndsTheChainAfterOneObject) {
  Record first = Triangle("first", 5);
  first.continuation = 0;
  const std::string path = Write("one.mvx", Build({first, Triangle("never read", 9)}));

  model.LoadFile(nullptr, path);
  ASSERT_NE(model.GetRoot(), nullptr);
  EXPECT_EQ(ChainNames(model), std::vector<std::string>{"first"});
  EXPECT_EQ(model.GetName(), path);
  const TMorvane3DObject& root = *model.GetRoot();
  ASSERT_EQ(root.vertexCount, 3u);
  EXPECT_EQ(root.vertices[2].x, 6.0f);
  EXPECT_EQ(root.vertices[1].tv, 1.0f);
  ASSERT_EQ(root.indexCount, 3u);
  EXPECT_EQ(root.indices[2], 2);
}

TEST_F(ModelFile, ThreeRecordsLoadAsRootNextNextInFileOrder) {
  Record last = Triangle("c", 30);
  last.Triangle(2, 1, 0);
  const std::string path = Write("three.mvx", Build({Triangle("a", 10), Triangle("b", 20), last}));

  model.LoadFile(nullptr, path);
  EXPECT_EQ(ChainNames(model), (std::vector<std::string>{"a", "b", "c"}));
  const TMorvane3DObject* c = model.GetRoot()->next->next.get();
  EXPECT_EQ(c->vertices[0].x, 30.0f);
  ASSERT_EQ(c->indexCount, 6u);
  EXPECT_EQ(c->indices[3], 2);
  EXPECT_EQ(model.GetRoot()->child, nullptr);
}

TEST_F(ModelFile, LoadReplacesTheWholePreviousModel) {
  model.LoadFile(nullptr, Write("big.mvx", Build({Triangle("a", 0), Triangle("b", 0), Triangle("c", 0)})));
  const std::string path = Write("small.mvx", Build({Triangle("z", 0)}));
  model.LoadFile(nullptr, path);
  EXPECT_EQ(ChainNames(model), std::vector<std::string>{"z"});
  EXPECT_EQ(model.GetName(), path);
}

TEST_F(ModelFile, ChildrenAreNeitherSavedNorLoaded) {
  auto root = std::make_unique<TMorvane3DObject>();
  root->SetName("body");
  auto wheel = std::make_unique<TMorvane3DObject>();
  wheel->SetName("wheel");
  wheel->SetMesh({{1, 2, 3, 0, 1, 0, 0, 0}}, {0, 0, 0});
  root->AddChild(std::move(wheel));
  auto tail = std::make_unique<TMorvane3DObject>();
  tail->SetName("tail");
  root->AddNext(std::move(tail));
  model.SetRoot(std::move(root));

  const std::string path = dir.File("children.mvx");
  model.SaveFile(path);

  Record body, tailRecord;
  body.Name("body");
  tailRecord.Name("tail");
  EXPECT_EQ(ReadFile(path), Build({body, tailRecord}));

  TMorvane3DFile again;
  again.LoadFile(nullptr, path);
  EXPECT_EQ(ChainNames(again), (std::vector<std::string>{"body", "tail"}));
  EXPECT_EQ(again.GetRoot()->child, nullptr);
}

TEST_F(ModelFile, FindObjectIgnoresCaseAndLooksOnlyAlongTheChain) {
  model.LoadFile(nullptr, Write("find.mvx", Build({Triangle("hull", 0), Triangle("turret", 1)})));
  auto hidden = std::make_unique<TMorvane3DObject>();
  hidden->SetName("barrel");
  model.GetRoot()->AddChild(std::move(hidden));

  EXPECT_EQ(model.FindObject("TURRET"), model.GetRoot()->next.get());
  EXPECT_EQ(model.FindObject("Hull"), model.GetRoot());
  EXPECT_EQ(model.FindObject("barrel"), nullptr);
  EXPECT_EQ(model.FindObject("turret "), nullptr);
  EXPECT_EQ(model.FindObject(""), nullptr);
}

TEST_F(ModelFile, AddNextAppendsAtTheEndAndAddChildJoinsTheChildChain) {
  TMorvane3DObject root;
  TMorvane3DObject* names[4];
  for (int i = 0; i < 2; ++i) {
    auto o = std::make_unique<TMorvane3DObject>();
    o->SetName("n" + std::to_string(i));
    names[i] = o.get();
    root.AddNext(std::move(o));
  }
  for (int i = 2; i < 4; ++i) {
    auto o = std::make_unique<TMorvane3DObject>();
    o->SetName("c" + std::to_string(i));
    names[i] = o.get();
    root.AddChild(std::move(o));
  }
  EXPECT_EQ(root.next.get(), names[0]);
  EXPECT_EQ(names[0]->next.get(), names[1]);
  EXPECT_EQ(names[1]->next, nullptr);
  EXPECT_EQ(root.child.get(), names[2]);
  EXPECT_EQ(names[2]->next.get(), names[3]);
  EXPECT_TRUE(names[3]->CompareName("C3"));
  EXPECT_FALSE(names[3]->CompareName("c"));
}

TEST_F(ModelFile, AttributesAreReadAtTheirOffsetsAndEveryPreservedByteIsWrittenBack) {
  std::mt19937 random(17);
  Record record = RandomRecord(random);
  record.Name("painted")
      .Byte(kEnvMapAt, 1)
      .Byte(kFlatAt, 1)
      .Byte(kAlphaAt, 2)
      .Byte(kMultiAt, 7)
      .Text(kTexture0At, "stage0.bmp")
      .Text(kTexture1At, "")
      .Float(kMaterialAt, 0.25f)           // diffuse r
      .Float(kMaterialAt + 4 * 16, 12.5f)  // specular power
      .Float(kMatrixAt + 4 * 12, -3.0f)    // translation x (fourth row)
      .Float(kMatrixAt + 4 * 15, 1.0f);
  const Bytes bytes = Build({record});
  const std::string path = Write("attributes.mvx", bytes);

  model.LoadFile(nullptr, path);
  const TMorvane3DObject& o = *model.GetRoot();
  EXPECT_TRUE(o.GetEnvironmentMap());
  EXPECT_EQ(o.GetFlatShade(), 1);
  EXPECT_EQ(o.GetAlphaBlend(), 2);
  EXPECT_EQ(o.GetMultiTexture(), 7);
  EXPECT_EQ(o.GetTextureName(0), "stage0.bmp");
  EXPECT_EQ(o.GetTextureName(1), "");
  EXPECT_EQ(o.GetMaterial().diffuse[0], 0.25f);
  EXPECT_EQ(o.GetMaterial().power, 12.5f);
  EXPECT_EQ(o.GetLocalMatrix().m[3][0], -3.0f);
  EXPECT_EQ(o.GetLocalMatrix().m[3][3], 1.0f);
  for (const auto& [offset, size] : kPreservedStretches) {
    EXPECT_EQ(std::memcmp(o.attributes + offset, record.attributes.data() + offset, size), 0) << offset;
  }

  const std::string out = dir.File("attributes-again.mvx");
  model.SaveFile(out);
  const Bytes saved = ReadFile(out);
  ASSERT_EQ(saved.size(), bytes.size());
  for (const auto& [offset, size] : kPreservedStretches) {
    EXPECT_TRUE(std::equal(saved.begin() + 32 + offset, saved.begin() + 32 + offset + size,
                           bytes.begin() + 32 + offset))
        << "stretch at " << offset;
  }
  EXPECT_EQ(saved, bytes);
}

TEST_F(ModelFile, ResaveIsByteIdenticalOnRandomModels) {
  std::mt19937 random(2026);
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<Record> records;
    const int count = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < count; ++i) records.push_back(RandomRecord(random, 200));
    const Bytes bytes = Build(records);
    const std::string in = Write("random.mvx", bytes);
    const std::string out = dir.File("random-out.mvx");

    model.LoadFile(nullptr, in);
    model.SaveFile(out);
    ASSERT_EQ(ReadFile(out), bytes) << "trial " << trial;
  }
}

TEST_F(ModelFile, LargeArraysAndManySmallRecordsRoundTrip) {
  // Larger than the loader's read-ahead and writer's buffer, mixed with small records.
  std::mt19937 random(5);
  std::vector<Record> records;
  for (int i = 0; i < 300; ++i) records.push_back(RandomRecord(random, 8));
  Record big = RandomRecord(random);
  for (int i = 0; i < 5000; ++i) big.Vertex({float(i), 0, 0, 0, 0, 0, 0, 0});
  for (int i = 0; i < 40000; ++i) big.indices.push_back(static_cast<std::uint16_t>(i));
  records.insert(records.begin() + 150, big);
  const Bytes bytes = Build(records);
  model.LoadFile(nullptr, Write("mixed.mvx", bytes));
  model.SaveFile(dir.File("mixed-out.mvx"));
  EXPECT_EQ(ReadFile(dir.File("mixed-out.mvx")), bytes);
}

TEST_F(ModelFile, EveryTextureNameAsksForATextureAndRefusalsAreIgnored) {
  Record a = Triangle("a", 0), b = Triangle("b", 0), c = Triangle("c", 0);
  a.Text(kTexture0At, "wood.bmp").Text(kTexture1At, "light.bmp");
  b.Text(kTexture1At, "only1.bmp");
  const std::string path = Write("textures.mvx", Build({a, b, c}));

  RecordingTextures textures;
  textures.refuse = true;
  model.LoadFile(&textures, path);
  ASSERT_EQ(textures.calls.size(), 3u);
  EXPECT_EQ(textures.calls[0].name, "wood.bmp");
  EXPECT_EQ(textures.calls[0].fileName, "wood.bmp");
  EXPECT_EQ(textures.calls[0].width, 0);
  EXPECT_EQ(textures.calls[0].height, 0);
  EXPECT_EQ(textures.calls[1].name, "light.bmp");
  EXPECT_EQ(textures.calls[2].fileName, "only1.bmp");
  EXPECT_EQ(ChainNames(model), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(ModelFile, NamesWithoutANulAreReadAsTheirWholeField) {
  const std::string name32 = "abcdefghijklmnopqrstuvwxyz012345";
  const std::string texture32 = "TEXTURE-NAME-OF-32-BYTES-NO-NUL!";
  ASSERT_EQ(name32.size(), 32u);
  ASSERT_EQ(texture32.size(), 32u);
  Record record = Triangle("", 0);
  record.Name(name32).Text(kTexture0At, texture32).Text(kTexture1At, texture32);
  // The first texture name runs straight into the second: each is still 32 bytes.
  RecordingTextures textures;
  model.LoadFile(&textures, Write("nonul.mvx", Build({record})));
  EXPECT_EQ(model.GetRoot()->GetName(), name32);
  EXPECT_EQ(model.FindObject("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"), model.GetRoot());
  ASSERT_EQ(textures.calls.size(), 2u);
  EXPECT_EQ(textures.calls[0].name, texture32);
  EXPECT_EQ(model.GetRoot()->GetTextureName(1), texture32);
}

TEST_F(ModelFile, SetNameKeepsRoomForTheNul) {
  TMorvane3DObject o;
  o.SetName(std::string(40, 'x'));
  EXPECT_EQ(o.GetName(), std::string(31, 'x'));
  EXPECT_EQ(o.name[31], '\0');
  o.SetTextureName(1, "t");
  EXPECT_EQ(o.GetTextureName(1), "t");
  EXPECT_EQ(o.GetTextureName(0), "");
}

TEST_F(ModelFile, ASourceThatCannotBeOpenedLeavesAnEmptyModel) {
  model.LoadFile(nullptr, Write("ok.mvx", Build({Triangle("ok", 0)})));
  const std::string missing = dir.File("missing.mvx");
  try {
    model.LoadFile(nullptr, missing);
    FAIL() << "loaded a missing file";
  } catch (const EMv3DFile& e) {
    EXPECT_EQ(e.Message, kLoadPrefix + missing);
  }
  EXPECT_EQ(model.GetName(), "");
  ASSERT_NE(model.GetRoot(), nullptr);
  EXPECT_EQ(model.GetRoot()->GetName(), "");
  EXPECT_EQ(model.GetRoot()->vertexCount, 0u);
  EXPECT_EQ(model.GetRoot()->next, nullptr);
}

TEST_F(ModelFile, SaveFailuresRaiseTheSaveTextAndWriteNothing) {
  model.LoadFile(nullptr, Write("ok.mvx", Build({Triangle("ok", 0)})));
  const std::string nowhere = dir.File("no/such/folder/out.mvx");
  try {
    model.SaveFile(nowhere);
    FAIL() << "saved into a missing folder";
  } catch (const EMv3DFile& e) {
    EXPECT_EQ(e.Message, kSavePrefix + nowhere);
  }

  // A failed load leaves no root; saving that fails too and creates no file.
  Bytes cut = Build({Triangle("cut", 0)});
  cut.resize(cut.size() - 1);
  EXPECT_THROW(model.LoadFile(nullptr, Write("cut.mvx", cut)), EMv3DFile);
  const std::string out = dir.File("empty.mvx");
  try {
    model.SaveFile(out);
    FAIL() << "saved a model without a root";
  } catch (const EMv3DFile& e) {
    EXPECT_EQ(e.Message, kSavePrefix + out);
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ModelFile, BackslashesInFileNamesWork) {
  std::filesystem::create_directory(dir.Path() / "sub");
  WriteFile(dir.File("sub/slash.mvx"), Build({Triangle("slash", 0)}));
  const std::string windowsStyle = dir.Path().string() + "/sub\\slash.mvx";
  model.LoadFile(nullptr, windowsStyle);
  EXPECT_EQ(ChainNames(model), std::vector<std::string>{"slash"});
  EXPECT_EQ(model.GetName(), windowsStyle);
}

// The resource table of this test program holds "models\resource.mvx"
// (tests/library/3d/corpus/resource.mvx): objects "from resource" and "second".
TEST_F(ModelFile, AResourceWinsOverALooseFileOfTheSameName) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  std::filesystem::create_directory("models");
  WriteFile("models/resource.mvx", Build({Triangle("from disk", 0)}));
  model.LoadFile(nullptr, "models\\resource.mvx");
  const auto fromResource = ChainNames(model);
  model.LoadFile(nullptr, "models/resource.mvx");  // no resource by this name: the file
  const auto fromDisk = ChainNames(model);
  std::filesystem::current_path(cwd);

  EXPECT_EQ(fromResource, (std::vector<std::string>{"from resource", "second"}));
  EXPECT_EQ(fromDisk, std::vector<std::string>{"from disk"});
}

}  // namespace
