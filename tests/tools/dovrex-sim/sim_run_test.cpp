// Whole dovrex-sim runs on the made-up data tree of the shell tests.
#include "tools/dovrex-sim/sim_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/game/shell/shell_data.h"
#include "tools/dovrex-sim/trace.h"

namespace dovrex::sim {
namespace {

namespace fs = std::filesystem;
using dovrex::testing::GameDir;

std::vector<std::string> lines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class SimRun : public ::testing::Test {
 protected:
  SimRun() {
    options.directory = dir.String();
    options.traceFile = (dir / "trace.jsonl").string();
  }
  SimResult run() {
    error.clear();
    return RunSimulation(options, error);
  }
  void script(const std::string& text) {
    std::ofstream(dir / "keys.txt") << text;
    options.inputFile = (dir / "keys.txt").string();
  }
  std::vector<std::string> trace() { return lines(options.traceFile); }

  GameDir dir;
  SimOptions options;
  std::string error;
};

TEST_F(SimRun, OneTraceLinePerFrameThenANormalClose) {
  options.frames = 5;
  const SimResult result = run();
  ASSERT_EQ(result.exitCode, 0) << error;
  EXPECT_EQ(result.framesRun, 5);
  EXPECT_FALSE(result.closedByGame);
  const auto t = trace();
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].rfind("{\"frame\":1,\"gameMode\":1,\"score\":0,\"hiScore\":60000,", 0), 0u) << t[0];
  EXPECT_TRUE(contains(t[0], "\"music\":\"m0\"")) << t[0];
  EXPECT_TRUE(contains(t[1], "\"music\":null")) << t[1];
  EXPECT_TRUE(contains(t[4], "\"frame\":5,")) << t[4];
  EXPECT_TRUE(contains(t[4], "\"shield\":2,\"laserStock\":2,"));
  EXPECT_TRUE(
      contains(t[4], "\"counts\":{\"shots\":0,\"enemies\":0,\"enemyShots\":0,\"labels\":0,\"particles\":"));
  EXPECT_TRUE(contains(t[4], "\"enemies\":[]}"));
  EXPECT_EQ(dovrex::testing::ReadFile(dir / "M_score.dat").size(), 52u) << "closed through the shutdown";
}

TEST_F(SimRun, EscInTheScriptClosesLikeThePlayersEsc) {
  options.frames = 100;
  script("10 down esc\n");
  const SimResult result = run();
  ASSERT_EQ(result.exitCode, 0) << error;
  EXPECT_TRUE(result.closedByGame);
  EXPECT_EQ(result.framesRun, 9);
  EXPECT_EQ(trace().size(), 9u);
  EXPECT_EQ(dovrex::testing::ReadFile(dir / "M_score.dat").size(), 52u);
}

TEST_F(SimRun, AScriptedPressStartsAGame) {
  options.frames = 22;
  script("# start\n20 down x\n21 up x\n");
  ASSERT_EQ(run().exitCode, 0) << error;
  const auto t = trace();
  ASSERT_EQ(t.size(), 22u);
  EXPECT_TRUE(contains(t[18], "\"gameMode\":1,"));
  EXPECT_TRUE(contains(t[19], "\"gameMode\":3,")) << "the press is taken on frame 20";
  EXPECT_TRUE(contains(t[20], "\"gameMode\":4,"));
  EXPECT_TRUE(contains(t[20], "\"shield\":6,\"laserStock\":3,"));
}

TEST_F(SimRun, KeepShieldHoldsTheShieldAtSix) {
  options.frames = 3;
  options.keepShield = true;
  ASSERT_EQ(run().exitCode, 0) << error;
  for (const auto& line : trace()) EXPECT_TRUE(contains(line, "\"shield\":6,")) << line;
}

TEST_F(SimRun, LiveEnemiesAreListed) {
  // The demo drops its first capsule on its 384th frame: frame 1 + 151 + 384.
  options.frames = 536;
  ASSERT_EQ(run().exitCode, 0) << error;
  const auto t = trace();
  ASSERT_EQ(t.size(), 536u);
  EXPECT_TRUE(contains(t[534], "\"enemies\":[]}")) << t[534];
  EXPECT_TRUE(contains(t[535], "\"enemies\":[{\"i\":0,\"kind\":7,\"look\":5,\"state\":1,\"x\":240,"))
      << t[535];
  EXPECT_TRUE(contains(t[535], "\"gameMode\":7,"));
}

TEST_F(SimRun, SameSeedSameTrace) {
  options.frames = 400;
  options.seed = 77;
  ASSERT_EQ(run().exitCode, 0) << error;
  const auto first = trace();
  ASSERT_EQ(run().exitCode, 0) << error;
  EXPECT_EQ(trace(), first);
}

TEST_F(SimRun, FramesAreSavedAsPictures) {
  options.frames = 4;
  options.framesOutDir = (dir / "frames").string();
  options.framesOut = {2, 4, 9};
  ASSERT_EQ(run().exitCode, 0) << error;
  EXPECT_FALSE(fs::exists(dir / "frames/frame-00001.bmp"));
  EXPECT_FALSE(fs::exists(dir / "frames/frame-00009.bmp")) << "never reached";
  platform::Bitmap picture;
  picture.LoadFromFile((dir / "frames/frame-00004.bmp").string());
  EXPECT_EQ(picture.Width(), 480);
  EXPECT_EQ(picture.Height(), 480);
  // The title picture sits at (55, 80).
  EXPECT_EQ(picture.Pixel(60, 90), dovrex::testing::TitleColor());
  EXPECT_TRUE(fs::exists(dir / "frames/frame-00002.bmp"));
}

TEST_F(SimRun, BadFilesAreReportedWithAnExitCode) {
  options.frames = 2;
  options.directory = (dir / "nowhere").string();
  EXPECT_EQ(run().exitCode, 1);
  EXPECT_TRUE(contains(error, "nowhere")) << error;

  options.directory = dir.String();
  options.inputFile = (dir / "missing.txt").string();
  EXPECT_EQ(run().exitCode, 1);
  EXPECT_TRUE(contains(error, "missing.txt")) << error;

  script("1 down x\n2 jump x\n");
  EXPECT_EQ(run().exitCode, 1);
  EXPECT_TRUE(contains(error, "line 2")) << error;

  options.inputFile.clear();
  options.traceFile = dir.String();  // a directory
  EXPECT_EQ(run().exitCode, 1);
  EXPECT_TRUE(contains(error, "trace")) << error;
}

TEST_F(SimRun, AStartUpFailureStopsTheRun) {
  fs::remove(dir / "bmp");
  options.frames = 2;
  EXPECT_EQ(run().exitCode, 1);
  EXPECT_TRUE(contains(error, "start-up stopped")) << error;
  EXPECT_TRUE(contains(error, "title.bmp")) << error;
  EXPECT_EQ(dovrex::testing::ReadFile(dir / "M_score.dat").size(), 52u) << "closing still saves";
}

TEST(SimMain, ExitCodes) {
  EXPECT_EQ(SimMain({"--frames", "x"}), 2);
  EXPECT_EQ(SimMain({"--dir", "/nonexistent-dovrex-dir"}), 1);
}

}  // namespace
}  // namespace dovrex::sim
