#pragma once
// The event records of a loaded piece and their time-ordered lists. The lists
// are doubly linked so that the loader can insert behind a running cursor and
// the player can keep iterators into them while it plays.
#include <cstdint>
#include <list>
#include <vector>

#include "platform/framework/ansi_string.h"

namespace MorvaneMidiSystem {

// A channel message (or any status other than F0, F7 and FF). Status, Data1
// and Data2 are consecutive so that they read as one packed short message.
struct TShortMessage {
  std::uint32_t Time = 0;  // absolute tick; a countdown in ms in the user queue
  std::uint8_t Status = 0;
  std::uint8_t Data1 = 0;
  std::uint8_t Data2 = 0;  // 0 for messages with one data byte

  // Status | Data1 << 8 | Data2 << 16, the form the output takes.
  std::uint32_t Packed() const {
    return Status | static_cast<std::uint32_t>(Data1) << 8 | static_cast<std::uint32_t>(Data2) << 16;
  }

  friend bool operator==(const TShortMessage&, const TShortMessage&) = default;
};

// A system-exclusive event: the status byte (F0 or F7) followed by the
// event's bytes exactly as the file stores them.
struct TLongMessage {
  std::uint32_t Time = 0;
  std::vector<std::uint8_t> Data;
  std::uint32_t Length = 0;  // bytes in Data

  friend bool operator==(const TLongMessage&, const TLongMessage&) = default;
};

// The meta events playback needs: lyrics, markers, cue points and tempo.
struct TMetaEvent {
  std::uint32_t Time = 0;
  std::uint8_t Type = 0;
  std::uint32_t Value = 0;  // microseconds per quarter note for 0x51, else 0
  AnsiString Text;          // for 0x05, 0x06 and 0x07

  friend bool operator==(const TMetaEvent&, const TMetaEvent&) = default;
};

using TShortMessageList = std::list<TShortMessage>;
using TLongMessageList = std::list<TLongMessage>;
using TMetaEventList = std::list<TMetaEvent>;

// Meta event types the loader and the player act on.
inline constexpr std::uint8_t kMetaText = 0x01;
inline constexpr std::uint8_t kMetaCopyright = 0x02;
inline constexpr std::uint8_t kMetaTrackName = 0x03;
inline constexpr std::uint8_t kMetaLyric = 0x05;
inline constexpr std::uint8_t kMetaMarker = 0x06;
inline constexpr std::uint8_t kMetaCuePoint = 0x07;
inline constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
inline constexpr std::uint8_t kMetaTempo = 0x51;
inline constexpr std::uint8_t kMetaTimeSignature = 0x58;

}  // namespace MorvaneMidiSystem
