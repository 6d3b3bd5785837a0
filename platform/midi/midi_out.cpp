#include "platform/midi/midi_out.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/audio/audio_device.h"
#include "platform/midi/soft_synth.h"

namespace platform {

namespace {

constexpr const char* kSystemSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

bool isFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string DefaultSoundFontPath() {
  const char* chosen = std::getenv("MORVANE_SOUNDFONT");
  const std::string path = chosen != nullptr && *chosen != '\0' ? chosen : kSystemSoundFont;
  return isFile(path) ? path : std::string();
}

std::unique_ptr<MidiOut> OpenDefaultMidiOut() {
  const std::string soundFont = DefaultSoundFontPath();
  if (!soundFont.empty()) {
    AudioDevice& device = SystemAudioDevice();
    // Without an audio output nobody would hear the synth; skip loading it.
    if (device.IsOpen()) {
      std::string error;
      if (auto synth = SoftSynth::Create(device, soundFont, &error)) return synth;
      std::fprintf(stderr, "midi: software synthesizer unavailable (%s); music is off\n", error.c_str());
    }
  }
  return std::make_unique<NullMidiOut>();
}

}  // namespace platform
