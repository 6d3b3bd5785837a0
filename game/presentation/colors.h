#pragma once
// The game's named colours, as the original's colour constants (clYellow,
// clOlive, ...) gave them.
#include "platform/graphics/color.h"

namespace dovrex {

inline constexpr platform::Color kYellow = platform::Rgb(255, 255, 0);
inline constexpr platform::Color kOlive = platform::Rgb(128, 128, 0);
inline constexpr platform::Color kBlue = platform::Rgb(0, 0, 255);
inline constexpr platform::Color kNavy = platform::Rgb(0, 0, 128);
inline constexpr platform::Color kCyan = platform::Rgb(0, 255, 255);
inline constexpr platform::Color kFuchsia = platform::Rgb(255, 0, 255);

}  // namespace dovrex
