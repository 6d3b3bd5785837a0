#pragma once
// TMorvaneSoundBuffer: one sound of the sound component, loaded from a WAV
// file. A static sound is held whole in a mixer voice with three duplicates,
// so that up to four plays overlap. A streamed sound keeps its file open and
// plays a four-second looping voice whose halves a thread of its own refills,
// woken by the voice's notifications at the start, at the middle and at stop.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "library/sound/wav_loader.h"
#include "platform/audio/audio_device.h"
#include "platform/audio/audio_event.h"
#include "platform/audio/voice.h"
#include "platform/framework/ansi_string.h"
#include "platform/framework/streams.h"

namespace MorvaneSoundSystem {

class TMorvaneSound;

// Load modes.
inline constexpr unsigned char kModeNone = 0;
inline constexpr unsigned char kModeStatic = 1;
inline constexpr unsigned char kModeStream = 2;

// Copies of a static sound that can sound at once.
inline constexpr int kSlotCount = 4;

class TMorvaneSoundBuffer {
 public:
  TMorvaneSoundBuffer();
  // Stops a streaming thread and waits for it before anything is freed.
  ~TMorvaneSoundBuffer();

  TMorvaneSoundBuffer(const TMorvaneSoundBuffer&) = delete;
  TMorvaneSoundBuffer& operator=(const TMorvaneSoundBuffer&) = delete;

  // Loads FileName (resource "WAVE" first, then the file) in Mode (kModeStatic
  // or kModeStream) as voices of DirectSound. Raises EMvSoundBuffer; after a
  // failure the buffer is not loaded and holds nothing. The arguments are
  // taken by value: they may be this buffer's own name and file name, which
  // loading clears first.
  void LoadFile(std::shared_ptr<platform::AudioDevice> DirectSound, AnsiString BufferName, unsigned char Mode,
                AnsiString FileName);

  const AnsiString& GetName() const { return Name; }
  const AnsiString& GetFileName() const { return FileName; }
  unsigned char GetMode() const { return Mode; }
  std::uint32_t GetPlayCount() const { return PlayCount; }
  bool GetLoopFlag() const { return LoopFlag.load(std::memory_order_acquire); }
  std::uint32_t GetDataStart() const { return DataStart; }
  std::uint32_t GetDataSize() const { return DataSize; }
  std::uint32_t GetHalfSize() const { return HalfSize; }
  std::uint32_t GetBitsPerSample() const { return BitsPerSample; }
  const TWaveFormat& GetFormat() const { return Format; }
  // The voice of a slot (0..3); null for an empty slot.
  platform::Voice* GetSlot(int Slot) const { return Buffers.at(Slot).get(); }
  // Whether a streaming thread is running.
  bool IsStreaming() const { return FThread.joinable() && !FThreadEnded.load(std::memory_order_acquire); }

 private:
  friend class TMorvaneSound;

  // Wake-up bits of the streaming thread's event.
  static constexpr std::uint32_t kNotifyStart = 1;   // play position at the start of the voice
  static constexpr std::uint32_t kNotifyMiddle = 2;  // play position at HalfSize
  static constexpr std::uint32_t kNotifyStop = 4;    // playback stopped
  static constexpr std::uint32_t kSync = 8;          // report that every earlier wake-up is served

  // Stream position value after the last byte of a non-looping sound.
  static constexpr std::uint32_t kEndMarker = 0xFFFFFFFFu;

  // The streaming thread's own place in the data.
  struct TStreamCursor {
    std::uint32_t Pos = 0;
    // The half after the end has been silenced; the next wake-up stops.
    bool Draining = false;
  };

  void reset();
  void loadStatic(const AnsiString& FileName);
  void loadStream(const AnsiString& BufferName, const AnsiString& FileName);

  // Streaming, driven by TMorvaneSound. StartStream returns once the first
  // half holds sound; false when the thread could not be started.
  bool StartStream(bool Loop);
  // Stops the voice and waits for the thread; safe when none runs.
  void EndStream();
  // Returns once the thread has served every wake-up raised before the call.
  void SyncStream();

  // The thread's body and its steps.
  void RunStream();
  void Refill(int Half, TStreamCursor& Cursor);
  void served();

  AnsiString Name;
  AnsiString FileName;
  std::uint32_t PlayCount = 0;
  std::atomic<bool> LoopFlag{false};
  std::uint32_t DataStart = 0;
  std::uint32_t DataSize = 0;
  std::uint32_t HalfSize = 0;
  std::uint32_t BitsPerSample = 0;
  std::unique_ptr<TStream> Source;
  unsigned char Mode = kModeNone;
  std::shared_ptr<platform::AudioEvent> Events;
  std::array<std::shared_ptr<platform::Voice>, kSlotCount> Buffers;

  TWaveFormat Format;
  std::shared_ptr<platform::AudioDevice> FDevice;  // the voices are attached to it
  std::thread FThread;
  std::atomic<bool> FThreadEnded{true};
  std::atomic<std::uint32_t> FServed{0};  // bumped for the first refill, each sync, and the end
};

}  // namespace MorvaneSoundSystem
