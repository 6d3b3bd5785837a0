#include "platform/audio/effect_player.h"

#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/audio_source.h"
#include "platform/audio/pcm_mixer.h"
#include "platform/audio/triple_buffer.h"
#include "platform/audio/wav_image.h"

namespace {

struct Clip {
  PcmFormat format;
  std::vector<std::uint8_t> bytes;  // empty: silence
  std::uint32_t serial = 0;
};

}  // namespace

class EffectPlayer::Source final : public AudioSource {
 public:
  // Controlling side: hands a new clip (empty bytes: none) to the mixer.
  void Start(const PcmFormat* format, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(FControlMutex);
    Clip& clip = FClips.Back();
    clip.serial = ++FSerial;
    if (format != nullptr) {
      clip.format = *format;
      clip.bytes.assign(bytes.begin(), bytes.end());
    } else {
      clip.bytes.clear();
    }
    FStarted.store(format != nullptr ? clip.serial : 0, std::memory_order_release);
    FClips.Publish();
  }

  bool IsPlaying() const {
    const std::uint32_t started = FStarted.load(std::memory_order_acquire);
    return started != 0 && FFinished.load(std::memory_order_acquire) != started;
  }

  void Mix(float* stereo, std::size_t frames, std::uint32_t deviceRate) noexcept override {
    if (FClips.Update()) {
      // A new clip cuts off the old one wherever it was.
      FCursor = 0;
      FActive = !FClips.Front().bytes.empty();
    }
    if (!FActive) return;
    const Clip& clip = FClips.Front();
    const PcmBlock block{clip.bytes.data(),
                         static_cast<std::uint32_t>(clip.bytes.size() / clip.format.BlockAlign()),
                         clip.format};
    const std::size_t produced = MixPcm(block, FCursor, ResampleStep(clip.format.sampleRate, deviceRate),
                                        false, StereoGain{}, stereo, frames);
    if (produced < frames) {
      FActive = false;
      FFinished.store(clip.serial, std::memory_order_release);
    }
  }

 private:
  std::mutex FControlMutex;  // controlling threads only
  std::uint32_t FSerial = 0;
  std::atomic<std::uint32_t> FStarted{0};   // serial of the clip playing, 0: none
  std::atomic<std::uint32_t> FFinished{0};  // serial of the last clip the mixer ended
  TripleBuffer<Clip> FClips;
  // Mixer's.
  PcmCursor FCursor = 0;
  bool FActive = false;
};

EffectPlayer::EffectPlayer(AudioDevice& device) : FDevice(device), FSource(std::make_shared<Source>()) {
  FDevice.Add(FSource);
}

EffectPlayer::~EffectPlayer() { FDevice.Remove(FSource); }

bool EffectPlayer::Play(std::span<const std::uint8_t> wavImage) {
  const std::optional<WavImage> wav = ParseWavImage(wavImage);
  if (!wav) {
    FSource->Start(nullptr, {});
    return false;
  }
  FSource->Start(&wav->format, wav->data);
  return true;
}

void EffectPlayer::Stop() { FSource->Start(nullptr, {}); }

bool EffectPlayer::IsPlaying() const { return FSource->IsPlaying(); }
