#pragma once
// Joystick 0 read through SDL: the first connected device, a game controller
// when SDL knows its layout, otherwise a plain joystick. Axes map from
// -32768..32767 to 0..65535; a d-pad or hat pushes the axes to their ends.
// Devices may come and go at any time; calls fail while none is connected.
// Use from the main thread only.
#include <cstdint>
#include <memory>

#include "platform/input/joystick.h"

namespace platform {

class SdlJoystick final : public JoystickSource {
 public:
  SdlJoystick();
  ~SdlJoystick() override;
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  bool GetCaps(JoystickCaps& caps) override;
  bool GetPos(JoystickPos& pos) override;

  // Whether a device is open as joystick 0 after the last call, and whether
  // it is read as a game controller.
  bool Connected() const;
  bool IsGameController() const;

 private:
  struct Device;
  bool Refresh();

  bool initialized_ = false;
  std::unique_ptr<Device> device_;
};

// A joystick made up in SDL itself, so that SdlJoystick can be exercised
// without hardware. Detached when destroyed.
class VirtualSdlJoystick {
 public:
  // A game controller has the standard axes and buttons (A = button 1,
  // B = button 2); a plain joystick has axes, buttons and hats as given.
  static VirtualSdlJoystick Controller();
  static VirtualSdlJoystick Plain(int axes, int buttons, int hats);

  VirtualSdlJoystick(VirtualSdlJoystick&& other) noexcept;
  VirtualSdlJoystick& operator=(VirtualSdlJoystick&&) = delete;
  ~VirtualSdlJoystick();

  bool Attached() const { return deviceIndex_ >= 0; }
  // Values as SDL reports them: axes -32768..32767; a controller's axis and
  // button numbers are SDL's controller numbering (0 = left x / A, 1 = left
  // y / B, 11..14 = d-pad up, down, left, right).
  void SetAxis(int axis, std::int16_t value);
  void SetButton(int button, bool pressed);
  // Hat bits: 1 up, 2 right, 4 down, 8 left.
  void SetHat(int hat, int bits);

 private:
  explicit VirtualSdlJoystick(int deviceIndex);
  int deviceIndex_;
  void* handle_;  // the SDL joystick kept open so values can be set
};

}  // namespace platform
