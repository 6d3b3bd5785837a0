#include "library/sound/Mvsound.h"

#include <new>
#include <utility>

#include "library/debug/guard.h"
#include "library/sound/sound_texts.h"
#include "platform/audio/pcm_mixer.h"

namespace MorvaneSoundSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::Trace;

namespace {

// The Volume value that leaves the output's own volume alone.
constexpr int kVolumeUntouched = 1;

}  // namespace

bool LeaveOutputClosed(platform::AudioDevice&) { return true; }

TMorvaneSound::TMorvaneSound(TComponent* AOwner) : TMorvaneSound(AOwner, TMorvaneSoundSetup{}) {}

TMorvaneSound::TMorvaneSound(TComponent* AOwner, TMorvaneSoundSetup Setup)
    : TComponent(AOwner), FSetup(std::move(Setup)) {
  Guarded("TMorvaneSound::TMorvaneSound", [this] { FBufferMap = std::make_unique<TBufferMap>(); });
}

TMorvaneSound::~TMorvaneSound() {
  GuardedNoThrow("TMorvaneSound::~TMorvaneSound", [this] {
    CleanUp();
    FBufferMap.reset();
  });
}

void TMorvaneSound::Init(void* Window) {
  Guarded("TMorvaneSound::Init", [&] {
    Trace(SoundTexts::kTraceInit);
    CleanUp();
    if (Window != nullptr) FWindow = Window;
    openOutput();
    // A failure here leaves the output open, as the volume is the only
    // thing missing.
    if (FVolume != kVolumeUntouched) applyPrimaryVolume();
    FInitialized = true;
  });
}

void TMorvaneSound::openOutput() {
  platform::PcmFormat format;
  format.sampleRate = static_cast<std::uint32_t>(FSamplingRatio);
  format.channels = FStereo ? 2 : 1;
  format.bitsPerSample = FSoundBits == sb8bit ? 8 : 16;

  std::shared_ptr<platform::AudioDevice> device;
  try {
    device = std::make_shared<platform::AudioDevice>(format);
  } catch (const std::bad_alloc&) {
    CleanUp();
    throw EMvSound(SoundTexts::kCreateDeviceFailed);
  }
  Trace(SoundTexts::kTraceDeviceCreated);
  const bool opened = FSetup.Opener ? FSetup.Opener(*device) : device->Open();
  if (!opened) {
    CleanUp();
    throw EMvSound(SoundTexts::kOpenDeviceFailed);
  }
  FDirectSound = std::move(device);
  Trace(SoundTexts::kTraceDeviceOpened);
  // The output is the primary buffer: nothing more to create.
  Trace(SoundTexts::kTracePrimaryBuffer);
  // The device settles on the nearest format it supports; anything else than
  // what was asked for is a format the output refuses.
  if (FSamplingRatio <= 0 || !(FDirectSound->Format() == format)) {
    CleanUp();
    throw EMvSound(SoundTexts::kPrimaryFormatFailed);
  }
  Trace(SoundTexts::kTracePrimaryFormat);
}

void TMorvaneSound::applyPrimaryVolume() {
  if (FVolume > 0 || FVolume < platform::kSilentLevel) throw EMvSound(SoundTexts::kMasterVolumeFailed);
  FDirectSound->SetMasterGain(platform::GainFromHundredthsDb(FVolume));
}

void TMorvaneSound::CleanUp() {
  Guarded("TMorvaneSound::CleanUp", [this] {
    Trace(SoundTexts::kTraceCleanUp);
    FInitialized = false;
    // The sounds go first: their threads and voices use the device.
    FBufferMap->clear();
    FDirectSound.reset();
  });
}

void TMorvaneSound::CreateBuffer(const AnsiString& BufferName, const AnsiString& FileName, bool Stream) {
  Guarded("TMorvaneSound::CreateBuffer", [&] {
    if (!FInitialized) throw EMvSound(SoundTexts::kNotInitialized);
    if (FBufferMap->count(BufferName) != 0) return;
    MorvaneSystem::TMorvaneAutoPtr<TMorvaneSoundBuffer> buffer(new TMorvaneSoundBuffer);
    // Registered only once loaded, so a failure leaves no entry.
    buffer->LoadFile(FDirectSound, BufferName, Stream ? kModeStream : kModeStatic, FileName);
    FBufferMap->emplace(BufferName, std::move(buffer));
    Trace(AnsiString(SoundTexts::kTraceCreateBuffer) + "  FileName:" + FileName +
          "  BufferName:" + BufferName);
  });
}

void TMorvaneSound::DeleteBuffer(const AnsiString& BufferName) {
  Guarded("TMorvaneSound::DeleteBuffer", [&] {
    FBufferMap->erase(BufferName);
    Trace(AnsiString(SoundTexts::kTraceDeleteBuffer) + "BufferName:" + BufferName);
  });
}

void TMorvaneSound::DeleteAllBuffer() {
  Guarded("TMorvaneSound::DeleteAllBuffer", [this] {
    Trace(SoundTexts::kTraceDeleteAllBuffer);
    FBufferMap->clear();
  });
}

TMorvaneSoundBuffer& TMorvaneSound::loadedBuffer(const AnsiString& BufferName) const {
  if (!FInitialized) throw EMvSound(SoundTexts::kNotInitialized);
  const auto found = FBufferMap->find(BufferName);
  if (found == FBufferMap->end()) throw EMvSound(SoundTexts::kNoSuchBuffer + BufferName);
  TMorvaneSoundBuffer& buffer = *found->second;
  if (buffer.Mode == kModeNone) throw EMvSound(SoundTexts::kBufferNotLoaded + BufferName);
  return buffer;
}

platform::Voice& TMorvaneSound::currentSlot(TMorvaneSoundBuffer& Buffer) const {
  platform::Voice* voice = Buffer.Buffers[Buffer.PlayCount % kSlotCount].get();
  if (voice == nullptr) throw EMvSound(SoundTexts::kBufferNotLoaded + Buffer.Name);
  return *voice;
}

void TMorvaneSound::Play(const AnsiString& BufferName, bool Loop) {
  Guarded("TMorvaneSound::Play", [&] {
    TMorvaneSoundBuffer& buffer = loadedBuffer(BufferName);
    platform::Voice* voice = buffer.Buffers[buffer.PlayCount % kSlotCount].get();
    if (voice == nullptr) throw EMvSound(SoundTexts::kStopBeforePlayFailed + BufferName);
    if (buffer.Mode == kModeStatic) {
      voice->Stop();
      voice->SetPosition(0);
      voice->Play(Loop);
      ++buffer.PlayCount;
      return;
    }
    // StartStream stops the voice, joins the old thread and waits out the mix
    // pass in flight before it rewinds: a rewind that pass could still see
    // would resume the voice past its start and lose the start notification.
    if (!buffer.StartStream(Loop)) throw EMvSound(SoundTexts::kThreadFailed + BufferName);
    voice->Play(true);
  });
}

void TMorvaneSound::Stop(const AnsiString& BufferName) {
  Guarded("TMorvaneSound::Stop", [&] {
    TMorvaneSoundBuffer& buffer = loadedBuffer(BufferName);
    if (buffer.Mode == kModeStream) {
      buffer.EndStream();
      return;
    }
    for (const auto& voice : buffer.Buffers) {
      if (voice) voice->Stop();
    }
  });
}

bool TMorvaneSound::IsPlaying(const AnsiString& BufferName) {
  return Guarded("TMorvaneSound::IsPlaying", [&] {
    const TMorvaneSoundBuffer& buffer = loadedBuffer(BufferName);
    for (const auto& voice : buffer.Buffers) {
      if (voice && voice->IsPlaying()) return true;
    }
    return false;
  });
}

void TMorvaneSound::SetPan(const AnsiString& BufferName, long Pan) {
  Guarded("TMorvaneSound::SetPan", [&] {
    platform::Voice& voice = currentSlot(loadedBuffer(BufferName));
    if (Pan < platform::kPanLeft || Pan > platform::kPanRight ||
        !voice.SetPan(static_cast<std::int32_t>(Pan)))
      throw EMvSound(SoundTexts::kPanFailed + BufferName);
  });
}

void TMorvaneSound::SetVolume(const AnsiString& BufferName, long Volume) {
  Guarded("TMorvaneSound::SetVolume", [&] {
    platform::Voice& voice = currentSlot(loadedBuffer(BufferName));
    if (Volume < platform::kSilentLevel || Volume > 0 || !voice.SetVolume(static_cast<std::int32_t>(Volume)))
      throw EMvSound(SoundTexts::kVolumeFailed + BufferName);
  });
}

void TMorvaneSound::SetFrequency(const AnsiString& BufferName, unsigned long Frequency) {
  Guarded("TMorvaneSound::SetFrequency", [&] {
    platform::Voice& voice = currentSlot(loadedBuffer(BufferName));
    if (Frequency > platform::PcmFormat::kMaxRate ||
        !voice.SetFrequency(static_cast<std::uint32_t>(Frequency)))
      throw EMvSound(SoundTexts::kFrequencyFailed + BufferName);
  });
}

void TMorvaneSound::SetStereo(bool Value) {
  Guarded("TMorvaneSound::SetStereo", [&] { FStereo = Value; });
}

void TMorvaneSound::SetSamplingRatio(int Value) {
  Guarded("TMorvaneSound::SetSamplingRatio", [&] { FSamplingRatio = Value; });
}

void TMorvaneSound::SetBits(TSoundBits Value) {
  Guarded("TMorvaneSound::SetBits", [&] { FSoundBits = Value; });
}

void TMorvaneSound::SetPrimaryVolume(int Value) {
  Guarded("TMorvaneSound::SetPrimaryVolume", [&] {
    if (Value == FVolume) return;
    const int previous = std::exchange(FVolume, Value);
    if (!FInitialized || Value == kVolumeUntouched) return;
    try {
      applyPrimaryVolume();
    } catch (...) {
      // A refused value is not kept: Volume keeps saying what the output has.
      FVolume = previous;
      throw;
    }
  });
}

TMorvaneSoundBuffer* TMorvaneSound::GetBuffer(const AnsiString& BufferName) const {
  return Guarded("TMorvaneSound::GetBuffer", [&]() -> TMorvaneSoundBuffer* {
    const auto found = FBufferMap->find(BufferName);
    return found == FBufferMap->end() ? nullptr : found->second.Get();
  });
}

void TMorvaneSound::WaitForStreams() {
  Guarded("TMorvaneSound::WaitForStreams", [this] {
    for (auto& [name, buffer] : *FBufferMap) {
      if (buffer->Mode == kModeStream) buffer->SyncStream();
    }
  });
}

}  // namespace MorvaneSoundSystem
