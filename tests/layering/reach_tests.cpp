// A test helper: only tests and benchmarks may include it.
#include "tests/game/world_fixture.h"
