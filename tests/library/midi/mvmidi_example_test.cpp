// Runs the mvmidi example on pieces built here and reads what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "smf_builder.h"
#include "tests/support/program_run.h"

namespace {

using namespace midi_test;

ProgramRun mvmidi(const TempDir& dir, const std::string& arguments) {
  const std::string errFile = (dir.Path() / "stderr.txt").string();
  return RunProgram(std::string(MVMIDI_PROGRAM) + " " + arguments, errFile);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Two tracks at 96 ticks per quarter note, with every kind of record.
Bytes Piece() {
  Track conductor, notes;
  conductor.Meta(0, 0x03, "Song")
      .Meta(0, 0x02, "(c) us")
      .Tempo(0, 400000)
      .Meta(0, 0x58, std::string("\x03\x02\x18\x08", 4));
  conductor.Marker(96, "RepeatStart")
      .Cue(0, "here")
      .Meta(0, 0x01, "a text")
      .Tempo(96, 600000)
      .Marker(96, "RepeatEnd")
      .End();
  notes.Meta(0, 0x03, "Lead").Event(0, {0xC0, 19}).SysEx(0, 0xF0, {0x41, 0x10, 0xF7}).Note(0, 0, 60, 100);
  notes.Event(48, {0x80, 60, 0}).Event(0, {0xE0, 0, 64}).Note(240, 0, 62, 90).Note(48, 0, 62, 0).End();
  return Smf({conductor, notes}, {.division = 96});
}

TEST(MvmidiExample, DumpPrintsEveryRecordInListOrder) {
  TempDir dir;
  const auto file = dir.Write("piece.mid", Piece());
  const ProgramRun run = mvmidi(dir, "dump " + file);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                "S 0 c0 13 00",
                                "S 0 90 3c 64",
                                "S 48 80 3c 00",
                                "S 48 e0 00 40",
                                "S 288 90 3e 5a",
                                "S 336 90 3e 00",
                                "L 0 f0 41 10 f7",
                                "M 0 51 400000 ",
                                "M 96 06 0 RepeatStart",
                                "M 96 07 0 here",
                                "M 192 51 600000 ",
                                "M 288 06 0 RepeatEnd",
                            }));
}

TEST(MvmidiExample, InfoDescribesThePiece) {
  TempDir dir;
  const auto file = dir.Write("piece.mid", Piece());
  const ProgramRun run = mvmidi(dir, "info " + file);
  EXPECT_EQ(run.status, 0) << run.err;
  // 192 ticks at 0.4 s per beat, then 144 at 0.6 s.
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                "format: 1",
                                "tracks: 2",
                                "division: 96 ticks per quarter note",
                                "length: 336 ticks, 1.700 s",
                                "time signature: 3/4, 24 clocks per click",
                                "events: 6 channel, 1 system exclusive, 5 meta",
                                "tempo changes: 2",
                                "  0  400000 us per quarter note (150.00 bpm)",
                                "  192  600000 us per quarter note (100.00 bpm)",
                                "markers: 2",
                                "  96  RepeatStart",
                                "  288  RepeatEnd",
                                "cue points: 1",
                                "  96  here",
                                "texts: 1",
                                "  a text",
                                "copyrights: 1",
                                "  (c) us",
                                "track names: 2",
                                "  Song",
                                "  Lead",
                            }));
}

TEST(MvmidiExample, PlayLogsEveryMessageWithItsTime) {
  TempDir dir;
  Track track;
  track.Tempo(0, 250000).Note(0, 9, 36, 100).Event(96, {0xC1, 5}).Note(0, 1, 70, 80).Note(96, 1, 70, 0).End();
  const auto file = dir.Write("short.mid", Smf({track}, {.division = 96}));
  const ProgramRun run = mvmidi(dir, "play " + file + " --null --log");
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<long> times;
  std::vector<std::string> messages;
  for (const auto& line : Lines(run.out)) {
    const auto space = line.find(' ');
    ASSERT_NE(space, std::string::npos) << line;
    times.push_back(std::stol(line.substr(0, space)));
    messages.push_back(line.substr(space + 1));
  }
  EXPECT_EQ(messages, (std::vector<std::string>{"f0 7e 7f 09 01 f7", "99 24 64", "c1 05", "91 46 50",
                                                "91 46 00", "reset"}));
  ASSERT_EQ(times.size(), 6u);
  EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
  // The second beat is due at 250 ms and the third at 500 ms.
  EXPECT_GE(times[2], 240);
  EXPECT_GE(times[4], 490);
}

TEST(MvmidiExample, PlayWithRepeatAndFadeFadesOutAfterOnePass) {
  TempDir dir;
  Track track;
  track.Event(0, {0xB2, 7, 80}).Note(0, 0, 60, 100).Note(96, 0, 60, 0).End();  // 0.5 s at 120 bpm
  const auto file = dir.Write("loop.mid", Smf({track}, {.division = 96}));
  const ProgramRun run = mvmidi(dir, "play " + file + " --null --log --repeat --fade 400");
  EXPECT_EQ(run.status, 0) << run.err;
  int volumes = 0, notes = 0;
  for (const auto& line : Lines(run.out)) {
    const auto bytes = line.substr(line.find(' ') + 1);
    if (bytes.rfind("b2 07 ", 0) == 0 && bytes != "b2 07 50") ++volumes;  // channel 2 faded from 80
    if (bytes == "90 3c 64") ++notes;
  }
  EXPECT_GE(volumes, 1);
  EXPECT_GE(notes, 2);  // the piece went round at least once before it faded
}

TEST(MvmidiExample, RenderWritesTheRequestedSecondsOfAudio) {
  TempDir dir;
  const auto file = dir.Write("piece.mid", Piece());
  const auto wav = (dir.Path() / "out.wav").string();
  const ProgramRun run = mvmidi(dir, "render " + file + " " + wav + " --seconds 1");
  if (run.status != 0 && run.err.find("SoundFont") != std::string::npos) GTEST_SKIP() << run.err;
  ASSERT_EQ(run.status, 0) << run.err;
  std::ifstream in(wav, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 44u + 44100u * 4u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(bytes.substr(36, 4), "data");
  int loud = 0;
  for (std::size_t i = 44; i + 1 < bytes.size(); i += 2) {
    const auto sample = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) | bytes[i + 1] << 8);
    if (sample > 200 || sample < -200) ++loud;
  }
  EXPECT_GT(loud, 1000);  // the piano and the drum are heard
}

TEST(MvmidiExample, ErrorsPrintTheComponentsMessageAndFail) {
  TempDir dir;
  const auto missing = (dir.Path() / "missing.mid").string();
  ProgramRun run = mvmidi(dir, "info " + missing);
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.err, "TMorvaneMidi エラー\n\nMIDIの読み込みに失敗しました。\nファイル名：" + missing + "\n");

  const auto bad = dir.Write("bad.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96});
  run = mvmidi(dir, "play " + bad + " --null");
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.err, "TMorvaneMidi エラー\n\nトラックヘッダが不正です。\nファイル名：" + bad + "\n");

  EXPECT_EQ(mvmidi(dir, "sing " + bad).status, 2);
  EXPECT_EQ(mvmidi(dir, "play " + bad + " --fade").status, 2);
}

}  // namespace
