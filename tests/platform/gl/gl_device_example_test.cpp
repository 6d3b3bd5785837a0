// Runs the gl-device example headless and checks the picture it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/gl/device.h"
#include "platform/graphics/bitmap.h"

namespace {

struct ProgramRun {
  int status = -1;
  std::string output;  // stdout and stderr
};

ProgramRun Program(const std::string& arguments) {
  const std::string command = std::string(GL_DEVICE_PROGRAM) + " " + arguments + " 2>&1";
  ProgramRun run;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return run;
}

class GlDeviceExample : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("gl-device-example-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

int Channel(platform::Color c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

TEST_F(GlDeviceExample, WritesTheLitTexturedTriangleOverTheBackdrop) {
  const std::string out = (dir / "picture.bmp").string();
  const ProgramRun run = Program("--out " + out + " --size 160x120");
  ASSERT_EQ(run.status, 0) << run.output;
  platform::Bitmap picture;
  picture.LoadFromFile(out);
  ASSERT_EQ(picture.Width(), 160);
  ASSERT_EQ(picture.Height(), 120);
  // Bottom left: the clear colour; top left: a stripe added at alpha 96.
  EXPECT_EQ(picture.Pixel(0, 119), platform::Rgb(0x10, 0x20, 0x40));
  const platform::Color stripe = picture.Pixel(0, 0);
  EXPECT_NEAR(Channel(stripe, 16), 16, 1);
  EXPECT_NEAR(Channel(stripe, 8), 55, 1);
  EXPECT_NEAR(Channel(stripe, 0), 124, 1);
  // The middle of the triangle: lit texture, warm (red over blue), not the backdrop.
  const platform::Color middle = picture.Pixel(80, 64);
  EXPECT_GT(Channel(middle, 16), 100);
  EXPECT_GT(Channel(middle, 16), Channel(middle, 0));
}

TEST_F(GlDeviceExample, TheEmulatedDeviceDrawsTheSamePicture) {
  const std::string a = (dir / "a.bmp").string(), b = (dir / "b.bmp").string();
  ASSERT_EQ(Program("--out " + a + " --size 96x64 --angle 35").status, 0);
  const ProgramRun run = Program("--emulated --out " + b + " --size 96x64 --angle 35");
  ASSERT_EQ(run.status, 0) << run.output;
  // The program names the software device as a device made here names it,
  // whichever rasteriser the machine's GL has.
  platform::gl::DeviceOptions software;
  software.kind = platform::gl::DeviceKind::kEmulated;
  std::string error;
  const auto here = platform::gl::CreateGlDevice(software, &error);
  ASSERT_NE(here, nullptr) << error;
  EXPECT_NE(run.output.find("gl-device: " + here->GetCaps().deviceName + "\n"), std::string::npos)
      << run.output;
  platform::Bitmap pa, pb;
  pa.LoadFromFile(a);
  pb.LoadFromFile(b);
  ASSERT_EQ(pa.Pixels().size(), pb.Pixels().size());
  EXPECT_TRUE(std::equal(pa.Pixels().begin(), pa.Pixels().end(), pb.Pixels().begin()));
  // A different angle gives a different picture.
  ASSERT_EQ(Program("--out " + b + " --size 96x64 --angle 60").status, 0);
  pb.LoadFromFile(b);
  EXPECT_FALSE(std::equal(pa.Pixels().begin(), pa.Pixels().end(), pb.Pixels().begin()));
}

TEST_F(GlDeviceExample, HelpAndBadArguments) {
  ProgramRun run = Program("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("usage: gl-device"), std::string::npos);
  run = Program("--frobnicate");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("unknown option '--frobnicate'"), std::string::npos) << run.output;
  run = Program("--size 0x10");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("--size"), std::string::npos);
  run = Program("--out " + (dir / "missing" / "x.bmp").string());
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("gl-device: "), std::string::npos);
}

}  // namespace
