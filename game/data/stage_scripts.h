#pragma once
// The two stage scripts: one command per tick of six frames. 0 waits six
// ticks, 1 two, 24 until the field is clear; 2..6 show banners, 58..60 change
// the music, the rest send waves (see waves.h).
#include <cstdint>
#include <span>

namespace dovrex {

// The first stage's script is 480 entries long (457 used, then waits); the
// second's 492, after which every step reads as a wait.
inline constexpr int kFirstStageLength = 480;
inline constexpr int kSecondStageLength = 492;

// The script of stage 0 or of any later stage.
std::span<const std::int16_t> StageScript(int stage);

}  // namespace dovrex
