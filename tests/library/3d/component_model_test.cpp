// The model table and model rendering: loading by name with the model's
// textures, the order and states objects are drawn in, the environment map,
// triangles past the vertices, long chains, and a lit textured cube read
// back from Mesa's software GL.
#include <filesystem>

#include "component_rig.h"

namespace {

using namespace component_test;
using namespace platform::gl;

// The test's folder as the current directory, where models find their
// textures by name.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& p) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(p);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

TMorvane3DMatrix Translation(float x, float y, float z) {
  return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {x, y, z, 1}}};
}

std::unique_ptr<TMorvane3DObject> Triangle(const std::string& name,
                                           TMorvane3DMatrix local = Translation(0, 0, 0)) {
  auto o = std::make_unique<TMorvane3DObject>();
  o->SetName(name);
  o->SetLocalMatrix(local);
  o->SetMesh({{0, 0, 0, 0, 0, -1, 0, 0}, {0, 1, 0, 1, 0, 0, 0, 1}, {1, 0, 0, 0, 1, 0, 1, 0}}, {0, 1, 2});
  return o;
}

D3DMATRIX Translated(float x, float y, float z) {
  D3DMATRIX m = kIdentityMatrix;
  m._41 = x;
  m._42 = y;
  m._43 = z;
  return m;
}

class Models : public ComponentTest {
 protected:
  void SetUp() override {
    UseRecordingDevice();
    InitStage();
  }
  // Saves a chain to a file and enters it in the table under Name.
  void Enter(const std::string& name, std::unique_ptr<TMorvane3DObject> root) {
    TMorvane3DFile file;
    file.SetRoot(std::move(root));
    file.SaveFile(dir.File(name + ".mvx"));
    component.CreateObject(name, dir.File(name + ".mvx"));
  }
};

TEST_F(Models, AModelLoadsOnceWithItsTexturesAndAFailedLoadLeavesNoEntry) {
  WriteBitmap(dir, "skin.bmp", 8, 8, [](int, int) { return platform::Rgb(1, 2, 3); });
  auto root = Triangle("root");
  root->SetTextureName(0, "skin.bmp");
  root->SetTextureName(1, "missing.bmp");  // a texture that cannot load is left out
  {
    InFolder here(dir.Path());
    Enter("m", std::move(root));
  }
  TMorvane3DFile* m = component.GetObject("m");
  ASSERT_NE(m->GetRoot(), nullptr);
  EXPECT_EQ(m->GetRoot()->GetName(), "root");
  EXPECT_NE(component.GetTexture("skin.bmp"), nullptr);
  EXPECT_NE(MessageOf<EMv3D>([&] { component.GetTexture("missing.bmp"); }), "");
  // The same name again is not read again.
  component.CreateObject("m", dir.File("nothing.mvx"));
  EXPECT_EQ(component.GetObject("m"), m);

  const std::string path = dir.File("nothing.mvx");
  EXPECT_EQ(MessageOf<EMv3DFile>([&] { component.CreateObject("bad", path); }),
            model_test::kLoadPrefix + path);
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.GetObject("bad"); }),
            k3DPrefix + "オブジェクトが存在しません。\nスプライト名：bad");
  EXPECT_EQ(MessageOf<EMv3D>([&] { component.RenderObject("bad"); }),
            k3DPrefix + "オブジェクトが存在しません。\nスプライト名：bad");
  component.DeleteObject("m");
  EXPECT_NE(MessageOf<EMv3D>([&] { component.GetObject("m"); }), "");
}

TEST_F(Models, ObjectsDrawParentThenChildrenThenNextEachUnderItsOwnTransformAndStates) {
  WriteBitmap(dir, "a.bmp", 8, 8, [](int, int) { return platform::Rgb(50, 0, 0); });
  WriteBitmap(dir, "b.bmp", 8, 8, [](int, int) { return platform::Rgb(0, 50, 0); });
  auto root = Triangle("root", Translation(1, 0, 0));
  root->SetTextureName(0, "a.bmp");
  auto child = Triangle("child", Translation(0, 2, 0));
  child->SetFlatShade(1);
  auto grandchild = Triangle("grandchild", Translation(0, 0, 5));
  child->AddChild(std::move(grandchild));
  root->AddChild(std::move(child));
  auto next = Triangle("next", Translation(0, 0, 3));
  next->SetTextureName(1, "b.bmp");
  next->SetMultiTexture(4);
  root->AddNext(std::move(next));
  {
    InFolder here(dir.Path());
    component.CreateTexture("a.bmp", "a.bmp", 0, 0);
    component.CreateTexture("b.bmp", "b.bmp", 0, 0);
  }
  // Children are not stored in the file, so the chain is rendered from memory.
  TMorvane3DFile model;
  model.SetRoot(std::move(root));
  const D3DMATRIX outer = Translated(0, 0, 10);
  component.SetWorldMatrix(outer);
  auto& d = Recorder();
  d.ClearLog();
  model.Render(component);
  d.Flush();

  const auto& batches = d.Batches();
  ASSERT_EQ(batches.size(), 4u);
  const D3DMATRIX expected[] = {Translated(1, 0, 10), Translated(1, 2, 10), Translated(1, 2, 15),
                                Translated(0, 0, 13)};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(batches[i].state.world, expected[i]) << i;
    EXPECT_EQ(batches[i].state.render.zEnable, 1u) << i;
    EXPECT_FALSE(batches[i].batch.pretransformed);
  }
  EXPECT_EQ(batches[0].state.textures[0], component.GetTexture("a.bmp")->Surface.get());
  EXPECT_EQ(batches[1].state.textures[0], nullptr);
  EXPECT_EQ(batches[1].state.render.shadeMode, D3DSHADE_FLAT);
  EXPECT_EQ(batches[2].state.render.shadeMode, D3DSHADE_GOURAUD);
  EXPECT_EQ(batches[3].state.textures[1], component.GetTexture("b.bmp")->Surface.get());
  EXPECT_EQ(batches[3].state.stages[1].colorOp, D3DTOP_MODULATE);
  EXPECT_EQ(batches[0].state.stages[1].colorOp, D3DTOP_DISABLE);

  // Everything is as it was afterwards.
  EXPECT_EQ(component.GetWorldMatrix(), outer);
  EXPECT_EQ(d.GetRenderState(D3DRENDERSTATE_ZENABLE), 0u);
  EXPECT_EQ(d.GetTexture(0), nullptr);
  EXPECT_EQ(d.GetTexture(1), nullptr);
  EXPECT_EQ(component.GetCurrentMultiTexture(), 0);
  EXPECT_EQ(component.GetCurrentFlatShade(), 0);
}

TEST_F(Models, TheMaterialComesFromTheAttributeBlock) {
  auto root = Triangle("root");
  TMorvane3DMaterial material{
      {0.1f, 0.2f, 0.3f, 0.4f}, {0.5f, 0.6f, 0.7f, 0.8f}, {0, 0, 0, 1}, {0, 0, 1, 1}, 7};
  root->SetMaterial(material);
  Enter("m", std::move(root));
  auto& d = Recorder();
  d.ClearLog();
  component.RenderObject("m");
  d.Flush();
  ASSERT_EQ(d.Batches().size(), 1u);
  const D3DMATERIAL7& got = d.Batches()[0].state.material;
  EXPECT_EQ(got.diffuse, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 0.4f}));
  EXPECT_EQ(got.ambient, (D3DCOLORVALUE{0.5f, 0.6f, 0.7f, 0.8f}));
  EXPECT_EQ(got.emissive, (D3DCOLORVALUE{0, 0, 1, 1}));
  EXPECT_EQ(got.power, 7.0f);
}

TEST_F(Models, TheEnvironmentMapTakesTextureCoordinatesFromTheNormalsAsTheCameraSeesThem) {
  auto root = Triangle("root");
  root->SetEnvironmentMap(true);
  Enter("env", std::move(root));
  auto& d = Recorder();
  d.ClearLog();
  component.RenderObject("env");
  d.Flush();
  ASSERT_EQ(d.Batches().size(), 1u);
  const auto& v = d.Batches()[0].batch.vertices;
  ASSERT_EQ(v.size(), 3u);
  // Normals (0, 0, -1), (1, 0, 0), (0, 1, 0) under the default camera.
  EXPECT_FLOAT_EQ(v[0].tu, 0.5f);
  EXPECT_FLOAT_EQ(v[0].tv, 0.5f);
  EXPECT_FLOAT_EQ(v[1].tu, 1.0f);
  EXPECT_FLOAT_EQ(v[1].tv, 0.5f);
  EXPECT_FLOAT_EQ(v[2].tu, 0.5f);
  EXPECT_FLOAT_EQ(v[2].tv, 0.0f);
  // The model keeps its own coordinates.
  EXPECT_EQ(component.GetObject("env")->GetRoot()->vertices[1].tv, 1.0f);

  // Turned a quarter about y, the x normal faces the camera.
  const TMorvane3DMatrix quarter{{{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}};
  component.GetObject("env")->GetRoot()->SetLocalMatrix(quarter);
  d.ClearLog();
  component.RenderObject("env");
  d.Flush();
  ASSERT_EQ(d.Batches().size(), 1u);
  EXPECT_NEAR(d.Batches()[0].batch.vertices[1].tu, 0.5f, 1e-6);
  EXPECT_NEAR(d.Batches()[0].batch.vertices[0].tu, 0.0f, 1e-6);  // the -z normal now faces left
}

TEST_F(Models, TrianglesReachingPastTheVerticesAreLeftOut) {
  auto root = Triangle("root");
  root->SetMesh({{0, 0, 0, 0, 0, -1, 0, 0}, {0, 1, 0, 0, 0, -1, 0, 1}, {1, 0, 0, 0, 0, -1, 1, 0}},
                {0, 1, 2, 0, 1, 3, 2, 1, 0, 1});
  Enter("m", std::move(root));
  auto& d = Recorder();
  d.ClearLog();
  component.RenderObject("m");
  d.Flush();
  ASSERT_EQ(d.Batches().size(), 1u);
  EXPECT_EQ(d.Batches()[0].batch.indices, (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 0}));
}

TEST_F(Models, AVeryLongChainRendersWithoutRecursion) {
  constexpr int kObjects = 200000;
  auto root = Triangle("0");
  TMorvane3DObject* tail = root.get();
  for (int i = 1; i < kObjects; ++i) {
    tail->next = Triangle(std::to_string(i));
    tail = tail->next.get();
  }
  TMorvane3DFile model;
  model.SetRoot(std::move(root));
  auto& d = Recorder();
  d.ResetStats();
  model.Render(component);
  EXPECT_EQ(d.Stats().drawCalls, kObjects);
}

class LitCube : public ComponentTest {};

// A cube of side 2 at the origin; the face towards the camera carries the
// left half of the texture on its left half.
std::unique_ptr<TMorvane3DObject> Cube() {
  struct Face {
    D3DVECTOR n, right, up;
  };
  const Face faces[] = {{{0, 0, -1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},
                        {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
                        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}}};
  std::vector<TMorvane3DVertex> v;
  std::vector<std::uint16_t> idx;
  for (const Face& f : faces) {
    const auto base = static_cast<std::uint16_t>(v.size());
    for (int corner = 0; corner < 4; ++corner) {
      const float sx = corner % 2 ? 1.0f : -1.0f, sy = corner < 2 ? 1.0f : -1.0f;
      v.push_back({f.n.x + sx * f.right.x + sy * f.up.x, f.n.y + sx * f.right.y + sy * f.up.y,
                   f.n.z + sx * f.right.z + sy * f.up.z, f.n.x, f.n.y, f.n.z, (sx + 1) / 2, (1 - sy) / 2});
    }
    // Top left, top right, bottom left and bottom left, top right, bottom right: clockwise on screen.
    idx.insert(idx.end(), {base, static_cast<std::uint16_t>(base + 1), static_cast<std::uint16_t>(base + 2),
                           static_cast<std::uint16_t>(base + 2), static_cast<std::uint16_t>(base + 1),
                           static_cast<std::uint16_t>(base + 3)});
  }
  auto cube = std::make_unique<TMorvane3DObject>();
  cube->SetName("cube");
  cube->SetLocalMatrix(Translation(0, 0, 0));
  cube->SetMesh(v, idx);
  cube->SetTextureName(0, "cube.bmp");
  TMorvane3DMaterial m{{0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};
  cube->SetMaterial(m);
  return cube;
}

TEST_F(LitCube, ReadsBackWithTheTextureLitByTheDefaultLightAndAmbient) {
  UseEmulatedGl();
  component.SetClearColor(0x402010);  // TColor: (16, 32, 64)
  InitStage();
  WriteBitmap(dir, "cube.bmp", 4, 4,
              [](int x, int) { return x < 2 ? platform::Rgb(255, 0, 0) : platform::Rgb(0, 0, 255); });
  {
    InFolder here(dir.Path());
    TMorvane3DFile file;
    file.SetRoot(Cube());
    file.SaveFile("cube.mvx");
    component.CreateObject("cube", "cube.mvx");
  }
  component.RenderObject("cube");
  const auto pixels = Target();
  const auto at = [&](int x, int y) { return RgbOf(pixels[static_cast<std::size_t>(y) * kStageWidth + x]); };

  // Front face: ambient 0x80 x 0.5 plus the light's 1/sqrt(3) x 0.5.
  const double level = (128.0 / 255.0) * 0.5 + 0.5 / std::sqrt(3.0);
  const int lit = static_cast<int>(level * 255.0 + 0.5);
  // The face spans x 22.4..41.6 and y 14.4..33.6 of the 64 x 48 stage.
  EXPECT_TRUE(Near(at(27, 24), {lit, 0, 0}, 3));
  EXPECT_TRUE(Near(at(37, 24), {0, 0, lit}, 3));
  EXPECT_TRUE(Near(at(27, 16), {lit, 0, 0}, 3));
  EXPECT_TRUE(Near(at(5, 5), {16, 32, 64}, 0));
  EXPECT_TRUE(Near(at(20, 24), {16, 32, 64}, 0));
  EXPECT_TRUE(Near(at(44, 24), {16, 32, 64}, 0));
}

}  // namespace
