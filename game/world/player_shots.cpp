// The player-shot pass: Z weapon spray, the ship with its blink, hit flash,
// shock rings and death explosion, every player shot moved and drawn, then
// the sound dispatch and the floating labels.
#include "game/world/player_shots.h"

#include <algorithm>

#include "game/data/weapon_tables.h"
#include "game/presentation/assets.h"
#include "game/presentation/colors.h"
#include "game/world/effects.h"
#include "game/world/labels.h"
#include "game/world/particle_spawns.h"
#include "game/world/player.h"
#include "game/world/pools.h"
#include "game/world/stage_flow.h"

namespace dovrex {

namespace {

// One spray shot of a running Z charge, and two sparks at the ship's nose.
void laserSpray(World& world) {
  GameRecord& rec = world.rec;
  GameState& game = rec.game;
  const PlayerShip& ship = rec.player;
  --game.laserTimer;
  if (PlayerShot* shot = FirstFree(rec.shots)) {
    shot->active = 1;
    shot->x = ship.x;
    shot->y = ship.y;
    shot->frame = 0;
    shot->halfWidth = kSprayHalfExtent;
    shot->halfHeight = kSprayHalfExtent;
    if (game.keyShot != 0 || game.joyButton2 != 0 || game.demoShot != 0) {
      // Falls first, then arcs upward while its sideways speed reverses.
      shot->kind = 6;
      shot->motion1 = -(R(23) + 7);
      shot->motion2 = R(9) + 5;
      shot->motion3 = R(2);
      shot->motion4 = R(2) + 1;
    } else {
      // Flies out, is braked back through its start and leaves the other way.
      shot->kind = 5;
      shot->motion1 = R(50) - 25;
      shot->motion2 = R(50) - 25;
      shot->motion3 = shot->motion1 >= 0 ? 1 : 0;
      shot->motion4 = shot->motion2 >= 0 ? 1 : 0;
    }
  }
  for (int i = 0; i < 2; ++i) {
    Particle* p = NewParticle(rec, ship.x, ship.y - 10, kParticleSpark);
    if (p == nullptr) break;
    p->life = R(20) + 12;
    p->vx = R(16) - 8;
    p->vy = R(16) - 8;
  }
}

void drawShip(World& world) {
  GameRecord& rec = world.rec;
  GameState& game = rec.game;
  PlayerShip& ship = rec.player;
  if (game.dying == 0) {
    int cell = ship.bank;
    if (game.flashTimer >= 1) {
      // Blinking: normal and flash cells alternate frame by frame.
      ++game.blinkPhase;
      if (game.blinkPhase > 1) {
        game.blinkPhase = 0;
      } else {
        cell = ship.bank + 9;
      }
      --game.flashTimer;
    }
    world.sheets.IL86.Draw(world.canvas, ship.x - 43, ship.y - 43, cell);
    return;
  }
  ++ship.explosionFrame;
  if (ship.explosionFrame > 15) {
    rec.gameMode = kModeGameOver;
    game.buttonLatch = 1;  // a button still held is not a new press
    game.musicRequest = 1;
  } else {
    world.sheets.IL96.Draw(world.canvas, ship.x - 48, ship.y - 48, ship.explosionFrame);
  }
  --game.flashTimer;
}

void drawHitFlash(World& world) {
  const int flash = world.game().flashTimer;
  if (flash <= 30) return;
  platform::Canvas& canvas = world.canvas;
  if (flash > 75) {
    // NOTE: fills with whatever brush colour the canvas holds and leaves the
    // brush solid until the rings set it clear again.
    canvas.brush.style = platform::BrushStyle::Solid;
    canvas.FillRect(canvas.ClipRect());
    return;
  }
  const PlayerShip& ship = world.player();
  const int step = 76 - flash;
  canvas.brush.style = platform::BrushStyle::Clear;
  canvas.pen.color = kYellow;
  canvas.Circle(ship.x, ship.y, 39 * step);
  canvas.pen.color = kOlive;
  canvas.Circle(ship.x, ship.y, 75 * step);
}

void drawLaserRing(World& world) {
  PlayerShip& ship = world.player();
  if (ship.ringActive != 1) return;
  ++ship.ringFrame;
  if (ship.ringFrame > 20) ship.ringActive = 0;  // this frame is still drawn
  platform::Canvas& canvas = world.canvas;
  canvas.brush.style = platform::BrushStyle::Clear;
  canvas.pen.color = kNavy;
  canvas.Circle(ship.x, ship.y, 22 * ship.ringFrame);
  canvas.Circle(ship.x, ship.y, 33 * ship.ringFrame);
  canvas.pen.color = kBlue;
  canvas.Circle(ship.x, ship.y, 44 * ship.ringFrame);
}

void moveShot(World& world, PlayerShot& shot) {
  GameRecord& rec = world.rec;
  const platform::ImageList& il32 = world.sheets.IL32;
  switch (shot.kind) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
      shot.x += kPelletSteps[shot.kind].dx;
      shot.y += kPelletSteps[shot.kind].dy;
      il32.Draw(world.canvas, shot.x - 16, shot.y - 16, 7 + shot.frame);
      shot.frame = shot.frame == 0 ? 1 : 0;
      break;
    case 5:
      shot.x += shot.motion1;
      shot.y += shot.motion2;
      shot.motion1 += shot.motion3 == 0 ? 3 : -3;
      shot.motion2 += shot.motion4 == 0 ? 3 : -3;
      il32.Draw(world.canvas, shot.x - 16, shot.y - 16, 0);
      SpawnStillParticle(rec, shot.x, shot.y, kParticleShotTrail, 0, kStillParticleLife);
      break;
    case 6:
      shot.motion1 += 4;
      shot.motion2 -= shot.motion4;
      shot.x += shot.motion3 != 0 ? shot.motion2 : -shot.motion2;
      shot.y -= shot.motion1;
      il32.Draw(world.canvas, shot.x - 16, shot.y - 16, 0);
      SpawnStillParticle(rec, shot.x, shot.y, kParticleShotTrail, 0, kStillParticleLife);
      break;
    case 7:
    case 8:
    case 9:
    case 10:
      // Sinks below the ship first, then climbs ever faster.
      shot.motion1 = std::min(shot.motion1 + 3, kMissileTopSpeed);
      shot.x += kMissileDrift[shot.kind - 7];
      shot.y -= shot.motion1;
      world.sheets.IL44.Draw(world.canvas, shot.x - 22, shot.y - 22, shot.frame);
      ++shot.frame;
      if (shot.frame > 3) shot.frame = 0;
      SpawnStillParticle(rec, shot.x + 4, shot.y + 30, kParticleSmoke, 0, kStillParticleLife);
      break;
    default:
      break;
  }
}

}  // namespace

void PlayerShotPass(World& world) {
  GameRecord& rec = world.rec;
  if (rec.game.laserTimer > 0) laserSpray(world);
  drawShip(world);
  drawHitFlash(world);
  drawLaserRing(world);
  for (PlayerShot& shot : rec.shots) {
    if (shot.active == 0) continue;
    moveShot(world, shot);
    if (shot.x > 520 || shot.x < -40 || shot.y < -20 || shot.y > 550) shot.active = 0;
  }
  DispatchSound(world);
  LabelPass(world);
}

}  // namespace dovrex
