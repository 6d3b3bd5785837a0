// Runs the mvdraw program on scripts headless and reads back what it saved.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/library/draw/draw_rig.h"

namespace drawtest {
namespace {

struct RawBmp {
  int width = 0, height = 0, bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t masks[3] = {};
  std::vector<unsigned char> bytes;
  std::uint32_t offset = 0;

  std::uint32_t at(int x, int y) const {
    const int rowBytes = (width * bits / 8 + 3) / 4 * 4;
    const std::size_t p = offset + static_cast<std::size_t>(height - 1 - y) * rowBytes + x * bits / 8;
    std::uint32_t v = 0;
    for (int k = 0; k < bits / 8; ++k) v |= static_cast<std::uint32_t>(bytes.at(p + k)) << (8 * k);
    return v;
  }
};

std::uint32_t get32(const std::vector<unsigned char>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

RawBmp readBmp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  RawBmp r;
  r.bytes.assign(std::istreambuf_iterator<char>(in), {});
  if (r.bytes.size() < 54) return r;
  r.offset = get32(r.bytes, 10);
  r.width = static_cast<int>(get32(r.bytes, 18));
  r.height = static_cast<int>(get32(r.bytes, 22));
  r.bits = r.bytes[28] | r.bytes[29] << 8;
  r.compression = get32(r.bytes, 30);
  if (r.compression == 3)
    for (int i = 0; i < 3; ++i) r.masks[i] = get32(r.bytes, 54 + 4 * i);
  return r;
}

struct Result {
  int status;
  std::string out, err;
};

Result runTool(const std::string& arguments) {
  const auto dir = scratchDir();
  const std::string out = (dir / "tool.out").string(), err = (dir / "tool.err").string();
  const std::string command = std::string(MVDRAW_PROGRAM) + " " + arguments + " >" + out + " 2>" + err;
  const int raw = std::system(command.c_str());
  auto slurp = [](const std::string& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  return {WEXITSTATUS(raw), slurp(out), slurp(err)};
}

std::string writeScript(const std::string& name, const std::string& text) {
  const auto path = scratchDir() / name;
  std::ofstream(path) << text;
  return path.string();
}

TEST(MvdrawTool, ScriptDrawsSavesAtItsOwnDepthAndPresents) {
  const std::string sprite = writePicture("tool_sprite.bmp", picture(8, 4, [](int x, int y) -> Color {
                                            return x == 0 ? 0 : platform::Rgb(x * 32, y * 64, 0x80);
                                          }));
  const auto dir = scratchDir();
  const std::string s16 = (dir / "out16.bmp").string(), s32 = (dir / "out32.bmp").string();
  const std::string shown = (dir / "shown.bmp").string();
  const std::string script = writeScript("draw.txt",
                                         "# two depths\n"
                                         "stage 32 16 16\n"
                                         "surface s " +
                                             sprite +
                                             " 4 4\n"
                                             "\n"
                                             "info s\n"
                                             "draw 2 3 s 1 0 -1\n"
                                             "save " +
                                             s16 +
                                             "\n"
                                             "stage 32 16 32 transparent 0\n"
                                             "surface s " +
                                             sprite +
                                             " 0 0\n"
                                             "draw -2 0 s 0 0 -1\n"
                                             "draw 10 8 s 0 1 -1\n"
                                             "zoom 0 10 512 256 s 0\n"
                                             "update\n"
                                             "save " +
                                             s32 +
                                             "\n"
                                             "savepresented " +
                                             shown + "\n");
  const Result r = runTool("run " + script + " --seed 3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("SpriteWidth: 4\nSpriteHeight: 4\nBMPWidth: 8\nBMPHeight: 4\nLine: 2\nCount: 2\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("SurfaceName: s\n"), std::string::npos);

  const RawBmp b16 = readBmp(s16);
  ASSERT_EQ(b16.bits, 16);
  EXPECT_EQ(b16.compression, 3u);
  EXPECT_EQ(b16.masks[0], 0xF800u);
  EXPECT_EQ(b16.masks[1], 0x07E0u);
  EXPECT_EQ(b16.masks[2], 0x001Fu);
  ASSERT_EQ(b16.width, 32);
  // Cell 1 starts at sprite column 4: colour (128, 0, 128) at (2, 3) in 565.
  EXPECT_EQ(b16.at(2, 3), (16u << 11) | 16u);
  EXPECT_EQ(b16.at(5, 6), ((7u * 32 >> 3) << 11) | ((192u >> 2) << 5) | 16u);
  EXPECT_EQ(b16.at(1, 3), 0u);

  const RawBmp b32 = readBmp(s32);
  ASSERT_EQ(b32.bits, 32);
  EXPECT_EQ(b32.at(0, 0), 0x400080u);   // sprite column 2: the left edge clipped
  EXPECT_EQ(b32.at(10, 8), 0u);         // black mixed half with black
  EXPECT_EQ(b32.at(11, 8), 0x100040u);  // (32, 0, 128) halved
  EXPECT_EQ(b32.at(2, 10), 0x200080u);  // the doubled row: column 1 at 2 and 3
  EXPECT_EQ(b32.at(3, 10), 0x200080u);

  const RawBmp p = readBmp(shown);
  ASSERT_EQ(p.bits, 24);
  ASSERT_EQ(p.width, 32);
  EXPECT_EQ(p.at(0, 0), 0x400080u);
  EXPECT_EQ(p.at(11, 8), 0x100040u);
}

TEST(MvdrawTool, WaveAndTextThroughTheScriptWithALog) {
  const std::string log = (scratchDir() / "tool.log").string();
  const std::string out = (scratchDir() / "wave.bmp").string();
  const std::string script = writeScript("wave.txt",
                                         "stage 64 24 24\n"
                                         "text 2 2 Hello there\n"
                                         "updateex 0 0x0201\n"
                                         "savepresented " +
                                             out +
                                             "\n"
                                             "clear\nupdatetmp\nupdateex 30 $0202\n");
  const Result r = runTool("run " + script + " --log " + log);
  ASSERT_EQ(r.status, 0) << r.err;
  const RawBmp p = readBmp(out);
  int lit = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 64; ++x) lit += p.at(x, y) != 0;
  EXPECT_GT(lit, 20);
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("TMorvaneDraw(Ex)::初期化開始"), std::string::npos);
  EXPECT_NE(text.str().find("TMorvaneDraw::UpdateEx"), std::string::npos);
}

TEST(MvdrawTool, ErrorsPrintAMessageAndExitNonZero) {
  const Result help = runTool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("savepresented OUT.bmp"), std::string::npos);

  const Result missing =
      runTool("run " + writeScript("missing.txt", "stage 8 8 32\nsurface s nowhere.bmp 0 0\n"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("BMPの読み込みに失敗しました。\nファイル名：nowhere.bmp"), std::string::npos);

  const Result early = runTool("run " + writeScript("early.txt", "update\n"));
  EXPECT_NE(early.status, 0);
  EXPECT_NE(early.err.find("line 1"), std::string::npos);

  const Result unknown = runTool("run " + writeScript("unknown.txt", "stage 8 8 32\nfrobnicate 1\n"));
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("line 2: unknown command: frobnicate"), std::string::npos);

  const Result depth = runTool("run " + writeScript("depth.txt", "stage 8 8 15\n"));
  EXPECT_EQ(depth.status, 2);
  EXPECT_NE(runTool("run /no/such/script").status, 0);
  EXPECT_EQ(runTool("paint").status, 2);
}

}  // namespace
}  // namespace drawtest
