#pragma once
// Review sheets: every cell of a list on a checkerboard, labelled by index.
#include <filesystem>
#include <vector>

#include "tools/assetgen/image_set.h"

namespace assetgen {

void WriteContactSheet(const std::filesystem::path& path, const ImageListSpec& list,
                       const std::vector<Picture>& cells);

}  // namespace assetgen
