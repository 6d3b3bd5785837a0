// A game header: only the game, its tools and tests may include it.
#include "game/world/game_record.h"
