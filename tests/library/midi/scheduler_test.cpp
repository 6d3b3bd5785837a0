// The scheduler on virtual time: ticks per step, tempo, loop marks, the
// fade-out and the end of a piece, through the real play thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "midi_rig.h"

namespace {

using namespace midi_test;

constexpr std::uint8_t kA = 60, kB = 61, kC = 62, kD = 63, kE = 64;

// Keys of the note-ons sent so far.
std::vector<int> KeysPlayed(const MidiRig& rig) {
  std::vector<int> keys;
  for (const auto& bytes : rig.BytesSince()) {
    if (bytes.size() == 3 && (bytes[0] & 0xF0) == 0x90) keys.push_back(bytes[1]);
  }
  return keys;
}

// Notes A B C at ticks 0, 100, 200 and D, E at 300 and 400, with a loop
// start and a loop end where the caller puts them.
Bytes LoopPiece(std::uint8_t metaType, const std::string& startText, std::uint32_t startTick,
                const std::string& endText, std::uint32_t endTick) {
  Track marks, notes;
  std::uint32_t at = 0;
  const auto moveTo = [&at](std::uint32_t tick) {
    const std::uint32_t delta = tick - at;
    at = tick;
    return delta;
  };
  if (startTick < endTick) {
    marks.Meta(moveTo(startTick), metaType, startText).Meta(moveTo(endTick), metaType, endText);
  } else {
    marks.Meta(moveTo(endTick), metaType, endText).Meta(moveTo(startTick), metaType, startText);
  }
  marks.End();
  notes.Note(0, 0, kA, 100).Note(100, 0, kB, 100).Note(100, 0, kC, 100);
  notes.SysEx(100, 0xF0, {0x43, 0x10, 0xF7}).Note(0, 0, kD, 100).Note(100, 0, kE, 100).End();
  return Smf({marks, notes});
}

class Scheduler : public ::testing::Test {
 protected:
  void Start(const Bytes& piece, bool repeat) {
    rig.Add("piece", piece);
    rig.midi->Play("piece", repeat);
  }
  MidiRig rig;
};

TEST_F(Scheduler, NineThenTenTicksPerTenMillisecondsAt480AndOneTwenty) {
  Start(Smf({Track().Note(5000, 0, kA, 1).End()}), false);
  const std::vector<unsigned long> expected = {9, 19, 28, 38, 48};
  for (unsigned long position : expected) {
    rig.Step();
    EXPECT_EQ(rig.midi->GetDeltaTime(), position);
  }
  EXPECT_EQ(rig.midi->GetMusicTempo(), 500000u);
}

TEST_F(Scheduler, EventsAreSentInTheStepThatReachesTheirTick) {
  Track track;
  track.Note(0, 0, kA, 1).Note(19, 0, kB, 1).Note(1, 0, kC, 1).End();
  Start(Smf({track}), false);
  rig.Step();  // position 9
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA}));
  rig.Step();  // 19
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kB}));
  rig.Step();  // 28
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kB, kC}));
}

TEST_F(Scheduler, GmSystemOnGoesOutBeforeTheFirstEvent) {
  const std::size_t before = rig.Count();
  Start(Smf({Track().SysEx(0, 0xF0, {0x41, 0xF7}).Note(0, 0, kA, 1).End()}), false);
  rig.Step();
  const auto sent = rig.BytesSince(before);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], kGMSystemOnBytes);
  EXPECT_EQ(sent[1], (std::vector<std::uint8_t>{0xF0, 0x41, 0xF7}));  // SysEx before channel messages
  EXPECT_EQ(sent[2], ShortBytes(0x90, kA, 1));
}

TEST_F(Scheduler, TempoChangeTakesEffectFromTheNextStep) {
  Start(Smf({Track().Tempo(0, 250000).Note(5000, 0, kA, 1).End()}), false);
  rig.Step();
  EXPECT_EQ(rig.midi->GetDeltaTime(), 9u);  // still 500 ms per beat
  EXPECT_EQ(rig.midi->GetMusicTempo(), 250000u);
  rig.Step();
  EXPECT_EQ(rig.midi->GetDeltaTime(), 29u);  // (300 + 4800) / 250 = 20
}

TEST_F(Scheduler, TempoOfWholeMillisecondsOnlyRunsSlightlyFast) {
  Start(Smf({Track().Tempo(0, 500999).Note(50000, 0, kA, 1).End()}), false);
  rig.Step(101);
  // 1000 ms after the first step at 500 ms per beat (500.999 truncated).
  EXPECT_EQ(rig.midi->GetDeltaTime(), 9u + 960u);
}

TEST_F(Scheduler, TempoBelowOneMillisecondPerBeatCountsAsOne) {
  Start(Smf({Track().Tempo(0, 500).Note(60000, 0, kA, 1).End()}), false);
  rig.Step(2);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 9u + 5100u);
  EXPECT_TRUE(rig.midi->Playing());
}

TEST_F(Scheduler, LoopAtMarkersSendsNothingAtTheLoopEndsOwnTick) {
  Start(LoopPiece(0x06, "RepeatStart", 100, "RepeatEnd", 300), true);
  rig.Step(31);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 297u);
  rig.Step();  // 307: the loop end is passed
  EXPECT_EQ(rig.midi->GetDeltaTime(), 100u);
  rig.Step(80);
  const auto keys = KeysPlayed(rig);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), kA), 1);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), kD), 0);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), kE), 0);
  EXPECT_GE(keys.size(), 7u);
  for (std::size_t i = 1; i < keys.size(); ++i) EXPECT_EQ(keys[i], i % 2 ? kB : kC) << i;
  for (const auto& bytes : rig.BytesSince()) EXPECT_NE(bytes[0] == 0xF0 && bytes[1] == 0x43, true);
  EXPECT_TRUE(rig.midi->Playing());
}

TEST_F(Scheduler, LoopAtCuePoints) {
  Start(LoopPiece(0x07, "repeat", 100, "end", 300), true);
  rig.Step(32);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 100u);
  rig.Step(60);
  const auto keys = KeysPlayed(rig);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), kD), 0);
  EXPECT_EQ(keys[0], kA);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), kA), 1);
}

TEST_F(Scheduler, MarkTextsAreExactAndKindSpecific) {
  // A cue-point text in a marker and a different case do not loop.
  Track marks;
  marks.Marker(50, "repeatstart").Marker(0, "repeat").Cue(50, "RepeatEnd").Marker(0, "end").End();
  Start(Smf({marks, Track().Note(0, 0, kA, 1).Note(300, 0, kE, 1).End()}), true);
  rig.Step(20);
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA}));
  rig.Step(12);  // past 300, then the end of the piece loops to the beginning
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kE}));
  rig.Step();
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kE, kA}));
}

TEST_F(Scheduler, LoopEndIgnoredWithoutRepeat) {
  Start(LoopPiece(0x06, "RepeatStart", 100, "RepeatEnd", 300), false);
  rig.Step(41);
  EXPECT_TRUE(rig.midi->Playing());
  rig.Step();  // 403: E is sent and every list is done
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kB, kC, kD, kE}));
}

TEST_F(Scheduler, LoopStartIsLearntWhilePlaying) {
  // The loop start comes after the loop end: never passed, so the loop goes
  // back to the beginning.
  Start(LoopPiece(0x06, "RepeatStart", 350, "RepeatEnd", 300), true);
  rig.Step(32);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 0u);
  rig.Step();
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kB, kC, kA}));
}

TEST_F(Scheduler, EndOfPieceLoopsToTheLastLoopStartPassed) {
  Track marks;
  marks.Marker(100, "RepeatStart").End();
  Start(Smf({marks, Track().Note(0, 0, kA, 1).Note(100, 0, kB, 1).Note(100, 0, kC, 1).End()}), true);
  rig.Step(21);  // 201: C sent, all lists done, back to 100
  EXPECT_EQ(rig.midi->GetDeltaTime(), 100u);
  rig.Step();
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kB, kC, kB}));
}

TEST_F(Scheduler, LoopStartAtTickZeroIsLikeNone) {
  Track marks;
  marks.Marker(0, "RepeatStart").Marker(100, "RepeatEnd").End();
  Start(Smf({marks, Track().Note(0, 0, kA, 1).Note(50, 0, kB, 1).End()}), true);
  rig.Step(11);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 0u);
  rig.Step();
  EXPECT_EQ(KeysPlayed(rig), (std::vector<int>{kA, kB, kA}));
}

TEST_F(Scheduler, JumpToLoopStartTakesTempoButSendsNothingBeforeIt) {
  Track marks;
  marks.Tempo(50, 250000).Marker(50, "RepeatStart").Tempo(100, 500000).Marker(100, "RepeatEnd").End();
  Track notes;
  notes.Event(0, {0xC0, 5}).Event(60, {0xB0, 10, 20}).Note(40, 0, kB, 1).End();
  Start(Smf({marks, notes}), true);
  while (rig.midi->GetMusicTempo() != 500000 || rig.midi->GetDeltaTime() < 250) rig.Step();
  const std::size_t before = rig.Count();
  while (rig.midi->GetDeltaTime() >= 250) rig.Step();  // the loop is taken
  EXPECT_EQ(rig.midi->GetDeltaTime(), 100u);
  EXPECT_EQ(rig.midi->GetMusicTempo(), 250000u);
  rig.Step();
  EXPECT_EQ(rig.BytesSince(before), (std::vector<std::vector<std::uint8_t>>{ShortBytes(0x90, kB, 1)}));
}

TEST_F(Scheduler, EndOfPieceWithoutRepeatStopsAndNotifies) {
  Start(Smf({Track().Note(0, 0, kA, 1).End()}), false);
  rig.Step();
  EXPECT_FALSE(rig.midi->Playing());
}

// A long piece: one note at 0, one near the end, volume 80 on channel 3.
Bytes LongPiece() {
  Track track;
  track.Event(0, {0xB3, 7, 80}).Note(0, 0, kA, 100).Note(100000, 0, kE, 1).End();
  return Smf({track});
}

// The volume messages sent so far, as (channel, value) in sending order.
std::vector<std::pair<int, int>> VolumesSent(const MidiRig& rig, std::size_t from) {
  std::vector<std::pair<int, int>> volumes;
  for (const auto& bytes : rig.BytesSince(from)) {
    if (bytes.size() == 3 && (bytes[0] & 0xF0) == 0xB0 && bytes[1] == 7)
      volumes.emplace_back(bytes[0] & 15, bytes[2]);
  }
  return volumes;
}

TEST_F(Scheduler, FadeSendsVolumesEvery32ndStepAndEndsThePieceEvenWithRepeat) {
  Start(LongPiece(), true);
  rig.Step();
  rig.midi->SetFadeOut(3500);
  const std::size_t before = rig.Count();
  rig.Step();
  auto volumes = VolumesSent(rig, before);
  ASSERT_EQ(volumes.size(), 16u);
  for (int ch = 0; ch < 16; ++ch) {
    EXPECT_EQ(volumes[ch].first, ch);
    // 1 - 10/3500 of the recorded volume, truncated.
    EXPECT_EQ(volumes[ch].second, ch == 3 ? 79 : 99);
  }
  rig.Step(31);
  EXPECT_EQ(VolumesSent(rig, before).size(), 16u);
  rig.Step();  // the 33rd fade step
  volumes = VolumesSent(rig, before);
  ASSERT_EQ(volumes.size(), 32u);
  EXPECT_EQ(volumes[16].second, 90);  // 100 x (1 - 330/3500)
  EXPECT_EQ(volumes[19].second, 72);

  rig.Step(349 - 33);
  EXPECT_TRUE(rig.midi->Playing());
  rig.Step();  // 3500 ms of fade: no time is left
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(VolumesSent(rig, before).size(), 16u * 11);  // fade steps 0, 32, ..., 320
}

TEST_F(Scheduler, SecondFadeDoesNotRestartOrShortenTheFirst) {
  Start(LongPiece(), false);
  rig.midi->SetFadeOut(1000);
  rig.Step(50);
  rig.midi->SetFadeOut(100);
  rig.Step(49);
  EXPECT_TRUE(rig.midi->Playing());
  rig.Step();
  EXPECT_FALSE(rig.midi->Playing());
}

TEST_F(Scheduler, FadeOfZeroOrLessStartsNothing) {
  Start(LongPiece(), false);
  rig.Step();
  const std::size_t before = rig.Count();
  rig.midi->SetFadeOut(0);
  rig.midi->SetFadeOut(-100);
  rig.Step(40);
  EXPECT_TRUE(rig.midi->Playing());
  EXPECT_TRUE(VolumesSent(rig, before).empty());
}

TEST_F(Scheduler, MusicVolumeDuringAFadeIsSentWholeButNotRecorded) {
  Track track;
  track.Note(0, 0, kA, 100).Event(100, {0xB0, 7, 120}).Note(100000, 0, kE, 1).End();
  Start(Smf({track}), false);
  rig.midi->SetFadeOut(10000);
  rig.Step();  // fade step 0: 100 x (1 - 10/10000)
  const std::size_t before = rig.Count();
  rig.Step(31);
  EXPECT_EQ(VolumesSent(rig, before).front(), (std::pair<int, int>{0, 120}));
  rig.Step();  // fade step 32: still from the recorded 100
  EXPECT_EQ(VolumesSent(rig, before)[1], (std::pair<int, int>{0, 96}));
  TMorvaneMidiChannel channels[16];
  rig.midi->GetChannelData(channels);
  EXPECT_EQ(channels[0].Volume, 100);
}

}  // namespace
