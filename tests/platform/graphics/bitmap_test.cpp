// Bitmap storage and BMP files: every depth the loader reads, written by hand;
// the writer's bytes and round trips; damaged files.
#include "platform/graphics/bitmap.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "platform/framework/exception.h"
#include "tests/platform/graphics/bmp_builder.h"
#include "tests/platform/graphics/test_pictures.h"

namespace {

using namespace platform;
using bmptest::Bytes;
using testpictures::pattern;

// A scratch folder of this test program, removed at the end.
class BitmapFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("morvane_bitmap_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const Bytes& bytes) const {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  std::filesystem::path dir_;
};

Bitmap fromIndexes(const std::vector<std::vector<int>>& rows, const std::vector<Color>& palette) {
  Bitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, palette[rows[y][x]]);
  }
  return b;
}

Bitmap load(const Bytes& bytes) {
  Bitmap b;
  b.LoadFromMemory(bytes, "test.bmp");
  return b;
}

TEST(BitmapStorage, SizesFillsAndBoundsSafeAccess) {
  Bitmap b(3, 2, Rgb(1, 2, 3));
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  for (Color c : b.Pixels()) EXPECT_EQ(c, Rgb(1, 2, 3));

  b.SetPixel(2, 1, kWhite);
  EXPECT_EQ(b.Pixel(2, 1), kWhite);
  EXPECT_EQ(b.Row(1)[2], kWhite);
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {-100000, 99999}}) {
    b.SetPixel(x, y, Rgb(9, 9, 9));
    EXPECT_EQ(b.Pixel(x, y), kBlack) << x << "," << y;
  }
  EXPECT_EQ(b.Pixel(2, 1), kWhite);

  b.SetSize(4, 5);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 5);
  ASSERT_EQ(b.Pixels().size(), 20u);
  for (Color c : b.Pixels()) EXPECT_EQ(c, kBlack);

  b.SetSize(-3, 7);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_TRUE(b.Pixels().empty());
  EXPECT_EQ(b.Pixel(0, 0), kBlack);
}

TEST(BmpLoading, OneBitPalette) {
  const std::vector<Color> palette{Rgb(10, 20, 30), Rgb(200, 150, 100)};
  // Nine columns: the row spills into a second byte and is padded.
  const std::vector<std::vector<int>> rows{
      {1, 0, 1, 1, 0, 0, 0, 1, 1}, {0, 1, 0, 0, 1, 1, 1, 0, 0}, {1, 1, 1, 1, 1, 1, 1, 1, 0}};
  const Bytes file = bmptest::assemble({9, 3, 1, 0, {}, palette, bmptest::packIndexes(rows, 1)});
  EXPECT_EQ(load(file), fromIndexes(rows, palette));
}

TEST(BmpLoading, FourBitPalette) {
  std::vector<Color> palette;
  for (int i = 0; i < 16; ++i) palette.push_back(Rgb(i * 16, 255 - i * 8, i * 3));
  const std::vector<std::vector<int>> rows{
      {0, 1, 2, 3, 4}, {15, 14, 13, 12, 11}, {5, 6, 7, 8, 9}, {10, 0, 15, 1, 14}};
  const Bytes file = bmptest::assemble({5, 4, 4, 0, {}, palette, bmptest::packIndexes(rows, 4)});
  EXPECT_EQ(load(file), fromIndexes(rows, palette));
}

TEST(BmpLoading, EightBitPalette) {
  std::vector<Color> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(Rgb(i, (i * 7) & 0xFF, 255 - i));
  std::vector<std::vector<int>> rows(6, std::vector<int>(7));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 7; ++x) rows[y][x] = (y * 37 + x * 11) & 0xFF;
  }
  const Bytes file = bmptest::assemble({7, 6, 8, 0, {}, palette, bmptest::packIndexes(rows, 8)});
  EXPECT_EQ(load(file), fromIndexes(rows, palette));
}

TEST(BmpLoading, SixteenBitFiveFiveFiveAndFiveSixFive) {
  const Bitmap picture = pattern(5, 3, 7);
  Bitmap expected555(5, 3), expected565(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const Color c = picture.Pixel(x, y);
      using bmptest::widen;
      expected555.SetPixel(x, y,
                           Rgb(widen(RedOf(c) >> 3, 5), widen(GreenOf(c) >> 3, 5), widen(BlueOf(c) >> 3, 5)));
      expected565.SetPixel(x, y,
                           Rgb(widen(RedOf(c) >> 3, 5), widen(GreenOf(c) >> 2, 6), widen(BlueOf(c) >> 3, 5)));
    }
  }
  EXPECT_EQ(load(bmptest::assemble({5, 3, 16, 0, {}, {}, bmptest::packColours(picture, 16)})), expected555);
  EXPECT_EQ(load(bmptest::assemble(
                {5, 3, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, bmptest::packColours(picture, 16, true)})),
            expected565);
}

TEST(BmpLoading, TwentyFourAndThirtyTwoBitsExact) {
  for (int width : {1, 2, 3, 4, 5}) {
    const Bitmap picture = pattern(width, 4, static_cast<unsigned>(width));
    EXPECT_EQ(load(bmptest::assemble({width, 4, 24, 0, {}, {}, bmptest::packColours(picture, 24)})), picture)
        << width;
    EXPECT_EQ(load(bmptest::assemble({width, 4, 32, 0, {}, {}, bmptest::packColours(picture, 32)})), picture)
        << width;
  }
}

TEST(BmpLoading, ThirtyTwoBitsWithUnusualBitFields) {
  // Blue in the top byte, green below it, red in the second byte.
  const Bitmap picture = pattern(3, 2, 17);
  Bytes swapped;
  for (int y = 1; y >= 0; --y) {
    for (int x = 0; x < 3; ++x) {
      const Color c = picture.Pixel(x, y);
      bmptest::put32(swapped, static_cast<std::uint32_t>(BlueOf(c)) << 24 | GreenOf(c) << 16 | RedOf(c) << 8);
    }
  }
  EXPECT_EQ(load(bmptest::assemble({3, 2, 32, 3, {0x0000FF00, 0x00FF0000, 0xFF000000}, {}, swapped})),
            picture);
}

TEST(BmpLoading, TopDownRows) {
  const Bitmap picture = pattern(3, 5, 3);
  EXPECT_EQ(load(bmptest::assemble({3, -5, 24, 0, {}, {}, bmptest::packColours(picture, 24, false, true)})),
            picture);
}

TEST(BmpLoading, CoreHeaderOfOldFiles) {
  // The 12-byte header: 16-bit sizes and a palette of three-byte entries.
  const Bitmap picture = pattern(2, 2, 5);
  Bytes b{'B', 'M'};
  const Bytes data = bmptest::packColours(picture, 24);
  bmptest::put32(b, 14 + 12 + static_cast<std::uint32_t>(data.size()));
  bmptest::put32(b, 0);
  bmptest::put32(b, 14 + 12);
  bmptest::put32(b, 12);
  bmptest::put16(b, 2);
  bmptest::put16(b, 2);
  bmptest::put16(b, 1);
  bmptest::put16(b, 24);
  b.insert(b.end(), data.begin(), data.end());
  EXPECT_EQ(load(b), picture);
}

TEST(BmpLoading, RunLengthEightBits) {
  const std::vector<Color> palette{Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255),
                                   Rgb(9, 8, 7)};
  // 7 x 3, bottom row first: encoded runs, absolute runs (an odd one padded
  // to a word), end of line, a delta jump and the end of the picture.
  const Bytes data{
      4, 1, 0, 3, 2, 3, 2, 0,  // bottom row: 1 1 1 1, then 2 3 2
      0, 0,                    // end of line
      0, 4, 1, 2, 3, 4, 3, 2,  // middle row: 1 2 3 4, then 2 2 2
      0, 0,                    // end of line
      0, 2, 2, 0,              // top row: jump two columns right
      5, 3,                    // 3 3 3 3 3
      0, 1,                    // end of picture
  };
  const Bitmap b = load(bmptest::assemble({7, 3, 8, 1, {}, palette, data}));
  // The skipped pixels take palette entry 0, as a cleared picture would.
  EXPECT_EQ(b, fromIndexes({{0, 0, 3, 3, 3, 3, 3}, {1, 2, 3, 4, 2, 2, 2}, {1, 1, 1, 1, 2, 3, 2}}, palette));
}

TEST(BmpLoading, RunLengthFourBits) {
  std::vector<Color> palette;
  for (int i = 0; i < 16; ++i) palette.push_back(Rgb(i * 17, 0, 255 - i * 17));
  // 5 x 2, bottom row first: an encoded run alternating two indexes, an absolute run of three.
  const Bytes data{
      5, 0x12, 0,    0,                    // bottom row: 1 2 1 2 1, end of line
      0, 3,    0x9A, 0xB0, 2, 0xFF, 0, 1,  // top row: 9 10 11 15 15, end of picture
  };
  const Bitmap b = load(bmptest::assemble({5, 2, 4, 2, {}, palette, data}));
  EXPECT_EQ(b, fromIndexes({{9, 10, 11, 15, 15}, {1, 2, 1, 2, 1}}, palette));
}

TEST_F(BitmapFiles, SaveThenLoadIsExactForEveryRowPadding) {
  for (int width : {1, 2, 3, 4, 5, 86}) {
    const Bitmap picture = pattern(width, 3 + width % 4, static_cast<unsigned>(width) * 31);
    const std::string path = Path("round_" + std::to_string(width) + ".bmp");
    picture.SaveToFile(path);
    Bitmap back;
    back.LoadFromFile(path);
    EXPECT_EQ(back, picture) << width;
    EXPECT_EQ(std::filesystem::file_size(path),
              54 + ((width * 3 + 3) / 4 * 4) * static_cast<std::size_t>(picture.Height()));
  }
}

TEST(BmpWriting, HeaderFieldsRowOrderAndDeterminism) {
  Bitmap picture(3, 2, kBlack);
  picture.SetPixel(0, 0, Rgb(1, 2, 3));  // top left
  picture.SetPixel(2, 1, Rgb(4, 5, 6));  // bottom right
  const Bytes bytes = picture.SaveToMemory();
  ASSERT_EQ(bytes.size(), 54u + 2 * 12);
  auto u32 = [&](std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  };
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(u32(2), bytes.size());
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 3u);
  EXPECT_EQ(u32(22), 2u);
  EXPECT_EQ(bytes[28], 24);
  EXPECT_EQ(u32(30), 0u);
  EXPECT_EQ(u32(34), 24u);
  // Bottom row first: the bottom-right pixel is the third of the first row, in blue-green-red order.
  EXPECT_EQ(bytes[54 + 6], 6);
  EXPECT_EQ(bytes[54 + 7], 5);
  EXPECT_EQ(bytes[54 + 8], 4);
  EXPECT_EQ(bytes[54 + 9], 0);  // padding
  EXPECT_EQ(bytes[54 + 12], 3);
  EXPECT_EQ(bytes[54 + 13], 2);
  EXPECT_EQ(bytes[54 + 14], 1);
  EXPECT_EQ(picture.SaveToMemory(), bytes);
  EXPECT_THROW(Bitmap().SaveToMemory(), Exception);
}

TEST_F(BitmapFiles, BackslashPathsAndMissingFiles) {
  const Bitmap picture = pattern(4, 4);
  std::filesystem::create_directories(dir_ / "bmp");
  picture.SaveToFile(Path("bmp") + "\\cell.bmp");
  Bitmap back;
  back.LoadFromFile(Path("bmp") + "\\cell.bmp");
  EXPECT_EQ(back, picture);

  const std::string missing = Path("bmp/none.bmp");
  try {
    back.LoadFromFile(missing);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message.find(missing), std::string::npos) << e.Message;
  }
  EXPECT_EQ(back, picture);
  EXPECT_THROW(picture.SaveToFile(Path("no/such/folder/x.bmp")), Exception);
  EXPECT_THROW(back.LoadFromFile(Path("bmp")), Exception);  // a folder
  EXPECT_EQ(back, picture);
}

// Names from other files (a model's texture names) can point anywhere; only
// regular files are pictures. A FIFO must not block and a device must not be
// read without end.
TEST_F(BitmapFiles, OnlyRegularFilesAreRead) {
  const std::string fifo = Path("pipe.bmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Bitmap picture = pattern(3, 2);
  Bitmap back = picture;
  for (const std::string& name : {fifo, std::string("/dev/zero")}) {
    auto outcome = std::async(std::launch::async, [&back, name]() -> std::string {
      try {
        back.LoadFromFile(name);
      } catch (const Exception& e) {
        return e.Message;
      }
      return "no exception";
    });
    if (outcome.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      // Let a reader stuck on the FIFO go before failing.
      const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
      outcome.wait();
      ADD_FAILURE() << name << " was still being read after 10 s";
      continue;
    }
    const std::string message = outcome.get();
    EXPECT_NE(message.find("Cannot open"), std::string::npos) << name << ": " << message;
    EXPECT_NE(message.find(name), std::string::npos) << message;
  }
  EXPECT_EQ(back, picture);
}

TEST(BmpDamage, EveryTruncationRaisesAndKeepsTheBitmap) {
  const Bytes good = pattern(7, 5).SaveToMemory();
  const Bitmap before = pattern(2, 3, 99);
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    Bitmap b = before;
    const Bytes part(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    try {
      b.LoadFromMemory(part, "cut.bmp");
      ADD_FAILURE() << "loaded a file cut at " << cut;
    } catch (const Exception& e) {
      EXPECT_NE(e.Message.find("cut.bmp"), std::string::npos) << e.Message;
    }
    EXPECT_EQ(b, before) << cut;
  }
}

TEST(BmpDamage, BrokenHeadersRaise) {
  const Bytes good = pattern(4, 4).SaveToMemory();
  auto broken = [&](std::size_t at, std::vector<unsigned char> value) {
    Bytes b = good;
    for (std::size_t i = 0; i < value.size(); ++i) b[at + i] = value[i];
    return b;
  };
  const std::vector<std::pair<const char*, Bytes>> cases{
      {"magic", broken(0, {'X', 'M'})},
      {"zero width", broken(18, {0, 0, 0, 0})},
      {"zero height", broken(22, {0, 0, 0, 0})},
      {"negative width", broken(18, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"huge picture", broken(18, {0, 0, 1, 0})},             // 65536 wide
      {"huge claimed rows", broken(22, {0xFF, 0x7F, 0, 0})},  // far more rows than the data holds
      {"depth", broken(28, {7, 0})},
      {"header size", broken(14, {3, 0, 0, 0})},
      {"data offset past the end", broken(10, {0xFF, 0xFF, 0, 0})},
  };
  for (const auto& [what, bytes] : cases) {
    Bitmap b(1, 1, kWhite);
    EXPECT_THROW(b.LoadFromMemory(bytes, "broken.bmp"), Exception) << what;
    EXPECT_EQ(b, Bitmap(1, 1, kWhite)) << what;
  }
}

TEST(BmpDamage, RunLengthDataEndingEarlyRaises) {
  const std::vector<Color> palette{kBlack, kWhite};
  Bitmap b(1, 1, Rgb(5, 5, 5));
  // Two rows promised, one encoded, no end-of-picture mark.
  EXPECT_THROW(b.LoadFromMemory(bmptest::assemble({4, 2, 8, 1, {}, palette, {4, 1}}), "rle.bmp"), Exception);
  EXPECT_EQ(b, Bitmap(1, 1, Rgb(5, 5, 5)));
}

}  // namespace
