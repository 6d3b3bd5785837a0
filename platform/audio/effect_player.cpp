#include "platform/audio/effect_player.h"

#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/audio_source.h"
#include "platform/audio/pcm_mixer.h"
#include "platform/audio/triple_buffer.h"
#include "platform/audio/wav_image.h"

namespace platform {

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
    std::lock_guard lock(controlMutex_);
    Clip& clip = clips_.Back();
    clip.serial = ++serial_;
    if (format != nullptr) {
      clip.format = *format;
      clip.bytes.assign(bytes.begin(), bytes.end());
    } else {
      clip.bytes.clear();
    }
    started_.store(format != nullptr ? clip.serial : 0, std::memory_order_release);
    clips_.Publish();
  }

  bool IsPlaying() const {
    const std::uint32_t started = started_.load(std::memory_order_acquire);
    return started != 0 && finished_.load(std::memory_order_acquire) != started;
  }

  void Mix(float* stereo, std::size_t frames, std::uint32_t deviceRate) noexcept override {
    if (clips_.Update()) {
      // A new clip cuts off the old one wherever it was.
      cursor_ = 0;
      active_ = !clips_.Front().bytes.empty();
    }
    if (!active_) return;
    const Clip& clip = clips_.Front();
    const PcmBlock block{clip.bytes.data(),
                         static_cast<std::uint32_t>(clip.bytes.size() / clip.format.BlockAlign()),
                         clip.format};
    const std::size_t produced = MixPcm(block, cursor_, ResampleStep(clip.format.sampleRate, deviceRate),
                                        false, StereoGain{}, stereo, frames);
    if (produced < frames) {
      active_ = false;
      finished_.store(clip.serial, std::memory_order_release);
    }
  }

 private:
  std::mutex controlMutex_;  // controlling threads only
  std::uint32_t serial_ = 0;
  std::atomic<std::uint32_t> started_{0};   // serial of the clip playing, 0: none
  std::atomic<std::uint32_t> finished_{0};  // serial of the last clip the mixer ended
  TripleBuffer<Clip> clips_;
  // Mixer's.
  PcmCursor cursor_ = 0;
  bool active_ = false;
};

EffectPlayer::EffectPlayer(AudioDevice& device) : device_(device), source_(std::make_shared<Source>()) {
  device_.Add(source_);
}

EffectPlayer::~EffectPlayer() { device_.Remove(source_); }

bool EffectPlayer::Play(std::span<const std::uint8_t> wavImage) {
  const std::optional<WavImage> wav = ParseWavImage(wavImage);
  if (!wav) {
    source_->Start(nullptr, {});
    return false;
  }
  source_->Start(&wav->format, wav->data);
  return true;
}

void EffectPlayer::Stop() { source_->Start(nullptr, {}); }

bool EffectPlayer::IsPlaying() const { return source_->IsPlaying(); }

}  // namespace platform
