#pragma once
// Joystick 0 as the multimedia joystick calls saw it: axis ranges once,
// then per poll the axis positions and a button word.
#include <cstdint>

namespace platform {

// Only the fields the game reads of the capabilities record.
struct JoystickCaps {
  std::uint32_t wXmin = 0;
  std::uint32_t wXmax = 0;
  std::uint32_t wYmin = 0;
  std::uint32_t wYmax = 0;
};

struct JoystickPos {
  std::uint32_t wXpos = 0;
  std::uint32_t wYpos = 0;
  std::uint32_t wZpos = 0;
  // Bit 0 = button 1, bit 1 = button 2, and so on.
  std::uint32_t wButtons = 0;
};

class JoystickSource {
 public:
  virtual ~JoystickSource() = default;
  // Both return false, leaving the record unchanged, when no joystick 0 is
  // connected or it does not answer.
  virtual bool GetCaps(JoystickCaps& caps) = 0;
  virtual bool GetPos(JoystickPos& pos) = 0;
};

// A machine without a joystick; headless runs use it.
class NoJoystick final : public JoystickSource {
 public:
  bool GetCaps(JoystickCaps&) override { return false; }
  bool GetPos(JoystickPos&) override { return false; }
};

}  // namespace platform
