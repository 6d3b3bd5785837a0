#include "library/debug/text_columns.h"

#include <cstdint>

namespace MorvaneSystem {

namespace {

// Code points shown two columns wide, as in Shift-JIS: CJK, kana, Hangul and
// the full-width forms (half-width katakana U+FF61..U+FF9F stay one column).
bool isFullWidth(std::uint32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Length of the UTF-8 sequence starting at text[i], or 0 when it is malformed;
// the code point goes to c.
std::size_t decode(std::string_view text, std::size_t i, std::uint32_t& c) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  // Overlong forms and surrogates are malformed too.
  if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
      (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
    return 0;
  return length;
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  int width = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::uint32_t c = 0;
    const auto length = decode(utf8, i, c);
    if (length == 0) {
      width += 1;
      i += 1;
    } else {
      width += isFullWidth(c) ? 2 : 1;
      i += length;
    }
  }
  return width;
}

std::string PadColumns(std::string_view text, int columns) {
  std::string line(text);
  const int width = DisplayWidth(text);
  if (width < columns) line.append(static_cast<std::size_t>(columns - width), ' ');
  return line;
}

std::string AlignRightColumns(std::string_view text, int columns) {
  const int width = DisplayWidth(text);
  std::string line(width < columns ? static_cast<std::size_t>(columns - width) : 0, ' ');
  line.append(text);
  return line;
}

std::string BannerRule() { return "// " + std::string(kBannerColumns - 3, '='); }

std::string BannerTitle(std::string_view title) {
  return PadColumns("// " + std::string(title), kBannerColumns);
}

std::string BannerCredit(std::string_view credit) {
  return "//" + AlignRightColumns(credit, kBannerColumns - 2);
}

}  // namespace MorvaneSystem
