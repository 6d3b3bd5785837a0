#pragma once
// The mixer and its output: any number of sources mixed as stereo floats in
// one pass, then master gain, clipping and conversion to the output format.
// The pass runs in the SDL audio callback while the device is open, or in
// Render(), called by tests and offline tools, while it is not.
//
// Sources are added and removed from any thread through a lock-free command
// ring that the mixing pass drains; a removed source is handed back and
// released off the audio thread. Commands that find the ring full queue
// behind it instead of being dropped, so a removal always takes effect.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/audio_source.h"
#include "platform/audio/pcm_format.h"
#include "platform/audio/spsc_ring.h"

namespace platform {

class AudioDevice {
 public:
  // Output rates the device opens at, in Hz; others are taken to the nearest.
  static constexpr std::uint32_t kMinOutputRate = 8000;
  static constexpr std::uint32_t kMaxOutputRate = 192000;

  // Output of 44100 Hz, stereo, 16 bits unless the caller chooses otherwise.
  explicit AudioDevice(const PcmFormat& format = PcmFormat{});
  ~AudioDevice();

  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;

  // Opens the system's default output in the device's format and starts
  // mixing into it; false (LastError() says why) when it cannot.
  bool Open();
  // Stops the output; sources stay attached. Render() works again after it.
  void Close();
  bool IsOpen() const { return open_.load(std::memory_order_acquire); }
  const std::string& LastError() const { return lastError_; }
  const PcmFormat& Format() const { return format_; }

  // Linear gain applied to the mix before clipping (1 = unchanged).
  void SetMasterGain(float gain) { masterGain_.store(gain, std::memory_order_relaxed); }
  float MasterGain() const { return masterGain_.load(std::memory_order_relaxed); }

  // Attaches a source; it plays from the next mixing pass on. False only for
  // a null source.
  bool Add(std::shared_ptr<AudioSource> source);
  // Detaches a source; the mixer stops using it by its next pass (or the one
  // after, while the ring is full). Never dropped. A source not attached is
  // ignored.
  void Remove(const std::shared_ptr<AudioSource>& source);
  // Sources attached as of the last mixing pass (or command, while closed).
  std::size_t SourceCount() const { return sourceCount_.load(std::memory_order_acquire); }

  // Mixes `frames` frames into `out` in the device's format (interleaved,
  // 8-bit unsigned or 16-bit signed native-endian). This is the open device's
  // callback; called directly it renders on the caller's thread.
  void Render(void* out, std::size_t frames);
  // The same mix as interleaved stereo floats after master gain and clipping.
  void RenderFloat(float* stereo, std::size_t frames);

  // Returns once no mixing pass is running, so a pass that begins later sees
  // every control made before the call: the data of a voice stopped before it
  // is no longer being read and may be rewritten.
  void WaitForMixPass();

 private:
  struct Command {
    bool add = false;
    std::shared_ptr<AudioSource> source;
  };

  static void sdlCallback(void* self, std::uint8_t* stream, int length);
  // Hands a command to the open device's mixing pass; never fails or waits
  // for it. Called with controlMutex_ held.
  void post(Command& command);
  // Runs with mixMutex_ held: the mixing side's own state.
  void drainCommands();
  void apply(Command& command, std::vector<std::shared_ptr<AudioSource>>* released);
  void mixChunk(std::size_t frames);
  void releaseRetired();

  const PcmFormat format_;
  std::atomic<float> masterGain_{1.0f};
  std::atomic<bool> open_{false};
  std::atomic<std::size_t> sourceCount_{0};
  std::uint32_t deviceId_ = 0;
  std::string lastError_;

  // Serialises the controlling threads (Add, Remove, Open, Close); the mixing
  // pass never takes it.
  std::mutex controlMutex_;
  // Held by the mixing pass. While the device is open only the audio callback
  // takes it; while closed, controlling threads apply commands under it.
  std::mutex mixMutex_;

  SpscRing<Command, 1024> commands_;  // control -> mixer
  // Commands that found the ring full, to be applied after everything in it.
  // While any wait here nothing new enters the ring, so the order holds. The
  // mixing pass only ever tries this lock, and skips it when it is taken.
  std::mutex overflowMutex_;
  std::vector<Command> overflow_;  // guarded by overflowMutex_
  std::atomic<bool> overflowPending_{false};
  SpscRing<std::shared_ptr<AudioSource>, 1024> retired_;  // mixer -> control

  // Mixing side.
  std::vector<Command> overflowTaken_;  // swapped with overflow_, so it keeps its capacity
  std::vector<std::shared_ptr<AudioSource>> sources_;
  std::array<float, 2 * AudioSource::kMaxMixFrames> mix_{};
};

// The process-wide default output, like the system's own mixer: opened on
// first use at 44100 Hz, stereo, 16 bits, and kept until exit. It is returned
// even when the system has no audio output (it then plays nothing).
AudioDevice& SystemAudioDevice();

}  // namespace platform
