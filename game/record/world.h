#pragma once
// What every rule works on: the game record, the composing image's canvas
// (I1), the image lists and the outside services.
#include "game/record/game_record.h"
#include "game/record/game_services.h"
#include "game/record/sprite_sheets.h"
#include "platform/graphics/canvas.h"

namespace dovrex {

struct World {
  GameRecord& rec;
  platform::Canvas& canvas;
  SpriteSheets& sheets;
  GameServices& services;

  GameState& game() { return rec.game; }
  PlayerShip& player() { return rec.player; }
};

}  // namespace dovrex
