#include "platform/input/joystick_thresholds.h"

namespace platform {

JoystickThresholds ThresholdsFromCaps(const JoystickCaps& caps) {
  JoystickThresholds t;
  t.left = caps.wXmin + (caps.wXmax - caps.wXmin) / 3;
  t.right = caps.wXmax - (caps.wXmax - caps.wXmin) / 3;
  t.up = caps.wYmin + (caps.wYmax - caps.wYmin) / 3;
  t.down = caps.wYmax - (caps.wYmax - caps.wYmin) / 3;
  return t;
}

bool CalibrateJoystick(JoystickSource& source, JoystickThresholds& thresholds) {
  JoystickCaps caps;
  if (!source.GetCaps(caps)) return false;
  thresholds = ThresholdsFromCaps(caps);
  return true;
}

JoystickDirections DirectionsOf(const JoystickPos& pos, const JoystickThresholds& thresholds) {
  JoystickDirections d;
  d.left = pos.wXpos < thresholds.left;
  d.right = pos.wXpos > thresholds.right;
  d.up = pos.wYpos < thresholds.up;
  d.down = pos.wYpos > thresholds.down;
  return d;
}

}  // namespace platform
