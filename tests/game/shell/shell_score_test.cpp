// The score file (load, atomic save, damaged and unusable files) and the
// ranking screen (insertion, number placement, blinking).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/presentation/bitmap_text.h"
#include "game/shell/ranking.h"
#include "game/shell/score_file.h"
#include "shell_data.h"
#include "tests/game/world_fixture.h"

namespace dovrex::testing {
namespace {

namespace fs = std::filesystem;

class MessageLog : public ShellHost {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void RequestClose() override { ++closeRequests; }
  std::vector<std::string> messages;
  int closeRequests = 0;
};

const std::array<std::int32_t, 13> kDefaults = {60000, 55000, 50000, 45000, 40000, 35000, 30000,
                                                25000, 20000, 15000, 10000, 5000,  0};

std::vector<std::uint8_t> encode(std::initializer_list<std::int32_t> values) {
  std::vector<std::uint8_t> bytes;
  for (std::int32_t v : values) put32(bytes, static_cast<std::uint32_t>(v));
  return bytes;
}

class ShellScoreFile : public ::testing::Test {
 protected:
  std::string path() { return (dir / "M_score.dat").string(); }
  // Asked of the file system rather than judged by the user id: not every
  // root may override permissions, and a capability lets others do so.
  bool writableDespiteReadOnly() {
    const auto probe = dir / "probe";
    std::ofstream(probe) << 'x';
    fs::permissions(probe, fs::perms::owner_read);
    const bool writable = std::fstream(probe, std::ios::in | std::ios::out).is_open();
    fs::remove(probe);
    return writable;
  }
  GameDir dir;
  GameRecord rec{};
  MessageLog log;
};

TEST_F(ShellScoreFile, MissingFileAnnouncesCreationAndFillsTheDefaults) {
  LoadScoreFile(rec, path(), log);
  EXPECT_EQ(log.messages, std::vector<std::string>{"M_score.dat を作成します。"});
  EXPECT_EQ(rec.highScores, kDefaults);
  EXPECT_FALSE(fs::exists(path())) << "nothing is written at start-up";
}

TEST_F(ShellScoreFile, SaveWritesFiftyTwoLittleEndianBytes) {
  SetDefaultScores(rec);
  rec.highScores[0] = -2;
  rec.highScores[12] = 0x01020304;
  ASSERT_TRUE(SaveScoreFile(rec, path(), log));
  const auto bytes = ReadFile(path());
  ASSERT_EQ(bytes.size(), 52u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
            (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0xD8, 0xD6, 0x00, 0x00}));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 4, bytes.end()),
            (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01}));
  EXPECT_TRUE(log.messages.empty());
  EXPECT_FALSE(fs::exists(path() + ".tmp")) << "no temporary file is left behind";
}

TEST_F(ShellScoreFile, SavedTableLoadsBackUnchanged) {
  for (int i = 0; i < 13; ++i) rec.highScores[i] = i * 7919 - 40000;
  ASSERT_TRUE(SaveScoreFile(rec, path(), log));
  GameRecord again{};
  LoadScoreFile(again, path(), log);
  EXPECT_EQ(again.highScores, rec.highScores);
  EXPECT_TRUE(log.messages.empty());
}

TEST_F(ShellScoreFile, ShortFileLeavesTheMissingEntriesZero) {
  auto bytes = encode({70000, 65000, 1});
  bytes.push_back(0x7F);  // part of a fourth entry
  bytes.push_back(0x7F);
  writeBytes(path(), bytes);
  rec.highScores.fill(-1);
  LoadScoreFile(rec, path(), log);
  EXPECT_EQ(rec.highScores[0], 70000);
  EXPECT_EQ(rec.highScores[1], 65000);
  EXPECT_EQ(rec.highScores[2], 1);
  for (int i = 3; i < 13; ++i) EXPECT_EQ(rec.highScores[i], 0) << i;
  EXPECT_TRUE(log.messages.empty()) << "a short file is not noticed";
}

TEST_F(ShellScoreFile, EmptyFileGivesAnAllZeroTable) {
  writeBytes(path(), {});
  LoadScoreFile(rec, path(), log);
  for (std::int32_t v : rec.highScores) EXPECT_EQ(v, 0);
  EXPECT_TRUE(log.messages.empty());
}

TEST_F(ShellScoreFile, LongFileIgnoresTheRestAndTheNextSaveDropsIt) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 20; ++i) put32(bytes, static_cast<std::uint32_t>(100 - i));
  writeBytes(path(), bytes);
  LoadScoreFile(rec, path(), log);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(rec.highScores[i], 100 - i);
  ASSERT_TRUE(SaveScoreFile(rec, path(), log));
  EXPECT_EQ(ReadFile(path()).size(), 52u);
}

TEST_F(ShellScoreFile, AFileThatCannotBeOpenedForUpdateCountsAsMissing) {
  // A directory under the name can be opened for neither reading nor writing.
  fs::create_directory(path());
  LoadScoreFile(rec, path(), log);
  EXPECT_EQ(log.messages, std::vector<std::string>{"M_score.dat を作成します。"});
  EXPECT_EQ(rec.highScores, kDefaults);
  EXPECT_FALSE(SaveScoreFile(rec, path(), log));
  ASSERT_EQ(log.messages.size(), 2u);
  EXPECT_EQ(log.messages[1], "M_score.dat へのアクセスに失敗しました。");
  EXPECT_TRUE(fs::is_directory(path()));
  EXPECT_FALSE(fs::exists(path() + ".tmp"));
}

TEST_F(ShellScoreFile, ReadOnlyFileIsNeitherReadNorReplaced) {
  if (writableDespiteReadOnly()) {
    // A user who may override permissions (root, usually) writes any file:
    // the check has nothing to refuse. The directory case above covers the
    // refusal path for such runs.
    writeBytes(path(), encode({1, 2, 3}));
    fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    LoadScoreFile(rec, path(), log);
    EXPECT_EQ(rec.highScores[0], 1);
    return;
  }
  writeBytes(path(), encode({1, 2, 3}));
  fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  LoadScoreFile(rec, path(), log);
  EXPECT_EQ(log.messages, std::vector<std::string>{"M_score.dat を作成します。"});
  EXPECT_EQ(rec.highScores, kDefaults);
  EXPECT_FALSE(SaveScoreFile(rec, path(), log));
  EXPECT_EQ(log.messages.back(), "M_score.dat へのアクセスに失敗しました。");
  EXPECT_EQ(ReadFile(path()), encode({1, 2, 3})) << "the protected table stays as it was";
}

TEST_F(ShellScoreFile, UnwritableFolderKeepsTheOldTableWhole) {
  writeBytes(path(), encode({9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3}));
  const auto before = ReadFile(path());
  // The temporary file cannot be created where a directory of its name sits.
  fs::create_directory(path() + ".tmp");
  fs::create_directory(path() + ".tmp/keep");
  SetDefaultScores(rec);
  EXPECT_FALSE(SaveScoreFile(rec, path(), log));
  EXPECT_EQ(log.messages, std::vector<std::string>{"M_score.dat へのアクセスに失敗しました。"});
  EXPECT_EQ(ReadFile(path()), before);
}

TEST_F(ShellScoreFile, NoFolderAtAllFailsWithTheAccessMessage) {
  SetDefaultScores(rec);
  EXPECT_FALSE(SaveScoreFile(rec, (dir / "missing/M_score.dat").string(), log));
  EXPECT_EQ(log.messages, std::vector<std::string>{"M_score.dat へのアクセスに失敗しました。"});
}

TEST(ShellRankingInsert, TenThousandDoesNotEnterTheDefaultTable) {
  GameRecord rec{};
  SetDefaultScores(rec);
  rec.game.score = 10000;
  InsertScore(rec);
  EXPECT_EQ(rec.highScores, kDefaults);
  EXPECT_EQ(rec.newRank, kNoNewRank);
  EXPECT_EQ(rec.rankingPrepared, 1);
}

TEST(ShellRankingInsert, TenThousandAndOneBecomesTheEleventhRow) {
  GameRecord rec{};
  SetDefaultScores(rec);
  rec.game.score = 10001;
  rec.rankingBlink = 1;
  InsertScore(rec);
  EXPECT_EQ(rec.newRank, 10);
  EXPECT_EQ(rec.highScores[10], 10001);
  EXPECT_EQ(rec.highScores[9], 15000);
  EXPECT_EQ(rec.highScores[11], 5000) << "entries 11 and 12 are not part of the ranking";
  EXPECT_EQ(rec.rankingBlink, 0);
}

TEST(ShellRankingInsert, SeventyThousandTakesTheTopAndDropsTheLastRow) {
  GameRecord rec{};
  SetDefaultScores(rec);
  rec.game.score = 70000;
  InsertScore(rec);
  EXPECT_EQ(rec.newRank, 0);
  const std::array<std::int32_t, 13> expected = {70000, 60000, 55000, 50000, 45000, 40000, 35000,
                                                 30000, 25000, 20000, 15000, 5000,  0};
  EXPECT_EQ(rec.highScores, expected);
}

TEST(ShellRankingInsert, AnEqualScoreRanksBelow) {
  GameRecord rec{};
  SetDefaultScores(rec);
  rec.game.score = 45000;
  InsertScore(rec);
  EXPECT_EQ(rec.newRank, 4);
  EXPECT_EQ(rec.highScores[3], 45000);
  EXPECT_EQ(rec.highScores[4], 45000);
  EXPECT_EQ(rec.highScores[5], 40000);
}

TEST(ShellRankingInsert, NumberPlacementByLength) {
  EXPECT_EQ(RankingNumberX(5), 262);
  EXPECT_EQ(RankingNumberX(4), 274);
  for (int length : {0, 1, 2, 3, 6, 7, 11}) EXPECT_EQ(RankingNumberX(length), 250) << length;
}

class ShellRankingScreen : public WorldTest {
 protected:
  ShellRankingScreen() {
    FillStrip(sheets->Font0, 36, Font0Color);
    SetDefaultScores(rec);
  }
  // The leftmost x of row `row` (at y + 8) whose colour belongs to a digit.
  int firstDigitX(int row) {
    for (int x = 200; x < 480; ++x) {
      const platform::Color c = i1.bitmap.Pixel(x, 90 + 32 * row + 8);
      for (int d = 0; d < 10; ++d) {
        if (c == Font0Color(d)) return x;
      }
    }
    return -1;
  }
  platform::Color at(int x, int y) { return i1.bitmap.Pixel(x, y); }
};

TEST_F(ShellRankingScreen, NumbersArePlacedByTheirLength) {
  rec.rankingPrepared = 1;
  rec.newRank = kNoNewRank;
  rec.highScores[0] = 123456;  // 6 digits: 250
  rec.highScores[1] = 60000;   // 5: 262
  rec.highScores[2] = 5000;    // 4: 274
  rec.highScores[3] = 500;     // 3: 250
  rec.highScores[4] = 0;       // 1: 250
  RankingStep(world);
  EXPECT_EQ(firstDigitX(0), 250);
  EXPECT_EQ(firstDigitX(1), 262);
  EXPECT_EQ(firstDigitX(2), 274);
  EXPECT_EQ(firstDigitX(3), 250);
  EXPECT_EQ(firstDigitX(4), 250);
}

TEST_F(ShellRankingScreen, ANegativeNumberLeavesAGapForItsSign) {
  rec.rankingPrepared = 1;
  rec.newRank = kNoNewRank;
  rec.highScores[5] = -123;  // "-123": 4 characters, x 274, the sign draws nothing
  RankingStep(world);
  EXPECT_EQ(firstDigitX(5), 274 + 13);
  EXPECT_EQ(at(274 + 13 + 2, 90 + 32 * 5 + 8), Font0Color(1));
}

TEST_F(ShellRankingScreen, OrdinalsAndTitle) {
  rec.rankingPrepared = 1;
  rec.newRank = kNoNewRank;
  RankingStep(world);
  EXPECT_EQ(at(193 + 2, 58), Font0Color(BitmapTextCell('R')));
  EXPECT_EQ(at(150 + 2, 90 + 8), Font0Color(1)) << "1ST";
  EXPECT_EQ(at(150 + 2, 90 + 32 * 8 + 8), Font0Color(9)) << "9TH";
  EXPECT_EQ(at(137 + 2, 90 + 32 * 9 + 8), Font0Color(1)) << "10TH";
  EXPECT_EQ(at(137 + 15, 90 + 32 * 10 + 8), Font0Color(1)) << "11TH";
  EXPECT_EQ(at(136, 90 + 32 * 10 + 8), platform::kBlack);
}

TEST_F(ShellRankingScreen, TheNewRowAlternatesNormalAndHighlighted) {
  rec.game.score = 70000;
  RankingStep(world);
  EXPECT_EQ(rec.rankingPrepared, 1);
  EXPECT_EQ(rec.newRank, 0);
  // First frame: drawn again in style 0 (normal), then the toggle turns to 1.
  EXPECT_EQ(at(262 + 2, 98), Font0Color(7));
  EXPECT_EQ(rec.rankingBlink, 1);
  RankingStep(world);
  EXPECT_NE(at(262 + 2, 98), Font0Color(7)) << "highlighted";
  EXPECT_EQ(rec.rankingBlink, 0);
  EXPECT_EQ(rec.highScores[0], 70000) << "inserted once per visit";
  EXPECT_EQ(rec.highScores[1], 60000);
  // Row 1 stays normal throughout.
  EXPECT_EQ(at(262 + 2, 98 + 32), Font0Color(6));
}

}  // namespace
}  // namespace dovrex::testing
