// The Standard MIDI File loader on files built in code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/midi/midi_data.h"
#include "smf_builder.h"

namespace {

using namespace midi_test;
using MorvaneMidiSystem::EMvMidi;
using MorvaneMidiSystem::TLongMessage;
using MorvaneMidiSystem::TMetaEvent;
using MorvaneMidiSystem::TMorvaneMidiData;
using MorvaneMidiSystem::TShortMessage;

template <class List>
auto Items(const List& list) {
  return std::vector<typename List::value_type>(list.begin(), list.end());
}

std::vector<std::string> Strings(const TStringList& list) { return {list.begin(), list.end()}; }

class SmfLoader : public ::testing::Test {
 protected:
  // Loads bytes written to a file; the file's path is returned through path.
  void Load(TMorvaneMidiData& data, const Bytes& bytes, const std::string& name = "piece.mid") {
    path = dir.Write(name, bytes);
    data.LoadFile(path);
  }
  // The message of the EMvMidi that loading raises, or "" when none is raised.
  std::string LoadError(const Bytes& bytes, TMorvaneMidiData* into = nullptr) {
    TMorvaneMidiData local;
    try {
      Load(into ? *into : local, bytes);
    } catch (const EMvMidi& error) {
      return error.Message;
    }
    return "";
  }
  std::string Expected(const std::string& text) { return "TMorvaneMidi エラー\n\n" + text + path; }

  TempDir dir;
  std::string path = (dir.Path() / "piece.mid").string();
};

TEST_F(SmfLoader, FileWithNoTracksLoadsEmpty) {
  TMorvaneMidiData data;
  Load(data, Smf({}, {.format = 0, .division = 96}));
  EXPECT_EQ(data.Format, 0u);
  EXPECT_EQ(data.Division, 96);
  EXPECT_EQ(data.Length, 0u);
  EXPECT_TRUE(data.ShortMessages.empty());
  EXPECT_TRUE(data.LongMessages.empty());
  EXPECT_TRUE(data.MetaEvents.empty());
  EXPECT_EQ(data.Texts.Count() + data.Copyrights.Count() + data.TrackNames.Count(), 0);
}

TEST_F(SmfLoader, TracksMergeByTimeWithTrackOrderThenFileOrderAtEqualTicks) {
  Track first, second;
  first.Note(10, 0, 60, 1).Note(0, 0, 61, 2).Note(20, 0, 62, 3).End();
  second.Note(5, 1, 70, 4).Note(5, 1, 71, 5).Note(20, 1, 72, 6).End(7);
  TMorvaneMidiData data;
  Load(data, Smf({first, second}));
  const std::vector<TShortMessage> expected = {
      {5, 0x91, 70, 4},  {10, 0x90, 60, 1}, {10, 0x90, 61, 2},
      {10, 0x91, 71, 5}, {30, 0x90, 62, 3}, {30, 0x91, 72, 6},
  };
  EXPECT_EQ(Items(data.ShortMessages), expected);
  EXPECT_EQ(data.Length, 37u);  // the longer track's end, End of Track's delta included
}

TEST_F(SmfLoader, RunningStatusRepeatsTheLastStatus) {
  Track track;
  track.Event(0, {0x90, 0x3C, 0x40}).Event(0, {0x3C, 0x00}).Event(4, {0xC2, 0x05}).Event(0, {0x06}).End();
  TMorvaneMidiData data;
  Load(data, Smf({track}));
  const std::vector<TShortMessage> expected = {
      {0, 0x90, 0x3C, 0x40}, {0, 0x90, 0x3C, 0x00}, {4, 0xC2, 5, 0}, {4, 0xC2, 6, 0}};
  EXPECT_EQ(Items(data.ShortMessages), expected);
}

TEST_F(SmfLoader, DataBytesPerStatus) {
  Track track;
  track.Event(0, {0x80, 1, 2})
      .Event(0, {0xA3, 3, 4})
      .Event(0, {0xB4, 7, 100})
      .Event(0, {0xC5, 9})
      .Event(0, {0xD6, 10})
      .Event(0, {0xE7, 11, 12})
      .Event(0, {0xF2, 13, 14})
      .End();
  TMorvaneMidiData data;
  Load(data, Smf({track}));
  const std::vector<TShortMessage> expected = {{0, 0x80, 1, 2},  {0, 0xA3, 3, 4},  {0, 0xB4, 7, 100},
                                               {0, 0xC5, 9, 0},  {0, 0xD6, 10, 0}, {0, 0xE7, 11, 12},
                                               {0, 0xF2, 13, 14}};
  EXPECT_EQ(Items(data.ShortMessages), expected);
}

TEST_F(SmfLoader, TrackEndsAtEndOfTrackOrAtTheEndOfItsChunk) {
  Track stops, runsOn;
  stops.Note(1, 0, 60, 90).End(2).Note(3, 0, 61, 90);  // after End of Track: ignored
  runsOn.Note(4, 1, 62, 90).Note(100, 1, 63, 90);      // no End of Track at all
  TMorvaneMidiData data;
  Load(data, Smf({stops, runsOn}));
  const std::vector<TShortMessage> expected = {{1, 0x90, 60, 90}, {4, 0x91, 62, 90}, {104, 0x91, 63, 90}};
  EXPECT_EQ(Items(data.ShortMessages), expected);
  EXPECT_EQ(data.Length, 104u);
}

TEST_F(SmfLoader, SystemExclusiveKeepsItsStatusAndBytes) {
  Track track;
  track.SysEx(0, 0xF0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).SysEx(10, 0xF7, {0x43, 0x12}).End();
  TMorvaneMidiData data;
  Load(data, Smf({track}));
  const std::vector<TLongMessage> expected = {{0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, 6},
                                              {10, {0xF7, 0x43, 0x12}, 3}};
  EXPECT_EQ(Items(data.LongMessages), expected);
}

TEST_F(SmfLoader, MetaEventsTextsAndTimeSignature) {
  Track first, second;
  first.Meta(0, 0x03, "Title")
      .Meta(0, 0x02, "(c) Someone")
      .Tempo(0, 500000)
      .Meta(0, 0x58, std::string("\x04\x02\x18\x08", 4))
      .Meta(0, 0x01, "first text")
      .Marker(480, "RepeatStart")
      .Meta(0, 0x05, "la")
      .Meta(0, 0x21, std::string("\x00", 1))  // port: ignored
      .Meta(0, 0x7F, "vendor")                // sequencer specific: ignored
      .Cue(960, "end")
      .End();
  second.Meta(0, 0x03, "Bass")
      .Tempo(240, 400000)
      .Meta(0, 0x58, std::string("\x03\x03\x0C\x08", 4))
      .Meta(0, 0x01, "second")
      .End();
  TMorvaneMidiData data;
  Load(data, Smf({first, second}));
  const std::vector<TMetaEvent> expected = {
      {0, 0x51, 500000, ""}, {240, 0x51, 400000, ""}, {480, 0x06, 0, "RepeatStart"},
      {480, 0x05, 0, "la"},  {1440, 0x07, 0, "end"},
  };
  EXPECT_EQ(Items(data.MetaEvents), expected);
  EXPECT_EQ(Strings(data.TrackNames), (std::vector<std::string>{"Title", "Bass"}));
  EXPECT_EQ(Strings(data.Copyrights), (std::vector<std::string>{"(c) Someone"}));
  EXPECT_EQ(Strings(data.Texts), (std::vector<std::string>{"first text", "second"}));
  // The last Time Signature parsed wins.
  EXPECT_EQ(data.TimeSigNumerator, 3u);
  EXPECT_EQ(data.TimeSigDenominator, 3u);
  EXPECT_EQ(data.TimeSigClocks, 12u);
}

TEST_F(SmfLoader, TextsStopAtTheirFirstZeroAndAt255Bytes) {
  const std::string longText(300, 'x');
  Track track;
  track.Meta(0, 0x01, longText)
      .Meta(0, 0x03, std::string("name\0rest", 9))
      .Marker(5, std::string(256, 'm'))
      .End();
  TMorvaneMidiData data;
  Load(data, Smf({track}));
  EXPECT_EQ(data.Texts[0], std::string(255, 'x'));
  EXPECT_EQ(data.TrackNames[0], "name");
  EXPECT_EQ(data.MetaEvents.front().Text, std::string(255, 'm'));
}

TEST_F(SmfLoader, ShortTempoPayloadCountsMissingBytesAsZero) {
  Track track;
  track.Meta(0, 0x51, std::string("\x07\xA1", 2)).Meta(0, 0x58, "").End();
  TMorvaneMidiData data;
  data.TimeSigNumerator = 9;
  Load(data, Smf({track}));
  ASSERT_EQ(data.MetaEvents.size(), 1u);
  EXPECT_EQ(data.MetaEvents.front().Value, 0x07A100u);
  EXPECT_EQ(data.TimeSigNumerator, 0u);
}

TEST_F(SmfLoader, TimeCodeDivisionIsAPlainNumber) {
  TMorvaneMidiData data;
  Load(data, Smf({Track().End()}, {.division = 0xE728}));
  EXPECT_EQ(data.Division, 59176);
}

TEST_F(SmfLoader, FormatOneAndZeroAlike) {
  Track a, b;
  a.Note(0, 0, 60, 1).End();
  b.Note(0, 1, 61, 1).End();
  TMorvaneMidiData zero, one;
  Load(zero, Smf({a, b}, {.format = 0}));
  Load(one, Smf({a, b}, {.format = 1}));
  EXPECT_EQ(Items(zero.ShortMessages), Items(one.ShortMessages));
  EXPECT_EQ(zero.ShortMessages.size(), 2u);
}

TEST_F(SmfLoader, LoadingTwiceGivesEqualLists) {
  Track track;
  track.Tempo(0, 600000).SysEx(0, 0xF0, {1, 2, 0xF7}).Note(3, 2, 64, 80).Cue(7, "repeat").End();
  TMorvaneMidiData first, second;
  Load(first, Smf({track, track}));
  Load(second, Smf({track, track}));
  EXPECT_EQ(Items(first.ShortMessages), Items(second.ShortMessages));
  EXPECT_EQ(Items(first.LongMessages), Items(second.LongMessages));
  EXPECT_EQ(Items(first.MetaEvents), Items(second.MetaEvents));
  EXPECT_EQ(first.ShortMessages.size(), 2u);
}

TEST_F(SmfLoader, LoadingAgainReplacesTheListsButKeepsNothingOld) {
  TMorvaneMidiData data;
  Load(data, Smf({Track().Note(0, 0, 1, 1).Meta(0, 0x01, "a").End()}));
  Load(data, Smf({Track().Note(0, 0, 2, 1).End()}));
  ASSERT_EQ(data.ShortMessages.size(), 1u);
  EXPECT_EQ(data.ShortMessages.front().Data1, 2);
  EXPECT_EQ(data.Texts.Count(), 0);
}

TEST_F(SmfLoader, ClearEmptiesTheListsAndKeepsTheNumbers) {
  TMorvaneMidiData data;
  Load(data, Smf({Track().Note(9, 0, 1, 1).Meta(0, 0x03, "t").End()}, {.division = 120}));
  data.Clear();
  EXPECT_TRUE(data.ShortMessages.empty());
  EXPECT_EQ(data.TrackNames.Count(), 0);
  EXPECT_EQ(data.Division, 120);
  EXPECT_EQ(data.Length, 9u);
}

// Every way an event can run past its chunk ends the track there; what came
// before stays.
TEST_F(SmfLoader, TruncatedEventsEndTheirTrack) {
  const std::vector<Bytes> cutEvents = {
      {0x81},                              // delta time cut short
      {0x00, 0x90, 0x3C},                  // one data byte missing
      {0x00, 0xC0},                        // program number missing
      {0x00, 0xF0, 0x05, 1, 2},            // SysEx shorter than its length
      {0x00, 0xF0, 0x8F},                  // SysEx length cut short
      {0x00, 0xFF, 0x01, 0x04, 'a', 'b'},  // meta payload cut short
      {0x00, 0xFF},                        // meta type missing
      {0x00, 0xFF, 0x51, 0xFF},            // meta length cut short
  };
  for (const auto& cut : cutEvents) {
    Track track;
    track.Note(2, 0, 60, 100).Raw(cut);
    Track other;
    other.Note(1, 1, 50, 100).End();
    TMorvaneMidiData data;
    Load(data, Smf({track, other}));
    EXPECT_EQ(data.ShortMessages.size(), 2u) << testing::PrintToString(cut);
    EXPECT_TRUE(data.LongMessages.empty());
    EXPECT_TRUE(data.Texts.Count() == 0 && data.MetaEvents.empty());
  }
}

TEST_F(SmfLoader, RunningTimePast32BitsEndsTheTrack) {
  Track track;
  for (int i = 0; i < 16; ++i) track.Note(0x0FFFFFFF, 0, 60, 1);  // up to 0xFFFFFFF0
  track.Note(0x10, 0, 61, 1).Note(0, 0, 62, 1).End();
  TMorvaneMidiData data;
  Load(data, Smf({track}));
  ASSERT_EQ(data.ShortMessages.size(), 16u);
  EXPECT_EQ(data.ShortMessages.back().Time, 0xFFFFFFF0u);
  EXPECT_EQ(data.Length, 0xFFFFFFF0u);
}

TEST_F(SmfLoader, TrackWithoutAStatusToRunOnEndsAtOnce) {
  Track bad, good;
  bad.Event(0, {0x3C, 0x40}).Note(0, 0, 60, 1);
  good.Note(0, 1, 61, 1).End();
  TMorvaneMidiData data;
  Load(data, Smf({bad, good}));
  ASSERT_EQ(data.ShortMessages.size(), 1u);
  EXPECT_EQ(data.ShortMessages.front().Status, 0x91);
}

TEST_F(SmfLoader, StatusAfterAMetaEventRunsOnAsMeta) {
  // FF is remembered like any status: the next event without one is a meta
  // event whose type is its first byte.
  Track track;
  track.Meta(0, 0x01, "a").Event(0, {0x01, 0x01, 'b'}).End();
  TMorvaneMidiData data;
  Load(data, Smf({track}));
  EXPECT_EQ(Strings(data.Texts), (std::vector<std::string>{"a", "b"}));
}

TEST_F(SmfLoader, MissingSourceIsReported) {
  TMorvaneMidiData data;
  path = (dir.Path() / "nothing.mid").string();
  try {
    data.LoadFile(path);
    FAIL() << "no exception";
  } catch (const EMvMidi& error) {
    EXPECT_EQ(error.Message, Expected("MIDIの読み込みに失敗しました。\nファイル名："));
  }
}

TEST_F(SmfLoader, HeaderErrors) {
  const std::string header = "ファイルヘッダが不正です。\nファイル名：";
  Bytes shortHeader = Smf({});
  shortHeader.resize(13);
  EXPECT_EQ(LoadError(shortHeader), Expected(header));
  Bytes wrongTag = Smf({});
  wrongTag[3] = 'D';
  EXPECT_EQ(LoadError(wrongTag), Expected(header));
  EXPECT_EQ(LoadError({}), Expected(header));
  EXPECT_EQ(LoadError(Smf({}, {.format = 2})),
            Expected("SMFFormat0またはSMFFormat1ではありません。\nファイル名："));
}

TEST_F(SmfLoader, TrackHeaderErrors) {
  const std::string trackHeader = "トラックヘッダが不正です。\nファイル名：";
  Bytes tooFew = Smf({Track().End()});
  tooFew.resize(14 + 7);
  EXPECT_EQ(LoadError(tooFew), Expected(trackHeader));
  // Other chunk types are not skipped where a track is expected.
  Bytes otherChunk = Smf({Track().End()});
  otherChunk[14 + 3] = 'x';
  EXPECT_EQ(LoadError(otherChunk), Expected(trackHeader));
  // More tracks announced than present.
  EXPECT_EQ(LoadError(Smf({Track().End()}, {.announcedTracks = 2})), Expected(trackHeader));
  // A header length of 10: its four extra bytes are read as the track header.
  Bytes longHeader = Smf({}, {.headerLength = 10});
  longHeader.insert(longHeader.end(), {0, 0, 0, 0});
  const Bytes chunk = TrackChunk(Track().End().body, 4);
  longHeader.insert(longHeader.end(), chunk.begin(), chunk.end());
  longHeader[11] = 1;  // one track
  EXPECT_EQ(LoadError(longHeader), Expected(trackHeader));
}

TEST_F(SmfLoader, TrackBodyShorterThanAnnouncedIsReported) {
  const std::string dataError = "ファイルデータが不正です。\nファイル名：";
  Bytes cut = Smf({Track().Note(0, 0, 60, 1).End()});
  cut.pop_back();
  EXPECT_EQ(LoadError(cut), Expected(dataError));
  // A length far beyond the file is refused before anything is allocated.
  Bytes huge = Smf({}, {.announcedTracks = 1});
  const Bytes chunk = TrackChunk({}, 0xFFFFFFFF);
  huge.insert(huge.end(), chunk.begin(), chunk.end());
  EXPECT_EQ(LoadError(huge), Expected(dataError));
}

TEST_F(SmfLoader, TracksMergedBeforeAFailureStay) {
  Bytes bytes = Smf({Track().Note(0, 0, 60, 1).End(), Track().Note(0, 1, 61, 1).End()});
  bytes.resize(bytes.size() - 2);
  TMorvaneMidiData data;
  EXPECT_NE(LoadError(bytes, &data), "");
  ASSERT_EQ(data.ShortMessages.size(), 1u);
  EXPECT_EQ(data.ShortMessages.front().Status, 0x90);
}

TEST_F(SmfLoader, EitherPathSeparatorOpensTheFile) {
  dir.Write("mid/m0.mid", Smf({Track().Note(0, 0, 60, 1).End()}));
  TMorvaneMidiData data;
  data.LoadFile((dir.Path() / "mid").string() + "\\m0.mid");
  EXPECT_EQ(data.ShortMessages.size(), 1u);
}

TEST_F(SmfLoader, ProgramResourceOfTypeMidiComesFirst) {
  // Built into this test program from tests/library/midi/corpus; no such file exists.
  TMorvaneMidiData data;
  data.LoadFile("embedded\\loop.mid");
  EXPECT_FALSE(data.ShortMessages.empty());
  EXPECT_EQ(data.Division, 480);
}

TEST_F(SmfLoader, ReadTrackParsesABareChunkBody) {
  TMorvaneMidiData data;
  const Bytes body = Track().Note(3, 4, 5, 6).End(1).body;
  data.ReadTrack(body.data(), static_cast<std::uint32_t>(body.size()));
  ASSERT_EQ(data.ShortMessages.size(), 1u);
  EXPECT_EQ(data.ShortMessages.front(), (TShortMessage{3, 0x94, 5, 6}));
  EXPECT_EQ(data.Length, 4u);
}

}  // namespace
