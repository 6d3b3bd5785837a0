#include "game/sound_dispatch.h"

namespace dovrex {

std::span<const std::uint8_t> SoundEffect(const GameState& game, int n) {
  switch (n) {
    case 1:
      return game.sound01;
    case 2:
      return game.sound02;
    case 3:
      return game.sound03;
    case 4:
      return game.sound04;
    case 5:
      return game.sound05;
    case 6:
      return game.sound06;
    case 7:
      return game.sound07;
    case 8:
      return game.sound08;
    case 9:
      return game.sound09;
    default:
      return {};
  }
}

void DispatchSound(World& world) {
  GameState& game = world.game();
  if (game.soundRequest <= 0) return;
  // A missing file left its buffer zero-filled; the platform stays silent on
  // such data, so it is handed over like any other.
  if (game.soundRequest <= kSoundEffectCount)
    world.services.PlaySoundMemory(SoundEffect(game, game.soundRequest));
  game.soundRequest = 0;
}

}  // namespace dovrex
