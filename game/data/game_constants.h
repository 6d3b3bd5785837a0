#pragma once
// Named values of the game record's integer fields: game modes, sound
// effects, enemy kinds and enemy looks. The record keeps plain integers;
// these name what they hold.
#include <cstdint>

namespace dovrex {

// gameMode: taken by the next frame's mode step.
enum GameMode : std::int32_t {
  kModeBoot = 0,
  kModeTitle = 1,
  kModeRanking = 2,
  kModeNewGame = 3,
  kModePlay = 4,
  kModeGameOver = 5,
  kModeTransition = 6,
  kModeInstructions = 7,
};

// soundRequest: the effect (s01.wav .. s09.wav) the next dispatch plays.
enum SoundEffect : std::int32_t {
  kSoundNone = 0,
  kSoundLaser = 1,      // the Z weapon starts
  kSoundShipHit = 2,    // the ship loses a shield
  kSoundPickup = 3,     // a capsule is taken
  kSoundKill = 4,       // most enemies
  kSoundLargeKill = 5,  // the large enemies
  kSoundBossKill = 6,
  kSoundRing = 7,    // a ring of shots
  kSoundVolley = 8,  // a fan, spray or weave volley
  kSoundShot = 9,    // single aimed or scattered shots
};
inline constexpr int kSoundEffectCount = 9;

// FloatingLabel::kind: the text a label shows.
enum LabelKind : std::int32_t {
  kLabelStage1 = 0,
  kLabelStage2 = 1,
  kLabelStageClear = 2,
  kLabelWarning = 3,
  kLabelMissionComplete = 4,
  kLabelFullLevel = 5,  // "1,000"
  kLabelPower = 6,
  kLabel500 = 7,
  kLabel700 = 8,
  kLabelLaser = 9,
  kLabelMissile = 10,
  kLabelShield = 11,
};
inline constexpr int kLabelKindCount = 12;

// Enemy::kind: the behaviour the enemy pass runs. Pairs differ by direction.
enum EnemyKind : std::int32_t {
  kKindColumnDown = 0,
  kKindColumnUp = 1,
  kKindSideEntryLeft = 2,
  kKindSideEntryRight = 3,
  kKindRingDive = 4,
  kKindPlainDive = 5,
  kKindCarrierDive = 6,
  kKindCapsule = 7,
  kKindLevelCrosser = 8,
  kKindDashAndBrake = 9,
  kKindGunPlatform = 10,
  kKindSweeperDown = 11,
  kKindSweeperUp = 12,
  kKindFirstBoss = 13,
  kKindArcLeft = 14,
  kKindArcRight = 15,
  kKindDropInTurret = 16,
  kKindWeavingDiver = 17,
  kKindCurverLeft = 18,
  kKindCurverRight = 19,
  kKindFlyerLeft = 20,
  kKindFlyerRight = 21,
  kKindSecondBoss = 22,
  kKindFallingChild = 23,
  kKindZigzagLayer = 24,
  kKindInert = 25,  // no spawner uses it: drawn and hit, never moved
  kKindBomberLeft = 26,
  kKindBomberRight = 27,
  kKindZigzagFanShooter = 28,
  kKindSpinningTurret = 29,
  kKindRing16Dive = 30,
  kKindSmallZigzagDrifter = 31,
  kKindBounceAndSpray = 32,
  kKindArcLobLeft = 33,
  kKindArcLobRight = 34,
  kKindGliderLeft = 35,
  kKindGliderRight = 36,
};
inline constexpr int kEnemyKindCount = 37;

// Enemy::look: the picture drawn and what a kill gives.
enum EnemyLook : std::int32_t {
  kLookSideEntry = 0,
  kLookColumn = 1,
  kLookRingDiver = 2,
  kLookCarrier = 3,  // leaves a random capsule
  kLookPlainDiver = 4,
  kLookCapsulePower = 5,  // 5..10: the six capsule types
  kLookCapsule500 = 6,
  kLookCapsule700 = 7,
  kLookCapsuleLaser = 8,
  kLookCapsuleMissile = 9,
  kLookCapsuleShield = 10,
  kLookCrosser = 11,
  kLookDasher = 12,
  kLookGunPlatform = 13,
  kLookNeededCarrier = 14,  // leaves the capsule the player needs
  kLookSweeper = 15,
  kLookFirstBoss = 16,
  kLookTurret = 17,
  kLookWeaver = 18,
  kLookCurver = 19,
  kLookSecondBoss = 20,
  kLookBossChild = 21,  // dropped by the second boss
  kLookZigzagLayer = 22,
  kLookLayerChild = 23,  // dropped by the zigzag layer
  kLookBomber = 24,
  kLookZigzagFan = 25,
  kLookSpinner = 26,
  kLookRing16Diver = 27,
  kLookDrifter = 28,
  kLookSprayer = 29,
  kLookArcLob = 30,
  kLookGlider = 31,
};
inline constexpr int kLookCount = 32;  // looks 0..31 draw; anything else draws nothing

}  // namespace dovrex
