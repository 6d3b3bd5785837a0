#include "library/sound/sound_buffer.h"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

#include "library/debug/exceptions.h"
#include "library/debug/guard.h"
#include "library/sound/sound_texts.h"
#include "platform/framework/resources.h"

namespace MorvaneSoundSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;

namespace {

// Sample bytes copied per read while a static sound loads.
constexpr std::size_t kLoadChunkBytes = 64 * 1024;
// Seconds of sound in each half of a streamed sound's voice.
constexpr std::uint32_t kHalfSeconds = 2;

}  // namespace

TMorvaneSoundBuffer::TMorvaneSoundBuffer() {
  Guarded("TMorvaneSoundBuffer::TMorvaneSoundBuffer", [] {});
}

TMorvaneSoundBuffer::~TMorvaneSoundBuffer() {
  GuardedNoThrow("TMorvaneSoundBuffer::~TMorvaneSoundBuffer", [this] { reset(); });
}

void TMorvaneSoundBuffer::reset() {
  EndStream();
  for (auto& voice : Buffers) {
    if (voice && FDevice) FDevice->Remove(voice);
    voice.reset();
  }
  FDevice.reset();
  Events.reset();
  Source.reset();
  Name.clear();
  FileName.clear();
  PlayCount = 0;
  DataStart = 0;
  DataSize = 0;
  HalfSize = 0;
  BitsPerSample = 0;
  Format = TWaveFormat{};
  Mode = kModeNone;
  LoopFlag.store(false, std::memory_order_release);
}

void TMorvaneSoundBuffer::LoadFile(std::shared_ptr<platform::AudioDevice> DirectSound, AnsiString BufferName,
                                   unsigned char Mode_, AnsiString FileName_) {
  Guarded("TMorvaneSoundBuffer::LoadFile", [&] {
    reset();
    try {
      Source = OpenResourceOrFile(SoundTexts::kResourceType, FileName_);
      if (!Source) throw EMvSoundBuffer(SoundTexts::kOpenFailed + FileName_);
      TWaveHeader header;
      switch (ReadWaveHeader(*Source, header)) {
        case TWaveError::weNone:
          break;
        case TWaveError::weNotRiff:
          throw EMvSoundBuffer(SoundTexts::kNotRiff + FileName_);
        case TWaveError::weNotWave:
          throw EMvSoundBuffer(SoundTexts::kNotWave + FileName_);
        case TWaveError::weBadFormat:
          throw EMvSoundBuffer(SoundTexts::kBadFormat + FileName_);
      }
      Format = header.Format;
      DataStart = header.DataStart;
      DataSize = header.DataSize;
      FDevice = std::move(DirectSound);
      if (Mode_ == kModeStatic) {
        loadStatic(FileName_);
      } else if (Mode_ == kModeStream) {
        loadStream(BufferName, FileName_);
      } else {
        Source.reset();
      }
    } catch (...) {
      reset();
      throw;
    }
    Name = std::move(BufferName);
    FileName = std::move(FileName_);
    Mode = (Mode_ == kModeStatic || Mode_ == kModeStream) ? Mode_ : kModeNone;
  });
}

void TMorvaneSoundBuffer::loadStatic(const AnsiString& FileName_) {
  std::shared_ptr<platform::Voice> voice = platform::Voice::Create(ToPcmFormat(Format), DataSize);
  if (!voice) throw EMvSoundBuffer(SoundTexts::kCreateBufferFailed + FileName_);

  // DataSize never exceeds what the file holds, so neither does this copy.
  Source->Seek(DataStart, TSeekOrigin::soBeginning);
  std::vector<std::uint8_t> chunk(std::min<std::size_t>(DataSize, kLoadChunkBytes));
  std::size_t offset = 0;
  while (offset < DataSize) {
    const std::size_t want = std::min<std::size_t>(chunk.size(), DataSize - offset);
    const std::int64_t got = Source->Read(chunk.data(), static_cast<std::int64_t>(want));
    if (got <= 0) break;  // the rest stays silent
    const auto count = static_cast<std::size_t>(got);
    // The voice holds whole frames only; a partial last frame is dropped.
    const std::size_t expected = offset < voice->Size() ? std::min(count, voice->Size() - offset) : 0;
    if (voice->Write(offset, std::span(chunk.data(), count)) != expected)
      throw EMvSoundBuffer(SoundTexts::kLockFailed + FileName_);
    offset += count;
  }

  Buffers[0] = voice;
  for (int slot = 1; slot < kSlotCount; ++slot) {
    Buffers[slot] = voice->Duplicate();
    if (!Buffers[slot]) throw EMvSoundBuffer(SoundTexts::kDuplicateFailed + FileName_);
  }
  for (const auto& copy : Buffers) {
    if (!FDevice || !FDevice->Add(copy)) throw EMvSoundBuffer(SoundTexts::kCreateBufferFailed + FileName_);
  }
  Source.reset();
}

void TMorvaneSoundBuffer::loadStream(const AnsiString& BufferName, const AnsiString& FileName_) {
  // The format has been checked, so this is at most a few megabytes.
  HalfSize = Format.AvgBytesPerSec * kHalfSeconds;
  BitsPerSample = Format.BitsPerSample;
  // The refill wraps at DataSize; a partial last frame would shift every
  // sample after the wrap by a byte, so only whole frames are streamed.
  DataSize -= DataSize % Format.BlockAlign;
  std::shared_ptr<platform::Voice> voice =
      platform::Voice::Create(ToPcmFormat(Format), 2u * static_cast<std::size_t>(HalfSize));
  if (!voice) throw EMvSoundBuffer(SoundTexts::kCreateBufferFailed + FileName_);

  Events = std::make_shared<platform::AudioEvent>();
  std::vector<platform::VoiceNotification> marks = {
      {0, Events, kNotifyStart},
      {HalfSize, Events, kNotifyMiddle},
      {platform::VoiceNotification::kStop, Events, kNotifyStop},
  };
  if (!voice->SetNotifications(std::move(marks)))
    throw EMvSoundBuffer(SoundTexts::kNotifyRegisterFailed + BufferName);
  Buffers[0] = voice;
  if (!FDevice || !FDevice->Add(voice)) throw EMvSoundBuffer(SoundTexts::kCreateBufferFailed + FileName_);
}

}  // namespace MorvaneSoundSystem
