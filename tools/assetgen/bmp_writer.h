#pragma once
// The one place pictures become BMP files.
#include <filesystem>

#include "tools/assetgen/raster.h"

namespace assetgen {

// Writes a 24-bit Windows BMP (bottom-up, rows padded to 4 bytes).
// NOTE: platform::Bitmap::SaveToFile writes the same format; this adapter
// keeps assetgen independent of the graphics module's progress.
void WriteBmp(const std::filesystem::path& path, const Picture& picture);

}  // namespace assetgen
