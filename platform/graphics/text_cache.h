#pragma once
// Canvas text rendering: DejaVu Sans at 96 dpi through SDL_ttf, with every
// string's glyph coverage kept so a string drawn again costs only the blend.
// Private to the graphics module.
#include <SDL_ttf.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// Antialiased coverage of one string, 0 (background) to 255 (ink), row by row.
struct RenderedText {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

class TextCache {
 public:
  TextCache();
  ~TextCache();
  TextCache(const TextCache&) = delete;
  TextCache& operator=(const TextCache&) = delete;

  // The string in the font of this size (points), from the cache when it was
  // rendered before. Valid until the next call.
  const RenderedText& Render(std::string_view text, int size);
  int Rasterisations() const { return rasterisations_; }

  // Font sizes outside this range are taken as its nearest end.
  static constexpr int kMinSize = 1;
  static constexpr int kMaxSize = 400;
  // Beyond these the cache starts afresh; single strings above the byte bound
  // are rendered for one use only.
  static constexpr std::size_t kMaxEntries = 512;
  static constexpr std::size_t kMaxBytes = std::size_t{16} << 20;

 private:
  struct Key {
    std::string text;
    int size;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::hash<std::string>{}(k.text) ^ (static_cast<std::size_t>(k.size) * 0x9E3779B97F4A7C15ull);
    }
  };

  TTF_Font* Font(int size);
  RenderedText Rasterise(const std::string& text, int size);

  std::map<int, TTF_Font*> fonts_;
  std::unordered_map<Key, RenderedText, KeyHash> strings_;
  std::size_t bytes_ = 0;
  RenderedText scratch_;
  int rasterisations_ = 0;
};

}  // namespace platform
