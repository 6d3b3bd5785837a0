#include "texture_convert.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>

#include "library/3d/model_layout.h"

namespace mv3d {

namespace {

// The longest texture name the 32-byte field holds with its NUL.
constexpr std::size_t kMaxNameLength = Morvane3DSystem::ModelLayout::kTextureNameSize - 1;
constexpr char kBmpExtension[] = ".bmp";
constexpr std::size_t kBmpExtensionLength = sizeof kBmpExtension - 1;
constexpr char kFallbackStem[] = "texture";

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// Models made on Windows separate folders with backslashes.
std::string Normalised(std::string reference) {
  std::replace(reference.begin(), reference.end(), '\\', '/');
  return reference;
}

bool IsBmp(const std::string& reference) {
  const std::string extension = std::filesystem::path(reference).extension().string();
  return extension.size() == kBmpExtensionLength &&
         std::equal(extension.begin(), extension.end(), kBmpExtension,
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// The picture's file name without folders or extension, in characters that
// are safe in any file system and cannot climb out of the output folder.
std::string SafeStem(const std::string& reference) {
  std::string stem = std::filesystem::path(reference).stem().string();
  for (char& c : stem) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
    if (!plain) c = '_';
  }
  if (!stem.empty() && stem[0] == '.') stem[0] = '_';
  return stem.empty() ? kFallbackStem : stem;
}

std::string WithSuffix(const std::string& stem, const std::string& suffix) {
  const std::size_t room = kMaxNameLength - kBmpExtensionLength - suffix.size();
  return stem.substr(0, room) + suffix + kBmpExtension;
}

}  // namespace

struct TextureConverter::Picture {
  std::string reference;
  std::string name;
  Surface surface;
};

TextureConverter::TextureConverter(std::filesystem::path sourceFolder, std::filesystem::path outFolder)
    : FSourceFolder(std::move(sourceFolder)), FOutFolder(std::move(outFolder)) {}

TextureConverter::~TextureConverter() = default;

void TextureConverter::Reserve(const std::string& reference) {
  if (IsBmp(reference)) FTaken.insert(Normalised(reference));
}

std::string TextureConverter::FreeName(const std::string& reference) const {
  const std::string stem = SafeStem(reference);
  std::string name = WithSuffix(stem, "");
  for (unsigned n = 2; FTaken.count(name); ++n) name = WithSuffix(stem, "-" + std::to_string(n));
  return name;
}

std::string TextureConverter::Name(const std::string& reference) {
  if (IsBmp(reference)) return reference;
  const std::string source = Normalised(reference);
  for (const Picture& p : FPictures) {
    if (p.reference == source) return p.name;
  }
  if (FDropped.count(source)) return "";
  const std::filesystem::path path = FSourceFolder / source;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    FDropped.insert(source);
    FWarnings.push_back("texture " + reference + " not found, left out");
    return "";
  }
  Surface loaded(IMG_Load(path.string().c_str()));
  // 24-bit pixels: the BMP every reader takes; the component derives
  // transparency from black pixels, not from an alpha channel.
  Surface plain(loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_BGR24, 0) : nullptr);
  if (!plain) {
    FDropped.insert(source);
    FWarnings.push_back("texture " + reference + " cannot be read (" + SDL_GetError() + "), left out");
    return "";
  }
  Picture picture{source, FreeName(source), std::move(plain)};
  FTaken.insert(picture.name);
  FPictures.push_back(std::move(picture));
  return FPictures.back().name;
}

void TextureConverter::Write(std::ostream& report) const {
  for (const Picture& p : FPictures) {
    const std::filesystem::path target = FOutFolder / p.name;
    if (SDL_SaveBMP(p.surface.get(), target.string().c_str()) != 0) {
      throw std::runtime_error("cannot write the texture " + target.string() + ": " + SDL_GetError());
    }
    report << "texture " << p.reference << " -> " << p.name << "\n";
  }
}

}  // namespace mv3d
