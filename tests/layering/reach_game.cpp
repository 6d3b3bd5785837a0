// A game header: only the game, its tools and tests may include it.
#include "game/record/game_record.h"
