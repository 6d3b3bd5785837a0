#pragma once
// What the rules need from outside the game record: the joystick, the effect
// player and the music component. TForm1 provides the real ones.
#include <cstdint>
#include <span>

#include "platform/input/joystick.h"

namespace dovrex {

// Position record of joystick 0, as the multimedia call fills it.
using JoyInfo = platform::JoystickPos;

class GameServices {
 public:
  virtual ~GameServices() = default;
  // Reads joystick 0; false when there is none.
  virtual bool JoyGetPos(JoyInfo& info) = 0;
  // Plays one in-memory WAV image asynchronously, cutting off the previous
  // one; unplayable data stays silent.
  virtual void PlaySoundMemory(std::span<const std::uint8_t> wavImage) = 0;
  // Fades the music out over this many milliseconds.
  virtual void SetMusicFadeOut(int milliseconds) = 0;
};

}  // namespace dovrex
