// Fuzz target: any bytes through the SMF loader. Besides crashes and
// sanitizer reports it checks what the loader promises about its lists.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "library/midi/midi_data.h"
#include "platform/framework/streams.h"

namespace {

template <class List>
void requireSorted(const List& list, std::uint32_t length) {
  std::uint32_t last = 0;
  for (const auto& item : list) {
    if (item.Time < last || item.Time > length) std::abort();
    last = item.Time;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryStream source(data, size);
  MorvaneMidiSystem::TMorvaneMidiData piece;
  try {
    piece.LoadStream(source, "fuzz.mid");
  } catch (const MorvaneMidiSystem::EMvMidi&) {
    // Rejected input; what was merged before must still be in order.
  }
  requireSorted(piece.ShortMessages, piece.Length);
  requireSorted(piece.LongMessages, piece.Length);
  requireSorted(piece.MetaEvents, piece.Length);
  for (const auto& message : piece.LongMessages) {
    if (message.Length != message.Data.size() || message.Length == 0) std::abort();
  }
  for (const auto& text : piece.Texts) {
    if (text.size() > 255) std::abort();
  }
  return 0;
}
