#pragma once
// Standard MIDI File (format 1) writer for compiled MML songs.
#include <cstdint>
#include <vector>

#include "tools/assetgen/mml_compiler.h"

namespace assetgen {

// Track 0 carries the title, time signature, tempo changes and the loop
// markers "RepeatStart" / "RepeatEnd" (Marker meta events); one track follows
// per song track. At equal ticks note-offs come first, then program and
// controller changes in written order, then note-ons.
std::vector<std::uint8_t> WriteSmf(const mml::Song& song);

}  // namespace assetgen
