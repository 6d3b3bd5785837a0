#include "platform/audio/audio_device.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

PcmFormat supportedFormat(PcmFormat format) {
  format.channels = format.channels == 1 ? 1 : 2;
  format.bitsPerSample = format.bitsPerSample == 8 ? 8 : 16;
  format.sampleRate =
      std::clamp<std::uint32_t>(format.sampleRate, AudioDevice::kMinOutputRate, AudioDevice::kMaxOutputRate);
  return format;
}

float clip(float x) { return std::clamp(x, -1.0f, 1.0f); }

void writeSample16(std::uint8_t* at, float x) {
  const auto v = static_cast<std::int16_t>(std::lrintf(x * 32767.0f));
  std::memcpy(at, &v, sizeof v);
}

void writeSample8(std::uint8_t* at, float x) {
  *at = static_cast<std::uint8_t>(std::lrintf(x * 127.0f) + 128);
}

}  // namespace

AudioDevice::AudioDevice(const PcmFormat& format) : format_(supportedFormat(format)) {
  sources_.reserve(256);
}

AudioDevice::~AudioDevice() {
  Close();
  {
    std::lock_guard mix(mixMutex_);
    drainCommands();
  }
  releaseRetired();
  sources_.clear();
}

bool AudioDevice::Open() {
  std::lock_guard control(controlMutex_);
  if (open_.load(std::memory_order_relaxed)) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    lastError_ = SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format_.sampleRate);
  want.format = format_.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(format_.channels);
  // About 10 ms per callback: short enough for MIDI timing, long enough to
  // keep the callback cheap.
  want.samples = format_.sampleRate > 48000 ? 1024 : 512;
  want.callback = &AudioDevice::sdlCallback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No allowed changes: SDL converts, so the callback always sees our format.
  deviceId_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (deviceId_ == 0) {
    lastError_ = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  open_.store(true, std::memory_order_release);
  SDL_PauseAudioDevice(deviceId_, 0);
  lastError_.clear();
  return true;
}

void AudioDevice::Close() {
  {
    std::lock_guard control(controlMutex_);
    if (!open_.load(std::memory_order_relaxed)) return;
    // Returns once the callback has finished its last pass.
    SDL_CloseAudioDevice(deviceId_);
    deviceId_ = 0;
    open_.store(false, std::memory_order_release);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::lock_guard mix(mixMutex_);
    drainCommands();
  }
  releaseRetired();
}

bool AudioDevice::Add(std::shared_ptr<AudioSource> source) {
  if (!source) return false;
  {
    Command command{true, std::move(source)};
    std::lock_guard control(controlMutex_);
    if (!open_.load(std::memory_order_relaxed)) {
      // No audio thread: the commands are applied here, in order.
      std::lock_guard mix(mixMutex_);
      drainCommands();
      apply(command, nullptr);
    } else {
      post(command);
    }
  }
  releaseRetired();
  return true;
}

void AudioDevice::Remove(const std::shared_ptr<AudioSource>& source) {
  if (!source) return;
  std::vector<std::shared_ptr<AudioSource>> released;
  {
    Command command{false, source};
    std::lock_guard control(controlMutex_);
    if (!open_.load(std::memory_order_relaxed)) {
      std::lock_guard mix(mixMutex_);
      drainCommands();
      apply(command, &released);
    } else {
      post(command);
    }
  }
  releaseRetired();
  // `released` dies here, outside both locks.
}

void AudioDevice::post(Command& command) {
  std::lock_guard overflow(overflowMutex_);
  if (overflow_.empty() && commands_.Push(command)) return;
  // The audio thread is behind (or stalled): dropping a removal would leave
  // it mixing a source its owner has let go, so the command waits here.
  overflow_.push_back(std::move(command));
  overflowPending_.store(true, std::memory_order_release);
}

void AudioDevice::releaseRetired() {
  std::vector<std::shared_ptr<AudioSource>> released;
  {
    std::lock_guard control(controlMutex_);
    std::shared_ptr<AudioSource> retired;
    while (retired_.Pop(retired)) released.push_back(std::move(retired));
  }
  // A source's destructor may call back into the device, so no lock is held.
}

void AudioDevice::drainCommands() {
  Command command;
  while (commands_.Pop(command)) apply(command, nullptr);
  if (overflowPending_.load(std::memory_order_acquire)) {
    // Never waits: a controlling thread that holds the lock only appends, and
    // what it appends is taken by a later pass.
    std::unique_lock overflow(overflowMutex_, std::try_to_lock);
    if (overflow.owns_lock()) {
      // Whatever entered the ring before the overflow began comes first.
      while (commands_.Pop(command)) apply(command, nullptr);
      overflowTaken_.swap(overflow_);
      overflowPending_.store(false, std::memory_order_relaxed);
      overflow.unlock();
      for (Command& taken : overflowTaken_) apply(taken, nullptr);
      overflowTaken_.clear();
    }
  }
  sourceCount_.store(sources_.size(), std::memory_order_release);
}

void AudioDevice::apply(Command& command, std::vector<std::shared_ptr<AudioSource>>* released) {
  const auto found = std::find(sources_.begin(), sources_.end(), command.source);
  if (command.add) {
    if (found == sources_.end()) sources_.push_back(std::move(command.source));
  } else if (found != sources_.end()) {
    std::shared_ptr<AudioSource> gone = std::move(*found);
    *found = std::move(sources_.back());
    sources_.pop_back();
    // Handed back so that the last owner lets go off the audio thread; if the
    // ring is full the source is released here after all.
    if (released != nullptr) {
      released->push_back(std::move(gone));
    } else {
      retired_.Push(gone);
    }
  }
  command.source.reset();
  sourceCount_.store(sources_.size(), std::memory_order_release);
}

void AudioDevice::mixChunk(std::size_t frames) {
  std::fill_n(mix_.begin(), 2 * frames, 0.0f);
  for (const auto& source : sources_) source->Mix(mix_.data(), frames, format_.sampleRate);
}

void AudioDevice::Render(void* out, std::size_t frames) {
  std::lock_guard mix(mixMutex_);
  drainCommands();
  auto* bytes = static_cast<std::uint8_t*>(out);
  const std::size_t sampleBytes = format_.bitsPerSample / 8u;
  const bool mono = format_.channels == 1;
  while (frames > 0) {
    const std::size_t n = std::min(frames, AudioSource::kMaxMixFrames);
    mixChunk(n);
    const float master = MasterGain();
    for (std::size_t i = 0; i < n; ++i) {
      const float left = clip(mix_[2 * i] * master);
      const float right = clip(mix_[2 * i + 1] * master);
      if (mono) {
        const float m = (left + right) * 0.5f;
        sampleBytes == 1 ? writeSample8(bytes, m) : writeSample16(bytes, m);
        bytes += sampleBytes;
      } else if (sampleBytes == 1) {
        writeSample8(bytes, left);
        writeSample8(bytes + 1, right);
        bytes += 2;
      } else {
        writeSample16(bytes, left);
        writeSample16(bytes + 2, right);
        bytes += 4;
      }
    }
    frames -= n;
  }
}

void AudioDevice::RenderFloat(float* stereo, std::size_t frames) {
  std::lock_guard mix(mixMutex_);
  drainCommands();
  while (frames > 0) {
    const std::size_t n = std::min(frames, AudioSource::kMaxMixFrames);
    mixChunk(n);
    const float master = MasterGain();
    for (std::size_t i = 0; i < 2 * n; ++i) stereo[i] = clip(mix_[i] * master);
    stereo += 2 * n;
    frames -= n;
  }
}

void AudioDevice::WaitForMixPass() { std::lock_guard mix(mixMutex_); }

void AudioDevice::sdlCallback(void* self, std::uint8_t* stream, int length) {
  auto* device = static_cast<AudioDevice*>(self);
  device->Render(stream, static_cast<std::size_t>(length) / device->format_.BlockAlign());
}

AudioDevice& SystemAudioDevice() {
  static AudioDevice device;
  static std::once_flag opened;
  std::call_once(opened, [] {
    if (!device.Open())
      std::fprintf(stderr, "audio: no output device (%s); sound is off\n", device.LastError().c_str());
  });
  return device;
}

}  // namespace platform
