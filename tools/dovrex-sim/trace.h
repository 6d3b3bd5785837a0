#pragma once
// One line of the frame trace: a JSON object with the frame's state.
#include <optional>
#include <string>

#include "game/record/game_record.h"

namespace dovrex::sim {

// What a frame did beyond the record: the effect played at its dispatch
// (0 for none) and the piece its music request started.
struct FrameOutputs {
  int sound = 0;
  std::optional<std::string> music;
};

std::string TraceLine(int frame, const GameRecord& rec, const FrameOutputs& outputs);

}  // namespace dovrex::sim
