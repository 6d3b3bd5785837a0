#pragma once
// The nine sound-effect files and the exact size the game reads of each.
#include <array>
#include <cstddef>

namespace assetgen {

struct SoundFile {
  const char* name;   // below wav/
  std::size_t bytes;  // whole file, header included
  const char* role;
};

// Effects are numbered 1..kSoundCount; s0N.wav is effect N.
inline constexpr int kSoundCount = 9;

inline constexpr auto kSoundFiles = std::to_array<SoundFile>({
    {"s01.wav", 101098, "laser charge"},
    {"s02.wav", 27478, "ship hit"},
    {"s03.wav", 13400, "capsule pickup"},
    {"s04.wav", 21048, "explosion"},
    {"s05.wav", 24018, "large explosion"},
    {"s06.wav", 37104, "boss explosion"},
    {"s07.wav", 55262, "straight shots"},
    {"s08.wav", 18642, "fan volley"},
    {"s09.wav", 11144, "spray"},
});
static_assert(kSoundFiles.size() == kSoundCount);

constexpr int kSoundRate = 22050;  // Hz

}  // namespace assetgen
