// The enemy pass as a whole: order of entries, drawing by look, kinds
// without behaviour.
#include "game/data/sprite_table.h"
#include "tests/game/enemy_world.h"

namespace dovrex::testing {
namespace {

constexpr platform::Color CellColour(int sheet, int cell) { return platform::Rgb(sheet + 1, cell + 1, 99); }

class EnemyPassTest : public EnemyWorldTest {
 protected:
  // Fills a sheet with cells of one flat colour each, told apart by sheet and index.
  static void Fill(platform::ImageList& list, int sheet, int cells) {
    platform::Bitmap picture(list.Width() * cells, list.Height());
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) picture.SetPixel(x, y, CellColour(sheet, x / list.Width()));
    }
    list.AddMasked(picture, platform::kBlack);
  }

  void FillSheets() {
    Fill(sheets->IL40, 40, 20);
    Fill(sheets->IL50, 50, 50);
    Fill(sheets->IL70, 70, 60);
    Fill(sheets->IL86, 86, 100);
    Fill(sheets->IL100, 100, 70);
    Fill(sheets->IL150, 150, 10);
    Fill(sheets->IL160, 160, 10);
    Fill(sheets->IL200, 200, 70);
  }

  void ClearCanvas() {
    for (auto& p : i1.bitmap.Pixels()) p = platform::kBlack;
  }
};

struct LookCase {
  int look;
  int sheet;  // cell size, which names the sheet
  int dx, dy;
  int cell;  // for frame 6
};

TEST_F(EnemyPassTest, EveryLookDrawsItsCellAtItsOffset) {
  FillSheets();
  const std::vector<LookCase> cases = {
      {0, 86, 43, 43, 24},     {1, 86, 43, 43, 39},   {2, 86, 43, 43, 48},   {3, 70, 35, 35, 6},
      {4, 70, 35, 35, 21},     {5, 50, 25, 25, 6},    {6, 50, 25, 25, 12},   {7, 50, 25, 25, 18},
      {8, 50, 25, 25, 24},     {9, 50, 25, 25, 30},   {10, 50, 25, 25, 36},  {11, 70, 35, 35, 52},
      {12, 70, 35, 35, 36},    {13, 150, 75, 35, 6},  {14, 70, 35, 35, 6},   {15, 70, 35, 35, 57},
      {16, 200, 100, 85, 6},   {17, 100, 50, 50, 6},  {18, 86, 43, 43, 63},  {19, 86, 43, 43, 71},
      {20, 200, 100, 100, 46}, {21, 50, 25, 25, 42},  {22, 86, 43, 43, 73},  {23, 50, 25, 25, 48},
      {24, 200, 100, 100, 65}, {25, 86, 43, 43, 80},  {26, 100, 50, 50, 44}, {27, 100, 50, 50, 52},
      {28, 40, 20, 20, 6},     {29, 100, 50, 50, 65}, {30, 86, 43, 43, 90},  {31, 160, 80, 80, 6},
  };
  ASSERT_EQ(cases.size(), static_cast<std::size_t>(kLookCount));
  for (const LookCase& c : cases) {
    ClearCanvas();
    Enemy e{};
    e.state = 1;
    e.x = 240;
    e.y = 240;
    e.frame = 6;
    e.look = c.look;
    DrawEnemy(world, e);
    EXPECT_EQ(i1.canvas.Pixel(240 - c.dx, 240 - c.dy), CellColour(c.sheet, c.cell)) << "look " << c.look;
    EXPECT_EQ(i1.canvas.Pixel(240 - c.dx - 1, 240 - c.dy - 1), platform::kBlack) << "look " << c.look;
  }
}

TEST_F(EnemyPassTest, LooksOutsideTheTableDrawNothing) {
  FillSheets();
  for (int look : {32, 40, -1}) {
    Enemy e{};
    e.x = e.y = 240;
    e.look = look;
    DrawEnemy(world, e);
  }
  for (const platform::Color p : i1.bitmap.Pixels()) ASSERT_EQ(p, platform::kBlack);
}

TEST_F(EnemyPassTest, CapsuleLooksDrawFromIL50WhateverTheKind) {
  FillSheets();
  Enemy& e = Place(0, 17, 240, 240, 9);  // a weaving diver's behaviour, a Missile capsule's look
  EnemyPass(world);
  EXPECT_EQ(i1.canvas.Pixel(e.x - 25, e.y - 25), CellColour(50, 24 + e.frame));
}

TEST_F(EnemyPassTest, EntryFreedByItsBehaviourIsDrawnOnceMore) {
  FillSheets();
  Enemy& e = Place(0, 0, 200, 508, 1);
  e.param1 = 6;
  EnemyPass(world);
  ASSERT_EQ(e.state, 0);
  EXPECT_EQ(i1.canvas.Pixel(200 - 43, 514 - 43), CellColour(86, 33 + 1));
  ClearCanvas();
  EnemyPass(world);
  EXPECT_EQ(i1.canvas.Pixel(200 - 43, 514 - 43), platform::kBlack);
}

TEST_F(EnemyPassTest, KindWithoutBehaviourIsDrawnButNeverMoves) {
  FillSheets();
  Enemy& e = Place(7, 25, 100, 120, 22);
  e.frame = 4;
  e.param0 = 3;
  Run(10);
  EXPECT_EQ(e.x, 100);
  EXPECT_EQ(e.y, 120);
  EXPECT_EQ(e.frame, 4);
  EXPECT_EQ(e.param0, 3);
  EXPECT_EQ(e.state, 1);
  EXPECT_EQ(i1.canvas.Pixel(100 - 43, 120 - 43), CellColour(86, 72));
}

TEST_F(EnemyPassTest, FreeEntriesAreNeitherMovedNorDrawn) {
  FillSheets();
  Enemy& e = Place(0, 8, 200, 200, 11);
  e.state = 0;
  Run(3);
  EXPECT_EQ(e.x, 200);
  for (const platform::Color p : i1.bitmap.Pixels()) ASSERT_EQ(p, platform::kBlack);
}

TEST_F(EnemyPassTest, EnemiesMoveInIndexOrderEachFrame) {
  Enemy& a = Place(3, 8, 100, 100, 11);
  Enemy& b = Place(9, 8, 300, 200, 11);
  b.param0 = 1;
  Run(5);
  EXPECT_EQ(a.x, 120);
  EXPECT_EQ(b.x, 280);
  EXPECT_EQ(rec.curEnemy, &rec.enemies[kEnemyCount - 1]);
}

}  // namespace
}  // namespace dovrex::testing
