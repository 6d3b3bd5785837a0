#include "platform/midi/midi_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Writes what the parser finds as text, one message per entry.
class Transcript : public MidiStreamSink {
 public:
  void Channel(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", status, data1, data2);
    lines.emplace_back(text);
  }
  void SystemExclusive(std::span<const std::uint8_t> body) override {
    std::string text = "SX";
    for (std::uint8_t b : body) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", b);
      text += hex;
    }
    lines.push_back(text);
  }
  void SystemReset() override { lines.emplace_back("RESET"); }

  std::vector<std::string> lines;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(MidiStream, PackedShortMessages) {
  MidiStreamParser parser;
  Transcript t;
  parser.Short(0x00643C90, t);  // note on 60 velocity 100
  parser.Short(0x00000AC3, t);  // program change: the second data byte is dropped
  parser.Short(0x00FF40E0, t);  // data bytes masked to 7 bits
  EXPECT_EQ(t.lines, (Lines{"90 3C 64", "C3 0A 00", "E0 40 7F"}));
}

TEST(MidiStream, ShortMessagesWithRunningStatus) {
  MidiStreamParser parser;
  Transcript t;
  parser.Short(0x00003E3C, t);  // no status yet: ignored
  parser.Short(0x00643C91, t);
  parser.Short(0x00003E3C, t);  // 3C 3E with the last status
  parser.Short(0x000000FF, t);  // real-time reset leaves running status alone
  parser.Short(0x00000040, t);
  parser.Short(0x000000F0, t);  // a system message ends running status
  parser.Short(0x00000040, t);
  EXPECT_EQ(t.lines, (Lines{"91 3C 64", "91 3C 3E", "RESET", "91 40 00"}));
}

TEST(MidiStream, SystemExclusiveInABuffer) {
  MidiStreamParser parser;
  Transcript t;
  const std::vector<std::uint8_t> gmOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  parser.Bytes(gmOn, t);
  const std::vector<std::uint8_t> gsReset = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                             0x00, 0x7F, 0x00, 0x41, 0xF7};
  parser.Bytes(gsReset, t);
  EXPECT_EQ(t.lines, (Lines{"SX 7E 7F 09 01", "SX 41 10 42 12 40 00 7F 00 41"}));
}

TEST(MidiStream, ChannelMessagesAndRunningStatusInABuffer) {
  MidiStreamParser parser;
  Transcript t;
  const std::vector<std::uint8_t> bytes = {0x90, 0x3C, 0x64, 0x40, 0x50, 0xC0, 0x05, 0x06, 0xF8,
                                           0x07, 0xB2, 0x07, 0x64, 0xF0, 0x01, 0xF7, 0x3C};
  parser.Bytes(bytes, t);
  EXPECT_EQ(t.lines,
            (Lines{"90 3C 64", "90 40 50", "C0 05 00", "C0 06 00", "C0 07 00", "B2 07 64", "SX 01"}));
}

TEST(MidiStream, DamagedBuffersDropOnlyTheBrokenMessage) {
  MidiStreamParser parser;
  Transcript t;
  // A note-on cut short by a new status, a stray data byte, a message cut by
  // the end of the buffer.
  const std::vector<std::uint8_t> first = {0x90, 0x3C, 0x80, 0x3C, 0x00, 0xB0, 0x07};
  parser.Bytes(first, t);
  const std::vector<std::uint8_t> unterminated = {0xF0, 0x41, 0x10, 0x42};
  parser.Bytes(unterminated, t);
  const std::vector<std::uint8_t> stray = {0x22, 0xF2, 0x01, 0x02, 0x33};
  parser.Bytes(stray, t);
  parser.Bytes({}, t);
  EXPECT_EQ(t.lines, (Lines{"80 3C 00"}));
}

TEST(MidiStream, DataByteCounts) {
  EXPECT_EQ(ChannelDataBytes(0x80), 2);
  EXPECT_EQ(ChannelDataBytes(0x9F), 2);
  EXPECT_EQ(ChannelDataBytes(0xA0), 2);
  EXPECT_EQ(ChannelDataBytes(0xB5), 2);
  EXPECT_EQ(ChannelDataBytes(0xC5), 1);
  EXPECT_EQ(ChannelDataBytes(0xD0), 1);
  EXPECT_EQ(ChannelDataBytes(0xEF), 2);
}
