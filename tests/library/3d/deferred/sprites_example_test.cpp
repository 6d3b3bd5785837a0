// Runs the 3d-sprites example headless and checks the frame it writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/graphics/bitmap.h"
#include "tests/support/program_run.h"

namespace {

class SpritesExample : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("3d-sprites-test-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  ProgramRun Run(const std::string& Arguments) {
    return RunProgram(std::string(SPRITES_PROGRAM) + " " + Arguments, (dir / "err.txt").string());
  }
  std::filesystem::path dir;
};

::testing::AssertionResult Near(platform::Color Actual, platform::Color Expected, int Tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>(Actual >> shift & 0xFF), e = static_cast<int>(Expected >> shift & 0xFF);
    if (std::abs(a - e) > Tolerance)
      return ::testing::AssertionFailure() << std::hex << "got " << Actual << ", expected " << Expected;
  }
  return ::testing::AssertionSuccess();
}

TEST_F(SpritesExample, SavesAFrameWithSpritesCubeAndBackground) {
  const std::string out = (dir / "frame.bmp").string();
  const ProgramRun run = Run("--save " + out + " --frames 3 --emulated");
  ASSERT_EQ(run.status, 0) << run.err;
  platform::Bitmap b;
  b.LoadFromFile(out);
  ASSERT_EQ(b.Width(), 640);
  ASSERT_EQ(b.Height(), 480);
  EXPECT_EQ(b.Pixel(320, 476), platform::Rgb(0x10, 0x18, 0x30));  // the clear colour
  // The first cell of the bottom row, a disc, centred at (40, 432).
  EXPECT_TRUE(Near(b.Pixel(40, 432), platform::Rgb(255, 200, 60), 24));
  // Its black corner is cut out by the texture's alpha.
  EXPECT_EQ(b.Pixel(10, 402), platform::Rgb(0x10, 0x18, 0x30));
  // The cube covers the middle with something other than the background.
  EXPECT_NE(b.Pixel(320, 140), platform::Rgb(0x10, 0x18, 0x30));
}

TEST_F(SpritesExample, HelpAndBadOptions) {
  const ProgramRun help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--save OUT.bmp"), std::string::npos);
  const ProgramRun bad = Run("--bogus");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("unknown option '--bogus'"), std::string::npos) << bad.err;
  const ProgramRun frames = Run("--frames 0");
  EXPECT_EQ(frames.status, 1);
  EXPECT_NE(frames.err.find("--frames"), std::string::npos);
}

}  // namespace
