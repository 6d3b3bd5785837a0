// Runs the whole generator into a temporary folder and checks what the game
// reads: every file, its size, its structure, and that a second run gives
// the same bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "tests/tools/assetgen/smf_reader.h"
#include "tools/assetgen/generate.h"
#include "tools/assetgen/image_set.h"
#include "tools/assetgen/sound_table.h"

namespace {

namespace fs = std::filesystem;
using assetgen::FindImageList;
using assetgen::ImageListSpec;
using assetgen::kImageLists;
using assetgen::Picture;
using assetgen::Storage;

std::vector<std::uint8_t> readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// A 24-bit bottom-up BMP as the game's loader reads it.
Picture readBmp(const fs::path& path) {
  const auto b = readAll(path);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not a BMP: " + path.string());
  const int w = static_cast<int>(le32(b, 18)), h = static_cast<int>(le32(b, 22));
  if ((b[28] | (b[29] << 8)) != 24) throw std::runtime_error("not 24-bit: " + path.string());
  const std::size_t row = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  if (le32(b, 2) != b.size() || b.size() != le32(b, 10) + row * h)
    throw std::runtime_error("bad size: " + path.string());
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = b.data() + le32(b, 10) + (h - 1 - y) * row;
    for (int x = 0; x < w; ++x) p.At(x, y) = src[x * 3] | (src[x * 3 + 1] << 8) | (src[x * 3 + 2] << 16);
  }
  return p;
}

fs::path freshDir(const char* tag) {
  const fs::path dir =
      fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()) + "_" + tag);
  fs::remove_all(dir);
  return dir;
}

// The cells each list's drawing code uses (sprite table, shots, particles,
// HUD, fonts); each must hold a picture.
const std::map<std::string, std::vector<std::pair<int, int>>> kUsedCells = {
    {"Font0", {{0, 35}}},
    {"Font1", {{0, 9}}},
    {"ITs", {{0, 1}}},
    {"Spa8", {{0, 5}}},
    {"IL16", {{0, 24}}},
    {"IL36", {{0, 47}}},
    {"IT", {{0, 0}}},
    {"BK", {{0, 1}}},
    {"IL24", {{0, 6}}},
    {"IL32", {{0, 18}}},
    {"IL40", {{0, 7}}},
    {"IL44", {{0, 3}}},
    {"IL50", {{0, 47}}},
    {"IL64", {{1, 15}}},
    {"IL70", {{0, 55}}},
    {"IL86", {{0, 101}}},
    {"IL96", {{1, 15}, {17, 31}}},
    {"IL100", {{0, 71}}},
    {"IL150", {{0, 14}}},
    {"IL160", {{0, 18}}},
    {"IL200", {{0, 65}}},
};

class GeneratedFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fs::path(freshDir("a"));
    assetgen::GenerateOptions o;
    o.outDir = *dir_;
    o.musicDir = ASSETGEN_MUSIC_DIR;
    assetgen::GenerateAll(o);
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir_);
    delete dir_;
  }
  static const fs::path& Dir() { return *dir_; }

  // The picture of one cell as the game gets it from the files.
  static Picture cellFromFiles(const ImageListSpec& list, int cell) {
    if (list.storage == Storage::Files)
      return readBmp(Dir() / "bmp" / (assetgen::CellFileName(list, cell) + ".bmp"));
    const Picture strip = readBmp(Dir() / "res" / (std::string(list.name) + ".bmp"));
    Picture p(list.cellWidth, list.cellHeight);
    for (int y = 0; y < list.cellHeight; ++y)
      for (int x = 0; x < list.cellWidth; ++x) p.At(x, y) = strip.At(cell * list.cellWidth + x, y);
    return p;
  }

 private:
  static inline fs::path* dir_ = nullptr;
};

TEST_F(GeneratedFiles, EveryBitmapFileHasItsListsCellSize) {
  int files = 0;
  for (const auto& list : kImageLists) {
    if (list.storage != Storage::Files) continue;
    for (int k = 0; k < list.count; ++k) {
      const fs::path path = Dir() / "bmp" / (assetgen::CellFileName(list, k) + ".bmp");
      SCOPED_TRACE(path.string());
      ASSERT_TRUE(fs::exists(path));
      const Picture p = readBmp(path);
      EXPECT_EQ(p.width, list.cellWidth);
      EXPECT_EQ(p.height, list.cellHeight);
      ++files;
    }
  }
  EXPECT_EQ(files, 467);
  int onDisk = 0;
  for (const auto& e : fs::directory_iterator(Dir() / "bmp")) onDisk += e.path().extension() == ".bmp";
  EXPECT_EQ(onDisk, 467);
  EXPECT_TRUE(fs::exists(Dir() / "bmp" / "200_10.bmp"));
  EXPECT_TRUE(fs::exists(Dir() / "bmp" / "200_75.bmp"));
  EXPECT_TRUE(fs::exists(Dir() / "bmp" / "86_101.bmp"));
  EXPECT_TRUE(fs::exists(Dir() / "bmp" / "title.bmp"));
  EXPECT_TRUE(fs::exists(Dir() / "bmp" / "bg1.bmp"));
}

TEST_F(GeneratedFiles, ListsStoredWithTheWindowAreStripsOfCells) {
  for (const auto& list : kImageLists) {
    if (list.storage != Storage::Window) continue;
    SCOPED_TRACE(list.name);
    const Picture p = readBmp(Dir() / "res" / (std::string(list.name) + ".bmp"));
    EXPECT_EQ(p.width, list.cellWidth * list.count);
    EXPECT_EQ(p.height, list.cellHeight);
  }
  const Picture splash = readBmp(Dir() / "res" / "splash.bmp");
  EXPECT_EQ(splash.width, 375);
  EXPECT_EQ(splash.height, 155);
  for (auto c : splash.pixels) ASSERT_NE(c, 0u) << "the splash picture is opaque";
}

TEST_F(GeneratedFiles, NoOpaquePixelIsPureBlack) {
  for (const auto& list : kImageLists) {
    for (int k = 0; k < list.count; ++k) {
      SCOPED_TRACE(std::string(list.name) + " cell " + std::to_string(k));
      assetgen::CellCanvas canvas(list.cellWidth, list.cellHeight);
      const assetgen::KeyMode mode = assetgen::RenderCellRaw(list, k, canvas);
      const Picture file = cellFromFiles(list, k);
      int wrong = 0;
      for (int y = 0; y < list.cellHeight; ++y) {
        for (int x = 0; x < list.cellWidth; ++x) {
          const std::uint32_t raw = canvas.Raw(x, y);
          const int a = static_cast<int>(raw >> 24);
          const int bright = std::max({(raw >> 16) & 0xFF, (raw >> 8) & 0xFF, raw & 0xFF});
          const bool drawn =
              mode == assetgen::KeyMode::Solid ? a >= assetgen::kSolidAlpha : bright >= assetgen::kGlowFloor;
          if (drawn && file.At(x, y) == 0) ++wrong;
          if (!drawn && a == 0 && file.At(x, y) != 0) ++wrong;  // untouched stays transparent
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST_F(GeneratedFiles, EveryUsedCellHoldsAPicture) {
  for (const auto& [name, ranges] : kUsedCells) {
    const ImageListSpec& list = FindImageList(name);
    for (const auto& [first, last] : ranges) {
      for (int k = first; k <= last; ++k) {
        SCOPED_TRACE(name + " cell " + std::to_string(k));
        ASSERT_LT(k, list.count);
        const Picture p = cellFromFiles(list, k);
        int visible = 0;
        for (auto c : p.pixels) visible += c != 0;
        EXPECT_GE(visible, std::min(12, list.cellWidth * list.cellHeight / 20));
      }
    }
  }
}

TEST_F(GeneratedFiles, BackgroundLayersTileWithoutASeam) {
  for (const char* name : {"bg0.bmp", "bg1.bmp"}) {
    SCOPED_TRACE(name);
    const Picture p = readBmp(Dir() / "bmp" / name);
    ASSERT_EQ(p.width, 480);
    ASSERT_EQ(p.height, 240);
    auto rowDiff = [&](int a, int b) {
      double sum = 0;
      for (int x = 0; x < p.width; ++x) {
        const std::uint32_t u = p.At(x, a), v = p.At(x, b);
        for (int s = 0; s < 24; s += 8)
          sum += std::abs(static_cast<int>((u >> s) & 0xFF) - static_cast<int>((v >> s) & 0xFF));
      }
      return sum / p.width;
    };
    double typical = 0;
    for (int y = 0; y + 1 < p.height; ++y) typical = std::max(typical, rowDiff(y, y + 1));
    EXPECT_LE(rowDiff(p.height - 1, 0), typical + 0.5);
  }
  const Picture far = readBmp(Dir() / "bmp" / "bg1.bmp");
  for (auto c : far.pixels) ASSERT_NE(c, 0u) << "the far layer covers the backdrop copy";
}

TEST_F(GeneratedFiles, SoundFilesHaveTheirExactByteCounts) {
  for (const auto& file : assetgen::kSoundFiles) {
    SCOPED_TRACE(file.name);
    const auto b = readAll(Dir() / "wav" / file.name);
    ASSERT_EQ(b.size(), file.bytes);
    EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(b[20] | (b[21] << 8), 1);
    EXPECT_EQ(b[34] | (b[35] << 8), 16);
    EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
    EXPECT_EQ(le32(b, 40) + 44, file.bytes - file.bytes % 2);
    EXPECT_EQ(le32(b, 4) + 8, file.bytes - file.bytes % 2);
  }
}

double secondsAt(const assetgen_test::SmfFile& f, std::uint32_t tick) {
  double seconds = 0, us = 500000;
  std::uint32_t at = 0;
  for (const auto& e : f.tracks[0]) {
    if (e.status != 0xFF || e.metaType != 0x51 || e.tick >= tick) continue;
    seconds += (e.tick - at) * us / 1e6 / f.division;
    at = e.tick;
    us = (e.data[0] << 16) | (e.data[1] << 8) | e.data[2];
  }
  return seconds + (tick - at) * us / 1e6 / f.division;
}

TEST_F(GeneratedFiles, MusicLoopsBetweenItsMarkers) {
  const std::map<std::string, double> loopSeconds = {{"m0", 40}, {"m1", 90}, {"m2", 45}};
  for (const auto& [name, target] : loopSeconds) {
    SCOPED_TRACE(name);
    const auto f = assetgen_test::ReadSmf(readAll(Dir() / "mid" / (name + ".mid")));
    EXPECT_EQ(f.format, 1);
    EXPECT_EQ(f.division, 480);
    ASSERT_GE(f.tracks.size(), 4u);
    int starts = 0, ends = 0;
    std::uint32_t start = 0, end = 0;
    for (const auto& e : f.tracks[0]) {
      if (e.status != 0xFF || e.metaType != 0x06) continue;
      if (e.Text() == "RepeatStart") ++starts, start = e.tick;
      if (e.Text() == "RepeatEnd") ++ends, end = e.tick;
    }
    ASSERT_EQ(starts, 1);
    ASSERT_EQ(ends, 1);
    EXPECT_LT(start, end);
    EXPECT_NEAR(secondsAt(f, end) - secondsAt(f, start), target, target * 0.15);
    std::set<int> programs, controllers;
    int drumNotes = 0, notes = 0;
    for (std::size_t t = 1; t < f.tracks.size(); ++t) {
      std::map<int, int> sounding;
      for (const auto& e : f.tracks[t]) {
        if (e.status == 0xFF) continue;
        // A player that jumps at RepeatEnd sends nothing due at its tick.
        EXPECT_LT(e.tick, end);
        const int kind = e.status >> 4, ch = e.status & 0x0F;
        if (kind == 0xC) programs.insert(e.data[0]);
        if (kind == 0xB) controllers.insert(e.data[0]);
        if (kind == 0x9 && e.data[1] > 0) {
          ++notes;
          drumNotes += ch == 9;
          ++sounding[e.data[0]];
        }
        if (kind == 0x8 || (kind == 0x9 && e.data[1] == 0)) --sounding[e.data[0]];
      }
      for (const auto& [key, n] : sounding) EXPECT_EQ(n, 0) << "note " << key << " left hanging";
    }
    EXPECT_GT(notes, 300);
    EXPECT_GT(drumNotes, 100);
    EXPECT_GE(programs.size(), 4u);
    for (int cc : {7, 10, 91}) EXPECT_TRUE(controllers.count(cc)) << "controller " << cc;
  }
}

TEST_F(GeneratedFiles, ContactSheetsForEveryList) {
  for (const auto& list : kImageLists) {
    const auto b = readAll(Dir() / "contact" / (std::string(list.name) + ".png"));
    ASSERT_GT(b.size(), 8u) << list.name;
    EXPECT_EQ(std::memcmp(b.data(), "\x89PNG", 4), 0) << list.name;
  }
}

TEST_F(GeneratedFiles, ASecondRunGivesIdenticalBytes) {
  const fs::path other = freshDir("b");
  assetgen::GenerateOptions o;
  o.outDir = other;
  o.musicDir = ASSETGEN_MUSIC_DIR;
  assetgen::GenerateAll(o);
  std::set<fs::path> first, second;
  for (const auto& e : fs::recursive_directory_iterator(Dir()))
    if (e.is_regular_file()) first.insert(fs::relative(e.path(), Dir()));
  for (const auto& e : fs::recursive_directory_iterator(other))
    if (e.is_regular_file()) second.insert(fs::relative(e.path(), other));
  EXPECT_EQ(first, second);
  EXPECT_GT(first.size(), 467u + 9u + 3u + 7u);
  for (const auto& rel : first) EXPECT_EQ(readAll(Dir() / rel), readAll(other / rel)) << rel;
  fs::remove_all(other);
}

}  // namespace
