#pragma once
// TMorvaneMidi: the library's MIDI music component. It opens the MIDI output,
// keeps loaded pieces by name, plays one at a time on its own thread (with
// loop marks and a fade-out), lets the program send notes and controllers of
// its own, and sends device resets and GS effect settings. The end of a piece
// is reported on the main thread (the application's main-thread queue).
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "library/debug/Mvautoptr.h"
#include "library/debug/exceptions.h"
#include "library/midi/gs_messages.h"
#include "library/midi/midi_channel.h"
#include "library/midi/midi_data.h"
#include "library/midi/midi_events.h"
#include "library/midi/play_clock.h"
#include "platform/framework/ansi_string.h"
#include "platform/framework/component.h"
#include "platform/framework/sync.h"
#include "platform/framework/thread.h"
#include "platform/midi/midi_out.h"

namespace MorvaneMidiSystem {

class TMorvaneMidi;

// An event handler taking the component that raised it.
using TNotifyEvent = std::function<void(TComponent* Sender)>;

// Notifications the play thread hands to the main thread. WParam carries the
// play generation of the piece they belong to.
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_MIDISTART = WM_USER + 30;
inline constexpr std::uint32_t WM_MIDIEND = WM_USER + 32;

struct TMessage {
  std::uint32_t Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

// Opens the MIDI output at Init; must not return null.
using TMidiOutOpener = std::function<std::unique_ptr<platform::MidiOut>()>;

// Where the component gets its device and its time.
struct TMorvaneMidiSetup {
  // Empty: the platform's default output (the software synthesizer, or Null).
  TMidiOutOpener Opener;
  // Empty: the system clock.
  std::shared_ptr<TMidiPlayClock> Clock;
  // Milliseconds the play thread sleeps between steps.
  std::uint32_t Interval = 10;
};

// The thread that plays: wakes every interval, runs one scheduler step and
// one step of the user queue, and honours stop requests.
class TMorvaneMidiPlayThread : public TThread {
 public:
  TMorvaneMidiPlayThread(TMorvaneMidi* Owner, unsigned Interval);
  ~TMorvaneMidiPlayThread() override;

 protected:
  void Execute() override;

 private:
  TMorvaneMidi* FOwner;
  std::uint32_t FInterval;
};

class TMorvaneMidi : public TComponent {
 public:
  explicit TMorvaneMidi(TComponent* AOwner);
  TMorvaneMidi(TComponent* AOwner, TMorvaneMidiSetup Setup);
  ~TMorvaneMidi() override;

  // Opens the device (never fails: without an output the sends do nothing).
  // A second Init while initialised changes nothing.
  void Init();
  // Stops the piece and closes the device.
  void CleanUp();

  // Loads FileName (resource "MIDI" first, then the file) under DataName;
  // nothing happens when the name is taken. A failed load registers nothing.
  void CreateData(const AnsiString& DataName, const AnsiString& FileName);
  // The registered piece, still owned by the component.
  TMorvaneMidiData* GetSMFData(const AnsiString& DataName);
  // Frees one piece (stopping it first if it plays); an unknown name is no error.
  void DeleteData(const AnsiString& DataName);
  // Frees every piece, stopping the one that plays.
  void DeleteAllData();

  // Starts a piece, GM System On first; does nothing while a piece plays.
  void Play(const AnsiString& DataName, bool Repeat);
  // Stops the piece (waiting up to 1000 ms for the thread) and silences the device.
  void Stop();
  // Fades the piece out over Time ms and ends it; a running fade is kept.
  void SetFadeOut(int Time);
  // Position, tempo, loop start and fade back to their start; channel defaults.
  void Reset();
  // Position in ticks.
  unsigned long GetDeltaTime() const { return FPosition.load(std::memory_order_relaxed); }
  // Microseconds per quarter note.
  unsigned long GetMusicTempo() const { return FTempo.load(std::memory_order_relaxed); }

  // Queued for the play thread. Channels are taken modulo 16. NoteOn sends a
  // note-off after Duration ms unless Duration is 0xFFFFFFFF.
  void NoteOn(unsigned char Channel, unsigned char Note, unsigned char Velocity, unsigned long Duration);
  void NoteOff(unsigned char Channel, unsigned char Note);
  void ControlChange(unsigned char Channel, unsigned char Control, unsigned char Value);
  void ProgramChange(unsigned char Channel, unsigned char Program);
  void ChannelPressure(unsigned char Channel, unsigned char Pressure);
  // Value is the low 7 bits of the bend; the high 7 bits are sent as 0.
  void PitchBend(unsigned char Channel, unsigned char Value);

  // Records the channel state and sends at once (play thread).
  void ShortMsg(const TShortMessage& Message);
  // Sends the bytes of Data at once.
  void LongMsg(const TLongMessage& Message);
  // Copies the 16 reported channel records; raises when Report is false.
  void GetChannelData(TMorvaneMidiChannel* Channels);

  // Sends GM System On or GS Reset at once; other values send nothing.
  void MidiReset(TMidiReset Kind);
  void SetGSReverb(TGSReverb Reverb);
  void SetGSChorus(TGSChorus Chorus);
  void SetGSDelay(TGSDelay Delay);

  // Play-thread steps, public so that tools can drive them on virtual time.
  void SmfPlay(unsigned long Elapsed);
  void UserPlay(unsigned long Elapsed);
  void Repeat();

  // Keep the reported channel records up to date (default true).
  bool GetReport() const { return FReport.load(std::memory_order_relaxed); }
  void SetReport(bool Report) { FReport.store(Report, std::memory_order_relaxed); }
  const TNotifyEvent& GetOnMidiStart() const { return FOnMidiStart; }
  void SetOnMidiStart(TNotifyEvent Event) { FOnMidiStart = std::move(Event); }
  const TNotifyEvent& GetOnMidiEnd() const { return FOnMidiEnd; }
  void SetOnMidiEnd(TNotifyEvent Event) { FOnMidiEnd = std::move(Event); }

  bool Initialized() const { return FInitialized; }
  bool Playing() const { return FPlaying.load(std::memory_order_acquire); }
  // Pieces registered.
  int DataCount() const { return static_cast<int>(FDataMap.size()); }

 protected:
  // Handles the play thread's notifications on the main thread.
  virtual void WndProc(TMessage& Message);

 private:
  friend class TMorvaneMidiPlayThread;

  // The play thread's loop body after the clock was read.
  void ThreadStep(std::uint32_t Elapsed);
  // Leaves the playing state and posts the end notification.
  void EndPiece();
  // The steps of SmfPlay, in the order it runs them.
  // Adds the ticks of Elapsed ms to the position and returns it.
  std::uint32_t AdvancePosition(const TMorvaneMidiData& Data, std::uint32_t Elapsed);
  void DecayLevels();
  // Tempo changes and loop marks up to Position; false when a loop end sent
  // the piece back to its loop start.
  bool SendMetaEvents(TMorvaneMidiData& Data, std::uint32_t Position, bool Repeating);
  void SendDueMessages(TMorvaneMidiData& Data, std::uint32_t Position);
  // Lowers the fade volume by Elapsed ms; true when the fade ran out.
  bool StepFade(std::uint32_t Elapsed);
  void SendFadeVolumes(float Volume);
  void PublishChannels();
  // Whether every event of the piece has been sent.
  bool AtEnd(TMorvaneMidiData& Data) const;
  void Post(std::uint32_t Msg, std::uint32_t Generation);
  void RequireInit() const;
  // Asks the thread to stop the piece and waits for it.
  void StopPiece(bool UntilStopped);
  // Frees a piece after making sure the thread no longer reads it.
  void Release(TMorvaneMidiData* Data);
  void Queue(const TShortMessage& Message);
  void SendGSMacro(const GSMessages::TGSMacro& Macro, std::uint8_t Value);
  void SendBytes(const std::uint8_t* Bytes, std::size_t Count);
  void ResetDevice();

  TMorvaneMidiSetup FSetup;
  bool FInitialized = false;
  // The open output; the play thread sends while the main thread may close.
  std::unique_ptr<platform::MidiOut> FMidiOut;
  std::mutex FDeviceLock;
  // Guards both channel arrays: the working records are written by the play
  // thread and by Reset on the main thread.
  TCriticalSection FChannelLock;
  TCriticalSection FUserLock;
  TEvent FStopEvent{false};
  std::atomic<bool> FPlaying{false};
  std::atomic<bool> FStopRequest{false};
  std::atomic<bool> FRepeat{false};
  std::atomic<bool> FReport{true};
  std::atomic<std::int32_t> FFadeTime{0};
  std::int32_t FFadeStep = 0;  // play thread only
  std::atomic<float> FFadeVolume{0.0f};
  std::atomic<float> FFadeRate{0.0f};
  std::atomic<std::uint32_t> FTempo{500000};
  std::atomic<std::uint32_t> FTickRemainder{0};
  std::atomic<std::uint32_t> FPosition{0};
  std::atomic<std::uint32_t> FLoopStart{0};
  std::unique_ptr<TMorvaneMidiPlayThread> FPlayThread;
  TNotifyEvent FOnMidiStart;
  TNotifyEvent FOnMidiEnd;
  // Written by Play before FPlaying is set; read by the thread while it is.
  TMorvaneMidiData* FCurrentData = nullptr;
  TShortMessageList FUserMessages;
  TShortMessageList::iterator FShortCursor;
  TLongMessageList::iterator FLongCursor;
  TMetaEventList::iterator FMetaCursor;
  TMorvaneMidiChannels FChannels{};
  TMorvaneMidiChannels FReportedChannels{};
  std::map<AnsiString, MorvaneSystem::TMorvaneAutoPtr<TMorvaneMidiData>> FDataMap;

  // Which Play a notification belongs to; a notification of an earlier
  // piece is dropped, so it never resets the piece after it.
  std::atomic<std::uint32_t> FGeneration{0};
  std::uint32_t FEndedGeneration = 0;  // main thread only
  // Notifications still queued when the component dies find it gone.
  std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};

}  // namespace MorvaneMidiSystem
