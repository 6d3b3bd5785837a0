// Any bytes as the score file: each whole 4-byte entry reads as its
// little-endian value, anything partial or missing as 0, never past the end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "game/shell/score_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // fmemopen refuses an empty buffer; an empty file behaves as a file at its end.
  std::vector<std::uint8_t> copy(data, data + size);
  copy.push_back(0);
  std::FILE* file = ::fmemopen(copy.data(), size == 0 ? 1 : size, "rb");
  if (file == nullptr) return 0;
  if (size == 0) std::fseek(file, 0, SEEK_END);
  auto rec = std::make_unique<dovrex::GameRecord>();
  rec->highScores.fill(-7);
  dovrex::ReadScores(*rec, file);
  std::fclose(file);
  for (std::size_t i = 0; i < dovrex::kHighScoreCount; ++i) {
    std::uint32_t expected = 0;
    if (4 * (i + 1) <= size) {
      for (int b = 3; b >= 0; --b) expected = (expected << 8) | data[4 * i + static_cast<std::size_t>(b)];
    }
    if (static_cast<std::uint32_t>(rec->highScores[i]) != expected) std::abort();
  }
  return 0;
}
