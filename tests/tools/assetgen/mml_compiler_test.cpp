#include "tools/assetgen/mml_compiler.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using assetgen::mml::Compile;
using assetgen::mml::Control;
using assetgen::mml::kDivision;
using assetgen::mml::kLoopEndGuard;
using assetgen::mml::Song;

Song one(const std::string& mml, const std::string& extraHeader = "") {
  return Compile("#track A ch=1\n" + extraHeader + "A " + mml + "\n", "test");
}

std::string keys(const Song& s, int track = 0) {
  std::string out;
  for (const auto& n : s.tracks[track].notes)
    out += std::to_string(n.key) + "@" + std::to_string(n.tick) + " ";
  return out;
}

TEST(MmlCompiler, NotesOctavesAndAccidentals) {
  const Song s = one("o4 c d e f g a b > c < c+ d- e# b- o0 c o9 c");
  EXPECT_EQ(keys(s),
            "60@0 62@480 64@960 65@1440 67@1920 69@2400 71@2880 72@3360 61@3840 61@4320 65@4800 "
            "70@5280 12@5760 120@6240 ");
}

TEST(MmlCompiler, LengthsDotsAndDefaultLength) {
  const Song s = one("c1 c2 c4. c8.. c16 c%100 l8 c c. l2. c r4 c");
  std::vector<std::uint32_t> ticks;
  for (const auto& n : s.tracks[0].notes) ticks.push_back(n.tick);
  // 1920, 960, 720, 420, 120, 100, 240, 360, 1440, rest 480
  const std::vector<std::uint32_t> expected{0, 1920, 2880, 3600, 4020, 4140, 4240, 4480, 4840, 6760};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(s.length, 6760u + 1440u);
}

TEST(MmlCompiler, GateShortensNotesButNotTheirSpacing) {
  const Song s = one("q8 c4 q4 c4 q7 c4");
  ASSERT_EQ(s.tracks[0].notes.size(), 3u);
  EXPECT_EQ(s.tracks[0].notes[0].duration, 480u);
  EXPECT_EQ(s.tracks[0].notes[1].duration, 240u);
  EXPECT_EQ(s.tracks[0].notes[2].duration, 420u);
  EXPECT_EQ(s.tracks[0].notes[2].tick, 960u);
}

TEST(MmlCompiler, TiesJoinNotesOfOneKeyAndSlurOthers) {
  const Song s = one("q4 c4&c4 d4 c4^8 e4&f4");
  const auto& n = s.tracks[0].notes;
  ASSERT_EQ(n.size(), 5u);
  EXPECT_EQ(n[0].key, 60);
  EXPECT_EQ(n[0].duration, 480u);  // 960 written, gate 4/8
  EXPECT_EQ(n[1].tick, 960u);
  EXPECT_EQ(n[2].duration, 360u);  // 720 written
  EXPECT_EQ(n[3].key, 64);
  EXPECT_EQ(n[3].duration, 480u);  // slurred into f: sounds in full
  EXPECT_EQ(n[4].key, 65);
  EXPECT_EQ(n[4].duration, 240u);
}

TEST(MmlCompiler, RestsAdvanceTimeAndBreakTies) {
  const Song s = one("c4 r4 r8^8 c4");
  ASSERT_EQ(s.tracks[0].notes.size(), 2u);
  EXPECT_EQ(s.tracks[0].notes[1].tick, 1440u);
  EXPECT_THROW(one("c4 r4 & c4"), assetgen::mml::Error);
}

TEST(MmlCompiler, RepeatsWithBreakAndNesting) {
  EXPECT_EQ(keys(one("l4 [c d : e]3 f")),
            "60@0 62@480 64@960 60@1440 62@1920 64@2400 60@2880 62@3360 65@3840 ");
  EXPECT_EQ(keys(one("l4 [c [d]2]2")), "60@0 62@480 62@960 60@1440 62@1920 62@2400 ");
  EXPECT_EQ(keys(one("l4 [c]")), "60@0 60@480 ");
  EXPECT_THROW(one("[c d"), assetgen::mml::Error);
  EXPECT_THROW(one("c ]2"), assetgen::mml::Error);
}

TEST(MmlCompiler, ChordsSoundTogetherAndKeepTheOctave) {
  const Song s = one("o4 'c e g > c'2 c4");
  EXPECT_EQ(keys(s), "60@0 64@0 67@0 72@0 60@960 ");
}

TEST(MmlCompiler, TransposeAndVelocity) {
  const Song s = one("K2 v90 c K-12 c");
  EXPECT_EQ(keys(s), "62@0 48@480 ");
  EXPECT_EQ(s.tracks[0].notes[0].velocity, 90);
}

TEST(MmlCompiler, TempoDirectiveAndChanges) {
  const Song s = one("c1 t60 c1", "#tempo 150\n");
  ASSERT_EQ(s.tempos.size(), 2u);
  EXPECT_DOUBLE_EQ(s.tempos[0].bpm, 150.0);
  EXPECT_EQ(s.tempos[1].tick, 1920u);
  // One bar at 150 bpm (1.6 s) and one at 60 bpm (4 s).
  EXPECT_NEAR(assetgen::mml::SecondsAt(s, s.length), 5.6, 1e-9);
  const Song plain = one("c4");
  EXPECT_DOUBLE_EQ(plain.tempos.at(0).bpm, 120.0);
}

TEST(MmlCompiler, ControlsFromDeclarationAndInline) {
  const Song s = Compile("#track A ch=3 prog=81 vol=100 pan=20\nA @5 V64 P127 E90 y91,33 c4\n", "test");
  const auto& t = s.tracks[0];
  EXPECT_EQ(t.channel, 2);
  ASSERT_EQ(t.controls.size(), 8u);
  EXPECT_EQ(t.controls[0].kind, Control::Kind::Program);
  EXPECT_EQ(t.controls[0].number, 81);
  EXPECT_EQ(t.controls[3].kind, Control::Kind::Program);
  EXPECT_EQ(t.controls[3].number, 5);
  EXPECT_EQ(t.controls[7].number, 91);
  EXPECT_EQ(t.controls[7].value, 33);
}

TEST(MmlCompiler, MacrosExpandInPlace) {
  const Song s = Compile("#track A ch=1\n!M = c d\n!N = !M e\nA l4 !N !M\n", "test");
  EXPECT_EQ(keys(s), "60@0 62@480 64@960 60@1440 62@1920 ");
  EXPECT_THROW(Compile("#track A ch=1\nA !X\n", "t"), assetgen::mml::Error);
  EXPECT_THROW(Compile("#track A ch=1\n!X = !X\nA !X\n", "t"), assetgen::mml::Error);
}

TEST(MmlCompiler, LoopStartRestatesChannelSettings) {
  const Song s = Compile("#track A ch=1 prog=10 vol=90\nA c4 V70 L d4\n", "test");
  ASSERT_TRUE(s.loopStart.has_value());
  EXPECT_EQ(*s.loopStart, 480u);
  const auto& controls = s.tracks[0].controls;
  int atLoop = 0;
  for (const auto& c : controls) {
    if (c.tick != 480) continue;
    ++atLoop;
    if (c.kind == Control::Kind::Program) {
      EXPECT_EQ(c.number, 10);
    }
    if (c.kind == Control::Kind::Controller && c.number == 7) {
      EXPECT_EQ(c.value, 70);
    }
  }
  EXPECT_EQ(atLoop, 3);  // program, volume as restated, then the written V70
}

TEST(MmlCompiler, NotesEndBeforeTheLoopEnd) {
  const Song s = Compile("#track A ch=1\n#track B ch=2\nA L q8 c1\nB L q8 c2 d2\n", "test");
  for (const auto& t : s.tracks)
    for (const auto& n : t.notes) EXPECT_LE(n.tick + n.duration, s.length - kLoopEndGuard);
  EXPECT_EQ(s.tracks[1].notes[0].duration, 960u);  // untouched away from the end
}

TEST(MmlCompiler, ReportsErrorsWithTheirLine) {
  try {
    Compile("#track A ch=1\n\nA c4 x4\n", "song.mml");
    FAIL() << "no error";
  } catch (const assetgen::mml::Error& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_NE(std::string(e.what()).find("song.mml:3"), std::string::npos);
  }
  EXPECT_THROW(Compile("#track A ch=1\n#track B ch=2\nA c4\nB c2\n", "t"), assetgen::mml::Error);
  EXPECT_THROW(one("c7"), assetgen::mml::Error);
  EXPECT_THROW(one("o9 b"), assetgen::mml::Error);
  EXPECT_THROW(one("[L c]2"), assetgen::mml::Error);
  EXPECT_THROW(Compile("#track A ch=1\n#track B ch=2\nA L c4 c4\nB c4 L c4\n", "t"), assetgen::mml::Error);
  EXPECT_THROW(Compile("#track A ch=17\nA c\n", "t"), assetgen::mml::Error);
  EXPECT_THROW(Compile("B c\n#track A ch=1\n", "t"), assetgen::mml::Error);
  EXPECT_THROW(one("c4 L"), assetgen::mml::Error);  // loop start at the end
}

TEST(MmlCompiler, HostileSourcesFailFast) {
  EXPECT_THROW(one("[[[[c]256]256]256]256"), assetgen::mml::Error);
  EXPECT_THROW(one("[[[[r1]256]256]256]256"), assetgen::mml::Error);
  EXPECT_THROW(one("[[[[ ]256]256]256]256"), assetgen::mml::Error);
  EXPECT_THROW(one("[[[[c : r]256]256]256]256"), assetgen::mml::Error);
  EXPECT_THROW(one("c%100000^%100000^%100000 [[r%100000]256]256"), assetgen::mml::Error);
  std::string wide = "#track A ch=1\n!M0 = c\n";
  for (int k = 1; k <= 16; ++k)
    wide += "!M" + std::to_string(k) + " = !M" + std::to_string(k - 1) + " !M" + std::to_string(k - 1) + "\n";
  EXPECT_THROW(Compile(wide + "A !M16 !M16 !M16 !M16 !M16 !M16 !M16 !M16\n", "t"), assetgen::mml::Error);
}

}  // namespace
