// The same mvdraw scripts drawn by TMorvaneDraw (--device soft) and by
// TMorvaneDrawEx on the GL device (--device gl), the saved back surfaces
// compared: exactly where both copy, within the channel's rounding where
// both blend the same way, and the device's own multiply rows against
// values worked out by hand.
#include <fstream>

#include "tests/library/drawex/drawex_rig.h"
#include "tests/support/program_run.h"

namespace drawextest {
namespace {

constexpr int kCell = 32;
constexpr int kStageW = kCell * 7, kStageH = 184;
constexpr int kSecondRow = 48;
constexpr int kCopyRow = 100;  // zoomed and rippled copies
constexpr int kCopyWidth = 160;
constexpr int kThirdRow = 148;  // below the copies
constexpr int kRows[] = {0, kSecondRow, kThirdRow};
// Each row's level for every effect; a level of 77 is where narrowing the
// device's 8-bit result differs most from the blend's own arithmetic.
const char* const kLevels[][beColorMod + 1] = {{"-1", "-1", "-1", "-1", "-1", "-1", "-1"},
                                               {"-1", "100", "200", "128", "90", "$204080", "$80C040"},
                                               {"-1", "77", "77", "77", "77", "$4D4D4D", "$C08040"}};

Color backdrop(int x, int y) { return Rgb(60 + x / 2, 40 + y, 180 - x / 3); }
// A disc on black: the corners are keyed out.
Color sprite(int u, int v) {
  const int dx = u - 16, dy = v - 16;
  return dx * dx + dy * dy > 196 ? 0 : Rgb(250 - u * 4, 30 + v * 6, 90 + u * 3);
}

struct Channels {
  int r, g, b;
};

// The saved BMP, pixel by pixel in its own channel widths.
struct Saved {
  int width = 0, height = 0, bits = 0;
  std::vector<unsigned char> bytes;
  std::uint32_t offset = 0;

  static std::uint32_t word(const std::vector<unsigned char>& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
  }
  explicit Saved(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (bytes.size() < 54) return;
    offset = word(bytes, 10);
    width = static_cast<int>(word(bytes, 18));
    height = static_cast<int>(word(bytes, 22));
    bits = bytes[28] | bytes[29] << 8;
  }
  Channels At(int x, int y) const {
    const int rowBytes = (width * bits / 8 + 3) / 4 * 4;
    const std::size_t p = offset + static_cast<std::size_t>(height - 1 - y) * rowBytes + x * bits / 8;
    std::uint32_t v = 0;
    for (int k = 0; k < bits / 8; ++k) v |= static_cast<std::uint32_t>(bytes.at(p + k)) << (8 * k);
    if (bits == 16)
      return {static_cast<int>(v >> 11), static_cast<int>((v >> 5) & 63), static_cast<int>(v & 31)};
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
            static_cast<int>(v & 0xFF)};
  }
};

// Channels widened to 8 bits by repeating their top bits, as the device reads them.
Color eightBit(const Channels& c, int bits) {
  if (bits != 16) return Rgb(c.r, c.g, c.b);
  return Rgb(c.r << 3 | c.r >> 2, c.g << 2 | c.g >> 4, c.b << 3 | c.b >> 2);
}
Channels quantised(Color c, int bits) {
  if (bits != 16) return {platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)};
  return {platform::RedOf(c) >> 3, platform::GreenOf(c) >> 2, platform::BlueOf(c) >> 3};
}

std::string runScript(const std::string& device, int bits, const std::string& dir) {
  const std::string script = dir + "/compare" + std::to_string(bits) + ".txt";
  const std::string out = dir + "/" + device + std::to_string(bits) + ".bmp";
  std::ofstream s(script);
  s << "stage " << kStageW << " " << kStageH << " " << bits << "\n"
    << "surface back " << dir << "/back.bmp 0 0\nsurface spr " << dir << "/spr.bmp 0 0\n"
    << "draw 0 0 back 0 0 -1\n";
  for (int r = 0; r < 3; ++r)
    for (int e = 0; e <= beColorMod; ++e)
      s << "draw " << e * kCell << " " << kRows[r] << " spr 0 " << e << " " << kLevels[r][e] << "\n";
  s << "zoom 0 " << kCopyRow << " 512 256 spr 0\n"
    << "wind 80 " << kCopyRow << " spr 0 0 -1 6\n"
    << "wind 120 " << kCopyRow << " spr 0 0 -1 -6\n";
  s << "save " << out << "\n";
  s.close();
  const ProgramRun run = RunProgram(
      std::string(MVDRAW_PROGRAM) + " run " + script + " --seed 7 --device " + device, dir + "/err.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  return out;
}

class MvdrawDevices : public ::testing::TestWithParam<int> {};

TEST_P(MvdrawDevices, SoftAndGlAgreeWhereTheyComputeTheSame) {
  const int bits = GetParam();
  const std::string dir = scratchDir().string();
  picture(kStageW, kStageH, backdrop).SaveToFile(dir + "/back.bmp");
  picture(kCell, kCell, sprite).SaveToFile(dir + "/spr.bmp");
  const Saved soft(runScript("soft", bits, dir)), gl(runScript("gl", bits, dir));
  ASSERT_EQ(soft.width, kStageW);
  ASSERT_EQ(gl.width, kStageW);
  ASSERT_EQ(gl.bits, bits);
  const int step = bits == 16 ? 1 : 2;
  int exactWrong = 0, nearWrong = 0, handWrong = 0;
  for (int r = 0; r < 3; ++r) {
    const int row = kRows[r];
    for (int e = 0; e <= beColorMod; ++e) {
      for (int v = 0; v < kCell; ++v) {
        for (int u = 0; u < kCell; ++u) {
          const int x = e * kCell + u, y = row + v;
          const Channels a = soft.At(x, y), b = gl.At(x, y);
          const bool keyed = sprite(u, v) == 0;
          // At level -1 the two differ by definition for the colour effects:
          // the software default 255 is the colour $0000FF, the device's -1
          // is white.
          if (row == 0 && (e == beColorAdd || e == beColorMod) && !keyed) continue;
          if (e == beNone || keyed) {
            exactWrong += a.r != b.r || a.g != b.g || a.b != b.b;
          } else if (e == beMod || e == beSub) {
            // Multiply by the sprite (lightened towards white by the level's
            // alpha), or by the sprite's complement.
            const Color d = eightBit(quantised(backdrop(x, y), bits), bits);
            const Color s = eightBit(quantised(sprite(u, v), bits), bits);
            const double alpha = row == 0 ? 1.0 : std::stoi(kLevels[r][e]) / 255.0;
            auto channel = [&](int dc, int sc) {
              const double src = e == beMod ? sc * alpha + 255 * (1 - alpha) : 255 - sc;
              return static_cast<int>(dc * src / 255 + 0.5);
            };
            const Color want = Rgb(channel(platform::RedOf(d), platform::RedOf(s)),
                                   channel(platform::GreenOf(d), platform::GreenOf(s)),
                                   channel(platform::BlueOf(d), platform::BlueOf(s)));
            const int tolerance = bits == 16 ? 9 : 2;
            handWrong += !near(eightBit(b, bits), want, tolerance);
          } else {
            const bool off =
                std::abs(a.r - b.r) > step || std::abs(a.g - b.g) > step || std::abs(a.b - b.b) > step;
            nearWrong += off;
            if (off && nearWrong < 4)
              ADD_FAILURE() << "effect " << e << " at (" << x << ", " << y << "): soft " << a.r << "," << a.g
                            << "," << a.b << " gl " << b.r << "," << b.g << "," << b.b;
          }
        }
      }
    }
  }
  // Zoom by whole factors and wind with the same seed copy pixels alike.
  for (int y = kCopyRow - 4; y < kCopyRow + kCell + 4; ++y)
    for (int x = 0; x < kCopyWidth; ++x) {
      const Channels a = soft.At(x, y), b = gl.At(x, y);
      exactWrong += a.r != b.r || a.g != b.g || a.b != b.b;
    }
  EXPECT_EQ(exactWrong, 0);
  EXPECT_EQ(nearWrong, 0);
  EXPECT_EQ(handWrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, MvdrawDevices, ::testing::Values(16, 24, 32));

TEST(MvdrawDevice, DemoRunsThroughTheDeviceAndSavesFrames) {
  const std::string dir = scratchDir().string();
  const ProgramRun run = RunProgram(
      std::string(MVDRAW_PROGRAM) + " demo --device gl --frames 4 --every 2 --save " + dir + "/demo",
      dir + "/err.txt");
  ASSERT_EQ(run.status, 0) << run.err;
  Bitmap frame;
  frame.LoadFromFile(dir + "/demo_0001.bmp");
  ASSERT_EQ(frame.Width(), 640);
  // The backdrop has no black; a frame that never left the device would.
  int black = 0;
  for (const Color c : frame.Pixels()) black += c == 0;
  EXPECT_LT(black, 640 * 480 / 100);
}

TEST(MvdrawDevice, UnknownDeviceIsRefused) {
  const std::string dir = scratchDir().string();
  std::ofstream(dir + "/empty.txt") << "# nothing\n";
  const ProgramRun run = RunProgram(
      std::string(MVDRAW_PROGRAM) + " run " + dir + "/empty.txt --device vulkan", dir + "/err.txt");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--device takes soft, gl or gl-emulated"), std::string::npos);
}

}  // namespace
}  // namespace drawextest
