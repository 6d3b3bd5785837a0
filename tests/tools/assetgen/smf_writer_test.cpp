#include "tools/assetgen/smf_writer.h"

#include <gtest/gtest.h>

#include "tests/tools/assetgen/smf_reader.h"

namespace {

using assetgen_test::ReadSmf;
using assetgen_test::SmfEvent;

assetgen_test::SmfFile compileAndWrite(const std::string& source) {
  return ReadSmf(assetgen::WriteSmf(assetgen::mml::Compile(source, "test")));
}

TEST(SmfWriter, HeaderTracksAndTempo) {
  const auto f = compileAndWrite("#title Tune\n#tempo 150\n#track A ch=1\n#track B ch=10\nA c4\nB c4\n");
  EXPECT_EQ(f.format, 1);
  EXPECT_EQ(f.division, 480);
  ASSERT_EQ(f.tracks.size(), 3u);
  bool tempo = false, title = false;
  for (const auto& e : f.tracks[0]) {
    if (e.status == 0xFF && e.metaType == 0x51) {
      tempo = true;
      EXPECT_EQ((e.data[0] << 16) | (e.data[1] << 8) | e.data[2], 400000);
    }
    if (e.status == 0xFF && e.metaType == 0x03) title = e.Text() == "Tune";
  }
  EXPECT_TRUE(tempo);
  EXPECT_TRUE(title);
  // Channel 10 is 9 on the wire.
  bool drum = false;
  for (const auto& e : f.tracks[2])
    if ((e.status & 0xF0) == 0x90) drum = (e.status & 0x0F) == 9;
  EXPECT_TRUE(drum);
}

TEST(SmfWriter, LoopMarkersAroundTheBody) {
  const auto f = compileAndWrite("#track A ch=1\nA c4 L d4 e4\n");
  std::int64_t start = -1, end = -1, lastEvent = 0;
  for (const auto& e : f.tracks[0]) {
    if (e.status == 0xFF && e.metaType == 0x06 && e.Text() == "RepeatStart") start = e.tick;
    if (e.status == 0xFF && e.metaType == 0x06 && e.Text() == "RepeatEnd") end = e.tick;
  }
  for (const auto& e : f.tracks[1])
    if (e.status != 0xFF) lastEvent = std::max<std::int64_t>(lastEvent, e.tick);
  EXPECT_EQ(start, 480);
  EXPECT_EQ(end, 1440);
  EXPECT_LT(lastEvent, end);
}

TEST(SmfWriter, NoMarkersWithoutLoop) {
  const auto f = compileAndWrite("#track A ch=1\nA c4\n");
  for (const auto& e : f.tracks[0]) EXPECT_FALSE(e.status == 0xFF && e.metaType == 0x06);
}

TEST(SmfWriter, NoteOffBeforeNoteOnAtTheSameTick) {
  const auto f = compileAndWrite("#track A ch=2 prog=5\nA q8 c4 c4 @7 d4\n");
  const auto& t = f.tracks[1];
  std::vector<std::pair<std::uint32_t, int>> order;  // tick, high nibble
  for (const auto& e : t)
    if (e.status != 0xFF) order.push_back({e.tick, e.status >> 4});
  // program at 0, on 0, off 480, on 480, off 960, program 960, on 960, off 1440.
  const std::vector<std::pair<std::uint32_t, int>> expected{{0, 0xC},   {0, 0x9},   {480, 0x8}, {480, 0x9},
                                                            {960, 0x8}, {960, 0xC}, {960, 0x9}, {1440, 0x8}};
  EXPECT_EQ(order, expected);
  for (const auto& e : t) {
    if (e.status != 0xFF) {
      EXPECT_EQ(e.status & 0x0F, 1);
    }
  }
}

TEST(SmfWriter, TracksEndWithEndOfTrackAtTheSongLength) {
  const auto f = compileAndWrite("#track A ch=1\n#track B ch=2\nA c1\nB r2 c2\n");
  for (const auto& t : f.tracks) {
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back().metaType, 0x2F);
    EXPECT_EQ(t.back().tick, 1920u);
  }
}

}  // namespace
