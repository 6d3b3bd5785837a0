// mv3d render and view on models written here: the picture they draw, the
// camera options, the statistics and the failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "library/3d/Mv3dobj.h"
#include "model_builder.h"
#include "platform/graphics/bitmap.h"
#include "tests/support/program_run.h"

namespace {

using namespace model_test;

class Mv3dView : public ::testing::Test {
 protected:
  void SetUp() override {
    // A square of side 2 facing the default camera (clockwise on screen), white.
    Record quad;
    quad.Name("quad")
        .Vertex({-1, 1, 0, 0, 0, -1, 0, 0})
        .Vertex({1, 1, 0, 0, 0, -1, 1, 0})
        .Vertex({-1, -1, 0, 0, 0, -1, 0, 1})
        .Vertex({1, -1, 0, 0, 0, -1, 1, 1})
        .Triangle(0, 1, 2)
        .Triangle(2, 1, 3);
    for (int i = 0; i < 4; ++i) quad.Float(kMaterialAt + 4 * i, 1.0f);       // diffuse
    for (int i = 0; i < 4; ++i) quad.Float(kMaterialAt + 16 + 4 * i, 1.0f);  // ambient
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) quad.Float(kMatrixAt + 4 * i, identity[i]);
    WriteFile(dir.File("quad.mvx"), Build({quad}));
  }
  ProgramRun Run(const std::string& arguments) {
    return RunProgram("cd '" + dir.Path().string() + "' && " + MV3D_PROGRAM + " " + arguments,
                      dir.File("stderr.txt"));
  }
  platform::Bitmap Picture(const std::string& name) {
    platform::Bitmap b;
    b.LoadFromFile(dir.File(name));
    return b;
  }
  static bool Lit(platform::Color c) { return platform::RedOf(c) > 100 && platform::GreenOf(c) > 100; }

  TempDir dir;
};

TEST_F(Mv3dView, RenderDrawsTheModelFittedIntoTheFrameAndCountsTheWork) {
  const ProgramRun run = Run("render quad.mvx out.bmp --size 80x60 --yaw 0 --pitch 0 --emulated --stats");
  ASSERT_EQ(run.status, 0) << run.err;
  const platform::Bitmap b = Picture("out.bmp");
  ASSERT_EQ(b.Width(), 80);
  ASSERT_EQ(b.Height(), 60);
  EXPECT_TRUE(Lit(b.Pixel(40, 30)));
  EXPECT_EQ(b.Pixel(2, 2), platform::kBlack);
  EXPECT_EQ(b.Pixel(40, 2), platform::kBlack);
  EXPECT_NE(run.out.find("draw calls: 1\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("triangles: 2\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("state changes: "), std::string::npos) << run.out;
}

TEST_F(Mv3dView, TheCameraOptionsMoveTheView) {
  // From behind, the single-sided square is culled.
  ASSERT_EQ(Run("render quad.mvx back.bmp --size 40x30 --yaw 180 --pitch 0").status, 0);
  EXPECT_EQ(Picture("back.bmp").Pixel(20, 15), platform::kBlack);
  // Far away it covers only the middle; close up it fills the frame.
  ASSERT_EQ(Run("render quad.mvx far.bmp --size 40x30 --yaw 0 --pitch 0 --distance 40").status, 0);
  const platform::Bitmap far = Picture("far.bmp");
  EXPECT_TRUE(Lit(far.Pixel(20, 15)));
  EXPECT_EQ(far.Pixel(12, 15), platform::kBlack);
  ASSERT_EQ(Run("render quad.mvx near.bmp --size 40x30 --yaw 0 --pitch 0 --distance 1.5").status, 0);
  EXPECT_TRUE(Lit(Picture("near.bmp").Pixel(1, 1)));
}

TEST_F(Mv3dView, ViewRunsAWindowForTheFramesAskedAndSavesTheLast) {
  const ProgramRun run = Run("view quad.mvx --size 64x48 --frames 3 --save last.bmp");
  ASSERT_EQ(run.status, 0) << run.err;
  const platform::Bitmap b = Picture("last.bmp");
  EXPECT_EQ(b.Width(), 64);
  EXPECT_TRUE(Lit(b.Pixel(32, 24)));
}

TEST_F(Mv3dView, BadArgumentsAndModelsFailWithAMessage) {
  for (const char* args : {"render quad.mvx out.bmp --size 0x5", "render quad.mvx out.bmp --yaw left",
                           "render quad.mvx", "view quad.mvx --frames 0",
                           "render quad.mvx o.bmp --save x.bmp", "render quad.mvx o.bmp --distance -2"}) {
    const ProgramRun run = Run(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("usage: mv3d"), std::string::npos) << args;
  }
  const ProgramRun missing = Run("render none.mvx out.bmp");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("MorvaneXの読み込みに失敗しました。\nファイル名：none.mvx"), std::string::npos)
      << missing.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.bmp")));
}

}  // namespace
