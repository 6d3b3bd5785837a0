#include "game/world/waves.h"

#include <algorithm>

#include "game/world/pools.h"

namespace dovrex {

namespace {

using From = WaveField::From;

// Values drawn once per wave, in field order; the stage script kept the
// column's x in scratchValue and its sway amplitude in loopIndex4.
struct Shared {
  std::int32_t x = 0;
  std::array<std::int32_t, 8> param{};
};

std::int32_t evaluate(const WaveField& f, int j, std::int32_t shared, std::int32_t& side) {
  switch (f.from) {
    case From::Keep:
      return 0;
    case From::Value:
      return f.base + f.step * j;
    case From::Random:
      return R(f.range) + f.base;
    case From::OncePerWave:
      return shared;
    case From::List:
      return f.list[j];
    case From::Side:
      side = R(2);
      return side == 0 ? f.base : f.step;
    case From::SideFlag:
      return side;
  }
  return 0;
}

void set(std::int32_t& field, const WaveField& f, int j, std::int32_t shared, std::int32_t& side) {
  if (f.from != From::Keep) field = evaluate(f, j, shared, side);
}

void spawnGroup(GameRecord& rec, const WaveGroup& group) {
  const WaveMember& m = *group.member;
  Shared shared;
  if (m.x.from == From::OncePerWave) shared.x = rec.scratchValue = R(m.x.range) + m.x.base;
  for (int p = 0; p < 8; ++p) {
    const WaveField& f = m.param[p];
    if (f.from == From::OncePerWave) shared.param[p] = rec.loopIndex4 = R(f.range) + f.base;
  }
  for (int j = 0; j < group.count; ++j) {
    Enemy* e = FirstFree(rec.enemies);
    if (e == nullptr) continue;  // this member is lost; the others still come
    std::int32_t side = 0;
    e->state = kEnemyAlive;
    e->kind = m.kind;
    e->look = m.look;
    e->hp = m.hp;
    e->halfWidth = m.halfWidth;
    e->halfHeight = m.halfHeight;
    set(e->x, m.x, j, shared.x, side);
    set(e->y, m.y, j, 0, side);
    set(e->frame, m.frame, j, 0, side);
    std::int32_t* params[8] = {&e->param0, &e->param1, &e->param2, &e->param3,
                               &e->param4, &e->param5, &e->param6, &e->param7};
    for (int p = 0; p < 8; ++p) set(*params[p], m.param[p], j, shared.param[p], side);
  }
}

}  // namespace

bool IsWaveCommand(int command) {
  return std::ranges::any_of(WaveGroups(), [command](const WaveGroup& g) { return g.command == command; });
}

void SpawnWave(GameRecord& rec, int command) {
  for (const WaveGroup& group : WaveGroups()) {
    if (group.command == command) spawnGroup(rec, group);
  }
}

}  // namespace dovrex
