#include "library/midi/midi_data.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "library/debug/exceptions.h"
#include "library/debug/guard.h"
#include "library/midi/midi_texts.h"
#include "platform/framework/resources.h"

namespace MorvaneMidiSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;

namespace {

constexpr std::uint32_t kHeaderSize = 14;
constexpr std::uint32_t kTrackHeaderSize = 8;
// A text payload is kept up to this many bytes (and up to its first zero).
constexpr std::uint32_t kMaxText = 255;

std::uint32_t be16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) << 8 | p[1]; }
std::uint32_t be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// A variable-length quantity; false when the track ends inside it.
bool readNumber(std::span<const std::uint8_t> track, std::uint32_t& position, std::uint32_t& value) {
  std::uint32_t result = 0;
  while (position < track.size()) {
    const std::uint8_t byte = track[position++];
    result = result << 7 | (byte & 0x7F);
    if ((byte & 0x80) == 0) {
      value = result;
      return true;
    }
  }
  return false;
}

// Inserts behind every record of the same or an earlier time reachable from
// the cursor: equal times keep track order, then file order.
template <class List, class Record>
void insertInTimeOrder(List& list, typename List::iterator& cursor, Record&& record) {
  while (cursor != list.end() && cursor->Time <= record.Time) ++cursor;
  list.insert(cursor, std::forward<Record>(record));
}

AnsiString textOf(std::span<const std::uint8_t> payload) {
  const auto kept = payload.first(std::min<std::size_t>(payload.size(), kMaxText));
  const auto end = std::find(kept.begin(), kept.end(), std::uint8_t{0});
  return AnsiString(kept.begin(), end);
}

}  // namespace

TMorvaneMidiDataInfo::TMorvaneMidiDataInfo() {
  Guarded("TMorvaneMidiDataInfo::TMorvaneMidiDataInfo", [] {});
}

TMorvaneMidiDataInfo::~TMorvaneMidiDataInfo() {
  GuardedNoThrow("TMorvaneMidiDataInfo::~TMorvaneMidiDataInfo", [this] { clearLists(); });
}

void TMorvaneMidiDataInfo::Clear() {
  Guarded("TMorvaneMidiDataInfo::Clear", [this] { clearLists(); });
}

// The string lists go first, then the event lists (each long message frees
// its buffer).
void TMorvaneMidiDataInfo::clearLists() {
  Texts.Clear();
  Copyrights.Clear();
  TrackNames.Clear();
  ShortMessages.clear();
  LongMessages.clear();
  MetaEvents.clear();
}

TMorvaneMidiData::TMorvaneMidiData() {
  Guarded("TMorvaneMidiData::TMorvaneMidiData", [] {});
}

TMorvaneMidiData::~TMorvaneMidiData() {
  GuardedNoThrow("TMorvaneMidiData::~TMorvaneMidiData", [] {});
}

void TMorvaneMidiData::LoadFile(const AnsiString& FileName) {
  Guarded("TMorvaneMidiData::LoadFile", [&] {
    const std::unique_ptr<TStream> source = OpenResourceOrFile(MidiTexts::kResourceType, FileName);
    if (!source) throw EMvMidi(MidiTexts::kLoadFailed + FileName);
    LoadStream(*source, FileName);
  });
}

void TMorvaneMidiData::LoadStream(TStream& Source, const AnsiString& FileName) {
  Guarded("TMorvaneMidiData::LoadStream", [&] {
    Clear();

    std::uint8_t header[kHeaderSize];
    if (Source.Read(header, kHeaderSize) < kHeaderSize || std::memcmp(header, "MThd", 4) != 0) {
      throw EMvMidi(MidiTexts::kBadFileHeader + FileName);
    }
    // NOTE: the header's own length field is not used: the header is taken
    // to be 14 bytes, and anything more is read as the first track header.
    Format = be16(header + 8);
    const std::uint32_t tracks = be16(header + 10);
    Division = static_cast<std::int32_t>(be16(header + 12));
    if (Format != 0 && Format != 1) throw EMvMidi(MidiTexts::kNotFormat0Or1 + FileName);

    std::vector<std::uint8_t> body;
    for (std::uint32_t i = 0; i < tracks; ++i) {
      std::uint8_t trackHeader[kTrackHeaderSize];
      if (Source.Read(trackHeader, kTrackHeaderSize) < kTrackHeaderSize ||
          std::memcmp(trackHeader, "MTrk", 4) != 0) {
        throw EMvMidi(MidiTexts::kBadTrackHeader + FileName);
      }
      const std::uint32_t size = be32(trackHeader + 4);
      // A length field never makes us allocate more than the source holds.
      const std::int64_t left = Source.Size() - Source.Position();
      if (left < 0 || size > static_cast<std::uint64_t>(left))
        throw EMvMidi(MidiTexts::kBadFileData + FileName);
      body.resize(size);
      if (Source.Read(body.data(), size) < size) throw EMvMidi(MidiTexts::kBadFileData + FileName);
      ReadTrack(body.data(), size);
    }
  });
}

void TMorvaneMidiData::ReadTrack(const std::uint8_t* Track, std::uint32_t Size) {
  Guarded("TMorvaneMidiData::ReadTrack", [&] {
    const std::span<const std::uint8_t> track(Track, Size);
    auto shortCursor = ShortMessages.begin();
    auto longCursor = LongMessages.begin();
    auto metaCursor = MetaEvents.begin();
    std::uint32_t time = 0;
    std::uint32_t position = 0;
    std::uint8_t status = 0;  // none yet
    bool goesOn = true;
    while (goesOn && position < Size) {
      std::uint32_t delta = 0;
      // A running time past 2^32 ticks would wrap and unsort the lists.
      if (!readNumber(track, position, delta) || delta > UINT32_MAX - time) break;
      time += delta;
      if (position >= Size) break;
      if (track[position] & 0x80) {
        status = track[position++];
      } else if (status == 0) {
        break;  // running status with no status in force: nothing sound to read
      }
      if (status == 0xF0 || status == 0xF7) {
        goesOn = SystemExclusive(track, position, longCursor, time, status);
      } else if (status == 0xFF) {
        goesOn = MetaEvent(track, position, metaCursor, time, status);
      } else {
        goesOn = DefaultEvent(track, position, shortCursor, time, status);
      }
    }
    Length = std::max(Length, time);
  });
}

bool TMorvaneMidiData::DefaultEvent(std::span<const std::uint8_t> Track, std::uint32_t& Position,
                                    TShortMessageList::iterator& Cursor, std::uint32_t Time,
                                    std::uint8_t Status) {
  return Guarded("TMorvaneMidiData::DefaultEvent", [&] {
    const std::uint8_t kind = Status & 0xF0;
    const std::uint32_t dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    if (Track.size() - Position < dataBytes) {
      Position = static_cast<std::uint32_t>(Track.size());
      return false;
    }
    TShortMessage message;
    message.Time = Time;
    message.Status = Status;
    message.Data1 = Track[Position];
    message.Data2 = dataBytes == 2 ? Track[Position + 1] : 0;
    Position += dataBytes;
    insertInTimeOrder(ShortMessages, Cursor, message);
    return true;
  });
}

bool TMorvaneMidiData::SystemExclusive(std::span<const std::uint8_t> Track, std::uint32_t& Position,
                                       TLongMessageList::iterator& Cursor, std::uint32_t Time,
                                       std::uint8_t Status) {
  return Guarded("TMorvaneMidiData::SystemExclusive", [&] {
    std::uint32_t length = 0;
    if (!readNumber(Track, Position, length) || Track.size() - Position < length) {
      Position = static_cast<std::uint32_t>(Track.size());
      return false;
    }
    TLongMessage message;
    message.Time = Time;
    message.Length = length + 1;
    message.Data.reserve(message.Length);
    message.Data.push_back(Status);
    message.Data.insert(message.Data.end(), Track.begin() + Position, Track.begin() + Position + length);
    Position += length;
    insertInTimeOrder(LongMessages, Cursor, std::move(message));
    return true;
  });
}

bool TMorvaneMidiData::MetaEvent(std::span<const std::uint8_t> Track, std::uint32_t& Position,
                                 TMetaEventList::iterator& Cursor, std::uint32_t Time, std::uint8_t) {
  return Guarded("TMorvaneMidiData::MetaEvent", [&] {
    std::uint32_t length = 0;
    if (Position >= Track.size()) return false;
    const std::uint8_t type = Track[Position++];
    if (!readNumber(Track, Position, length) || Track.size() - Position < length) {
      Position = static_cast<std::uint32_t>(Track.size());
      return false;
    }
    const auto payload = Track.subspan(Position, length);
    Position += length;
    // Bytes a short payload lacks count as 0.
    const auto byte = [&](std::size_t i) -> std::uint32_t { return i < payload.size() ? payload[i] : 0; };

    switch (type) {
      case kMetaText:
        Texts.Add(textOf(payload));
        break;
      case kMetaCopyright:
        Copyrights.Add(textOf(payload));
        break;
      case kMetaTrackName:
        TrackNames.Add(textOf(payload));
        break;
      case kMetaLyric:
      case kMetaMarker:
      case kMetaCuePoint:
        insertInTimeOrder(MetaEvents, Cursor, TMetaEvent{Time, type, 0, textOf(payload)});
        break;
      case kMetaEndOfTrack:
        return false;
      case kMetaTempo:
        insertInTimeOrder(MetaEvents, Cursor,
                          TMetaEvent{Time, type, byte(0) << 16 | byte(1) << 8 | byte(2), {}});
        break;
      case kMetaTimeSignature:
        TimeSigNumerator = byte(0);
        TimeSigDenominator = byte(1);
        TimeSigClocks = byte(2);
        break;
      default:
        break;
    }
    return true;
  });
}

}  // namespace MorvaneMidiSystem
