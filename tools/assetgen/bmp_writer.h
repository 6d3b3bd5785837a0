#pragma once
// The one place pictures become BMP files.
#include <filesystem>

#include "tools/assetgen/raster.h"

namespace assetgen {

// Writes a 24-bit Windows BMP through the platform's bitmap writer (the same
// bytes for the same pixels), creating the folder when needed.
void WriteBmp(const std::filesystem::path& path, const Picture& picture);

}  // namespace assetgen
