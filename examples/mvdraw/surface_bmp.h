#pragma once
// Surfaces written as BMP files of their own depth: 16-bit with 5-6-5 bit
// fields, 24-bit, 32-bit; rows bottom-up, padded to four bytes.
#include <string>

#include "platform/graphics/surface.h"

namespace mvdraw {

// Raises Exception when the file cannot be written.
void SaveSurfaceBmp(const platform::Surface& surface, const std::string& fileName);

}  // namespace mvdraw
