// Channel records, the user queue, and the fixed reset and GS messages.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "midi_rig.h"

namespace {

using namespace midi_test;

using ByteList = std::vector<std::vector<std::uint8_t>>;

class Channels : public ::testing::Test {
 protected:
  // The reported records.
  std::array<TMorvaneMidiChannel, 16> Reported() {
    std::array<TMorvaneMidiChannel, 16> channels{};
    rig.midi->GetChannelData(channels.data());
    return channels;
  }
  // Plays the messages through the scheduler, one tick each, and waits
  // until all went out.
  void PlayMessages(const std::vector<std::array<std::uint8_t, 3>>& messages) {
    Track track;
    for (const auto& m : messages) {
      if ((m[0] & 0xE0) == 0xC0) {
        track.Event(0, {m[0], m[1]});  // program change, channel pressure
      } else {
        track.Event(0, {m[0], m[1], m[2]});
      }
    }
    track.Event(0, {0xFF, 0x06, 0x00}).Event(1000, {0xFF, 0x06, 0x00}).End();  // keeps the piece going
    rig.Add("piece" + std::to_string(++pieces), Smf({track}));
    rig.midi->Play("piece" + std::to_string(pieces), false);
    rig.Step();
  }

  MidiRig rig;
  int pieces = 0;
};

TEST_F(Channels, DefaultsAfterResetKeepTheProgram) {
  PlayMessages({{0xC2, 33, 0}, {0xB2, 10, 5}, {0xB2, 7, 20}});
  EXPECT_EQ(Reported()[2].Program, 33);
  rig.midi->Reset();
  const auto channels = Reported();
  for (int ch = 0; ch < 16; ++ch) {
    EXPECT_EQ(channels[ch],
              (TMorvaneMidiChannel{0, static_cast<std::uint8_t>(ch == 2 ? 33 : 0), 100, 64, 127, 40, 0, 0}))
        << ch;
  }
}

TEST_F(Channels, MessagesFromTheMusicUpdateTheRecords) {
  PlayMessages({{0xC5, 40, 0},
                {0xB5, 7, 90},
                {0xB5, 10, 11},
                {0xB5, 11, 12},
                {0xB5, 91, 13},
                {0xB5, 93, 14},
                {0xB5, 94, 15},
                {0xB5, 1, 99},  // modulation: not followed
                {0x95, 60, 77}});
  // One step of decay runs before the messages go out.
  EXPECT_EQ(Reported()[5], (TMorvaneMidiChannel{77, 40, 90, 11, 12, 13, 14, 15}));
  rig.Step();
  EXPECT_EQ(Reported()[5].Level, 73);
}

TEST_F(Channels, LevelRisesToLouderNotesOnlyAndDecaysByFour) {
  PlayMessages({{0x90, 60, 6}, {0x90, 61, 5}, {0x90, 62, 0}});
  EXPECT_EQ(Reported()[0].Level, 6);  // neither a softer note nor velocity 0 lowers it
  rig.Step();
  EXPECT_EQ(Reported()[0].Level, 2);
  rig.Step();
  EXPECT_EQ(Reported()[0].Level, 0);
}

TEST_F(Channels, WithReportOffOnlyTheVolumeIsRecorded) {
  rig.midi->SetReport(false);
  PlayMessages({{0xC1, 40, 0}, {0xB1, 7, 90}, {0xB1, 10, 11}, {0x91, 60, 77}});
  try {
    TMorvaneMidiChannel untouched[16] = {};
    untouched[0].Level = 200;
    rig.midi->GetChannelData(untouched);
    FAIL() << "no exception";
  } catch (const EMvMidi& error) {
    EXPECT_EQ(error.Message, "TMorvaneMidi エラー\n\nReportプロパティは、falseになっています。");
  }
  rig.midi->SetReport(true);
  rig.Step();  // the reported copy is refreshed from the working records
  EXPECT_EQ(Reported()[1], (TMorvaneMidiChannel{0, 0, 90, 64, 127, 40, 0, 0}));
}

TEST_F(Channels, ImmediateUserMessagesGoOutInTheOrderQueued) {
  rig.midi->ProgramChange(0, 5);
  rig.midi->NoteOn(0, 60, 100, 0xFFFFFFFF);
  rig.midi->ControlChange(0, 64, 127);
  rig.Step();
  EXPECT_EQ(rig.BytesSince(),
            (ByteList{ShortBytes(0xC0, 5, 0), ShortBytes(0x90, 60, 100), ShortBytes(0xB0, 64, 127)}));
}

TEST_F(Channels, UserMessagesAreSentWithoutAPiece) {
  rig.midi->NoteOff(3, 61);
  rig.midi->ChannelPressure(4, 50);
  rig.midi->PitchBend(0, 64);  // the value is the low 7 bits: far below the centre
  rig.Step();
  EXPECT_EQ(rig.BytesSince(),
            (ByteList{ShortBytes(0x83, 61, 0), ShortBytes(0xD4, 50, 0), ShortBytes(0xE0, 64, 0)}));
  EXPECT_FALSE(rig.midi->Playing());
}

TEST_F(Channels, NoteOffFollowsAfterTheDuration) {
  rig.midi->NoteOn(2, 64, 90, 100);
  rig.Step();
  const auto on = rig.SentSince();
  ASSERT_EQ(on.size(), 1u);
  rig.Step(9);
  EXPECT_EQ(rig.SentSince().size(), 1u);
  rig.Step();  // the countdown has fallen to 0, below the step's 10 ms
  const auto sent = rig.SentSince();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].bytes, ShortBytes(0x82, 64, 0));
  EXPECT_EQ(sent[1].time - on[0].time, 100u);
}

TEST_F(Channels, ZeroDurationSendsTheNoteOffAfterTheNoteOn) {
  rig.midi->NoteOn(0, 60, 100, 0);
  rig.Step();
  EXPECT_EQ(rig.BytesSince(), (ByteList{ShortBytes(0x90, 60, 100), ShortBytes(0x80, 60, 0)}));
}

TEST_F(Channels, NoteOffsKeepTheirTimeOrderAmongQueuedMessages) {
  rig.midi->NoteOn(0, 60, 100, 50);
  rig.midi->NoteOn(0, 62, 100, 20);
  rig.midi->NoteOn(0, 64, 100, 20);
  rig.Step(6);
  EXPECT_EQ(rig.BytesSince(),
            (ByteList{ShortBytes(0x90, 60, 100), ShortBytes(0x90, 62, 100), ShortBytes(0x90, 64, 100),
                      ShortBytes(0x80, 62, 0), ShortBytes(0x80, 64, 0), ShortBytes(0x80, 60, 0)}));
}

TEST_F(Channels, ChannelArgumentsAreTakenModulo16) {
  rig.midi->NoteOn(17, 60, 100, 0xFFFFFFFF);
  rig.midi->ControlChange(0xFF, 7, 1);
  rig.Step();
  EXPECT_EQ(rig.BytesSince(), (ByteList{ShortBytes(0x91, 60, 100), ShortBytes(0xBF, 7, 1)}));
}

TEST_F(Channels, UserMessagesUpdateTheRecordsToo) {
  rig.midi->ProgramChange(9, 16);
  rig.midi->ControlChange(9, 7, 33);
  rig.Step();
  EXPECT_EQ(Reported()[9].Program, 0);  // refreshed only by a scheduler step or Reset
  rig.midi->Reset();
  EXPECT_EQ(Reported()[9].Program, 16);
  EXPECT_EQ(Reported()[9].Volume, 100);
}

TEST_F(Channels, ShortMsgSendsThePackedMessage) {
  rig.midi->ShortMsg(TShortMessage{0, 0xB3, 91, 70});
  const auto messages = rig.out->Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].packed, 0xB3u | 91u << 8 | 70u << 16);
}

TEST_F(Channels, LongMsgSendsLengthBytesOfData) {
  rig.midi->LongMsg(TLongMessage{0, {0xF0, 1, 2, 0xF7, 9, 9}, 4});
  rig.midi->LongMsg(TLongMessage{0, {0xF0, 1}, 100});  // never past the data
  EXPECT_EQ(rig.BytesSince(), (ByteList{{0xF0, 1, 2, 0xF7}, {0xF0, 1}}));
}

TEST(GSMessagesTest, ResetsAndMacrosHaveTheirExactBytes) {
  MidiRig rig;
  rig.midi->MidiReset(mrGMSystemOn);
  rig.midi->MidiReset(mrGSReset);
  rig.midi->MidiReset(static_cast<TMidiReset>(2));  // nothing, and no error
  rig.midi->SetGSReverb(static_cast<TGSReverb>(4));
  rig.midi->SetGSChorus(static_cast<TGSChorus>(2));
  rig.midi->SetGSDelay(static_cast<TGSDelay>(0));
  rig.midi->SetGSReverb(grRoom1);
  rig.midi->SetGSDelay(gdPanRepeat);
  EXPECT_EQ(rig.BytesSince(), (ByteList{
                                  {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
                                  {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},
                                  {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x04, 0x0B, 0xF7},
                                  {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x38, 0x02, 0x05, 0xF7},
                                  {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x50, 0x00, 0x6F, 0xF7},
                                  {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x00, 0x0F, 0xF7},
                                  {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x50, 0x09, 0x66, 0xF7},
                              }));
}

// The checksum the macros carry is the Roland one for every macro number.
TEST(GSMessagesTest, MacroChecksumsAreRolandChecksums) {
  MidiRig rig;
  for (int v = 0; v <= 7; ++v) rig.midi->SetGSReverb(static_cast<TGSReverb>(v));
  for (int v = 0; v <= 7; ++v) rig.midi->SetGSChorus(static_cast<TGSChorus>(v));
  for (int v = 0; v <= 9; ++v) rig.midi->SetGSDelay(static_cast<TGSDelay>(v));
  const auto sent = rig.BytesSince();
  ASSERT_EQ(sent.size(), 26u);
  for (const auto& bytes : sent) {
    int sum = 0;
    for (int i = 5; i <= 8; ++i) sum += bytes[i];
    EXPECT_EQ(bytes[9], (128 - sum % 128) % 128);
  }
}

}  // namespace
