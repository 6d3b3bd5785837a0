#include "game/world/stage_flow.h"

#include "game/data/stage_scripts.h"
#include "game/world/labels.h"
#include "game/world/pools.h"
#include "game/world/waves.h"

namespace dovrex {

namespace {

enum Command : int {
  kWait = 0,
  kShortWait = 1,
  kStage1Banner = 2,
  kStage2Banner = 3,
  kStageClear = 4,
  kWarning = 5,
  kMissionComplete = 6,
  kWaitForClearField = 24,
  kStageMusic = 58,
  kBossMusic = 59,
  kFadeOut = 60,
};

constexpr int kLastCommand = 60;
constexpr int kFadeOutMs = 3500;
constexpr int kBannerFrames = 50;
constexpr int kStageEndBannerFrames = 120;
constexpr int kExitFlightStartSpeed = 4;

bool fieldIsClear(const GameRecord& rec) {
  int sum = 0;
  for (const Enemy& e : rec.enemies) sum += e.state;  // capsules and explosions count too
  return sum == 0;
}

void endStage(GameRecord& rec, int bannerKind) {
  CreateLabel(rec, bannerKind, kStageEndBannerFrames);
  rec.game.shipState = kShipLeaving;
  rec.game.shipVy = kExitFlightStartSpeed;
}

}  // namespace

void ScriptStep(World& world) {
  GameState& game = world.game();
  game.scriptTick = 0;
  const auto script = StageScript(game.stage);
  // Past the end of a script every step reads as a wait.
  const int entry =
      game.scriptStep >= 0 && game.scriptStep < static_cast<int>(script.size()) ? script[game.scriptStep] : 0;
  game.scriptEntry = entry;
  ScriptCommand(world, entry);
}

void ScriptCommand(World& world, int entry) {
  GameRecord& rec = world.rec;
  GameState& game = rec.game;
  // An unknown command stalls the script on it.
  if (static_cast<unsigned>(entry) > kLastCommand) return;

  switch (entry) {
    case kWait:
      if (EveryFrames(game.scriptWait, 6)) ++game.scriptStep;  // held for 6 ticks in all
      return;
    case kShortWait:
      if (EveryFrames(game.scriptWait, 2)) ++game.scriptStep;
      return;
    case kWaitForClearField:
      if (fieldIsClear(rec)) ++game.scriptStep;
      return;
    case kStage1Banner:
      CreateLabel(rec, kLabelStage1, kBannerFrames);
      break;
    case kStage2Banner:
      CreateLabel(rec, kLabelStage2, kBannerFrames);
      break;
    case kStageClear:
      endStage(rec, kLabelStageClear);
      break;
    case kWarning:
      CreateLabel(rec, kLabelWarning, kBannerFrames);
      break;
    case kMissionComplete:
      endStage(rec, kLabelMissionComplete);
      break;
    case kStageMusic:
      game.musicRequest = 2;
      break;
    case kBossMusic:
      game.musicRequest = 3;
      break;
    case kFadeOut:
      world.services.SetMusicFadeOut(kFadeOutMs);
      break;
    default:
      SpawnWave(rec, entry);  // commands without a wave do nothing
      break;
  }
  ++game.scriptStep;
}

}  // namespace dovrex
