#pragma once
// Dead-zone thresholds taken once from the axis ranges, and the per-poll
// reading against them. The middle third of each axis is the dead zone; all
// arithmetic is unsigned 32-bit with truncating division.
#include <cstdint>

#include "platform/input/joystick.h"

namespace platform {

struct JoystickThresholds {
  std::uint32_t left = 0;
  std::uint32_t right = 0;
  std::uint32_t up = 0;
  std::uint32_t down = 0;
};

JoystickThresholds ThresholdsFromCaps(const JoystickCaps& caps);

// Asks source for the capabilities; on failure thresholds stay as they were
// and false is returned.
bool CalibrateJoystick(JoystickSource& source, JoystickThresholds& thresholds);

struct JoystickDirections {
  bool left = false;
  bool right = false;
  bool up = false;
  bool down = false;
};

// Strict comparisons: a position exactly on a threshold sets nothing.
JoystickDirections DirectionsOf(const JoystickPos& pos, const JoystickThresholds& thresholds);

// Button 1 alone and button 2 alone; the word is compared for equality, so
// both together (3), or any other button, count as neither.
inline bool OnlyButton1(const JoystickPos& pos) { return pos.wButtons == 1; }
inline bool OnlyButton2(const JoystickPos& pos) { return pos.wButtons == 2; }

}  // namespace platform
