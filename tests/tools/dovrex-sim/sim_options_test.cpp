// The command line and the key script of dovrex-sim.
#include "tools/dovrex-sim/sim_options.h"

#include <gtest/gtest.h>

namespace dovrex::sim {
namespace {

std::optional<SimOptions> parse(std::vector<std::string_view> args, SimError& error) {
  return ParseArguments(args, error);
}

TEST(SimArguments, Defaults) {
  SimError error;
  const auto options = parse({}, error);
  ASSERT_TRUE(options.has_value());
  EXPECT_EQ(options->directory, "");
  EXPECT_EQ(options->seed, 1u);
  EXPECT_EQ(options->frames, 1000);
  EXPECT_FALSE(options->keepShield);
  EXPECT_TRUE(options->framesOut.empty());
}

TEST(SimArguments, EveryOption) {
  SimError error;
  const auto options =
      parse({"--dir", "data", "--seed", "4294967295", "--frames", "0", "--input", "in.txt", "--trace",
             "t.jsonl", "--keep-shield", "--frames-out", "out", "--at", "5,1,5,300"},
            error);
  ASSERT_TRUE(options.has_value()) << error.message;
  EXPECT_EQ(options->directory, "data");
  EXPECT_EQ(options->seed, 4294967295u);
  EXPECT_EQ(options->frames, 0);
  EXPECT_EQ(options->inputFile, "in.txt");
  EXPECT_EQ(options->traceFile, "t.jsonl");
  EXPECT_TRUE(options->keepShield);
  EXPECT_EQ(options->framesOutDir, "out");
  EXPECT_EQ(options->framesOut, (std::set<int>{1, 5, 300}));
}

TEST(SimArguments, HelpWhereAnOptionMayStand) {
  for (const std::vector<std::string_view>& args :
       {std::vector<std::string_view>{"--help"}, {"-h"}, {"--frames", "5", "--help", "--bogus"}}) {
    SimError error;
    const auto options = parse(args, error);
    ASSERT_TRUE(options.has_value()) << error.message;
    EXPECT_TRUE(options->help) << args.size();
  }
  SimError error;
  // A value, not an option.
  const auto asValue = parse({"--dir", "--help"}, error);
  ASSERT_TRUE(asValue.has_value()) << error.message;
  EXPECT_FALSE(asValue->help);
  EXPECT_EQ(asValue->directory, "--help");
  EXPECT_FALSE(parse({"--bogus", "--help"}, error).has_value());
}

TEST(SimArguments, BadArgumentsAreNamed) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--frames"},
      {"--frames", "-1"},
      {"--frames", "12x"},
      {"--seed", "4294967296"},
      {"--seed", "-1"},
      {"--bogus"},
      {"frames"},
      {"--at", "1,2"},
      {"--frames-out", "d"},
      {"--frames-out", "d", "--at", "0"},
      {"--frames-out", "d", "--at", "1,,2"},
      {"--frames-out", "d", "--at", ""},
      {"--trace", ""},
      {"--input", ""},
  };
  for (const auto& args : bad) {
    SimError error;
    EXPECT_FALSE(parse(args, error).has_value()) << args[0];
    EXPECT_FALSE(error.message.empty()) << args[0];
  }
}

TEST(SimKeys, NamesAndCodes) {
  EXPECT_EQ(ParseKey("left"), 37);
  EXPECT_EQ(ParseKey("RIGHT"), 39);
  EXPECT_EQ(ParseKey("up"), 38);
  EXPECT_EQ(ParseKey("down"), 40);
  EXPECT_EQ(ParseKey("z"), 90);
  EXPECT_EQ(ParseKey("X"), 88);
  EXPECT_EQ(ParseKey("esc"), 27);
  EXPECT_EQ(ParseKey("f9"), 120);
  EXPECT_EQ(ParseKey("F11"), 122);
  EXPECT_EQ(ParseKey("100"), 100);
  EXPECT_EQ(ParseKey("255"), 255);
  for (const char* bad : {"0", "256", "-5", "space", "", "f10", "0x41"}) EXPECT_FALSE(ParseKey(bad)) << bad;
}

TEST(SimScript, LinesCommentsAndOrder) {
  SimError error;
  const auto events = ParseInputScript("# a run\n\n152 down x\n  160 UP x   # let go\r\n3 down 104\n", error);
  ASSERT_TRUE(events.has_value()) << error.message;
  ASSERT_EQ(events->size(), 3u);
  EXPECT_EQ((*events)[0].frame, 152);
  EXPECT_TRUE((*events)[0].down);
  EXPECT_EQ((*events)[0].virtualKey, 88);
  EXPECT_EQ((*events)[1].frame, 160);
  EXPECT_FALSE((*events)[1].down);
  EXPECT_EQ((*events)[2].frame, 3) << "file order is kept; the runner applies by frame";
  EXPECT_EQ((*events)[2].virtualKey, 104);
}

TEST(SimScript, ErrorsNameTheLine) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"1 down x\n0 down x\n", "line 2"}, {"1 sideways x\n", "line 1"}, {"1 down\n", "line 1"},
      {"1 down x y\n", "line 1"},         {"\n\nx down x\n", "line 3"}, {"5 up f12\n", "line 1"},
      {"99999999999 down x\n", "line 1"},
  };
  for (const auto& c : cases) {
    SimError error;
    EXPECT_FALSE(ParseInputScript(c.text, error).has_value()) << c.text;
    EXPECT_EQ(error.message.rfind(c.expected, 0), 0u) << error.message;
  }
}

}  // namespace
}  // namespace dovrex::sim
