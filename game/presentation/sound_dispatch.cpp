#include "game/presentation/sound_dispatch.h"

namespace dovrex {

void DispatchSound(World& world) {
  GameState& game = world.game();
  if (game.soundRequest <= 0) return;
  // A missing file left its buffer zero-filled; the platform stays silent on
  // such data, so it is handed over like any other.
  if (game.soundRequest <= kSoundEffectCount)
    world.services.PlaySoundMemory(SoundBuffer(game, game.soundRequest));
  game.soundRequest = 0;
}

}  // namespace dovrex
