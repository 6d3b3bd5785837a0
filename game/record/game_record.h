#pragma once
// The game record: every piece of game state, zero-initialised, owned by the
// main window for the whole run. Integer-only; positions are sprite centres
// in playfield pixels, speeds pixels per frame, times frames.
#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

#include "game/data/game_constants.h"
#include "platform/graphics/rect.h"

namespace dovrex {

inline constexpr int kShotCount = 131;
inline constexpr int kEnemyCount = 60;
inline constexpr int kEnemyShotCount = 152;
inline constexpr int kLabelCount = 31;
inline constexpr int kParticleCount = 391;
inline constexpr int kHighScoreCount = 13;

// Sizes of the nine sound effect buffers: each holds a whole WAV file plus a
// trailing zero byte.
inline constexpr auto kSoundBufferSizes =
    std::to_array<int>({101099, 27479, 13401, 21049, 24019, 37105, 55263, 18643, 11145});
static_assert(kSoundBufferSizes.size() == kSoundEffectCount);

// GameState::shipState: who flies the ship.
enum ShipState : std::int32_t {
  kShipUnderControl = 0,
  kShipEntering = 1,  // the scripted flight in from below
  kShipLeaving = 2,   // the flight off the top after a stage end
};

struct GameState {
  std::int32_t score;
  std::int32_t modeTimer;
  std::int32_t stage;
  std::int32_t scriptTick;
  std::int32_t scriptWait;
  std::int32_t scriptStep;
  std::int32_t scriptEntry;
  std::int32_t farScroll, nearScroll;
  std::int32_t shipState;  // a ShipState
  std::int32_t shipVy;
  std::int32_t shotLevel;
  std::int32_t laserStock;
  std::int32_t missileLevel;
  std::int32_t missileTimer;
  std::int32_t flashTimer;
  std::int32_t blinkPhase;
  std::int32_t dying;
  std::int32_t laserTimer;
  std::int32_t movedSideways;
  std::int32_t soundRequest;  // a SoundEffect
  std::int32_t keyDown, keyLeft, keyRight, keyUp;
  std::int32_t keyLaser, keyShot;
  std::int32_t buttonLatch;
  std::int32_t joyDown, joyLeft, joyRight, joyUp;
  std::int32_t joyButton1, joyButton2;
  std::int32_t demoDown, demoLeft, demoRight, demoUp, demoLaser, demoShot;
  std::int32_t hiliteLaser, hiliteShot, hiliteUp, hiliteDown, hiliteLeft, hiliteRight;
  std::int32_t musicRequest;
  std::array<std::uint8_t, kSoundBufferSizes[0]> sound01;
  std::array<std::uint8_t, kSoundBufferSizes[1]> sound02;
  std::array<std::uint8_t, kSoundBufferSizes[2]> sound03;
  std::array<std::uint8_t, kSoundBufferSizes[3]> sound04;
  std::array<std::uint8_t, kSoundBufferSizes[4]> sound05;
  std::array<std::uint8_t, kSoundBufferSizes[5]> sound06;
  std::array<std::uint8_t, kSoundBufferSizes[6]> sound07;
  std::array<std::uint8_t, kSoundBufferSizes[7]> sound08;
  std::array<std::uint8_t, kSoundBufferSizes[8]> sound09;
};

namespace detail {
template <class State>
auto soundBuffer(State& game, int n) {
  using Span = std::span<std::conditional_t<std::is_const_v<State>, const std::uint8_t, std::uint8_t>>;
  switch (n) {
    case 1:
      return Span(game.sound01);
    case 2:
      return Span(game.sound02);
    case 3:
      return Span(game.sound03);
    case 4:
      return Span(game.sound04);
    case 5:
      return Span(game.sound05);
    case 6:
      return Span(game.sound06);
    case 7:
      return Span(game.sound07);
    case 8:
      return Span(game.sound08);
    case 9:
      return Span(game.sound09);
    default:
      return Span();
  }
}
}  // namespace detail

// Buffer of sound effect n (1..9); empty for any other n.
inline std::span<std::uint8_t> SoundBuffer(GameState& game, int n) { return detail::soundBuffer(game, n); }
inline std::span<const std::uint8_t> SoundBuffer(const GameState& game, int n) {
  return detail::soundBuffer(game, n);
}

struct PlayerShip {
  std::int32_t x, y;
  std::int32_t bank;  // 0..8, 4 = level flight; also the ship's sprite cell
  std::int32_t shield;
  std::int32_t explosionFrame;
  std::int32_t ringActive;
  std::int32_t ringFrame;
};

struct PlayerShot {
  std::int32_t active;
  std::int32_t x, y;
  std::int32_t frame;
  std::int32_t kind;
  std::int32_t motion1, motion2, motion3, motion4;
  std::int32_t halfWidth, halfHeight;
};

// Enemy::state: the pool entry's liveness.
enum EnemyState : std::int32_t {
  kEnemyFree = 0,
  kEnemyAlive = 1,
  kEnemyExploding = 2,  // the explosion runs on frame; the entry then frees itself
};

struct Enemy {
  std::int32_t state;  // an EnemyState
  std::int32_t x, y;
  std::int32_t frame;
  std::int32_t kind;
  std::int32_t hp;
  std::int32_t halfWidth, halfHeight;
  std::int32_t param0, param1, param2, param3, param4, param5, param6, param7;
  std::int32_t look;
};

// The named states are stored in the record's plain 32-bit fields.
static_assert(std::is_same_v<std::underlying_type_t<ShipState>, decltype(GameState::shipState)>);
static_assert(std::is_same_v<std::underlying_type_t<EnemyState>, decltype(Enemy::state)>);

struct EnemyShot {
  std::int32_t active;
  std::int32_t x, y;
  std::int32_t frame;
  std::int32_t kind;
  std::int32_t halfWidth, halfHeight;
  std::int32_t param0, param1, param2, param3, param4;
};

struct FloatingLabel {
  std::int32_t x, y;
  std::int32_t timer;  // frames still shown; 0 = free
  std::int32_t kind;
  std::int32_t unused;
};

struct Particle {
  std::int32_t x, y;
  std::int32_t active;
  std::int32_t kind;
  std::int32_t frame;
  std::int32_t life;
  std::int32_t vx, vy;
  std::int32_t frictionTick;
};

struct GameRecord {
  platform::Rect clearDestRect, clearSourceRect;
  std::int32_t gameMode;  // a GameMode
  std::int32_t rankingNext;
  // The original shared these as loop counters; rules use locals. The stage
  // script hands a column wave's sway amplitude over in loopIndex4.
  std::int32_t loopIndex, loopIndex2, loopIndex3, loopIndex4;
  std::int32_t scratchValue;
  std::int32_t textIndex, textCell;
  std::int32_t rankingPrepared, rankingBlink, newRank;
  std::int32_t transitionTimer;
  char textBuffer[40];
  std::array<std::int32_t, 16> cosTable;
  std::array<std::int32_t, 16> sinTable;
  GameState game;
  // The original's cursors into the record, kept for its layout: the main
  // window links gameRef and playerRef once; the enemy pass leaves curEnemy
  // on the entry it last visited; the others are never set.
  GameState* gameRef;
  PlayerShip player;
  PlayerShip* playerRef;
  std::array<PlayerShot, kShotCount> shots;
  PlayerShot* curShot;
  std::array<Enemy, kEnemyCount> enemies;
  Enemy* curEnemy;
  std::array<EnemyShot, kEnemyShotCount> enemyShots;
  EnemyShot* curEnemyShot;
  std::array<FloatingLabel, kLabelCount> labels;
  FloatingLabel* curLabel;
  std::array<Particle, kParticleCount> particles;
  Particle* curParticle;
  std::array<std::int32_t, kHighScoreCount> highScores;
  std::uint32_t joyLeftThreshold, joyUpThreshold, joyRightThreshold, joyDownThreshold;
};

}  // namespace dovrex
