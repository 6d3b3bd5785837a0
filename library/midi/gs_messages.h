#pragma once
// The fixed system-exclusive messages: the two device resets and the three
// GS effect macros, with where the macros take their value and checksum.
#include <array>
#include <cstddef>
#include <cstdint>

namespace MorvaneMidiSystem {

enum TMidiReset : std::uint8_t { mrGMSystemOn = 0, mrGSReset = 1 };

// GS reverb macros.
enum TGSReverb : std::uint8_t {
  grRoom1,
  grRoom2,
  grRoom3,
  grHall1,
  grHall2,
  grPlate,
  grDelay,
  grPanningDelay,
};

// GS chorus macros.
enum TGSChorus : std::uint8_t {
  gcChorus1,
  gcChorus2,
  gcChorus3,
  gcChorus4,
  gcFeedbackChorus,
  gcFlanger,
  gcShortDelay,
  gcShortDelayFeedback,
};

// GS delay macros.
enum TGSDelay : std::uint8_t {
  gdDelay1,
  gdDelay2,
  gdDelay3,
  gdDelay4,
  gdPanDelay1,
  gdPanDelay2,
  gdPanDelay3,
  gdPanDelay4,
  gdDelayToReverb,
  gdPanRepeat,
};

namespace GSMessages {

inline constexpr std::array<std::uint8_t, 6> kGMSystemOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
inline constexpr std::array<std::uint8_t, 11> kGSReset = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                                          0x00, 0x7F, 0x00, 0x41, 0xF7};

// A macro message: the value goes into byte 8, and byte 9 gets
// ChecksumBase - value (modulo 256), which is the Roland checksum of the
// address and value for every macro number of the standard.
struct TGSMacro {
  std::array<std::uint8_t, 11> Bytes;
  std::uint8_t ChecksumBase;
};

inline constexpr std::size_t kMacroValueAt = 8;
inline constexpr std::size_t kMacroChecksumAt = 9;

inline constexpr TGSMacro kReverbMacro = {{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x00, 0x00, 0xF7},
                                          15};
inline constexpr TGSMacro kChorusMacro = {{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x38, 0x00, 0x00, 0xF7},
                                          7};
inline constexpr TGSMacro kDelayMacro = {{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x50, 0x00, 0x00, 0xF7},
                                         111};

}  // namespace GSMessages

}  // namespace MorvaneMidiSystem
