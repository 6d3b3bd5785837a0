// LoadFile of a hostile file in both modes; a loaded stream also plays a few
// refills offline, so the refill's reads are exercised on the same bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "library/debug/exceptions.h"
#include "library/sound/Mvsound.h"

namespace {

const std::string& scratchFile() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("sound_wav_fuzz_" + std::to_string(::getpid()) + ".wav"))
          .string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace MorvaneSoundSystem;
  if (std::FILE* out = std::fopen(scratchFile().c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
  }
  static TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  if (!sound.Initialized()) {
    sound.SetSamplingRatio(8000);
    sound.Init(nullptr);
  }
  for (bool stream : {false, true}) {
    try {
      sound.CreateBuffer("f", scratchFile(), stream);
      sound.Play("f", size % 2 == 1);
      std::int16_t mix[2 * 512];
      for (int block = 0; block < 3; ++block) {
        sound.Device()->Render(mix, 512);
        sound.WaitForStreams();
      }
    } catch (const EMvSoundBuffer&) {
    }
    sound.DeleteAllBuffer();
  }
  std::remove(scratchFile().c_str());
  return 0;
}
