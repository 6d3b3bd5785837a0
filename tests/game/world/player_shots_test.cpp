// The player-shot pass: shot motion and pictures, trails, the off-field
// test, the Z weapon spray, the ship with its blink, the hit flash and rings.
#include "game/world/player_shots.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "game/world/player.h"
#include "tests/game/test_sheets.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;
using platform::Rgb;

constexpr int kTag32 = 32;
constexpr int kTag44 = 44;
constexpr int kTag86 = 86;

class PlayerShotPassTest : public WorldTest {
 protected:
  PlayerShotPassTest() { PlaceShip(rec, 240, 400); }
};

// --- Shot motion and pictures -------------------------------------------

TEST_F(PlayerShotPassTest, MainGunShotClimbs31AndAlternatesCells7And8) {
  FillSheet(sheets->IL32, kTag32, 20);
  rec.shots[0] = ActiveShot(0, 100, 300);
  PlayerShotPass(world);
  EXPECT_EQ(rec.shots[0].y, 269);
  EXPECT_EQ(rec.shots[0].x, 100);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 84, 253), 7);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 115, 284), 7);
  PlayerShotPass(world);
  EXPECT_EQ(rec.shots[0].y, 238);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 84, 222), 8);
  PlayerShotPass(world);
  EXPECT_EQ(CellAt(world.canvas, kTag32, 84, 191), 7);
}

TEST_F(PlayerShotPassTest, PelletsDriftByKind) {
  const int dx[] = {0, -2, 2, -4, 4}, dy[] = {-31, -29, -29, -27, -27};
  for (int kind = 0; kind <= 4; ++kind) rec.shots[kind] = ActiveShot(kind, 200, 300);
  PlayerShotPass(world);
  for (int kind = 0; kind <= 4; ++kind) {
    EXPECT_EQ(rec.shots[kind].x, 200 + dx[kind]) << kind;
    EXPECT_EQ(rec.shots[kind].y, 300 + dy[kind]) << kind;
  }
  EXPECT_EQ(CountActive(rec.particles), 0);  // pellets leave no trail
}

TEST_F(PlayerShotPassTest, OutwardSprayIsBrakedBackThroughItsStart) {
  PlayerShot s = ActiveShot(5, 200, 200);
  s.motion1 = 9;
  s.motion2 = -6;
  s.motion3 = 1;
  s.motion4 = 0;
  rec.shots[0] = s;
  std::vector<int> xs, ys;
  for (int f = 0; f < 7; ++f) {
    PlayerShotPass(world);
    xs.push_back(rec.shots[0].x);
    ys.push_back(rec.shots[0].y);
  }
  // x: +9, +6, +3, 0, -3, -6, -9; y: -6, -3, 0, +3, +6, +9, +12.
  EXPECT_EQ(xs, (std::vector<int>{209, 215, 218, 218, 215, 209, 200}));
  EXPECT_EQ(ys, (std::vector<int>{194, 191, 191, 194, 200, 209, 221}));
}

TEST_F(PlayerShotPassTest, SprayShotLeavesAStillTrailWhereItNowIs) {
  FillSheet(sheets->IL32, kTag32, 20);
  PlayerShot s = ActiveShot(5, 200, 200);
  s.motion1 = 4;
  s.motion2 = 2;
  s.motion3 = 1;
  s.motion4 = 1;
  rec.shots[0] = s;
  rec.particles[0].frictionTick = 3;
  PlayerShotPass(world);
  const Particle& p = rec.particles[0];
  EXPECT_EQ(p.active, 1);
  EXPECT_EQ(p.x, 204);
  EXPECT_EQ(p.y, 202);
  EXPECT_EQ(p.kind, 0);
  EXPECT_EQ(p.frame, 0);
  EXPECT_EQ(p.life, 30);
  EXPECT_EQ(p.vx, 0);
  EXPECT_EQ(p.vy, 0);
  EXPECT_EQ(p.frictionTick, 3);  // not set by the trail
  EXPECT_EQ(CellAt(world.canvas, kTag32, 188, 186), 0);
  EXPECT_EQ(rec.shots[0].frame, 0);  // the spray does not animate
}

TEST_F(PlayerShotPassTest, ArcingSprayFallsThenClimbsAndReversesSideways) {
  PlayerShot s = ActiveShot(6, 200, 200);
  s.motion1 = -12;
  s.motion2 = 6;
  s.motion3 = 1;
  s.motion4 = 2;
  rec.shots[0] = s;
  std::vector<int> xs, ys;
  for (int f = 0; f < 5; ++f) {
    PlayerShotPass(world);
    xs.push_back(rec.shots[0].x);
    ys.push_back(rec.shots[0].y);
  }
  // motion1 -8, -4, 0, 4, 8 (y -= motion1); motion2 4, 2, 0, -2, -4 (x += motion2).
  EXPECT_EQ(ys, (std::vector<int>{208, 212, 212, 208, 200}));
  EXPECT_EQ(xs, (std::vector<int>{204, 206, 206, 204, 200}));
  PlayerShot t = ActiveShot(6, 200, 200);
  t.motion1 = -12;
  t.motion2 = 6;
  t.motion3 = 0;  // mirrored sideways
  t.motion4 = 2;
  rec.shots[0] = t;
  PlayerShotPass(world);
  EXPECT_EQ(rec.shots[0].x, 196);
}

TEST_F(PlayerShotPassTest, MissileSinksThenClimbsUpToTwentyAFrame) {
  FillSheet(sheets->IL44, kTag44, 4);
  PlayerShot m = ActiveShot(7, 240, 400);
  m.motion1 = -16;
  rec.shots[0] = m;
  std::vector<int> dys, frames;
  int lastY = 400;
  for (int f = 0; f < 14; ++f) {
    PlayerShotPass(world);
    dys.push_back(rec.shots[0].y - lastY);
    lastY = rec.shots[0].y;
    frames.push_back(rec.shots[0].frame);
  }
  EXPECT_EQ(dys, (std::vector<int>{13, 10, 7, 4, 1, -2, -5, -8, -11, -14, -17, -20, -20, -20}));
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2}));
  EXPECT_EQ(rec.shots[0].x, 240 - 3 * 14);
}

TEST_F(PlayerShotPassTest, MissilesDriftByKindAndTrailSmokeBelowThem) {
  FillSheet(sheets->IL44, kTag44, 4);
  const int drift[] = {-3, 3, -5, 5};
  for (int i = 0; i < 4; ++i) {
    rec.shots[i] = ActiveShot(7 + i, 100 + 80 * i, 300);
    rec.shots[i].motion1 = -20;
  }
  PlayerShotPass(world);
  for (int i = 0; i < 4; ++i) {
    const PlayerShot& m = rec.shots[i];
    EXPECT_EQ(m.x, 100 + 80 * i + drift[i]) << i;
    EXPECT_EQ(m.y, 317) << i;
    // IL44 cell 0 at (x - 22, y - 22), then frame 1.
    EXPECT_EQ(CellAt(world.canvas, kTag44, m.x - 22, m.y - 22), 0);
    const Particle& p = rec.particles[i];
    EXPECT_EQ(p.active, 1);
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.x, m.x + 4);
    EXPECT_EQ(p.y, m.y + 30);
    EXPECT_EQ(p.life, 30);
    EXPECT_EQ(p.frame, 0);
    EXPECT_EQ(p.vx, 0);
    EXPECT_EQ(p.vy, 0);
  }
}

TEST_F(PlayerShotPassTest, ShotsBeyondTheMarginsAreFreed) {
  struct Case {
    int x, y;
    bool stays;
  };
  const Case cases[] = {{520, 200, true}, {521, 200, false}, {-40, 200, true}, {-41, 200, false},
                        {200, -20, true}, {200, -21, false}, {200, 550, true}, {200, 551, false}};
  for (const Case& c : cases) {
    PlayerShot s = ActiveShot(5, c.x, c.y);  // a still spray shot: it does not move this frame
    rec.shots[0] = s;
    PlayerShotPass(world);
    EXPECT_EQ(rec.shots[0].active != 0, c.stays) << c.x << "," << c.y;
  }
}

// --- Z weapon spray ------------------------------------------------------

TEST_F(PlayerShotPassTest, SprayDrawsItsValuesInOrderAndThrowsTwoSparks) {
  rec.game.laserTimer = 5;
  std::srand(1);
  const int m1 = std::rand() % 50 - 25, m2 = std::rand() % 50 - 25;
  int life[2], vx[2], vy[2];
  for (int i = 0; i < 2; ++i) {
    life[i] = std::rand() % 20 + 12;
    vx[i] = std::rand() % 16 - 8;
    vy[i] = std::rand() % 16 - 8;
  }
  std::srand(1);
  PlayerShotPass(world);
  EXPECT_EQ(rec.game.laserTimer, 4);
  const PlayerShot& s = rec.shots[0];
  EXPECT_EQ(s.kind, 5);
  EXPECT_EQ(s.halfWidth, 16);
  EXPECT_EQ(s.halfHeight, 16);
  EXPECT_EQ(s.motion3, m1 >= 0 ? 1 : 0);
  EXPECT_EQ(s.motion4, m2 >= 0 ? 1 : 0);
  // Already moved once in this pass.
  EXPECT_EQ(s.x, 240 + m1);
  EXPECT_EQ(s.y, 400 + m2);
  EXPECT_EQ(s.motion1, m1 + (m1 >= 0 ? -3 : 3));
  for (int i = 0; i < 2; ++i) {
    const Particle& p = rec.particles[i];
    EXPECT_EQ(p.kind, 3);
    EXPECT_EQ(p.x, 240);
    EXPECT_EQ(p.y, 390);
    EXPECT_EQ(p.life, life[i]);
    EXPECT_EQ(p.vx, vx[i]);
    EXPECT_EQ(p.vy, vy[i]);
  }
  EXPECT_EQ(rec.particles[2].kind, 0);  // then the shot's trail
  EXPECT_EQ(CountActive(rec.particles), 3);
}

TEST_F(PlayerShotPassTest, HeldShotButtonSpraysArcingShots) {
  rec.game.laserTimer = 5;
  rec.game.joyButton2 = 1;
  std::srand(1);
  const int m1 = -(std::rand() % 23 + 7), m2 = std::rand() % 9 + 5;
  const int m3 = std::rand() % 2, m4 = std::rand() % 2 + 1;
  std::srand(1);
  PlayerShotPass(world);
  const PlayerShot& s = rec.shots[0];
  EXPECT_EQ(s.kind, 6);
  EXPECT_EQ(s.motion1, m1 + 4);
  EXPECT_EQ(s.motion2, m2 - m4);
  EXPECT_EQ(s.motion3, m3);
  EXPECT_EQ(s.motion4, m4);
  EXPECT_EQ(s.y, 400 - (m1 + 4));
}

TEST_F(PlayerShotPassTest, SprayIntoAFullPoolIsDropped) {
  for (PlayerShot& s : rec.shots) s = ActiveShot(11, 200, 200);  // kind 11 never moves
  rec.game.laserTimer = 3;
  PlayerShotPass(world);
  EXPECT_EQ(rec.game.laserTimer, 2);
  for (const PlayerShot& s : rec.shots) EXPECT_EQ(s.kind, 11);
  EXPECT_EQ(CountActive(rec.particles), 2);  // the sparks still fly
}

// --- Ship, blink, hit flash and rings ------------------------------------

TEST_F(PlayerShotPassTest, ShipIsDrawnWithItsBankCell) {
  FillSheet(sheets->IL86, kTag86, 18);
  rec.player.bank = 6;
  PlayerShotPass(world);
  EXPECT_EQ(CellAt(world.canvas, kTag86, 197, 357), 6);
  EXPECT_EQ(CellAt(world.canvas, kTag86, 282, 442), 6);
  EXPECT_EQ(CellAt(world.canvas, kTag86, 196, 357), -1);
}

TEST_F(PlayerShotPassTest, BlinkingShipAlternatesFlashAndNormalCells) {
  FillSheet(sheets->IL86, kTag86, 18);
  rec.player.bank = 2;
  rec.game.flashTimer = 20;  // past the rings
  std::vector<int> cells;
  for (int f = 0; f < 4; ++f) {
    PlayerShotPass(world);
    cells.push_back(CellAt(world.canvas, kTag86, 240, 400));
  }
  EXPECT_EQ(cells, (std::vector<int>{11, 2, 11, 2}));
  EXPECT_EQ(rec.game.flashTimer, 16);
}

TEST_F(PlayerShotPassTest, FirstFrameAfterAHitFillsWithTheBrushAndLeavesItSolid) {
  rec.game.flashTimer = 77;
  world.canvas.brush.style = platform::BrushStyle::Clear;
  PlayerShotPass(world);
  EXPECT_EQ(rec.game.flashTimer, 76);
  EXPECT_EQ(world.canvas.Pixel(0, 0), platform::kWhite);
  EXPECT_EQ(world.canvas.Pixel(479, 479), platform::kWhite);
  EXPECT_EQ(world.canvas.brush.style, platform::BrushStyle::Solid);
  // After a stage transition the brush is black: the flash is black.
  world.canvas.brush.color = platform::kBlack;
  world.canvas.SetPixel(5, 5, Rgb(1, 2, 3));
  rec.game.flashTimer = 77;
  PlayerShotPass(world);
  EXPECT_EQ(world.canvas.Pixel(5, 5), platform::kBlack);
}

TEST_F(PlayerShotPassTest, ShockRingsSweepOutWithAClearBrush) {
  PlaceShip(rec, 240, 240);
  rec.game.flashTimer = 75;  // 74 after this frame: step 2
  world.canvas.brush.style = platform::BrushStyle::Solid;
  PlayerShotPass(world);
  EXPECT_EQ(world.canvas.brush.style, platform::BrushStyle::Clear);
  EXPECT_EQ(world.canvas.Pixel(240 + 78, 240), Rgb(255, 255, 0));
  EXPECT_EQ(world.canvas.Pixel(240, 240 - 150), Rgb(128, 128, 0));
  EXPECT_EQ(world.canvas.Pixel(240 + 100, 240), platform::kBlack);  // only outlines
  EXPECT_EQ(world.canvas.pen.color, Rgb(128, 128, 0));
}

TEST_F(PlayerShotPassTest, NoRingsOnceTheFlashHasDroppedTo30) {
  rec.game.flashTimer = 31;
  world.canvas.brush.style = platform::BrushStyle::Solid;
  PlayerShotPass(world);
  EXPECT_EQ(world.canvas.brush.style, platform::BrushStyle::Solid);
  for (int x = 0; x < 480; ++x) EXPECT_EQ(world.canvas.Pixel(x, 400), platform::kBlack) << x;
}

TEST_F(PlayerShotPassTest, LaserRingGrowsForTwentyOneFramesInNavyAndBlue) {
  PlaceShip(rec, 200, 240);
  rec.player.ringActive = 1;
  PlayerShotPass(world);
  EXPECT_EQ(rec.player.ringFrame, 1);
  EXPECT_EQ(world.canvas.Pixel(222, 240), Rgb(0, 0, 128));
  EXPECT_EQ(world.canvas.Pixel(233, 240), Rgb(0, 0, 128));
  EXPECT_EQ(world.canvas.Pixel(244, 240), Rgb(0, 0, 255));
  EXPECT_EQ(world.canvas.brush.style, platform::BrushStyle::Clear);
  for (int f = 2; f <= 20; ++f) PlayerShotPass(world);
  EXPECT_EQ(rec.player.ringActive, 1);
  PlaceShip(rec, 5, 240);
  rec.player.ringActive = 1;
  rec.player.ringFrame = 20;
  PlayerShotPass(world);  // frame 21: still drawn, then over
  EXPECT_EQ(rec.player.ringActive, 0);
  EXPECT_EQ(world.canvas.Pixel(5 + 22 * 21, 240), Rgb(0, 0, 128));
  // Over: the next frame draws no ring.
  world.canvas.brush = {platform::kBlack, platform::BrushStyle::Solid};
  world.canvas.FillRect(world.canvas.ClipRect());
  rec.player.x = 240;
  PlayerShotPass(world);
  EXPECT_EQ(rec.player.ringFrame, 21);
  for (int x = 0; x < 480; ++x) EXPECT_EQ(world.canvas.Pixel(x, 240), platform::kBlack) << x;
}

}  // namespace
}  // namespace dovrex
