// Plays a piece written here through the installed MIDI component on a
// recording output and a virtual clock; fails unless the note reaches it.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "library/midi/Mvmidi.h"
#include "library/midi/play_clock.h"
#include "platform/midi/recording_midi_out.h"

using namespace MorvaneMidiSystem;

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : "use_midi.mid";
  // Format 0, 96 ticks per quarter: note 60 on at 0, off a quarter later.
  const std::vector<unsigned char> smf = {'M',  'T',  'h', 'd', 0,    0,    0,  6,  0,    0,    0,    1,
                                          0,    96,                                  //
                                          'M',  'T',  'r', 'k', 0,    0,    0,  12,  //
                                          0x00, 0x90, 60,  100, 0x60, 0x80, 60, 0,  0x00, 0xFF, 0x2F, 0x00};
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(smf.data()), smf.size());

  auto clock = std::make_shared<TMidiStepClock>();
  platform::RecordingMidiOut* out = nullptr;
  TMorvaneMidiSetup setup;
  setup.Clock = clock;
  setup.Opener = [&out] {
    auto recording = std::make_unique<platform::RecordingMidiOut>();
    out = recording.get();
    return std::unique_ptr<platform::MidiOut>(std::move(recording));
  };
  TMorvaneMidi midi(nullptr, setup);
  midi.Init();
  midi.CreateData("piece", file);
  midi.Play("piece", false);
  for (int i = 0; i < 20; ++i) clock->Advance(10);

  bool noteOn = false;
  for (const auto& m : out->Messages()) {
    noteOn =
        noteOn || (m.kind == platform::MidiMessageKind::Short && m.packed == (0x90u | 60u << 8 | 100u << 16));
  }
  midi.CleanUp();
  std::printf("midi: %d piece(s), note on %s\n", midi.DataCount(), noteOn ? "sent" : "missing");
  return noteOn ? 0 : 1;
}
