#pragma once
// Column layout of the debug log. Its lines were fixed byte counts in
// Shift-JIS, where a full-width character takes two bytes; in UTF-8 the same
// layout is kept by counting display columns: full-width characters two,
// everything else one.
#include <string>
#include <string_view>

namespace MorvaneSystem {

// Width of every banner line of the log.
inline constexpr int kBannerColumns = 77;

// Display columns of UTF-8 text. A malformed byte counts as one column.
int DisplayWidth(std::string_view utf8);

// The text followed by spaces up to the given width (never truncated).
std::string PadColumns(std::string_view text, int columns);

// Spaces followed by the text, so that the text ends at the given column.
std::string AlignRightColumns(std::string_view text, int columns);

// Banner lines, each kBannerColumns wide, without the newline:
// "// " and 74 "=";
std::string BannerRule();
// "// " and the title, padded with spaces;
std::string BannerTitle(std::string_view title);
// "//", spaces, and the credit ending at the last column.
std::string BannerCredit(std::string_view credit);

}  // namespace MorvaneSystem
