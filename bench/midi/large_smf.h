#pragma once
// A large multi-track Standard MIDI File made in code, the same bytes every
// run: a conductor track with tempo changes and loop marks, then channel
// tracks of notes, controllers and pitch bends in running status.
#include <cstdint>
#include <string>
#include <vector>

namespace midi_bench {

struct LargeSmfShape {
  int channelTracks = 16;
  int notesPerTrack = 6000;  // each with a note-off, a controller and a bend
};

std::vector<std::uint8_t> LargeSmf(const LargeSmfShape& shape);

// Channel events in the file (the conductor's meta events not counted).
std::uint64_t ChannelEvents(const LargeSmfShape& shape);

// Writes bytes to a file in the temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

}  // namespace midi_bench
