#include "library/midi/Mvmidi.h"

#include <utility>

#include "library/debug/guard.h"
#include "library/midi/midi_texts.h"
#include "platform/framework/main_thread_queue.h"

namespace MorvaneMidiSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::TMorvaneDebug;

TMorvaneMidi::TMorvaneMidi(TComponent* AOwner) : TMorvaneMidi(AOwner, TMorvaneMidiSetup{}) {}

TMorvaneMidi::TMorvaneMidi(TComponent* AOwner, TMorvaneMidiSetup Setup)
    : TComponent(AOwner), FSetup(std::move(Setup)) {
  Guarded("TMorvaneMidi::TMorvaneMidi", [this] {
    if (!FSetup.Opener) FSetup.Opener = [] { return platform::OpenDefaultMidiOut(); };
    if (!FSetup.Clock) FSetup.Clock = std::make_shared<TMidiSystemClock>();
    FPlayThread = std::make_unique<TMorvaneMidiPlayThread>(this, FSetup.Interval);
    FPlayThread->SetPriority(TThreadPriority::tpTimeCritical);
    FPlayThread->Resume();
  });
}

TMorvaneMidi::~TMorvaneMidi() {
  GuardedNoThrow("TMorvaneMidi::~TMorvaneMidi", [this] {
    FAlive.reset();
    CleanUp();
    if (FPlayThread) {
      FPlayThread->Terminate();
      FSetup.Clock->Wake();
      FPlayThread->WaitFor();
      FPlayThread.reset();
    }
    FDataMap.clear();
  });
}

void TMorvaneMidi::RequireInit() const {
  if (!FInitialized) throw EMvMidi(MidiTexts::kNotInitialized);
}

void TMorvaneMidi::Init() {
  Guarded("TMorvaneMidi::Init", [this] {
    MorvaneDebugSystem::Trace(MidiTexts::kTraceInit);
    if (FInitialized) return;
    std::unique_ptr<platform::MidiOut> device = FSetup.Opener();
    if (!device) device = std::make_unique<platform::NullMidiOut>();
    {
      std::lock_guard lock(FDeviceLock);
      FMidiOut = std::move(device);
    }
    FInitialized = true;
  });
}

void TMorvaneMidi::CleanUp() {
  Guarded("TMorvaneMidi::CleanUp", [this] {
    MorvaneDebugSystem::Trace(MidiTexts::kTraceCleanUp);
    bool open;
    {
      std::lock_guard lock(FDeviceLock);
      open = FMidiOut != nullptr;
    }
    if (open) {
      Stop();
      std::unique_ptr<platform::MidiOut> closing;
      {
        std::lock_guard lock(FDeviceLock);
        closing = std::move(FMidiOut);
      }
    }
    FInitialized = false;
  });
}

void TMorvaneMidi::CreateData(const AnsiString& DataName, const AnsiString& FileName) {
  Guarded("TMorvaneMidi::CreateData", [&] {
    if (FDataMap.contains(DataName)) return;
    // Loaded before it is registered, so a failed load leaves no trace.
    auto data = std::make_unique<TMorvaneMidiData>();
    data->LoadFile(FileName);
    FDataMap.emplace(DataName, MorvaneSystem::TMorvaneAutoPtr<TMorvaneMidiData>(data.release()));
    if (TMorvaneDebug::GetDebug()) {
      MorvaneDebugSystem::Trace(AnsiString(MidiTexts::kTraceCreateData) + "  FileName:" + FileName +
                                "  DataName:" + DataName);
    }
  });
}

TMorvaneMidiData* TMorvaneMidi::GetSMFData(const AnsiString& DataName) {
  return Guarded("TMorvaneMidi::GetSMFData", [&] {
    const auto found = FDataMap.find(DataName);
    if (found == FDataMap.end()) throw EMvMidi(MidiTexts::kNoSuchData + DataName);
    return found->second.Get();
  });
}

void TMorvaneMidi::Release(TMorvaneMidiData* Data) {
  if (Data == nullptr || Data != FCurrentData) return;
  // The thread reads the lists of the piece it plays: stop it before they go.
  if (Playing()) StopPiece(true);
  FCurrentData = nullptr;
}

void TMorvaneMidi::DeleteData(const AnsiString& DataName) {
  Guarded("TMorvaneMidi::DeleteData", [&] {
    const auto found = FDataMap.find(DataName);
    if (found != FDataMap.end()) {
      Release(found->second.Get());
      FDataMap.erase(found);
    }
    if (TMorvaneDebug::GetDebug()) {
      MorvaneDebugSystem::Trace(AnsiString(MidiTexts::kTraceDeleteData) + "DataName:" + DataName);
    }
  });
}

void TMorvaneMidi::DeleteAllData() {
  Guarded("TMorvaneMidi::DeleteAllData", [&] {
    MorvaneDebugSystem::Trace(MidiTexts::kTraceDeleteAllData);
    Release(FCurrentData);
    FDataMap.clear();
  });
}

void TMorvaneMidi::Play(const AnsiString& DataName, bool Repeat) {
  Guarded("TMorvaneMidi::Play", [&] {
    RequireInit();
    if (Playing()) return;
    const auto found = FDataMap.find(DataName);
    if (found == FDataMap.end()) throw EMvMidi(MidiTexts::kNoSuchData + DataName);
    TMorvaneMidiData* data = found->second.Get();

    Reset();
    FRepeat.store(Repeat, std::memory_order_relaxed);
    FCurrentData = data;
    FShortCursor = data->ShortMessages.begin();
    FLongCursor = data->LongMessages.begin();
    FMetaCursor = data->MetaEvents.begin();
    MidiReset(mrGMSystemOn);

    // The generation is fixed before the thread may end the piece and read it.
    const std::uint32_t generation = FGeneration.load(std::memory_order_relaxed) + 1;
    FGeneration.store(generation, std::memory_order_relaxed);
    FPlaying.store(true, std::memory_order_release);
    Post(WM_MIDISTART, generation);
  });
}

void TMorvaneMidi::Post(std::uint32_t Msg, std::uint32_t Generation) {
  MainThreadQueue().Post([this, alive = std::weak_ptr<int>(FAlive), Msg, Generation] {
    if (alive.expired()) return;
    TMessage message;
    message.Msg = Msg;
    message.WParam = Generation;
    WndProc(message);
  });
}

void TMorvaneMidi::WndProc(TMessage& Message) {
  Guarded("TMorvaneMidi::WndProc", [&] {
    Message.Result = 0;
    const std::uint32_t current = FGeneration.load(std::memory_order_relaxed);
    if (Message.Msg == WM_MIDISTART) {
      if (Message.WParam == current && FOnMidiStart) FOnMidiStart(this);
    } else if (Message.Msg == WM_MIDIEND) {
      // An end that belongs to an earlier piece, or one already reported,
      // must not reset the piece that plays now.
      if (Message.WParam != current || Message.WParam == FEndedGeneration) return;
      FEndedGeneration = current;
      if (FOnMidiEnd) FOnMidiEnd(this);
      Reset();
    }
  });
}

}  // namespace MorvaneMidiSystem
