#pragma once
// The sprites the sprite benchmarks draw: the same positions and cells for
// every contender and every run.
#include <vector>

namespace bench {

struct Sprite {
  int x, y, cell;
};

// count sprites of size x size pixels wholly inside width x height, each on
// one of `cells` cells of its sheet, from a fixed seed.
inline std::vector<Sprite> SpriteLayout(int count, int width, int height, int size, int cells) {
  std::vector<Sprite> s(static_cast<std::size_t>(count));
  unsigned seed = 12345;
  for (auto& p : s) {
    seed = seed * 1103515245 + 12345;
    p.x = static_cast<int>((seed >> 8) % static_cast<unsigned>(width - size));
    seed = seed * 1103515245 + 12345;
    p.y = static_cast<int>((seed >> 8) % static_cast<unsigned>(height - size));
    p.cell = static_cast<int>((seed >> 4) % static_cast<unsigned>(cells));
  }
  return s;
}

}  // namespace bench
