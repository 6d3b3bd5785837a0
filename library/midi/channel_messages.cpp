// Everything the component sends passes through ShortMsg and LongMsg; the
// channel records, the user queue and the fixed system-exclusive messages.
#include <algorithm>
#include <array>

#include "library/debug/guard.h"
#include "library/midi/Mvmidi.h"
#include "library/midi/midi_texts.h"

namespace MorvaneMidiSystem {

using MorvaneDebugSystem::Guarded;

namespace {

constexpr unsigned long kNoNoteOff = 0xFFFFFFFFul;

std::uint8_t statusOf(std::uint8_t Kind, unsigned char Channel) {
  return static_cast<std::uint8_t>(Kind | (Channel & 0x0F));
}

}  // namespace

void TMorvaneMidi::ShortMsg(const TShortMessage& Message) {
  const std::uint8_t kind = Message.Status & 0xF0;
  {
    std::lock_guard lock(FChannelLock);
    TMorvaneMidiChannel& channel = FChannels[Message.Status & 0x0F];
    // While a fade runs, volume messages (the fade's and the music's) leave
    // the recorded volume alone: the fade scales the music's own.
    if (kind == 0xB0 && Message.Data1 == kControlVolume && FFadeTime.load(std::memory_order_relaxed) == 0) {
      channel.Volume = Message.Data2;
    }
    if (GetReport()) {
      if (kind == 0x90) {
        channel.Level = std::max(channel.Level, Message.Data2);
      } else if (kind == 0xB0) {
        switch (Message.Data1) {
          case kControlPanpot:
            channel.Panpot = Message.Data2;
            break;
          case kControlExpression:
            channel.Expression = Message.Data2;
            break;
          case kControlReverb:
            channel.Reverb = Message.Data2;
            break;
          case kControlChorus:
            channel.Chorus = Message.Data2;
            break;
          case kControlDelay:
            channel.Delay = Message.Data2;
            break;
          default:
            break;
        }
      } else if (kind == 0xC0) {
        channel.Program = Message.Data1;
      }
    }
  }
  std::lock_guard lock(FDeviceLock);
  if (FMidiOut) FMidiOut->ShortMsg(Message.Packed());
}

void TMorvaneMidi::LongMsg(const TLongMessage& Message) {
  SendBytes(Message.Data.data(), std::min<std::size_t>(Message.Length, Message.Data.size()));
}

void TMorvaneMidi::SendBytes(const std::uint8_t* Bytes, std::size_t Count) {
  // The platform output copies the buffer before it returns and is never
  // "not ready", so one send is all it takes.
  std::lock_guard lock(FDeviceLock);
  if (FMidiOut) FMidiOut->LongMsg(std::span<const std::uint8_t>(Bytes, Count));
}

void TMorvaneMidi::ResetDevice() {
  std::lock_guard lock(FDeviceLock);
  if (FMidiOut) FMidiOut->Reset();
}

void TMorvaneMidi::GetChannelData(TMorvaneMidiChannel* Channels) {
  Guarded("TMorvaneMidi::GetChannelData", [&] {
    if (!GetReport()) throw EMvMidi(MidiTexts::kReportIsOff);
    std::lock_guard lock(FChannelLock);
    std::copy(FReportedChannels.begin(), FReportedChannels.end(), Channels);
  });
}

// Behind every record due at the same time or earlier: messages due together
// go out in the order they were queued.
void TMorvaneMidi::Queue(const TShortMessage& Message) {
  auto at = FUserMessages.begin();
  while (at != FUserMessages.end() && at->Time <= Message.Time) ++at;
  FUserMessages.insert(at, Message);
}

void TMorvaneMidi::NoteOn(unsigned char Channel, unsigned char Note, unsigned char Velocity,
                          unsigned long Duration) {
  Guarded("TMorvaneMidi::NoteOn", [&] {
    std::lock_guard lock(FUserLock);
    Queue(TShortMessage{0, statusOf(0x90, Channel), Note, Velocity});
    if (Duration != kNoNoteOff) {
      Queue(TShortMessage{static_cast<std::uint32_t>(Duration), statusOf(0x80, Channel), Note, 0});
    }
  });
}

void TMorvaneMidi::NoteOff(unsigned char Channel, unsigned char Note) {
  Guarded("TMorvaneMidi::NoteOff", [&] {
    std::lock_guard lock(FUserLock);
    Queue(TShortMessage{0, statusOf(0x80, Channel), Note, 0});
  });
}

void TMorvaneMidi::ControlChange(unsigned char Channel, unsigned char Control, unsigned char Value) {
  Guarded("TMorvaneMidi::ControlChange", [&] {
    std::lock_guard lock(FUserLock);
    Queue(TShortMessage{0, statusOf(0xB0, Channel), Control, Value});
  });
}

void TMorvaneMidi::ProgramChange(unsigned char Channel, unsigned char Program) {
  Guarded("TMorvaneMidi::ProgramChange", [&] {
    std::lock_guard lock(FUserLock);
    Queue(TShortMessage{0, statusOf(0xC0, Channel), Program, 0});
  });
}

void TMorvaneMidi::ChannelPressure(unsigned char Channel, unsigned char Pressure) {
  Guarded("TMorvaneMidi::ChannelPressure", [&] {
    std::lock_guard lock(FUserLock);
    Queue(TShortMessage{0, statusOf(0xD0, Channel), Pressure, 0});
  });
}

void TMorvaneMidi::PitchBend(unsigned char Channel, unsigned char Value) {
  Guarded("TMorvaneMidi::PitchBend", [&] {
    std::lock_guard lock(FUserLock);
    Queue(TShortMessage{0, statusOf(0xE0, Channel), Value, 0});
  });
}

void TMorvaneMidi::UserPlay(unsigned long Elapsed) {
  const auto elapsed = static_cast<std::uint32_t>(Elapsed);
  TShortMessageList due;
  {
    std::lock_guard lock(FUserLock);
    auto end = FUserMessages.begin();
    while (end != FUserMessages.end() && end->Time < elapsed) ++end;
    due.splice(due.end(), FUserMessages, FUserMessages.begin(), end);
    for (auto& message : FUserMessages) message.Time -= elapsed;
  }
  // Sent outside the queue's lock, so the thread never holds it together
  // with the channel lock that ShortMsg takes.
  for (const auto& message : due) ShortMsg(message);
}

void TMorvaneMidi::MidiReset(TMidiReset Kind) {
  Guarded("TMorvaneMidi::MidiReset", [&] {
    RequireInit();
    if (Kind == mrGMSystemOn) {
      SendBytes(GSMessages::kGMSystemOn.data(), GSMessages::kGMSystemOn.size());
    } else if (Kind == mrGSReset) {
      SendBytes(GSMessages::kGSReset.data(), GSMessages::kGSReset.size());
    }
  });
}

void TMorvaneMidi::SendGSMacro(const GSMessages::TGSMacro& Macro, std::uint8_t Value) {
  std::array<std::uint8_t, 11> bytes = Macro.Bytes;
  bytes[GSMessages::kMacroValueAt] = Value;
  bytes[GSMessages::kMacroChecksumAt] = static_cast<std::uint8_t>(Macro.ChecksumBase - Value);
  SendBytes(bytes.data(), bytes.size());
}

void TMorvaneMidi::SetGSReverb(TGSReverb Reverb) {
  Guarded("TMorvaneMidi::SetGSReverb", [&] {
    RequireInit();
    SendGSMacro(GSMessages::kReverbMacro, Reverb);
  });
}

void TMorvaneMidi::SetGSChorus(TGSChorus Chorus) {
  Guarded("TMorvaneMidi::SetGSChorus", [&] {
    RequireInit();
    SendGSMacro(GSMessages::kChorusMacro, Chorus);
  });
}

void TMorvaneMidi::SetGSDelay(TGSDelay Delay) {
  Guarded("TMorvaneMidi::SetGSDelay", [&] {
    RequireInit();
    SendGSMacro(GSMessages::kDelayMacro, Delay);
  });
}

}  // namespace MorvaneMidiSystem
