#include "platform/graphics/text_cache.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/framework/exception.h"

// The font file compiled into the library (tools/embed --symbol).
extern const unsigned char morvane_canvas_font[];
extern const std::size_t morvane_canvas_font_size;

namespace platform {

namespace {

constexpr int kDotsPerInch = 96;  // so that pixel height = size * 96 / 72

// SDL_ttf keeps one FreeType library for the process, and FreeType does not
// allow faces of one library to be opened, closed or rendered from several
// threads at once; canvases on different threads take turns here.
std::mutex& engineLock() {
  static std::mutex lock;
  return lock;
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

}  // namespace

TextCache::TextCache() {
  std::lock_guard guard(engineLock());
  // TTF_Init and TTF_Quit count their calls, so every cache may hold the engine.
  if (TTF_Init() != 0) throw Exception(std::string("Cannot start the font engine: ") + TTF_GetError());
}

TextCache::~TextCache() {
  std::lock_guard guard(engineLock());
  for (auto& [size, font] : fonts_) TTF_CloseFont(font);
  TTF_Quit();
}

TTF_Font* TextCache::Font(int size) {
  if (auto found = fonts_.find(size); found != fonts_.end()) return found->second;
  SDL_RWops* data = SDL_RWFromConstMem(morvane_canvas_font, static_cast<int>(morvane_canvas_font_size));
  TTF_Font* font = data ? TTF_OpenFontDPIRW(data, 1, size, kDotsPerInch, kDotsPerInch) : nullptr;
  if (!font) throw Exception(std::string("Cannot open the canvas font: ") + TTF_GetError());
  fonts_.emplace(size, font);
  return font;
}

RenderedText TextCache::Rasterise(const std::string& text, int size) {
  std::lock_guard guard(engineLock());
  TTF_Font* font = Font(size);
  RenderedText out;
  ++rasterisations_;
  // SDL_ttf renders nothing for an empty string; the box is then empty but
  // as tall as the font, like a text cell.
  if (text.empty() || text[0] == '\0') {
    out.height = TTF_FontHeight(font);
    return out;
  }
  std::unique_ptr<SDL_Surface, SurfaceDeleter> rendered(
      TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255}));
  if (!rendered) throw Exception(std::string("Cannot render canvas text: ") + TTF_GetError());
  std::unique_ptr<SDL_Surface, SurfaceDeleter> argb(
      SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw Exception(std::string("Cannot render canvas text: ") + SDL_GetError());

  out.width = argb->w;
  out.height = argb->h;
  out.coverage.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  const auto* base = static_cast<const unsigned char*>(argb->pixels);
  for (int y = 0; y < out.height; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(base + static_cast<std::size_t>(y) * argb->pitch);
    std::uint8_t* cov = out.coverage.data() + static_cast<std::size_t>(y) * out.width;
    // White ink: the alpha channel is the glyph coverage.
    for (int x = 0; x < out.width; ++x) cov[x] = static_cast<std::uint8_t>(row[x] >> 24);
  }
  return out;
}

const RenderedText& TextCache::Render(std::string_view text, int size) {
  size = std::clamp(size, kMinSize, kMaxSize);
  Key key{std::string(text), size};
  if (auto found = strings_.find(key); found != strings_.end()) return found->second;

  RenderedText rendered = Rasterise(key.text, size);
  const std::size_t bytes = rendered.coverage.size() + key.text.size();
  if (bytes > kMaxBytes) {
    scratch_ = std::move(rendered);
    return scratch_;
  }
  if (strings_.size() >= kMaxEntries || bytes_ + bytes > kMaxBytes) {
    strings_.clear();
    bytes_ = 0;
  }
  bytes_ += bytes;
  return strings_.emplace(std::move(key), std::move(rendered)).first->second;
}

}  // namespace platform
