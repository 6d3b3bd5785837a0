#include "platform/audio/voice.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::shared_ptr<Voice> Voice::Create(const PcmFormat& format, std::size_t bytes) {
  if (!format.IsPlayable()) return nullptr;
  auto data = std::make_shared<Data>();
  data->format = format;
  const std::size_t frames = std::min<std::size_t>(bytes / format.BlockAlign(), 0xFFFFFFFFu);
  data->frames = static_cast<std::uint32_t>(frames);
  data->size = frames * format.BlockAlign();
  data->bytes = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(data->size, 1));
  std::memset(data->bytes.get(), format.SilenceByte(), data->size);
  return std::shared_ptr<Voice>(new Voice(std::move(data)));
}

Voice::Voice(std::shared_ptr<Data> data) : data_(std::move(data)) {}

std::shared_ptr<Voice> Voice::Duplicate() const { return std::shared_ptr<Voice>(new Voice(data_)); }

std::size_t Voice::Write(std::size_t offset, std::span<const std::uint8_t> bytes) {
  if (offset >= data_->size) return 0;
  const std::size_t count = std::min(bytes.size(), data_->size - offset);
  std::memcpy(data_->bytes.get() + offset, bytes.data(), count);
  data_->version.fetch_add(1, std::memory_order_release);
  return count;
}

std::size_t Voice::Fill(std::size_t offset, std::size_t count, std::uint8_t value) {
  if (offset >= data_->size) return 0;
  count = std::min(count, data_->size - offset);
  std::memset(data_->bytes.get() + offset, value, count);
  data_->version.fetch_add(1, std::memory_order_release);
  return count;
}

std::size_t Voice::Read(std::size_t offset, std::span<std::uint8_t> out) const {
  if (offset >= data_->size) return 0;
  const std::size_t count = std::min(out.size(), data_->size - offset);
  data_->version.load(std::memory_order_acquire);
  std::memcpy(out.data(), data_->bytes.get() + offset, count);
  return count;
}

void Voice::Play(bool loop) {
  loop_.store(loop, std::memory_order_release);
  std::uint32_t state = state_.load(std::memory_order_acquire);
  while ((state & kPlayingBit) == 0 &&
         !state_.compare_exchange_weak(state, ((state & ~kPlayingBit) + kGenerationStep) | kPlayingBit,
                                       std::memory_order_acq_rel)) {
  }
}

void Voice::Stop() {
  std::uint32_t state = state_.load(std::memory_order_acquire);
  while ((state & kPlayingBit) != 0) {
    if (state_.compare_exchange_weak(state, (state & ~kPlayingBit) + kGenerationStep,
                                     std::memory_order_acq_rel)) {
      std::lock_guard lock(controlMutex_);
      raiseStop(controlNotifications_);
      return;
    }
  }
}

std::uint32_t Voice::Position() const {
  const std::int64_t seek = seek_.load(std::memory_order_acquire);
  const std::uint64_t frame = seek >= 0
                                  ? static_cast<std::uint64_t>(seek)
                                  : publishedCursor_.load(std::memory_order_acquire) >> kCursorFractionBits;
  return static_cast<std::uint32_t>(frame * Format().BlockAlign());
}

void Voice::SetPosition(std::uint32_t bytes) {
  const std::uint32_t frame = std::min<std::uint32_t>(bytes / Format().BlockAlign(), data_->frames);
  seek_.store(frame, std::memory_order_release);
}

bool Voice::SetVolume(std::int32_t volume) {
  if (volume < kSilentLevel || volume > 0) return false;
  volume_.store(volume, std::memory_order_relaxed);
  return true;
}

bool Voice::SetPan(std::int32_t pan) {
  if (pan < kPanLeft || pan > kPanRight) return false;
  pan_.store(pan, std::memory_order_relaxed);
  return true;
}

bool Voice::SetFrequency(std::uint32_t hz) {
  if (hz != 0 && (hz < PcmFormat::kMinRate || hz > PcmFormat::kMaxRate)) return false;
  frequency_.store(hz, std::memory_order_relaxed);
  return true;
}

std::uint32_t Voice::Frequency() const {
  const std::uint32_t hz = frequency_.load(std::memory_order_relaxed);
  return hz != 0 ? hz : Format().sampleRate;
}

bool Voice::SetNotifications(std::vector<VoiceNotification> notifications) {
  for (const VoiceNotification& n : notifications) {
    if (n.offset != VoiceNotification::kStop && n.offset >= data_->size) return false;
  }
  std::lock_guard lock(controlMutex_);
  if (IsPlaying()) return false;
  controlNotifications_ = notifications;
  notifications_.Back() = std::move(notifications);
  notifications_.Publish();
  return true;
}

void Voice::raiseStop(const std::vector<VoiceNotification>& notifications) const noexcept {
  for (const VoiceNotification& n : notifications) {
    if (n.offset == VoiceNotification::kStop && n.event) n.event->Signal(n.bits);
  }
}

void Voice::raisePassed(const std::vector<VoiceNotification>& notifications, PcmCursor from,
                        PcmCursor advance) const noexcept {
  if (advance == 0) return;
  const PcmCursor length = static_cast<PcmCursor>(data_->frames) << kCursorFractionBits;
  const std::uint32_t blockAlign = Format().BlockAlign();
  for (const VoiceNotification& n : notifications) {
    if (n.offset == VoiceNotification::kStop || !n.event) continue;
    // A mark is passed when the cursor reaches it in this block, wrapping
    // round the end of a looping voice; so each pass raises it exactly once.
    const PcmCursor mark = static_cast<PcmCursor>(n.offset / blockAlign) << kCursorFractionBits;
    const PcmCursor ahead = mark >= from ? mark - from : length - (from - mark);
    if (ahead < advance) n.event->Signal(n.bits);
  }
}

void Voice::Mix(float* stereo, std::size_t frames, std::uint32_t deviceRate) noexcept {
  notifications_.Update();
  const std::vector<VoiceNotification>& notifications = notifications_.Front();
  // Playing is read before the seek: a SetPosition made before Play is then
  // always seen together with it.
  std::uint32_t state = state_.load(std::memory_order_acquire);
  const std::int64_t seek = seek_.exchange(-1, std::memory_order_acq_rel);
  if (seek >= 0) cursor_ = static_cast<PcmCursor>(seek) << kCursorFractionBits;

  if ((state & kPlayingBit) != 0) {
    const Data& data = *data_;
    data.version.load(std::memory_order_acquire);
    const bool loop = loop_.load(std::memory_order_acquire);
    const std::uint32_t rate = Frequency();
    const PcmCursor step = ResampleStep(rate, deviceRate);
    const StereoGain gain =
        VoiceGain(volume_.load(std::memory_order_relaxed), pan_.load(std::memory_order_relaxed));
    const PcmCursor from = cursor_;
    const PcmBlock block{data.bytes.get(), data.frames, data.format};
    const std::size_t produced = MixPcm(block, cursor_, step, loop, gain, stereo, frames);
    const PcmCursor length = static_cast<PcmCursor>(data.frames) << kCursorFractionBits;
    // How far the cursor moved; a looping voice may have wrapped round.
    PcmCursor advance = static_cast<PcmCursor>(produced) * step;
    if (!loop && from + advance > length) advance = length > from ? length - from : 0;
    if (length != 0 && advance >= length) {
      // A whole pass (or more) in one block passes every mark once.
      for (const VoiceNotification& n : notifications) {
        if (n.offset != VoiceNotification::kStop && n.event) n.event->Signal(n.bits);
      }
    } else {
      raisePassed(notifications, from, advance);
    }
    if (produced < frames || data.frames == 0) {
      if (state_.compare_exchange_strong(state, (state & ~kPlayingBit) + kGenerationStep,
                                         std::memory_order_acq_rel)) {
        cursor_ = 0;
        raiseStop(notifications);
      }
    }
  }
  publishedCursor_.store(cursor_, std::memory_order_release);
}

}  // namespace platform
