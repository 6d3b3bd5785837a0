#pragma once
// The software synthesizer: FluidSynth with a General MIDI SoundFont, mixed as
// one source of an AudioDevice. Messages cross to the audio thread through a
// lock-free queue and reach the synth at the start of the next mixing pass,
// so senders never wait for the audio callback and the callback never waits
// for a sender. On a device that is not open, each Render() of the device
// applies the messages sent before it: offline rendering on a virtual clock.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/midi/midi_out.h"

namespace platform {

class AudioDevice;

class SoftSynth final : public MidiOut {
 public:
  // A synthesizer at `device`'s rate with the SoundFont at `soundFontPath`,
  // attached to `device` (which must outlive it). Null, with the reason in
  // *error when given, if the synth or the SoundFont cannot be loaded.
  static std::unique_ptr<SoftSynth> Create(AudioDevice& device, const std::string& soundFontPath,
                                           std::string* error = nullptr);
  ~SoftSynth() override;

  void ShortMsg(std::uint32_t packed) override;
  // Channel messages, running status included, and system-exclusive
  // messages (F0 ... F7, GM and GS resets among them).
  void LongMsg(std::span<const std::uint8_t> bytes) override;
  // Cuts every sounding note on every channel, with sustain released.
  void Reset() override;
  std::string_view Name() const override { return "SoftSynth"; }

  // Messages lost because the queue to the mixer was full (nobody rendered).
  std::uint64_t Dropped() const;

  // Diagnostics; each takes the synth's own lock briefly.
  // Voices sounding (notes in their release included).
  int ActiveVoices() const;
  // The program selected on a channel, or -1 for a bad channel.
  int Program(int channel) const;

 private:
  class Engine;

  SoftSynth(AudioDevice& device, std::shared_ptr<Engine> engine);

  AudioDevice& device_;
  std::shared_ptr<Engine> engine_;
};

}  // namespace platform
