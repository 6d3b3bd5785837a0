#pragma once
// A complete game file tree made up in code for the shell tests: every
// picture of bmp/ (each one flat colour that names its list and file number),
// the window's lists under res/, nine WAV files of the exact sizes and three
// small MIDI files. Written once per test program; each test works in a
// directory of its own whose wav/ is a copy, so it may delete or damage files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/presentation/assets.h"
#include "game/shell/Dovrex_main.h"
#include "platform/app/application.h"
#include "platform/graphics/bitmap.h"
#include "platform/midi/recording_midi_out.h"
#include "platform/system/clock.h"

namespace dovrex::testing {

namespace fs = std::filesystem;

// Colour of cell k of numbered list L (index into SpriteFileRanges) as the
// test files draw it: never black, different for every list and file.
inline platform::Color SpriteColor(int list, int fileNumber) {
  return platform::Rgb(10 + 10 * list, 1 + fileNumber, 200);
}
inline platform::Color Font0Color(int cell) { return platform::Rgb(200, 1 + cell, 0); }
inline platform::Color Font1Color(int cell) { return platform::Rgb(100, 1 + cell, 50); }
inline platform::Color ShieldIconColor() { return platform::Rgb(0, 200, 0); }
inline platform::Color LaserIconColor() { return platform::Rgb(0, 0, 200); }
inline platform::Color TitleColor() { return platform::Rgb(255, 1, 1); }
// The far layer: one colour per row, so the two copies in the backdrop show.
inline platform::Color FarLayerColor(int y) { return platform::Rgb(0, 10 + y % 240, 50); }
// The near layer: black (transparent) but for rows 0..9 of each tile.
inline platform::Color NearLayerColor(int y) {
  return y % 240 < 10 ? platform::Rgb(90, 90, 90) : platform::kBlack;
}

inline void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 2; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A playable 8-bit mono WAV of exactly `size` bytes.
inline std::vector<std::uint8_t> MakeWav(int size) {
  std::vector<std::uint8_t> b;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(size - 44);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  put32(b, static_cast<std::uint32_t>(size - 8));
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, 1);  // mono
  put32(b, 22050);
  put32(b, 22050);
  put16(b, 1);
  put16(b, 8);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  put32(b, dataBytes);
  for (std::uint32_t i = 0; i < dataBytes; ++i) b.push_back(static_cast<std::uint8_t>(128 + (i % 32) - 16));
  return b;
}

// One note, format 0, 480 ticks a quarter.
inline std::vector<std::uint8_t> MakeMidi() {
  return {'M', 'T', 'h', 'd', 0, 0,    0,  6,  0,    0,    0,    1,  0x01, 0xE0, 'M',  'T',  'r', 'k',
          0,   0,   0,   13,  0, 0x90, 60, 64, 0x83, 0x60, 0x80, 60, 64,   0,    0xFF, 0x2F, 0};
}

inline void savePicture(const fs::path& path, int width, int height, platform::Color (*color)(int x, int y)) {
  platform::Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.SetPixel(x, y, color(x, y));
  }
  picture.SaveToFile(path.string());
}

inline void saveFlat(const fs::path& path, int width, int height, platform::Color color) {
  platform::Bitmap picture(width, height, color);
  picture.SaveToFile(path.string());
}

// A strip of cells, cell k flat in colorOf(k).
inline void saveStrip(const fs::path& path, int cellWidth, int cellHeight, int cells,
                      platform::Color (*colorOf)(int)) {
  platform::Bitmap strip(cellWidth * cells, cellHeight);
  for (int k = 0; k < cells; ++k) {
    for (int y = 0; y < cellHeight; ++y) {
      for (int x = 0; x < cellWidth; ++x) strip.SetPixel(k * cellWidth + x, y, colorOf(k));
    }
  }
  strip.SaveToFile(path.string());
}

// Adds cells flat in colorOf(k) to list.
inline void FillStrip(platform::ImageList& list, int cells, platform::Color (*colorOf)(int)) {
  platform::Bitmap strip(list.Width() * cells, list.Height());
  for (int k = 0; k < cells; ++k) {
    for (int y = 0; y < list.Height(); ++y) {
      for (int x = 0; x < list.Width(); ++x) strip.SetPixel(k * list.Width() + x, y, colorOf(k));
    }
  }
  list.AddMasked(strip, platform::kBlack);
}

inline platform::Color anyCell(int k) { return platform::Rgb(60, 60, 1 + k); }

inline void writeGameData(const fs::path& root) {
  fs::create_directories(root / "bmp");
  fs::create_directories(root / "wav");
  fs::create_directories(root / "mid");
  fs::create_directories(root / "res");
  saveFlat(root / "bmp/title.bmp", 375, 155, TitleColor());
  savePicture(root / "bmp/bg0.bmp", 480, 240, [](int, int y) { return NearLayerColor(y); });
  savePicture(root / "bmp/bg1.bmp", 480, 240, [](int, int y) { return FarLayerColor(y); });
  const auto ranges = SpriteFileRanges();
  const SpriteSheets sizes;
  for (int l = 0; l < static_cast<int>(ranges.size()); ++l) {
    const platform::ImageList& list = sizes.*ranges[l].list;
    for (int k = 0; k < ranges[l].count; ++k) {
      const int number = ranges[l].firstFile + k;
      // Four rows are enough to tell the cells apart and keep the tree small.
      saveFlat(root / SpriteFileName(ranges[l].prefix, number), list.Width(), 4, SpriteColor(l, number));
    }
  }
  for (int n = 1; n <= 9; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "wav/s%02d.wav", n);
    writeBytes(root / name, MakeWav(SoundFileBytes(n)));
  }
  for (const char* name : {"mid/m0.mid", "mid/m1.mid", "mid/m2.mid"}) writeBytes(root / name, MakeMidi());
  saveStrip(root / "res/Font0.bmp", 16, 16, 36, Font0Color);
  saveStrip(root / "res/Font1.bmp", 16, 16, 10, Font1Color);
  saveStrip(root / "res/ITs.bmp", 86, 32, 2,
            [](int k) { return k == 0 ? ShieldIconColor() : LaserIconColor(); });
  saveStrip(root / "res/Spa8.bmp", 10, 10, 6, anyCell);
  saveStrip(root / "res/IL16.bmp", 16, 16, 25, anyCell);
  saveStrip(root / "res/IL36.bmp", 36, 36, 48, anyCell);
}

// The shared tree, written on first use and removed when the program ends.
inline const fs::path& SharedGameData() {
  struct Tree {
    fs::path root;
    Tree() {
      std::string pattern = (fs::temp_directory_path() / "dovrex-shell-data-XXXXXX").string();
      root = ::mkdtemp(pattern.data());
      writeGameData(root);
    }
    ~Tree() {
      std::error_code ignored;
      fs::remove_all(root, ignored);
    }
  };
  static Tree tree;
  return tree.root;
}

// A working directory of its own: bmp/, mid/ and res/ link to the shared
// tree, wav/ is a copy; no score file unless the test writes one.
class GameDir {
 public:
  GameDir() {
    std::string pattern = (fs::temp_directory_path() / "dovrex-shell-game-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    const fs::path& shared = SharedGameData();
    for (const char* sub : {"bmp", "mid", "res"}) fs::create_directory_symlink(shared / sub, path_ / sub);
    fs::copy(shared / "wav", path_ / "wav");
  }
  ~GameDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  GameDir(const GameDir&) = delete;
  GameDir& operator=(const GameDir&) = delete;

  const fs::path& Path() const { return path_; }
  std::string String() const { return path_.string(); }
  fs::path operator/(const char* relative) const { return path_ / relative; }

 private:
  fs::path path_;
};

inline std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The game run headless in a directory of its own, frame by frame, as the
// application's message loop would run it.
class HeadlessGame {
 public:
  explicit HeadlessGame(unsigned seed = 1) : seed_(seed) {}

  // Creates the main window, which runs the start-up sequence.
  TForm1& Start() {
    TForm1Options options;
    options.directory = dir.String();
    options.seed = seed_;
    options.clock = &clock;
    options.music = [this] {
      auto out = std::make_unique<platform::RecordingMidiOut>();
      recording_ = out.get();
      return std::unique_ptr<platform::MidiOut>(std::move(out));
    };
    form = std::make_unique<TForm1>(app, options);
    form->Window().Show();
    return *form;
  }

  // One pass of the message loop: pending messages (deferred closes), then
  // the idle call. False once the main window has closed.
  bool Frame() {
    app.ProcessMessages();
    if (app.Terminated()) return false;
    if (app.OnIdle) {
      bool done = true;
      app.OnIdle(done);
    }
    return true;
  }
  // Runs n frames; false if the window closed on the way.
  bool Frames(int n) {
    for (int i = 0; i < n; ++i) {
      if (!Frame()) return false;
    }
    return true;
  }

  void KeyDown(int vk) { form->FormKeyDown(vk); }
  void KeyUp(int vk) { form->FormKeyUp(vk); }
  // Closes the window the way its close button does.
  void Close() {
    form->Window().Close();
    app.ProcessMessages();
  }

  GameRecord& Rec() { return form->Record(); }
  // The music's messages, once the music component has opened its output.
  const platform::RecordingMidiOut* Recording() const { return recording_; }
  int Mode() { return form->Record().gameMode; }

  GameDir dir;
  platform::Application app{platform::DisplayMode::Headless};
  platform::VirtualClock clock{100000};
  std::unique_ptr<TForm1> form;

 private:
  unsigned seed_;
  platform::RecordingMidiOut* recording_ = nullptr;  // owned by the music component
};

}  // namespace dovrex::testing
