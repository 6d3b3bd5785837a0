#include "platform/audio/voice.h"

#include <algorithm>
#include <cstring>

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

Voice::Voice(std::shared_ptr<Data> data) : FData(std::move(data)) {}

std::shared_ptr<Voice> Voice::Duplicate() const { return std::shared_ptr<Voice>(new Voice(FData)); }

std::size_t Voice::Write(std::size_t offset, std::span<const std::uint8_t> bytes) {
  if (offset >= FData->size) return 0;
  const std::size_t count = std::min(bytes.size(), FData->size - offset);
  std::memcpy(FData->bytes.get() + offset, bytes.data(), count);
  FData->version.fetch_add(1, std::memory_order_release);
  return count;
}

std::size_t Voice::Fill(std::size_t offset, std::size_t count, std::uint8_t value) {
  if (offset >= FData->size) return 0;
  count = std::min(count, FData->size - offset);
  std::memset(FData->bytes.get() + offset, value, count);
  FData->version.fetch_add(1, std::memory_order_release);
  return count;
}

std::size_t Voice::Read(std::size_t offset, std::span<std::uint8_t> out) const {
  if (offset >= FData->size) return 0;
  const std::size_t count = std::min(out.size(), FData->size - offset);
  FData->version.load(std::memory_order_acquire);
  std::memcpy(out.data(), FData->bytes.get() + offset, count);
  return count;
}

void Voice::Play(bool loop) {
  FLoop.store(loop, std::memory_order_release);
  std::uint32_t state = FState.load(std::memory_order_acquire);
  while ((state & kPlayingBit) == 0 &&
         !FState.compare_exchange_weak(state, ((state & ~kPlayingBit) + kGenerationStep) | kPlayingBit,
                                       std::memory_order_acq_rel)) {
  }
}

void Voice::Stop() {
  std::uint32_t state = FState.load(std::memory_order_acquire);
  while ((state & kPlayingBit) != 0) {
    if (FState.compare_exchange_weak(state, (state & ~kPlayingBit) + kGenerationStep,
                                     std::memory_order_acq_rel)) {
      std::lock_guard lock(FControlMutex);
      raiseStop(FControlNotifications);
      return;
    }
  }
}

std::uint32_t Voice::Position() const {
  const std::int64_t seek = FSeek.load(std::memory_order_acquire);
  const std::uint64_t frame = seek >= 0
                                  ? static_cast<std::uint64_t>(seek)
                                  : FPublishedCursor.load(std::memory_order_acquire) >> kCursorFractionBits;
  return static_cast<std::uint32_t>(frame * Format().BlockAlign());
}

void Voice::SetPosition(std::uint32_t bytes) {
  const std::uint32_t frame = std::min<std::uint32_t>(bytes / Format().BlockAlign(), FData->frames);
  FSeek.store(frame, std::memory_order_release);
}

bool Voice::SetVolume(std::int32_t volume) {
  if (volume < kSilentLevel || volume > 0) return false;
  FVolume.store(volume, std::memory_order_relaxed);
  return true;
}

bool Voice::SetPan(std::int32_t pan) {
  if (pan < kPanLeft || pan > kPanRight) return false;
  FPan.store(pan, std::memory_order_relaxed);
  return true;
}

bool Voice::SetFrequency(std::uint32_t hz) {
  if (hz != 0 && (hz < PcmFormat::kMinRate || hz > PcmFormat::kMaxRate)) return false;
  FFrequency.store(hz, std::memory_order_relaxed);
  return true;
}

std::uint32_t Voice::Frequency() const {
  const std::uint32_t hz = FFrequency.load(std::memory_order_relaxed);
  return hz != 0 ? hz : Format().sampleRate;
}

bool Voice::SetNotifications(std::vector<VoiceNotification> notifications) {
  for (const VoiceNotification& n : notifications) {
    if (n.offset != VoiceNotification::kStop && n.offset >= FData->size) return false;
  }
  std::lock_guard lock(FControlMutex);
  if (IsPlaying()) return false;
  FControlNotifications = notifications;
  FNotifications.Back() = std::move(notifications);
  FNotifications.Publish();
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
  const PcmCursor length = static_cast<PcmCursor>(FData->frames) << kCursorFractionBits;
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
  FNotifications.Update();
  const std::vector<VoiceNotification>& notifications = FNotifications.Front();
  // Playing is read before the seek: a SetPosition made before Play is then
  // always seen together with it.
  std::uint32_t state = FState.load(std::memory_order_acquire);
  const std::int64_t seek = FSeek.exchange(-1, std::memory_order_acq_rel);
  if (seek >= 0) FCursor = static_cast<PcmCursor>(seek) << kCursorFractionBits;

  if ((state & kPlayingBit) != 0) {
    const Data& data = *FData;
    data.version.load(std::memory_order_acquire);
    const bool loop = FLoop.load(std::memory_order_acquire);
    const std::uint32_t rate = Frequency();
    const PcmCursor step = ResampleStep(rate, deviceRate);
    const StereoGain gain =
        VoiceGain(FVolume.load(std::memory_order_relaxed), FPan.load(std::memory_order_relaxed));
    const PcmCursor from = FCursor;
    const PcmBlock block{data.bytes.get(), data.frames, data.format};
    const std::size_t produced = MixPcm(block, FCursor, step, loop, gain, stereo, frames);
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
      if (FState.compare_exchange_strong(state, (state & ~kPlayingBit) + kGenerationStep,
                                         std::memory_order_acq_rel)) {
        FCursor = 0;
        raiseStop(notifications);
      }
    }
  }
  FPublishedCursor.store(FCursor, std::memory_order_release);
}
