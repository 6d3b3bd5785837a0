// A whole game played by the real dovrex-sim program from a key script, read
// back from its frame trace: both stages, both bosses destroyed, the end of
// the game and the ranking with the final score.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "game/data/game_constants.h"
#include "game/data/kill_table.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

using dovrex::KillRowOf;
using dovrex::kKindFirstBoss, dovrex::kKindSecondBoss, dovrex::kLookFirstBoss, dovrex::kLookSecondBoss;
using dovrex::kLabelStage1, dovrex::kLabelStage2, dovrex::kLabelStageClear, dovrex::kLabelMissionComplete;
using dovrex::kModeTitle, dovrex::kModeRanking, dovrex::kModeNewGame, dovrex::kModePlay,
    dovrex::kModeGameOver, dovrex::kModeTransition;

// What the checks read from one trace line.
struct Frame {
  int frame = 0;
  int gameMode = 0;
  int score = 0;
  int hiScore = 0;
  int stage = 0;
  int shield = 0;
  int dying = 0;
  std::string music;            // empty for null
  std::vector<int> labelKinds;  // of the labels shown
  std::vector<int> bossKinds;   // the two bosses present, alive or exploding
};

constexpr int kFirstBossBonus = KillRowOf(kLookFirstBoss).bonus;
constexpr int kSecondBossBonus = KillRowOf(kLookSecondBoss).bonus;
// About 11800 frames reach the ranking on seed 1; the rest is slack.
constexpr int kFrames = 12600;

// One trace line; a field that is missing or of the wrong type fails the test.
Frame parse(const std::string& line) {
  Frame f;
  const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
  EXPECT_TRUE(j.is_object()) << "not a JSON object: " << line;
  if (!j.is_object()) return f;
  try {
    f.frame = j.at("frame").get<int>();
    f.gameMode = j.at("gameMode").get<int>();
    f.score = j.at("score").get<int>();
    f.hiScore = j.at("hiScore").get<int>();
    f.stage = j.at("stage").get<int>();
    f.shield = j.at("shield").get<int>();
    f.dying = j.at("dying").get<int>();
    const nlohmann::json& music = j.at("music");
    if (!music.is_null()) f.music = music.get<std::string>();
    for (const nlohmann::json& label : j.at("labels")) f.labelKinds.push_back(label.at("kind").get<int>());
    for (const nlohmann::json& enemy : j.at("enemies")) {
      const int kind = enemy.at("kind").get<int>();
      if (kind == kKindFirstBoss || kind == kKindSecondBoss) f.bossKinds.push_back(kind);
    }
  } catch (const nlohmann::json::exception& e) {
    ADD_FAILURE() << e.what() << " in " << line;
  }
  return f;
}

bool has(const std::vector<int>& values, int value) {
  for (int v : values) {
    if (v == value) return true;
  }
  return false;
}

// Runs a program with its output and errors in `log`; returns its exit status.
int run(const std::vector<std::string>& args, const fs::path& log) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WholeGame : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string sim = DOVREX_SIM;
    const fs::path data = DOVREX_DATA;
    const fs::path input = WHOLE_GAME_INPUT;
    ASSERT_TRUE(fs::is_regular_file(sim)) << "DOVREX_SIM: '" << sim << "'";
    ASSERT_TRUE(fs::is_directory(data / "bmp")) << "DOVREX_DATA: '" << data.string() << "'";
    ASSERT_TRUE(fs::is_regular_file(input)) << input.string();

    // The game writes M_score.dat into its directory on close, so it runs in a
    // fresh one that only links to the generated pictures, sounds and music.
    std::string pattern = (fs::temp_directory_path() / "dovrex-whole-game-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    for (const char* folder : {"bmp", "wav", "mid", "res"}) {
      fs::create_directory_symlink(data / folder, dir_ / folder);
    }
    const int status =
        run({sim, "--dir", dir_.string(), "--seed", "1", "--keep-shield", "--input", input.string(),
             "--trace", (dir_ / "trace.jsonl").string(), "--frames", std::to_string(kFrames)},
            dir_ / "sim.log");
    ASSERT_EQ(status, 0) << readText(dir_ / "sim.log");
    std::ifstream in(dir_ / "trace.jsonl");
    for (std::string line; std::getline(in, line);) frames_.push_back(parse(line));
    ASSERT_EQ(frames_.size(), static_cast<std::size_t>(kFrames));
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }

  // Index of the first frame at or after `from` that satisfies `pred`, or -1.
  template <class Pred>
  int find(int from, Pred pred) const {
    if (from < 0) return -1;
    for (int i = from; i < static_cast<int>(frames_.size()); ++i) {
      if (pred(frames_[i])) return i;
    }
    return -1;
  }
  // The frames of one boss fight: from the boss's first frame to the first
  // frame without it; the score jump of the kill must fall inside.
  struct Fight {
    int appears = -1;
    int gone = -1;
    int largestGain = 0;
  };
  Fight fight(int from, int kind) const {
    Fight f;
    f.appears = find(from, [&](const Frame& x) { return has(x.bossKinds, kind); });
    f.gone = find(f.appears, [&](const Frame& x) { return !has(x.bossKinds, kind); });
    for (int i = f.appears + 1; f.appears >= 0 && f.gone >= 0 && i <= f.gone; ++i) {
      f.largestGain = std::max(f.largestGain, frames_[i].score - frames_[i - 1].score);
    }
    return f;
  }

  fs::path dir_;
  std::vector<Frame> frames_;
};

TEST_F(WholeGame, BothStagesBothBossesMissionCompleteAndTheRanking) {
  const int start = find(0, [](const Frame& f) { return f.gameMode == kModeNewGame; });
  ASSERT_GE(start, 0) << "no game started";
  EXPECT_EQ(frames_[0].gameMode, kModeTitle);
  EXPECT_EQ(frames_[0].hiScore, 60000) << "a fresh directory: the default table";

  // First stage: banner, stage music, boss music, the boss.
  const int play1 = find(start, [](const Frame& f) { return f.gameMode == kModePlay; });
  ASSERT_GE(play1, 0);
  EXPECT_EQ(frames_[play1].stage, 0);
  EXPECT_GE(find(play1, [](const Frame& f) { return has(f.labelKinds, kLabelStage1); }), 0) << "STAGE 1";
  EXPECT_GE(find(play1, [](const Frame& f) { return f.music == "m1"; }), 0) << "stage music";
  const Fight boss1 = fight(play1, kKindFirstBoss);
  ASSERT_GE(boss1.appears, 0) << "the first boss never came";
  ASSERT_GE(boss1.gone, 0) << "the first boss was never destroyed";
  EXPECT_EQ(frames_[boss1.appears].stage, 0);
  EXPECT_GE(find(play1, [](const Frame& f) { return f.music == "m2"; }), 0) << "boss music";
  EXPECT_LT(find(play1, [](const Frame& f) { return f.music == "m2"; }), boss1.appears);
  EXPECT_GE(boss1.largestGain, kFirstBossBonus) << "the kill with its bonus";
  EXPECT_EQ(frames_[boss1.gone].gameMode, kModePlay);

  // Stage clear: the banner, the ship's exit, the transition into stage 2.
  const int clear = find(boss1.gone, [](const Frame& f) { return has(f.labelKinds, kLabelStageClear); });
  ASSERT_GE(clear, 0) << "STAGE CLEAR";
  EXPECT_EQ(frames_[clear].stage, 0);
  const int transition1 = find(clear, [](const Frame& f) { return f.gameMode == kModeTransition; });
  ASSERT_GE(transition1, 0);
  const int play2 = find(transition1, [](const Frame& f) { return f.gameMode != kModeTransition; });
  ASSERT_GE(play2, 0);
  EXPECT_EQ(play2 - transition1, 21) << "20 black frames, the decision on the 21st";
  EXPECT_EQ(frames_[play2].gameMode, kModePlay);
  EXPECT_EQ(frames_[play2].stage, 1);
  EXPECT_EQ(frames_[play2].score, frames_[transition1 - 1].score) << "the score carries over";
  EXPECT_GE(find(play2, [](const Frame& f) { return has(f.labelKinds, kLabelStage2); }), 0) << "STAGE 2";

  // Second stage and its boss.
  const Fight boss2 = fight(play2, kKindSecondBoss);
  ASSERT_GE(boss2.appears, 0) << "the second boss never came";
  ASSERT_GE(boss2.gone, 0) << "the second boss was never destroyed";
  EXPECT_EQ(frames_[boss2.appears].stage, 1);
  EXPECT_GE(boss2.largestGain, kSecondBossBonus) << "the kill with its bonus";
  EXPECT_EQ(fight(play2, kKindFirstBoss).appears, -1) << "the first boss stays beaten";

  // "MISSION  COMPLETE.", the last transition, game over, the ranking.
  const int complete =
      find(boss2.gone, [](const Frame& f) { return has(f.labelKinds, kLabelMissionComplete); });
  ASSERT_GE(complete, 0) << "MISSION  COMPLETE.";
  EXPECT_EQ(frames_[complete].gameMode, kModePlay);
  EXPECT_EQ(frames_[complete].stage, 1);
  const int transition2 = find(complete, [](const Frame& f) { return f.gameMode == kModeTransition; });
  ASSERT_GE(transition2, 0);
  const int gameOver = find(transition2, [](const Frame& f) { return f.gameMode != kModeTransition; });
  ASSERT_GE(gameOver, 0);
  EXPECT_EQ(frames_[gameOver].gameMode, kModeGameOver) << "the end of the game, not a third stage";
  EXPECT_EQ(gameOver - transition2, 21);
  EXPECT_EQ(frames_[gameOver].music, "m0");
  const int finalScore = frames_[gameOver].score;
  EXPECT_GE(finalScore, kFirstBossBonus + kSecondBossBonus);
  EXPECT_LT(frames_[gameOver].hiScore, finalScore) << "not inserted before the ranking";

  // A trace line is written after its frame, so its gameMode is the mode the
  // next frame runs: the ranking screen's first frame, which inserts the
  // score, is the one after the switch.
  const int ranking = find(gameOver, [](const Frame& f) { return f.gameMode != kModeGameOver; });
  ASSERT_GE(ranking, 0) << "the game-over screen never ended";
  ASSERT_LT(ranking + 1, static_cast<int>(frames_.size()));
  EXPECT_EQ(frames_[ranking].gameMode, kModeRanking);
  EXPECT_EQ(ranking - gameOver, 151) << "the held X cannot skip the game-over screen";
  EXPECT_EQ(frames_[ranking].hiScore, frames_[gameOver].hiScore);
  EXPECT_EQ(frames_[ranking + 1].gameMode, kModeRanking);
  EXPECT_EQ(frames_[ranking + 1].score, finalScore);
  EXPECT_EQ(frames_[ranking + 1].hiScore, finalScore) << "the final score inserted as the best";

  // The ship never went down: the game ended only through the stage script.
  for (int i = play1; i < gameOver; ++i) {
    // The shield is refilled before each frame; a hit within one takes one.
    ASSERT_EQ(frames_[i].dying, 0) << "frame " << frames_[i].frame;
    ASSERT_GE(frames_[i].shield, 5) << "frame " << frames_[i].frame;
  }
  // The held X never starts a second game, and the table keeps the score.
  EXPECT_EQ(find(ranking, [](const Frame& f) { return f.gameMode == kModeNewGame; }), -1);
  EXPECT_EQ(frames_.back().hiScore, finalScore);

  // The normal shutdown saved the table, best first, into the run's directory.
  const std::string saved = readText(dir_ / "M_score.dat");
  ASSERT_EQ(saved.size(), 52u);
  std::int32_t best = 0;
  for (int b = 0; b < 4; ++b)
    best |= static_cast<std::int32_t>(static_cast<std::uint8_t>(saved[b])) << (8 * b);
  EXPECT_EQ(best, finalScore);
}

}  // namespace
