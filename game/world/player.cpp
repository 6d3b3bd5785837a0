// The player update: entry and exit flights, movement, firing and the start
// of the Z weapon; then the rest of the play frame in its fixed order.
#include "game/world/player.h"

#include <algorithm>

#include "game/data/weapon_tables.h"
#include "game/world/effects.h"
#include "game/world/enemies.h"
#include "game/world/joystick_poll.h"
#include "game/world/particle_spawns.h"
#include "game/world/player_shots.h"
#include "game/world/pools.h"
#include "game/world/stage_flow.h"

namespace dovrex {

namespace {

// The scripted flight in from below: rises 12 frames, holds one, sinks back 3
// and hands over on the 14th frame.
void enterFlight(GameState& game, PlayerShip& ship) {
  ship.y -= game.shipVy;
  game.shipVy -= 3;
  if (game.shipVy < -5) game.shipState = kShipUnderControl;
}

int towardLevel(int bank) {
  if (bank < 4) return bank + 1;
  if (bank > 4) return bank - 1;
  return bank;
}

// The flight off the top after a stage end; far above the field the stage
// transition is requested.
void exitFlight(GameRecord& rec) {
  GameState& game = rec.game;
  PlayerShip& ship = rec.player;
  ship.bank = towardLevel(ship.bank);
  ship.y -= game.shipVy;
  game.shipVy = std::min(game.shipVy + 3, 23);
  if (ship.y < -800) {
    rec.gameMode = kModeTransition;
    ++game.stage;
    rec.transitionTimer = 0;
  }
}

void controlledFrame(World& world) {
  GameState& game = world.game();
  game.joyDown = game.joyLeft = game.joyRight = game.joyUp = 0;
  game.joyButton1 = game.joyButton2 = 0;
  game.movedSideways = 0;
  FullJoystickPoll(world);
  MoveShip(world, game.keyDown == 1 || game.joyDown == 1, game.keyUp == 1 || game.joyUp == 1,
           game.keyLeft == 1 || game.joyLeft == 1, game.keyRight == 1 || game.joyRight == 1);
  if ((game.keyShot == 1 || game.joyButton2 != 0) && game.buttonLatch == 0 && game.laserTimer < 1 &&
      game.dying == 0) {
    FireWeapons(world, kMissileWaitLevel1, kMissileWaitLevel2);
  }
  // The gun toggle runs every controlled frame, held or not.
  ++game.buttonLatch;
  if (game.buttonLatch > 1) game.buttonLatch = 0;
  ++game.missileTimer;
  if (game.keyLaser == 1 || game.joyButton1 == 1) StartLaser(world);
}

void fireMainGun(World& world) {
  GameRecord& rec = world.rec;
  const int level = rec.game.shotLevel;
  if (level < 0 || level >= static_cast<int>(kGunLevels.size())) return;
  const GunLevel& gun = kGunLevels[level];
  const int busy = static_cast<int>(std::count_if(rec.shots.begin(), rec.shots.begin() + gun.lastEntry + 1,
                                                  [](const PlayerShot& s) { return s.active != 0; }));
  if (busy >= gun.limit) return;
  const PlayerShip& ship = rec.player;
  for (int j = 0; j < gun.pelletCount; ++j) {
    PlayerShot* shot = FirstFree(rec.shots, 0, gun.lastEntry);
    if (shot == nullptr) return;
    const Pellet& pellet = gun.pellets[j];
    shot->active = 1;
    shot->x = ship.x + pellet.dx;
    shot->y = ship.y + pellet.dy;
    shot->kind = pellet.kind;
    shot->frame = pellet.frame;
    shot->halfWidth = kPelletHalfWidth;
    shot->halfHeight = kPelletHalfHeight;
    world.sheets.IL32.Draw(world.canvas, ship.x - 16, ship.y + kMuzzleFlashDy, kMuzzleFlashCell);
  }
}

void launchMissiles(World& world, const std::array<MissileLaunch, 2>& pair) {
  GameRecord& rec = world.rec;
  for (const MissileLaunch& launch : pair) {
    PlayerShot* shot = FirstFree(rec.shots);
    if (shot == nullptr) return;
    shot->active = 1;
    shot->x = rec.player.x + launch.dx;
    shot->y = rec.player.y;
    shot->kind = launch.kind;
    shot->motion1 = launch.motion1;
    shot->frame = 0;
    shot->halfWidth = kMissileHalfWidth;
    shot->halfHeight = kMissileHalfHeight;
  }
}

}  // namespace

void PlayerUpdate(World& world) {
  GameRecord& rec = world.rec;
  GameState& game = rec.game;
  if (game.shipState == kShipEntering) {
    enterFlight(game, rec.player);
  } else if (game.shipState >= kShipLeaving) {
    exitFlight(rec);
  } else {
    controlledFrame(world);
  }
  game.demoShot = 0;
  PlayerShotPass(world);
  ++game.scriptTick;
  if (game.scriptTick > 5) ScriptStep(world);
  EnemyPass(world);
}

void MoveShip(World& world, bool down, bool up, bool left, bool right) {
  GameState& game = world.game();
  PlayerShip& ship = world.player();
  game.movedSideways = 0;
  if (down) ship.y = std::min(ship.y + 10, 470);
  if (up) ship.y = std::max(ship.y - 10, 30);
  if (left) {
    ship.x = std::max(ship.x - 10, 15);
    ship.bank = std::min(ship.bank + 1, 8);
    game.movedSideways = 1;
  }
  if (right) {
    ship.x = std::min(ship.x + 10, 465);
    ship.bank = std::max(ship.bank - 1, 0);
    game.movedSideways = 1;
  }
  if (game.movedSideways == 0) ship.bank = towardLevel(ship.bank);
}

void FireWeapons(World& world, int interval1, int interval2) {
  fireMainGun(world);
  GameState& game = world.game();
  if (game.missileLevel <= 0) return;
  if (game.missileTimer <= (game.missileLevel == 1 ? interval1 : interval2)) return;
  game.missileTimer = 0;
  if (game.missileLevel == 2) launchMissiles(world, kOuterMissiles);
  if (game.missileLevel <= 2) launchMissiles(world, kInnerMissiles);
}

void StartLaser(World& world) {
  GameState& game = world.game();
  if (game.laserTimer >= 1 || game.laserStock <= 0) return;
  game.soundRequest = kSoundLaser;
  game.flashTimer = kLaserFlashFrames;
  game.laserTimer = kLaserFrames;
  --game.laserStock;
  world.player().ringActive = 1;
  world.player().ringFrame = 0;
}

void HitShip(World& world) {
  GameState& game = world.game();
  PlayerShip& ship = world.player();
  --ship.shield;
  if (ship.shield < 0) game.dying = 1;
  game.flashTimer = 77;
  ship.explosionFrame = 0;
  game.soundRequest = kSoundShipHit;
  SpawnBurst(world, Burst::Ship, ship.x, ship.y);
}

}  // namespace dovrex
