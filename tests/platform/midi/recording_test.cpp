#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/midi/recording_midi_out.h"

using namespace platform;

TEST(RecordingMidiOut, KeepsEveryMessageWithTheCallersTime) {
  std::uint32_t now = 0;
  RecordingMidiOut out([&now] { return now; });
  EXPECT_EQ(out.Name(), "Recording");
  out.ShortMsg(0x00643C90);
  now = 250;
  const std::vector<std::uint8_t> gmOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  out.LongMsg(gmOn);
  now = 260;
  out.Reset();
  const auto messages = out.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], (RecordedMidiMessage{0, MidiMessageKind::Short, 0x00643C90, {}}));
  EXPECT_EQ(messages[1], (RecordedMidiMessage{250, MidiMessageKind::Long, 0, gmOn}));
  EXPECT_EQ(messages[2], (RecordedMidiMessage{260, MidiMessageKind::Reset, 0, {}}));
  out.Clear();
  EXPECT_EQ(out.Count(), 0u);
}

TEST(RecordingMidiOut, LongMessagesAreCopied) {
  RecordingMidiOut out([] { return 7u; });
  std::vector<std::uint8_t> buffer = {0xF0, 0x41, 0xF7};
  out.LongMsg(buffer);
  buffer[1] = 0x00;  // the caller reuses its buffer after the call
  EXPECT_EQ(out.Messages()[0].bytes, (std::vector<std::uint8_t>{0xF0, 0x41, 0xF7}));
}

TEST(RecordingMidiOut, WithoutAClockTimesRunFromCreation) {
  RecordingMidiOut out;
  out.ShortMsg(0x90);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  out.ShortMsg(0x80);
  const auto messages = out.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_LT(messages[0].time, 30u);
  EXPECT_GE(messages[1].time, messages[0].time + 30);
}

TEST(RecordingMidiOut, OneThreadSendsWhileAnotherReads) {
  std::atomic<std::uint32_t> clock{0};
  RecordingMidiOut out([&clock] { return clock.load(); });
  constexpr std::uint32_t kMessages = 5000;
  std::thread player([&] {
    for (std::uint32_t i = 0; i < kMessages; ++i) {
      clock = i;
      out.ShortMsg(0x90 | (i << 8));
      if (i % 1000 == 0) {
        const std::uint8_t sysex[] = {0xF0, static_cast<std::uint8_t>(i & 0x7F), 0xF7};
        out.LongMsg(sysex);
      }
    }
  });
  std::size_t seen = 0;
  while (seen < kMessages + kMessages / 1000) {
    const auto messages = out.Messages();
    ASSERT_GE(messages.size(), seen);
    seen = messages.size();
    // Times never go backwards in what a reader sees.
    for (std::size_t i = 1; i < messages.size(); ++i) ASSERT_GE(messages[i].time, messages[i - 1].time);
  }
  player.join();
  EXPECT_EQ(out.Count(), kMessages + kMessages / 1000);
}

TEST(NullMidiOut, TakesEverythingAndSendsNothing) {
  NullMidiOut out;
  out.ShortMsg(0x00643C90);
  const std::uint8_t sysex[] = {0xF0, 0xF7};
  out.LongMsg(sysex);
  out.Reset();
  EXPECT_EQ(out.Name(), "Null");
}
