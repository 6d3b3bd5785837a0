#include <gtest/gtest.h>

#include "game/presentation/assets.h"
#include "game/world/collisions.h"
#include "game/world/player.h"
#include "game/world/player_shots.h"
#include "tests/game/world_builders.h"
#include "tests/game/world_fixture.h"

namespace dovrex {
namespace {

using namespace dovrex::testing;

class SoundDispatchTest : public WorldTest {};

TEST_F(SoundDispatchTest, EachRequestPlaysItsOwnWholeBufferAndIsCleared) {
  for (int n = 1; n <= 9; ++n) {
    services.played.clear();
    rec.game.soundRequest = n;
    DispatchSound(world);
    ASSERT_EQ(services.played.size(), 1u) << "effect " << n;
    EXPECT_EQ(services.played[0], SoundBuffer(rec.game, n).data()) << "effect " << n;
    EXPECT_EQ(SoundBuffer(rec.game, n).size(), static_cast<std::size_t>(kSoundBufferSizes[n - 1]));
    EXPECT_EQ(rec.game.soundRequest, 0);
  }
  EXPECT_EQ(SoundBuffer(rec.game, 1).data(), rec.game.sound01.data());
  EXPECT_EQ(SoundBuffer(rec.game, 9).data(), rec.game.sound09.data());
}

TEST_F(SoundDispatchTest, NoRequestPlaysNothing) {
  rec.game.soundRequest = 0;
  DispatchSound(world);
  rec.game.soundRequest = -3;
  DispatchSound(world);
  EXPECT_TRUE(services.played.empty());
}

TEST_F(SoundDispatchTest, RequestAboveNineIsClearedSilently) {
  rec.game.soundRequest = 10;
  DispatchSound(world);
  EXPECT_TRUE(services.played.empty());
  EXPECT_EQ(rec.game.soundRequest, 0);
  EXPECT_TRUE(SoundBuffer(rec.game, 10).empty());
  EXPECT_TRUE(SoundBuffer(rec.game, 0).empty());
}

TEST_F(SoundDispatchTest, MissingFileStillGoesToThePlatformAndClears) {
  // A sound file that was missing left its buffer all zeros; the platform
  // stays silent on it, but the dispatch behaves as for any other effect.
  rec.game.soundRequest = 6;
  DispatchSound(world);
  ASSERT_EQ(services.played.size(), 1u);
  EXPECT_EQ(services.played[0], rec.game.sound06.data());
  EXPECT_EQ(rec.game.soundRequest, 0);
  DispatchSound(world);
  EXPECT_EQ(services.played.size(), 1u);
}

TEST_F(SoundDispatchTest, LastRequestBeforeADispatchWins) {
  rec.game.soundRequest = 4;
  rec.game.soundRequest = 2;
  DispatchSound(world);
  ASSERT_EQ(services.played.size(), 1u);
  EXPECT_EQ(services.played[0], rec.game.sound02.data());
}

TEST_F(SoundDispatchTest, TwoKillsInOneFrameMakeOneSound) {
  for (int i = 0; i < 2; ++i) {
    rec.enemies[i] = AliveEnemy(100 + 100 * i, 100, 0);
  }
  KillEnemy(world, rec.enemies[0], true);
  KillEnemy(world, rec.enemies[1], true);
  DispatchSound(world);
  ASSERT_EQ(services.played.size(), 1u);
  EXPECT_EQ(services.played[0], rec.game.sound04.data());
}

TEST_F(SoundDispatchTest, HitSoundAfterAKillReplacesIt) {
  rec.enemies[0] = AliveEnemy(100, 100, 2);
  KillEnemy(world, rec.enemies[0], true);
  EXPECT_EQ(rec.game.soundRequest, 5);
  PlaceShip(rec, 240, 400);
  HitShip(world);
  DispatchSound(world);
  ASSERT_EQ(services.played.size(), 1u);
  EXPECT_EQ(services.played[0], rec.game.sound02.data());
}

TEST_F(SoundDispatchTest, PlayerShotPassPlaysTheRequestPendingFromTheLastFrame) {
  PlaceShip(rec, 240, 400);
  rec.game.soundRequest = 3;
  PlayerShotPass(world);
  ASSERT_EQ(services.played.size(), 1u);
  EXPECT_EQ(services.played[0], rec.game.sound03.data());
  EXPECT_EQ(rec.game.soundRequest, 0);
}

}  // namespace
}  // namespace dovrex
