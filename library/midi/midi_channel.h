#pragma once
// The state the component keeps per MIDI channel, from the messages it sends.
#include <array>
#include <cstdint>

namespace MorvaneMidiSystem {

struct TMorvaneMidiChannel {
  std::uint8_t Level = 0;  // loudest recent note-on velocity, decaying by 4 a step
  std::uint8_t Program = 0;
  std::uint8_t Volume = 0;      // controller 7
  std::uint8_t Panpot = 0;      // controller 10
  std::uint8_t Expression = 0;  // controller 11
  std::uint8_t Reverb = 0;      // controller 91
  std::uint8_t Chorus = 0;      // controller 93
  std::uint8_t Delay = 0;       // controller 94

  friend bool operator==(const TMorvaneMidiChannel&, const TMorvaneMidiChannel&) = default;
};

inline constexpr int kMidiChannels = 16;
using TMorvaneMidiChannels = std::array<TMorvaneMidiChannel, kMidiChannels>;

// Controllers the channel record follows.
inline constexpr std::uint8_t kControlVolume = 7;
inline constexpr std::uint8_t kControlPanpot = 10;
inline constexpr std::uint8_t kControlExpression = 11;
inline constexpr std::uint8_t kControlReverb = 91;
inline constexpr std::uint8_t kControlChorus = 93;
inline constexpr std::uint8_t kControlDelay = 94;

// A channel's record after Reset: the program is kept.
inline constexpr TMorvaneMidiChannel ChannelDefaults(std::uint8_t Program) {
  return TMorvaneMidiChannel{0, Program, 100, 64, 127, 40, 0, 0};
}

// Per scheduler step, a level falls by this much (to no less than 0).
inline constexpr std::uint8_t kLevelDecay = 4;

}  // namespace MorvaneMidiSystem
