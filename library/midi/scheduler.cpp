// The play thread and the scheduler: ticks from elapsed milliseconds, due
// events, loop marks, the fade-out, the end of a piece, Stop and Reset.
#include <algorithm>

#include "library/debug/guard.h"
#include "library/midi/Mvmidi.h"
#include "library/midi/midi_texts.h"

namespace MorvaneMidiSystem {

using MorvaneDebugSystem::Guarded;

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // µs per quarter note: 120 bpm
// A slower tempo value would make a quarter note last 0 ms.
constexpr std::uint32_t kMinTempo = 1000;
constexpr std::uint32_t kStopWaitMs = 1000;
// The fade sends its volume messages on every this many steps only.
constexpr std::int32_t kFadeMessageSteps = 32;

// The texts that open and close a loop in meta events of one type.
struct TLoopTexts {
  const char* Start;
  const char* End;
};
constexpr TLoopTexts kMarkerLoop{MidiTexts::kMarkerLoopStart, MidiTexts::kMarkerLoopEnd};
constexpr TLoopTexts kCueLoop{MidiTexts::kCueLoopStart, MidiTexts::kCueLoopEnd};

// Null for meta events that cannot mark a loop.
const TLoopTexts* LoopTextsOf(std::uint8_t Type) {
  if (Type == kMetaMarker) return &kMarkerLoop;
  if (Type == kMetaCuePoint) return &kCueLoop;
  return nullptr;
}

}  // namespace

TMorvaneMidiPlayThread::TMorvaneMidiPlayThread(TMorvaneMidi* Owner, unsigned Interval)
    : FOwner(Owner), FInterval(Interval) {}

TMorvaneMidiPlayThread::~TMorvaneMidiPlayThread() {
  Terminate();
  WaitFor();
}

void TMorvaneMidiPlayThread::Execute() {
  TMidiPlayClock& clock = *FOwner->FSetup.Clock;
  std::uint32_t last = clock.NowMs();
  while (!Terminated()) {
    const std::uint32_t now = clock.NowMs();
    FOwner->ThreadStep(now - last);
    clock.SleepMs(FInterval);
    last = now;
  }
}

void TMorvaneMidi::ThreadStep(std::uint32_t Elapsed) {
  if (FPlaying.load(std::memory_order_acquire)) SmfPlay(Elapsed);
  if (FStopRequest.load(std::memory_order_acquire)) {
    // The piece may have ended by itself just before; it is reported once.
    if (FPlaying.load(std::memory_order_relaxed)) EndPiece();
    FStopRequest.store(false, std::memory_order_relaxed);
    // Signalled last: Stop goes on only once FPlaying is clear.
    FStopEvent.SetEvent();
  }
  UserPlay(Elapsed);
}

void TMorvaneMidi::EndPiece() {
  // Read while FPlaying still holds Play off.
  const std::uint32_t generation = FGeneration.load(std::memory_order_relaxed);
  FPlaying.store(false, std::memory_order_release);
  Post(WM_MIDIEND, generation);
}

void TMorvaneMidi::SmfPlay(unsigned long Elapsed) {
  TMorvaneMidiData* data = FCurrentData;
  if (data == nullptr) return;
  const auto elapsed = static_cast<std::uint32_t>(Elapsed);
  const std::uint32_t position = AdvancePosition(*data, elapsed);
  // Read once, so a step decays and reports the same channel records.
  const bool report = GetReport();
  if (report) DecayLevels();
  const bool repeat = FRepeat.load(std::memory_order_relaxed);
  if (!SendMetaEvents(*data, position, repeat)) return;
  SendDueMessages(*data, position);
  const bool fadeEnded = StepFade(elapsed);
  if (report) PublishChannels();
  // A fade ends the piece whatever the repeat flag says.
  if (fadeEnded) {
    EndPiece();
  } else if (AtEnd(*data)) {
    if (repeat) {
      Repeat();
    } else {
      EndPiece();
    }
  }
}

std::uint32_t TMorvaneMidi::AdvancePosition(const TMorvaneMidiData& Data, std::uint32_t Elapsed) {
  // Ticks at the tempo in force when the step starts; the remainder is kept
  // in ms x division, so whole milliseconds per beat are all that is lost.
  const std::uint32_t msPerBeat = std::max(FTempo.load(std::memory_order_relaxed), kMinTempo) / 1000;
  const std::uint64_t remainder =
      FTickRemainder.load(std::memory_order_relaxed) +
      static_cast<std::uint64_t>(Elapsed) * static_cast<std::uint32_t>(Data.Division);
  const std::uint32_t position =
      FPosition.load(std::memory_order_relaxed) + static_cast<std::uint32_t>(remainder / msPerBeat);
  FPosition.store(position, std::memory_order_relaxed);
  FTickRemainder.store(static_cast<std::uint32_t>(remainder % msPerBeat), std::memory_order_relaxed);
  return position;
}

void TMorvaneMidi::DecayLevels() {
  std::lock_guard lock(FChannelLock);
  for (auto& channel : FChannels)
    channel.Level = channel.Level <= kLevelDecay ? 0 : channel.Level - kLevelDecay;
}

bool TMorvaneMidi::SendMetaEvents(TMorvaneMidiData& Data, std::uint32_t Position, bool Repeating) {
  for (; FMetaCursor != Data.MetaEvents.end() && FMetaCursor->Time <= Position; ++FMetaCursor) {
    const TMetaEvent& event = *FMetaCursor;
    if (event.Type == kMetaTempo) {
      FTempo.store(event.Value, std::memory_order_relaxed);
      continue;
    }
    const TLoopTexts* texts = LoopTextsOf(event.Type);
    if (texts == nullptr) continue;
    if (event.Text == texts->Start) {
      FLoopStart.store(event.Time, std::memory_order_relaxed);
    } else if (event.Text == texts->End && Repeating) {
      // Nothing else of this step is sent, the marker's own tick included.
      Repeat();
      return false;
    }
  }
  return true;
}

void TMorvaneMidi::SendDueMessages(TMorvaneMidiData& Data, std::uint32_t Position) {
  for (; FLongCursor != Data.LongMessages.end() && FLongCursor->Time <= Position; ++FLongCursor) {
    LongMsg(*FLongCursor);
  }
  for (; FShortCursor != Data.ShortMessages.end() && FShortCursor->Time <= Position; ++FShortCursor) {
    ShortMsg(*FShortCursor);
  }
}

bool TMorvaneMidi::StepFade(std::uint32_t Elapsed) {
  const std::int32_t fadeTime = FFadeTime.load(std::memory_order_acquire);
  if (fadeTime == 0) return false;
  const float volume = FFadeVolume.load(std::memory_order_relaxed) -
                       static_cast<float>(Elapsed) * FFadeRate.load(std::memory_order_relaxed);
  FFadeVolume.store(volume, std::memory_order_relaxed);
  if (FFadeStep % kFadeMessageSteps == 0 && volume >= 0.0f) SendFadeVolumes(volume);
  const std::int64_t left = static_cast<std::int64_t>(fadeTime) - Elapsed;
  FFadeTime.store(static_cast<std::int32_t>(std::max<std::int64_t>(left, INT32_MIN)),
                  std::memory_order_relaxed);
  ++FFadeStep;
  // NOTE: a fade that runs out exactly at 0 ends too; at 0 it would
  // otherwise count as no fade and leave the piece playing almost silent.
  return left <= 0;
}

void TMorvaneMidi::SendFadeVolumes(float Volume) {
  TMorvaneMidiChannels channels;
  {
    std::lock_guard lock(FChannelLock);
    channels = FChannels;
  }
  for (int ch = 0; ch < kMidiChannels; ++ch) {
    const auto value = static_cast<std::uint8_t>(static_cast<float>(channels[ch].Volume) * Volume);
    ShortMsg(TShortMessage{0, static_cast<std::uint8_t>(0xB0 | ch), kControlVolume, value});
  }
}

void TMorvaneMidi::PublishChannels() {
  std::lock_guard lock(FChannelLock);
  FReportedChannels = FChannels;
}

bool TMorvaneMidi::AtEnd(TMorvaneMidiData& Data) const {
  return FMetaCursor == Data.MetaEvents.end() && FLongCursor == Data.LongMessages.end() &&
         FShortCursor == Data.ShortMessages.end();
}

void TMorvaneMidi::Repeat() {
  TMorvaneMidiData* data = FCurrentData;
  if (data == nullptr) return;
  FPosition.store(0, std::memory_order_relaxed);
  FMetaCursor = data->MetaEvents.begin();
  FLongCursor = data->LongMessages.begin();
  FShortCursor = data->ShortMessages.begin();
  const std::uint32_t loopStart = FLoopStart.load(std::memory_order_relaxed);
  if (loopStart == 0) return;

  FPosition.store(loopStart, std::memory_order_relaxed);
  // Tempo changes before the loop start still apply; nothing else before it is sent.
  for (; FMetaCursor != data->MetaEvents.end() && FMetaCursor->Time < loopStart; ++FMetaCursor) {
    if (FMetaCursor->Type == kMetaTempo) FTempo.store(FMetaCursor->Value, std::memory_order_relaxed);
  }
  while (FLongCursor != data->LongMessages.end() && FLongCursor->Time < loopStart) ++FLongCursor;
  while (FShortCursor != data->ShortMessages.end() && FShortCursor->Time < loopStart) ++FShortCursor;
}

void TMorvaneMidi::StopPiece(bool UntilStopped) {
  do {
    FStopEvent.ResetEvent();
    FStopRequest.store(true, std::memory_order_release);
    FStopEvent.WaitFor(kStopWaitMs);
  } while (UntilStopped && Playing());
}

void TMorvaneMidi::Stop() {
  Guarded("TMorvaneMidi::Stop", [this] {
    RequireInit();
    if (Playing()) StopPiece(false);
    FFadeTime.store(0, std::memory_order_relaxed);
    ResetDevice();
  });
}

void TMorvaneMidi::SetFadeOut(int Time) {
  Guarded("TMorvaneMidi::SetFadeOut", [&] {
    RequireInit();
    // A fade of no time (or less) would end the piece at once or raise the volume.
    if (Time <= 0) return;
    if (FFadeTime.load(std::memory_order_acquire) != 0) return;
    FFadeVolume.store(1.0f, std::memory_order_relaxed);
    FFadeRate.store(1.0f / static_cast<float>(Time), std::memory_order_relaxed);
    FFadeTime.store(Time, std::memory_order_release);
  });
}

void TMorvaneMidi::Reset() {
  Guarded("TMorvaneMidi::Reset", [this] {
    FPosition.store(0, std::memory_order_relaxed);
    FTickRemainder.store(0, std::memory_order_relaxed);
    FFadeTime.store(0, std::memory_order_relaxed);
    FLoopStart.store(0, std::memory_order_relaxed);
    FTempo.store(kDefaultTempo, std::memory_order_relaxed);
    std::lock_guard lock(FChannelLock);
    for (auto& channel : FChannels) channel = ChannelDefaults(channel.Program);
    FReportedChannels = FChannels;
  });
}

}  // namespace MorvaneMidiSystem
