#include "game/presentation/assets.h"

#include <array>
#include <cstdio>

#include "game/presentation/background.h"
#include "platform/framework/exception.h"
#include "platform/framework/resources.h"
#include "platform/graphics/bitmap.h"

namespace dovrex {

namespace {

using platform::ImageList;

constexpr auto kSpriteFiles = std::to_array<SpriteFileRange>({
    {&SpriteSheets::IL24, "24", 0, 7},
    {&SpriteSheets::IL32, "32", 0, 19},
    {&SpriteSheets::IL40, "40", 0, 8},
    {&SpriteSheets::IL44, "44", 0, 4},
    {&SpriteSheets::IL50, "50", 0, 48},
    {&SpriteSheets::IL64, "64", 0, 16},
    {&SpriteSheets::IL70, "70", 0, 56},
    {&SpriteSheets::IL86, "86", 0, 102},
    {&SpriteSheets::IL96, "96", 0, 32},
    {&SpriteSheets::IL100, "100", 0, 72},
    {&SpriteSheets::IL150, "150", 0, 15},
    {&SpriteSheets::IL160, "160", 0, 19},
    // Cell k of IL200 comes from file 200_(k + 10).
    {&SpriteSheets::IL200, "200", 10, 66},
});
static_assert(kSpriteFiles.size() == 13);

struct WindowList {
  ImageList SpriteSheets::*list;
  const char* name;
};

constexpr auto kWindowLists = std::to_array<WindowList>({
    {&SpriteSheets::Font0, "Font0"},
    {&SpriteSheets::Font1, "Font1"},
    {&SpriteSheets::ITs, "ITs"},
    {&SpriteSheets::Spa8, "Spa8"},
    {&SpriteSheets::IL16, "IL16"},
    {&SpriteSheets::IL36, "IL36"},
});
static_assert(kWindowLists.size() == 6);

constexpr platform::Color kMask = platform::kBlack;

void addPicture(ImageList& list, platform::Bitmap& picture, const std::string& path) {
  picture.SetSize(list.Width(), list.Height());
  picture.LoadFromFile(path);
  list.AddMasked(picture, kMask);
}

void loadSound(GameState& game, int n, const std::string& directory, ShellHost& host) {
  char name[16];
  std::snprintf(name, sizeof name, "wav/s%02d.wav", n);
  std::FILE* file = std::fopen(GamePath(directory, name).c_str(), "rb");
  if (file == nullptr) {
    host.ShowMessage(kMissingWaveMessage);
    host.RequestClose();
    return;
  }
  // One read of the file's fixed size: a shorter file fills only part of the
  // buffer; the last byte always stays 0.
  const std::span<std::uint8_t> buffer = SoundBuffer(game, n);
  std::fread(buffer.data(), 1, static_cast<std::size_t>(SoundFileBytes(n)), file);
  std::fclose(file);
}

}  // namespace

std::span<const SpriteFileRange> SpriteFileRanges() { return kSpriteFiles; }

std::string SpriteFileName(const char* prefix, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "bmp/%s_%02d.bmp", prefix, number);
  return name;
}

int SoundFileBytes(int n) { return n >= 1 && n <= 9 ? kSoundBufferSizes[n - 1] - 1 : 0; }

void LoadWindowImageLists(SpriteSheets& sheets, const std::string& directory) {
  platform::Bitmap picture;
  for (const WindowList& entry : kWindowLists) {
    ImageList& list = sheets.*entry.list;
    list.Clear();
    // Each list is one strip of its cells side by side; AddMasked cuts it.
    if (const auto blob = FindResource("BITMAP", entry.name)) {
      picture.LoadFromMemory(*blob, entry.name);
    } else {
      picture.LoadFromFile(GamePath(directory, std::string("res/") + entry.name + ".bmp"));
    }
    list.AddMasked(picture, kMask);
  }
}

void LoadAssets(SpriteSheets& sheets, GameState& game, platform::Canvas& i0, const std::string& directory,
                ShellHost& host) {
  {
    platform::Bitmap picture;  // one temporary picture for every file
    addPicture(sheets.IT, picture, GamePath(directory, "bmp/title.bmp"));
    addPicture(sheets.BK, picture, GamePath(directory, "bmp/bg0.bmp"));
    addPicture(sheets.BK, picture, GamePath(directory, "bmp/bg1.bmp"));
    for (const SpriteFileRange& range : kSpriteFiles) {
      ImageList& list = sheets.*range.list;
      for (int k = 0; k < range.count; ++k) {
        addPicture(list, picture, GamePath(directory, SpriteFileName(range.prefix, range.firstFile + k)));
      }
    }
  }
  for (int n = 1; n <= 9; ++n) loadSound(game, n, directory, host);
  PaintBackdrop(sheets, i0);
}

void DispatchSound(World& world) {
  GameState& game = world.game();
  if (game.soundRequest <= 0) return;
  // A missing file left its buffer zero-filled; the platform stays silent on
  // such data, so it is handed over like any other.
  if (game.soundRequest <= kSoundEffectCount)
    world.services.PlaySoundMemory(SoundBuffer(game, game.soundRequest));
  game.soundRequest = 0;
}

}  // namespace dovrex
