#pragma once
// A sound buffer the mixer plays: PCM bytes with a play cursor, loop, volume
// and pan in 1/100 dB, frequency in Hz, and notifications at byte offsets
// and at stop. Every control is safe from any thread while the device plays.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio/audio_event.h"
#include "platform/audio/audio_source.h"
#include "platform/audio/pcm_format.h"
#include "platform/audio/pcm_mixer.h"
#include "platform/audio/triple_buffer.h"

namespace platform {

struct VoiceNotification {
  // The offset that marks the stop of playback instead of a position.
  static constexpr std::uint32_t kStop = 0xFFFFFFFFu;

  std::uint32_t offset = 0;  // bytes into the voice's data, or kStop
  std::shared_ptr<AudioEvent> event;
  std::uint32_t bits = 1;  // raised on `event`
};

class Voice final : public AudioSource {
 public:
  // A voice of `bytes` bytes (cut to whole frames) of silence in `format`;
  // nullptr when the format is not playable.
  static std::shared_ptr<Voice> Create(const PcmFormat& format, std::size_t bytes);

  // A voice that plays the same sample data (writes show in both) with its own
  // cursor, controls and notifications, stopped at position 0.
  std::shared_ptr<Voice> Duplicate() const;

  const PcmFormat& Format() const { return data_->format; }
  std::size_t Size() const { return data_->size; }

  // Copies bytes in at `offset`, cut at the end of the data; returns how many
  // were copied. While the voice plays, write only where the cursor is not.
  std::size_t Write(std::size_t offset, std::span<const std::uint8_t> bytes);
  // Sets `count` bytes from `offset` to `value` (cut at the end of the data).
  std::size_t Fill(std::size_t offset, std::size_t count, std::uint8_t value);
  // Copies data out from `offset`; returns how many bytes were copied.
  std::size_t Read(std::size_t offset, std::span<std::uint8_t> out) const;

  // Starts playing from the current position; a playing voice only takes the
  // new loop flag.
  void Play(bool loop);
  // Stops and keeps the position; raises the stop notifications if it played.
  void Stop();
  bool IsPlaying() const { return (state_.load(std::memory_order_acquire) & kPlayingBit) != 0; }
  bool IsLooping() const { return loop_.load(std::memory_order_acquire); }

  // The play cursor in bytes (whole frames). A voice that plays to its end
  // stops and goes back to 0.
  std::uint32_t Position() const;
  // Moves the play cursor (clamped to the data, cut to a whole frame).
  void SetPosition(std::uint32_t bytes);

  // Volume in 1/100 dB, kSilentLevel..0; false (and no change) outside.
  bool SetVolume(std::int32_t volume);
  std::int32_t Volume() const { return volume_.load(std::memory_order_relaxed); }
  // Pan kPanLeft..kPanRight; false (and no change) outside.
  bool SetPan(std::int32_t pan);
  std::int32_t Pan() const { return pan_.load(std::memory_order_relaxed); }
  // Playback rate in Hz, PcmFormat::kMinRate..kMaxRate, or 0 for the data's own
  // rate; false (and no change) otherwise.
  bool SetFrequency(std::uint32_t hz);
  // The playback rate in Hz (the data's own rate unless set).
  std::uint32_t Frequency() const;

  // Replaces the notifications; false (and no change) while the voice plays.
  // Offsets beyond the data other than kStop are refused the same way.
  bool SetNotifications(std::vector<VoiceNotification> notifications);

  void Mix(float* stereo, std::size_t frames, std::uint32_t deviceRate) noexcept override;

 private:
  struct Data {
    PcmFormat format;
    std::size_t size = 0;
    std::uint32_t frames = 0;
    std::unique_ptr<std::uint8_t[]> bytes;
    // Bumped after every write; the mixer reads it first, which orders the
    // written bytes before its reads of them.
    std::atomic<std::uint32_t> version{0};
  };

  static constexpr std::uint32_t kPlayingBit = 1;
  static constexpr std::uint32_t kGenerationStep = 2;

  explicit Voice(std::shared_ptr<Data> data);
  void raiseStop(const std::vector<VoiceNotification>& notifications) const noexcept;
  void raisePassed(const std::vector<VoiceNotification>& notifications, PcmCursor from,
                   PcmCursor advance) const noexcept;

  std::shared_ptr<Data> data_;
  // Bit 0: playing; the rest counts transitions, so the mixer's end-of-data
  // stop never undoes a Stop/Play that raced with it.
  std::atomic<std::uint32_t> state_{0};
  std::atomic<bool> loop_{false};
  std::atomic<std::int32_t> volume_{0};
  std::atomic<std::int32_t> pan_{0};
  std::atomic<std::uint32_t> frequency_{0};
  std::atomic<std::int64_t> seek_{-1};  // frame the mixer moves to next, or -1
  std::atomic<PcmCursor> publishedCursor_{0};

  // Notifications: the controlling side keeps its own copy (for Stop); the
  // mixer reads its own through the triple buffer.
  mutable std::mutex controlMutex_;
  std::vector<VoiceNotification> controlNotifications_;
  TripleBuffer<std::vector<VoiceNotification>> notifications_;

  PcmCursor cursor_ = 0;  // mixer's
};

}  // namespace platform
