#pragma once
// The system's MIDI output: open the default output, send a packed short
// message, send a byte buffer, silence everything, close (destruction).
// Backends: the software synthesizer (soft_synth.h), Null and Recording
// (recording_midi_out.h).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class MidiOut {
 public:
  virtual ~MidiOut() = default;

  // Sends a channel message packed as status | data1 << 8 | data2 << 16.
  virtual void ShortMsg(std::uint32_t packed) = 0;
  // Sends a buffer of bytes (usually one system-exclusive message); the
  // buffer is not used after the call returns.
  virtual void LongMsg(std::span<const std::uint8_t> bytes) = 0;
  // Silences every note on every channel at once.
  virtual void Reset() = 0;
  // The backend's name ("SoftSynth", "Null", "Recording").
  virtual std::string_view Name() const = 0;
};

// An output that accepts everything and sends nothing.
class NullMidiOut final : public MidiOut {
 public:
  void ShortMsg(std::uint32_t) override {}
  void LongMsg(std::span<const std::uint8_t>) override {}
  void Reset() override {}
  std::string_view Name() const override { return "Null"; }
};

// The SoundFont the software synthesizer loads: the file named by
// MORVANE_SOUNDFONT, else the system's General MIDI SoundFont; empty when the
// chosen file does not exist.
std::string DefaultSoundFontPath();

// Opens the default output: the software synthesizer playing through the
// system audio device when a SoundFont and an audio output exist, a Null
// output otherwise. Never fails and never returns null.
std::unique_ptr<MidiOut> OpenDefaultMidiOut();

}  // namespace platform
