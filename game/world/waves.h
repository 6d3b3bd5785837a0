#pragma once
// Sending the waves of the stage-script commands into the enemy pool.
#include "game/data/wave_table.h"
#include "game/record/game_record.h"

namespace dovrex {

// True when the command sends a wave.
bool IsWaveCommand(int command);

// Sends the wave of this command: every group listed for it, in order,
// members j = 0..count-1; a member that finds no free entry is skipped.
void SpawnWave(GameRecord& rec, int command);

}  // namespace dovrex
