// WAV images from anywhere: the parser must stay inside the image, and what it
// accepts must play through the effect player without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/effect_player.h"
#include "platform/audio/wav_image.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static AudioDevice device(PcmFormat{22050, 2, 16});
  static EffectPlayer player(device);
  // A copy of exactly `size` bytes, so any read past the end is caught.
  const std::vector<std::uint8_t> image(data, data + size);
  const std::span<const std::uint8_t> bytes(image);
  if (const auto wav = ParseWavImage(bytes)) {
    const bool inside =
        wav->data.data() >= image.data() && wav->data.data() + wav->data.size() <= image.data() + size;
    if (!inside || wav->data.empty() || wav->data.size() % wav->format.BlockAlign() != 0 ||
        !wav->format.IsPlayable()) {
      std::abort();
    }
  }
  player.Play(bytes);
  std::int16_t out[2 * 256];
  device.Render(out, 256);
  return 0;
}
