#include "tools/assetgen/bmp_writer.h"

#include <algorithm>

#include "platform/graphics/bitmap.h"

namespace assetgen {

void WriteBmp(const std::filesystem::path& path, const Picture& picture) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  // Both hold 0x00RRGGBB pixels row by row from the top.
  platform::Bitmap bitmap(picture.width, picture.height);
  std::copy(picture.pixels.begin(), picture.pixels.end(), bitmap.Pixels().begin());
  bitmap.SaveToFile(path.string());
}

}  // namespace assetgen
