#pragma once
// A TMorvaneMidi with a recording output and its real play thread on a step
// clock: every Step() runs exactly one pass of the thread's loop with the
// elapsed time given, so timing is exact and nothing depends on the machine.
#include <gtest/gtest.h>

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "library/midi/Mvmidi.h"
#include "platform/framework/main_thread_queue.h"
#include "platform/midi/recording_midi_out.h"
#include "smf_builder.h"

namespace midi_test {

using namespace MorvaneMidiSystem;
using platform::MidiMessageKind;
using platform::RecordedMidiMessage;
using platform::RecordingMidiOut;

struct Sent {
  std::uint32_t time;
  std::vector<std::uint8_t> bytes;  // short messages as three bytes

  friend bool operator==(const Sent&, const Sent&) = default;
};

inline std::vector<std::uint8_t> BytesOf(const RecordedMidiMessage& message) {
  if (message.kind == MidiMessageKind::Long) return message.bytes;
  if (message.kind == MidiMessageKind::Reset) return {};
  return {static_cast<std::uint8_t>(message.packed), static_cast<std::uint8_t>(message.packed >> 8),
          static_cast<std::uint8_t>(message.packed >> 16)};
}

inline std::vector<std::uint8_t> ShortBytes(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  return {status, data1, data2};
}

class MidiRig {
 public:
  explicit MidiRig(bool init = true) {
    TMorvaneMidiSetup setup;
    setup.Clock = clock;
    setup.Opener = [this] {
      auto recording = std::make_unique<RecordingMidiOut>([c = clock.get()] { return c->NowMs(); });
      out = recording.get();
      ++opened;
      return recording;
    };
    midi = std::make_unique<TMorvaneMidi>(nullptr, setup);
    clock->WaitAsleep();
    if (init) midi->Init();
    // Notifications of components that earlier tests destroyed find them gone.
    MainThreadQueue().RunPending();
  }

  // Stopping a piece that plays takes a step of the thread.
  ~MidiRig() {
    if (midi->Playing()) StopWhileStepping();
  }
  MidiRig(const MidiRig&) = delete;
  MidiRig& operator=(const MidiRig&) = delete;

  // One pass of the play thread's loop, Ms after the previous one.
  void Step(int count = 1, std::uint32_t ms = 10) {
    for (int i = 0; i < count; ++i) clock->Advance(ms);
  }

  // Registers a piece built in code.
  void Add(const std::string& name, const Bytes& smf) {
    midi->CreateData(name, dir.Write(name + ".mid", smf));
  }

  // Runs the notifications the play thread posted.
  int Deliver() { return MainThreadQueue().RunPending(); }

  // Stop() blocks until the thread's next step: step it meanwhile.
  void StopWhileStepping() {
    auto stopped = std::async(std::launch::async, [this] { midi->Stop(); });
    while (stopped.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
      Step();
      std::this_thread::yield();
    }
    stopped.get();
  }

  // Every message sent so far, as times and bytes; resets are left out.
  std::vector<Sent> SentSince(std::size_t from = 0) const {
    std::vector<Sent> result;
    const auto messages = out->Messages();
    for (std::size_t i = from; i < messages.size(); ++i) {
      if (messages[i].kind != MidiMessageKind::Reset)
        result.push_back({messages[i].time, BytesOf(messages[i])});
    }
    return result;
  }
  // Only the bytes, in sending order.
  std::vector<std::vector<std::uint8_t>> BytesSince(std::size_t from = 0) const {
    std::vector<std::vector<std::uint8_t>> result;
    for (const auto& sent : SentSince(from)) result.push_back(sent.bytes);
    return result;
  }
  std::size_t Count() const { return out->Count(); }

  TempDir dir;
  std::shared_ptr<TMidiStepClock> clock = std::make_shared<TMidiStepClock>(1000);
  RecordingMidiOut* out = nullptr;  // owned by the component while it is initialised
  int opened = 0;
  std::unique_ptr<TMorvaneMidi> midi;
};

inline const std::vector<std::uint8_t> kGMSystemOnBytes = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

}  // namespace midi_test
