#pragma once
// How enemies and bosses fire: one shot into the lowest free enemy-shot entry,
// and the patterns built from it. A full pool drops the shot silently.
#include "game/record/game_record.h"

namespace dovrex {

// Shot kinds that enemies create (their motion belongs to the enemy-shot pass).
inline constexpr int kShotAimed = 0;
inline constexpr int kShotStraightDown = 1;
inline constexpr int kShotFanFalling = 2;
inline constexpr int kShotFanFast = 3;
inline constexpr int kShotFast = 4;    // 23 px per frame along a direction
inline constexpr int kShotMedium = 5;  // 17
inline constexpr int kShotSlow = 6;    // 11
inline constexpr int kShotScatter = 7;
inline constexpr int kShotWeaveFalling = 8;
inline constexpr int kShotWeaveFast = 9;
inline constexpr int kShotSpray = 10;
inline constexpr int kShotStream = 11;  // 14 px per frame along a direction

// Speeds of the kinds that fly along a direction, in px per frame.
inline constexpr int kFastShotSpeed = 23;
inline constexpr int kMediumShotSpeed = 17;
inline constexpr int kSlowShotSpeed = 11;
inline constexpr int kStreamShotSpeed = 14;

// Directions index cosTable and sinTable: 0 left, 4 up, 8 right, 12 down.
inline constexpr int kDirectionCount = 16;
inline constexpr int kDirectionDown = 12;

// Half extents of the shots the enemy kinds create themselves.
inline constexpr int kFastShotHalf = 7;    // directions, rings and bursts
inline constexpr int kGunShotHalf = 6;     // the straight-down guns
inline constexpr int kStreamShotHalf = 3;  // the spinning turret's streams

// Takes the lowest free entry and makes it a new shot: active, position, frame
// 0, kind and half extents; its parameters keep what the entry held until the
// caller sets them. nullptr when all entries are busy.
EnemyShot* SpawnEnemyShot(GameRecord& rec, int kind, int x, int y, int halfWidth, int halfHeight);

struct Velocity {
  int vx, vy;
};
// The aimed shot's velocity from (x, y) toward the ship.
Velocity AimedVelocity(const GameRecord& rec, int x, int y);

// One kind-0 shot aimed at the ship. No sound.
void AimedShot(GameRecord& rec, int x, int y);
// A kind-1 shot straight down and four side shots of speeds -2s, -s, s, 2s.
// True when the kind-1 shot was created (the phase changes that wait for a
// volley wait for that shot).
bool FanVolley(GameRecord& rec, int x, int y, int spread = 1);
// A kind-1 shot and four swinging shots; true when the kind-1 shot was created.
bool WeaveVolley(GameRecord& rec, int x, int y);
// One shot of this kind in each of the directions 0, step, 2*step, ... < 16.
void Ring(GameRecord& rec, int x, int y, int shotKind, int step);
inline constexpr int kEveryDirection = 1;        // a ring of 16
inline constexpr int kEverySecondDirection = 2;  // a ring of 8
inline void RingOf16(GameRecord& rec, int x, int y) { Ring(rec, x, y, kShotFast, kEveryDirection); }
inline void RingOf8(GameRecord& rec, int x, int y) { Ring(rec, x, y, kShotFast, kEverySecondDirection); }
// A fast shot in direction d, already one step along its way.
void DirectionShot(GameRecord& rec, int x, int y, int d);
// A kind-7 shot thrown up and sideways with random speeds.
void ScatterShot(GameRecord& rec, int x, int y);
// Six or seven upward shots spread across the width.
void SprayOf6(GameRecord& rec, int x, int y);
void SprayOf7(GameRecord& rec, int x, int y);

// A child enemy of kind 23 (falling, with a smoke trail) in the lowest free
// enemy entry, frame 0, hp 2, half extents 17 x 21; the caller sets its
// speeds, other fields keep what the entry held. nullptr when none is free.
Enemy* SpawnFallingChild(GameRecord& rec, int x, int y, int look);

}  // namespace dovrex
