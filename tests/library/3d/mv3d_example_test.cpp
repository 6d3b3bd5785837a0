// Runs the mv3d tool on models written here (OBJ, glTF and model files) and
// checks what it prints and writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "library/3d/Mv3dobj.h"
#include "model_builder.h"
#include "platform/graphics/bitmap.h"
#include "tests/support/program_run.h"

namespace {

using namespace model_test;
using Morvane3DSystem::TMorvane3DFile;

class Mv3dTool : public ::testing::Test {
 public:
  ProgramRun Run(const std::string& arguments) {
    const std::string errFile = dir.File("stderr.txt");
    return RunProgram("cd '" + dir.Path().string() + "' && " + MV3D_PROGRAM + " " + arguments, errFile);
  }
  void Text(const std::string& name, const std::string& text) { std::ofstream(dir.File(name)) << text; }
  std::unique_ptr<TMorvane3DFile> Load(const std::string& name) {
    auto model = std::make_unique<TMorvane3DFile>();
    model->LoadFile(nullptr, dir.File(name));
    return model;
  }

  TempDir dir;
};

// A unit square as one quad (two triangles after import), translucent and textured.
void WriteSquareObj(Mv3dTool& test) {
  test.Text("square.obj",
            "mtllib square.mtl\n"
            "o Square\n"
            "v 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\n"
            "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
            "vn 0 0 1\n"
            "usemtl glass\n"
            "f 1/1/1 2/2/1 3/3/1 4/4/1\n");
  test.Text("square.mtl",
            "newmtl glass\n"
            "Kd 1 0.5 0.25\nKa 0.1 0.2 0.3\nKs 0.5 0.5 0.5\nNs 20\nd 0.5\n"
            "map_Kd glass.bmp\n");
}

// A cube of side 2 around the origin, counter-clockwise seen from outside,
// with no normals of its own.
void WriteCubeObj(Mv3dTool& test) {
  test.Text("cube.obj",
            "mtllib cube.mtl\n"
            "o Cube\n"
            "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
            "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
            "usemtl grey\n"
            "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 4 8 7 3\nf 1 5 8 4\nf 2 3 7 6\n");
  test.Text("cube.mtl", "newmtl grey\nKd 0.8 0.8 0.8\nKa 0.2 0.2 0.2\n");
}

float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

int BrightestChannel(const platform::Bitmap& picture) {
  int brightest = 0;
  for (const platform::Color c : picture.Pixels())
    brightest = std::max({brightest, platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)});
  return brightest;
}

// A 2 x 2 PNG of red (240, 16, 16), deflated, as image programs write them.
const Bytes kRedPng = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49,
                       0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02,
                       0x00, 0x00, 0x00, 0xFD, 0xD4, 0x9A, 0x73, 0x00, 0x00, 0x00, 0x10, 0x49, 0x44,
                       0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0x20, 0x20, 0x00, 0x44, 0x0C, 0x10, 0x0A,
                       0x00, 0x21, 0x4E, 0x04, 0x41, 0x3A, 0x70, 0x3F, 0xF7, 0x00, 0x00, 0x00, 0x00,
                       0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

TEST_F(Mv3dTool, HelpListsTheCommandsAndBadUsageFails) {
  const ProgramRun help = Run("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* word : {"info", "resave", "convert", "--to-obj", "render", "view", "--stats"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  const ProgramRun unknown = Run("explode model.mvx");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown command explode"), std::string::npos);
  EXPECT_EQ(Run("info").status, 2);
  EXPECT_NE(Run("render a.mvx a.bmp").status, 0);
}

TEST_F(Mv3dTool, InfoListsEveryObjectWithItsCodesTexturesAndBadTriangles) {
  Record a, b;
  a.Name("hull").Byte(kEnvMapAt, 1).Byte(kFlatAt, 1).Byte(kAlphaAt, 3).Byte(kMultiAt, 5);
  a.Text(kTexture0At, "hull.bmp").Text(kTexture1At, "env.bmp");
  for (int i = 0; i < 3; ++i) a.Vertex({float(i), 0, 0, 0, 0, 1, 0, 0});
  a.Triangle(0, 1, 2).Triangle(0, 1, 3).Triangle(7, 7, 7);
  b.Name("fin").Vertex({0, 0, 0, 0, 0, 1, 0, 0});
  WriteFile(dir.File("ship.mvx"), Build({a, b}));

  const ProgramRun run = Run("info ship.mvx");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line0, line1, total;
  std::getline(lines, line0);
  std::getline(lines, line1);
  std::getline(lines, total);
  EXPECT_EQ(line0,
            "0 name=\"hull\" vertices=3 indices=9 envmap=1 flat=1 alpha=3 multi=5 texture0=\"hull.bmp\" "
            "texture1=\"env.bmp\" out-of-range=2");
  EXPECT_EQ(line1,
            "1 name=\"fin\" vertices=1 indices=0 envmap=0 flat=0 alpha=0 multi=0 texture0=\"\" texture1=\"\" "
            "out-of-range=0");
  EXPECT_EQ(total, "total objects=2 vertices=4 indices=9 out-of-range=2");
}

TEST_F(Mv3dTool, ErrorsPrintTheComponentMessageAndExitNonZero) {
  const ProgramRun missing = Run("info nowhere.mvx");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, kLoadPrefix + "nowhere.mvx\n");

  Bytes cut = Build({Record{}});
  cut.pop_back();
  WriteFile(dir.File("cut.mvx"), cut);
  const ProgramRun damaged = Run("resave cut.mvx out.mvx");
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(damaged.err, kLoadPrefix + "cut.mvx\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.mvx")));

  const ProgramRun import = Run("convert nothing.obj out.mvx");
  EXPECT_EQ(import.status, 1);
  EXPECT_NE(import.err.find("nothing.obj"), std::string::npos);
}

TEST_F(Mv3dTool, ResaveWritesTheSameBytes) {
  std::mt19937 random(99);
  const Bytes bytes = Build({RandomRecord(random), RandomRecord(random), RandomRecord(random)});
  WriteFile(dir.File("in.mvx"), bytes);
  const ProgramRun run = Run("resave in.mvx out.mvx");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir.File("out.mvx")), bytes);
}

TEST_F(Mv3dTool, ConvertFromObjCarriesMeshMaterialAndTexture) {
  WriteSquareObj(*this);
  const ProgramRun run = Run("convert square.obj square.mvx");
  ASSERT_EQ(run.status, 0) << run.err;

  const auto model = Load("square.mvx");
  const auto* o = model->GetRoot();
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->GetName(), "Square");
  EXPECT_EQ(o->vertexCount, 4u);
  EXPECT_EQ(o->indexCount, 6u);
  EXPECT_EQ(o->CountOutOfRangeTriangles(), 0u);
  EXPECT_EQ(o->GetTextureName(0), "glass.bmp");
  EXPECT_EQ(o->GetAlphaBlend(), Morvane3DSystem::abTranslucent);
  const auto m = o->GetMaterial();
  EXPECT_FLOAT_EQ(m.diffuse[1], 0.5f);
  EXPECT_FLOAT_EQ(m.diffuse[3], 0.5f);
  EXPECT_FLOAT_EQ(m.ambient[2], 0.3f);
  EXPECT_FLOAT_EQ(m.power, 20.0f);
  // Left-handed: the +z normal of the right-handed file points along -z.
  for (std::uint32_t i = 0; i < o->vertexCount; ++i) EXPECT_FLOAT_EQ(o->vertices[i].nz, -1.0f);
  // Texture v runs downwards: the OBJ's v = 0 corner (0, 0) gets tv = 1.
  for (std::uint32_t i = 0; i < o->vertexCount; ++i) {
    if (o->vertices[i].x == 0 && o->vertices[i].y == 0) {
      EXPECT_FLOAT_EQ(o->vertices[i].tv, 1.0f);
    }
  }
  EXPECT_EQ(Run("info square.mvx").out.substr(0, 21), "0 name=\"Square\" verti");
}

TEST_F(Mv3dTool, ConvertFromGltfCarriesTheNodeTransformAndBaseColour) {
  // One triangle in an external buffer: positions, normals, uvs, indices.
  Bytes buffer;
  for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) putLe32(buffer, floatBits(f));
  for (int i = 0; i < 3; ++i) {
    for (float f : {0.f, 0.f, 1.f}) putLe32(buffer, floatBits(f));
  }
  for (float f : {0.f, 0.f, 1.f, 0.f, 0.f, 1.f}) putLe32(buffer, floatBits(f));
  for (std::uint16_t i : {0, 1, 2, 0}) putLe16(buffer, i);
  WriteFile(dir.File("tri.bin"), buffer);
  Text("tri.gltf", R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],
  "nodes":[{"name":"Wing","mesh":0,"translation":[5,0,0]}],
  "meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"TEXCOORD_0":2},"indices":3,"material":0}]}],
  "materials":[{"pbrMetallicRoughness":{"baseColorFactor":[0,0.5,1,1],"baseColorTexture":{"index":0}}}],
  "textures":[{"source":0}],"images":[{"uri":"paint.bmp"}],
  "buffers":[{"uri":"tri.bin","byteLength":104}],
  "bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":36},
    {"buffer":0,"byteOffset":72,"byteLength":24},{"buffer":0,"byteOffset":96,"byteLength":6}],
  "accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},
    {"bufferView":1,"componentType":5126,"count":3,"type":"VEC3"},
    {"bufferView":2,"componentType":5126,"count":3,"type":"VEC2"},
    {"bufferView":3,"componentType":5123,"count":3,"type":"SCALAR"}]})");
  ASSERT_EQ(buffer.size(), 104u);

  const ProgramRun run = Run("convert tri.gltf tri.mvx");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto model = Load("tri.mvx");
  const auto* o = model->GetRoot();
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->GetName(), "Wing");
  EXPECT_EQ(o->vertexCount, 3u);
  EXPECT_EQ(o->indexCount, 3u);
  EXPECT_EQ(o->GetTextureName(0), "paint.bmp");
  EXPECT_FLOAT_EQ(o->GetMaterial().diffuse[2], 1.0f);
  EXPECT_FLOAT_EQ(o->GetMaterial().diffuse[1], 0.5f);
  EXPECT_FLOAT_EQ(o->GetLocalMatrix().m[3][0], 5.0f);  // translation in the fourth row
  EXPECT_FLOAT_EQ(o->GetLocalMatrix().m[0][0], 1.0f);
}

TEST_F(Mv3dTool, ToObjWritesTheModelBackOutAndItImportsAgain) {
  WriteSquareObj(*this);
  ASSERT_EQ(Run("convert square.obj square.mvx").status, 0);
  const ProgramRun run = Run("convert --to-obj square.mvx back.obj");
  ASSERT_EQ(run.status, 0) << run.err;

  std::ifstream obj(dir.File("back.obj"));
  int vertices = 0, faces = 0;
  bool normalUp = true;
  for (std::string line; std::getline(obj, line);) {
    if (line.starts_with("v ")) ++vertices;
    if (line.starts_with("f ")) ++faces;
    if (line.starts_with("vn ")) normalUp = normalUp && line == "vn 0 0 1";
  }
  EXPECT_EQ(vertices, 4);
  EXPECT_EQ(faces, 2);
  EXPECT_TRUE(normalUp) << "the export must undo the import's handedness";
  std::ifstream mtlFile(dir.File("back.mtl"));
  const std::string mtl((std::istreambuf_iterator<char>(mtlFile)), std::istreambuf_iterator<char>());
  EXPECT_NE(mtl.find("map_Kd glass.bmp"), std::string::npos);
  EXPECT_NE(mtl.find("d 0.5"), std::string::npos);

  // Round trip: the re-imported model has the same vertices.
  ASSERT_EQ(Run("convert back.obj again.mvx").status, 0);
  const auto first = Load("square.mvx"), again = Load("again.mvx");
  ASSERT_EQ(again->GetRoot()->vertexCount, first->GetRoot()->vertexCount);
  float sumFirst = 0, sumAgain = 0;
  for (std::uint32_t i = 0; i < first->GetRoot()->vertexCount; ++i) {
    const auto &a = first->GetRoot()->vertices[i], &b = again->GetRoot()->vertices[i];
    sumFirst += a.x + 2 * a.y + 3 * a.z + 5 * a.tv;
    sumAgain += b.x + 2 * b.y + 3 * b.z + 5 * b.tv;
  }
  EXPECT_FLOAT_EQ(sumFirst, sumAgain);
  EXPECT_EQ(again->GetRoot()->GetTextureName(0), "glass.bmp");
}

TEST_F(Mv3dTool, ConvertGivesAMeshWithoutNormalsOutwardNormalsSplitAtHardEdges) {
  WriteCubeObj(*this);
  const ProgramRun run = Run("convert cube.obj cube.mvx");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto model = Load("cube.mvx");
  const auto* o = model->GetRoot();
  ASSERT_NE(o, nullptr);
  ASSERT_EQ(o->indexCount, 36u);
  // Every corner of a face carries that face's normal, pointing away from the centre.
  for (std::uint32_t t = 0; t + 2 < o->indexCount; t += 3) {
    const auto& p0 = o->vertices[o->indices[t]];
    const auto& p1 = o->vertices[o->indices[t + 1]];
    const auto& p2 = o->vertices[o->indices[t + 2]];
    const float e1[3] = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const float e2[3] = {p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
    const float centre[3] = {(p0.x + p1.x + p2.x) / 3, (p0.y + p1.y + p2.y) / 3, (p0.z + p1.z + p2.z) / 3};
    for (std::uint32_t k = 0; k < 3; ++k) {
      const auto& v = o->vertices[o->indices[t + k]];
      const float n[3] = {v.nx, v.ny, v.nz};
      EXPECT_NEAR(Dot(n, n), 1.0f, 1e-4f) << "triangle " << t / 3;
      EXPECT_NEAR(Dot(n, e1), 0.0f, 1e-4f) << "triangle " << t / 3;
      EXPECT_NEAR(Dot(n, e2), 0.0f, 1e-4f) << "triangle " << t / 3;
      EXPECT_GT(Dot(n, centre), 0.9f) << "triangle " << t / 3;
    }
  }

  // Lit by the component's light, not only by its ambient grey (0x80) times Ka.
  const int ambientLevel = static_cast<int>(0.2f * 0x80);
  ASSERT_EQ(Run("render cube.mvx cube.bmp --size 80x60 --emulated").status, 0);
  platform::Bitmap picture;
  picture.LoadFromFile(dir.File("cube.bmp"));
  EXPECT_GT(BrightestChannel(picture), ambientLevel + 64);

  // A wider angle smooths across the cube's right-angled edges, still outwards.
  ASSERT_EQ(Run("convert --smoothing-angle 100 cube.obj smooth.mvx").status, 0);
  const auto smooth = Load("smooth.mvx");
  for (std::uint32_t i = 0; i < smooth->GetRoot()->vertexCount; ++i) {
    const auto& v = smooth->GetRoot()->vertices[i];
    const float n[3] = {v.nx, v.ny, v.nz}, p[3] = {v.x, v.y, v.z};
    EXPECT_NEAR(std::fabs(v.nx), std::sqrt(1.0f / 3), 1e-4f);
    EXPECT_GT(Dot(n, p), 1.0f);
  }
  EXPECT_EQ(Run("convert --smoothing-angle 181 cube.obj bad.mvx").status, 2);
}

TEST_F(Mv3dTool, ConvertGivesAMaterialWithoutAmbientItsDiffuseColour) {
  Text("plain.obj",
       "mtllib plain.mtl\no Plain\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nusemtl matte\nf 1//1 2//1 3//1\n");
  Text("plain.mtl", "newmtl matte\nKd 0.25 0.5 0.75\n");
  const ProgramRun run = Run("convert plain.obj plain.mvx");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto model = Load("plain.mvx");
  ASSERT_NE(model->GetRoot(), nullptr);
  const auto m = model->GetRoot()->GetMaterial();
  for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(m.ambient[c], m.diffuse[c]) << "channel " << c;
  EXPECT_FLOAT_EQ(m.ambient[2], 0.75f);
}

TEST_F(Mv3dTool, ConvertTurnsAPngTextureIntoABmpBesideTheModel) {
  std::filesystem::create_directories(dir.Path() / "maps");
  std::filesystem::create_directories(dir.Path() / "out");
  WriteFile(dir.File("maps/paint.png"), kRedPng);
  // A square facing the default camera, and behind it a triangle whose picture is missing.
  Text("painted.obj",
       "mtllib painted.mtl\n"
       "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nv -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\n"
       "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
       "o Painted\nusemtl paint\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
       "o Lost\nusemtl lost\nf 5/1/1 6/2/1 7/3/1\n");
  Text("painted.mtl",
       "newmtl paint\nKd 1 1 1\nKa 1 1 1\nmap_Kd maps/paint.png\n"
       "newmtl lost\nKd 1 1 1\nmap_Kd gone.png\n");
  const ProgramRun run = Run("convert painted.obj out/painted.mvx");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("maps/paint.png"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("gone.png"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "out" / "paint.bmp"));

  const auto model = Load("out/painted.mvx");
  const auto* painted = model->GetRoot();
  ASSERT_NE(painted, nullptr);
  ASSERT_NE(painted->GetNextObject(), nullptr);
  EXPECT_EQ(painted->GetTextureName(0), "paint.bmp");
  EXPECT_EQ(painted->GetNextObject()->GetTextureName(0), "");

  ASSERT_EQ(Run("render out/painted.mvx painted.bmp --size 80x60 --yaw 0 --pitch 0 --emulated").status, 0);
  platform::Bitmap picture;
  picture.LoadFromFile(dir.File("painted.bmp"));
  const platform::Color centre = picture.Pixel(40, 30);
  EXPECT_GT(platform::RedOf(centre), 150);
  EXPECT_LT(platform::GreenOf(centre), 60);
  EXPECT_LT(platform::BlueOf(centre), 60);
}

}  // namespace
