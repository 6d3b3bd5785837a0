#pragma once
// One Standard MIDI File (format 0 or 1) turned into three time-sorted event
// lists, three text lists and a few header values. All tracks are merged into
// the same lists, so playback sees one stream of events per kind.
#include <cstdint>
#include <span>

#include "library/debug/exceptions.h"
#include "library/midi/midi_events.h"
#include "platform/framework/ansi_string.h"
#include "platform/framework/streams.h"
#include "platform/framework/string_list.h"

namespace MorvaneMidiSystem {

// The loaded data; TMorvaneMidiData adds the loading.
class TMorvaneMidiDataInfo {
 public:
  TMorvaneMidiDataInfo();
  virtual ~TMorvaneMidiDataInfo();

  TMorvaneMidiDataInfo(const TMorvaneMidiDataInfo&) = delete;
  TMorvaneMidiDataInfo& operator=(const TMorvaneMidiDataInfo&) = delete;

  // Empties the six lists; the header values stay.
  void Clear();

  std::uint32_t Format = 0;
  // Ticks per quarter note: the header's 16 bits read as unsigned, a
  // time-code division included.
  std::int32_t Division = 0;
  // The largest end time, in ticks, of the tracks read so far.
  std::uint32_t Length = 0;
  // From the last Time Signature event read.
  std::uint32_t TimeSigNumerator = 0;
  std::uint32_t TimeSigDenominator = 0;  // power of two
  std::uint32_t TimeSigClocks = 0;       // MIDI clocks per metronome click

  TShortMessageList ShortMessages;
  TLongMessageList LongMessages;
  TMetaEventList MetaEvents;
  TStringList Texts;
  TStringList Copyrights;
  TStringList TrackNames;

 private:
  void clearLists();
};

class TMorvaneMidiData : public TMorvaneMidiDataInfo {
 public:
  TMorvaneMidiData();
  ~TMorvaneMidiData() override;

  // Loads the piece: the program's resource of type "MIDI" named FileName
  // first, then the file. Raises EMvMidi on every failure; what was merged
  // before the failure stays in the lists.
  void LoadFile(const AnsiString& FileName);
  // Loads the piece from an open source, read front to back; FileName only
  // names it in error texts.
  void LoadStream(TStream& Source, const AnsiString& FileName);

  // Merges one track chunk's body into the lists. A track ends at End of
  // Track, at the end of the chunk, or at an event cut short by the end of
  // the chunk (that event is dropped).
  void ReadTrack(const std::uint8_t* Track, std::uint32_t Size);

  // Event handlers: Position is advanced past the event and the record is
  // inserted behind Cursor in time order. They return whether the track goes
  // on: false for End of Track and for an event the chunk cuts short.
  bool DefaultEvent(std::span<const std::uint8_t> Track, std::uint32_t& Position,
                    TShortMessageList::iterator& Cursor, std::uint32_t Time, std::uint8_t Status);
  bool SystemExclusive(std::span<const std::uint8_t> Track, std::uint32_t& Position,
                       TLongMessageList::iterator& Cursor, std::uint32_t Time, std::uint8_t Status);
  bool MetaEvent(std::span<const std::uint8_t> Track, std::uint32_t& Position,
                 TMetaEventList::iterator& Cursor, std::uint32_t Time, std::uint8_t Status);
};

}  // namespace MorvaneMidiSystem
