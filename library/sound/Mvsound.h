#pragma once
// TMorvaneSound: the library's sound component. It opens the audio output in
// its primary format, keeps sounds loaded from WAV files by name, and plays,
// stops and adjusts them. A static sound plays up to four times at once; a
// streamed sound plays from its file through a thread of its own. Pan, volume
// and frequency are in the output's units: pan -10000..10000, volume in 1/100
// dB (-10000..0), frequency in Hz (0: the sound's own rate).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "library/debug/Mvautoptr.h"
#include "library/debug/exceptions.h"
#include "library/sound/sound_buffer.h"
#include "platform/audio/audio_device.h"
#include "platform/framework/ansi_string.h"
#include "platform/framework/component.h"

namespace MorvaneSoundSystem {

enum TSoundBits { sb8bit, sb16bit };

// Opens the output a device mixes into; false when it cannot (the device's
// LastError says why).
using TSoundOutputOpener = std::function<bool(platform::AudioDevice&)>;

// Where the component sends its mix.
struct TMorvaneSoundSetup {
  // Empty: the system's audio output.
  TSoundOutputOpener Opener;
};

// An opener for offline work: the device stays closed and its owner mixes
// with platform::AudioDevice::Render, as fast as it likes.
bool LeaveOutputClosed(platform::AudioDevice& Device);

class TMorvaneSound : public TComponent {
 public:
  explicit TMorvaneSound(TComponent* AOwner);
  TMorvaneSound(TComponent* AOwner, TMorvaneSoundSetup Setup);
  ~TMorvaneSound() override;

  // Opens the output in the primary format (Stereo, SamplingRatio, SoundBits)
  // and sets the master volume unless Volume is 1. Frees every sound first.
  void Init(void* Window = nullptr);
  // Frees every sound and closes the output.
  void CleanUp();

  // Loads FileName (resource "WAVE" first, then the file) under BufferName,
  // whole in memory or streamed; nothing happens when the name is taken. A
  // failed load registers nothing.
  void CreateBuffer(const AnsiString& BufferName, const AnsiString& FileName, bool Stream);
  // Frees one sound (stopping it and its thread); an unknown name is no error.
  void DeleteBuffer(const AnsiString& BufferName);
  void DeleteAllBuffer();

  // Static sound: plays the next of its four copies from the start. Streamed
  // sound: (re)starts it from the start of its data.
  void Play(const AnsiString& BufferName, bool Loop);
  void Stop(const AnsiString& BufferName);
  bool IsPlaying(const AnsiString& BufferName);

  // For a static sound these set the copy the next Play uses.
  void SetPan(const AnsiString& BufferName, long Pan);
  void SetVolume(const AnsiString& BufferName, long Volume);
  void SetFrequency(const AnsiString& BufferName, unsigned long Frequency);

  bool Initialized() const { return FInitialized; }
  bool Stereo() const { return FStereo; }
  int Volume() const { return FVolume; }
  int SamplingRatio() const { return FSamplingRatio; }
  TSoundBits SoundBits() const { return FSoundBits; }
  // The format setters take effect at the next Init.
  void SetStereo(bool Value);
  // Applied at once while initialised; 1 leaves the output's volume alone.
  void SetPrimaryVolume(int Value);
  void SetSamplingRatio(int Value);
  void SetBits(TSoundBits Value);

  // The body of a streaming thread; Buffer is its TMorvaneSoundBuffer.
  static void StreamPlayThread(void* Buffer);

  // The registered sound, still owned by the component; null when none.
  TMorvaneSoundBuffer* GetBuffer(const AnsiString& BufferName) const;
  int BufferCount() const { return static_cast<int>(FBufferMap->size()); }
  // The output device while initialised, else null. With an offline opener
  // the caller renders through it.
  platform::AudioDevice* Device() const { return FDirectSound.get(); }
  // Returns once every streaming thread has served the notifications raised
  // so far. Offline rendering calls it after each block, so a rendered file
  // does not depend on thread timing.
  void WaitForStreams();

 private:
  using TBufferMap = std::map<AnsiString, MorvaneSystem::TMorvaneAutoPtr<TMorvaneSoundBuffer>>;

  void openOutput();
  void applyPrimaryVolume();
  // The common checks of the playback operations.
  TMorvaneSoundBuffer& loadedBuffer(const AnsiString& BufferName) const;
  platform::Voice& currentSlot(TMorvaneSoundBuffer& Buffer) const;

  bool FInitialized = false;
  bool FStereo = true;
  int FVolume = 1;
  int FSamplingRatio = 22050;
  TSoundBits FSoundBits = sb16bit;
  std::shared_ptr<platform::AudioDevice> FDirectSound;
  void* FWindow = nullptr;
  std::unique_ptr<TBufferMap> FBufferMap;
  TMorvaneSoundSetup FSetup;
};

}  // namespace MorvaneSoundSystem
