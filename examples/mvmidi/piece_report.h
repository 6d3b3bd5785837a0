#pragma once
// What `mvmidi info` and `mvmidi dump` print about a loaded piece.
#include <cstdint>
#include <ostream>

#include "library/midi/midi_data.h"

namespace mvmidi {

// Milliseconds the component takes to play the piece's Length ticks: the
// tempo map walked with whole milliseconds per beat, as the scheduler does.
double PlayedSeconds(const MorvaneMidiSystem::TMorvaneMidiData& data);

// Header values, length, tempo changes, marks and texts; Tracks is the count
// the file's header announces.
void PrintInfo(std::ostream& out, const MorvaneMidiSystem::TMorvaneMidiData& data, std::uint32_t Tracks);

// Every record of the three lists in list order, one per line:
//   S TIME ss dd dd
//   L TIME f0 ...
//   M TIME tt VALUE TEXT
void PrintDump(std::ostream& out, const MorvaneMidiSystem::TMorvaneMidiData& data);

}  // namespace mvmidi
