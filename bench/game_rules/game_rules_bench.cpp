// Rule cost of a busy play frame. Every pool the player side owns starts
// full: 131 player shots of every kind, 391 particles, 152 enemy shots, 60
// enemies to test the shots against, and sprite sheets with real cells, so
// the drawing cost is part of the measurement. Each iteration starts from the
// same prepared pools; the copy is not timed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "game/world/collisions.h"
#include "game/world/effects.h"
#include "game/world/enemy_shots.h"
#include "game/world/player.h"
#include "game/world/player_shots.h"
#include "game/world/pools.h"
#include "platform/graphics/canvas.h"

namespace {

using namespace dovrex;

class SilentServices : public GameServices {
 public:
  bool JoyGetPos(JoyInfo&) override { return false; }
  void PlaySoundMemory(std::span<const std::uint8_t>) override {}
  void SetMusicFadeOut(int) override {}
};

// Cells with a masked (black) border and corners, as sprites have.
void FillSheet(platform::ImageList& sheet, int cells) {
  const int w = sheet.Width(), h = sheet.Height();
  platform::Bitmap strip(w * cells, h);
  for (int c = 0; c < cells; ++c) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int dx = 2 * x - w, dy = 2 * y - h;
        if (dx * dx + dy * dy < w * h) strip.SetPixel(c * w + x, y, platform::Rgb(40 + c, 200 - x, 60 + y));
      }
    }
  }
  sheet.AddMasked(strip, platform::kBlack);
}

struct Pools {
  std::array<PlayerShot, kShotCount> shots;
  std::array<Enemy, kEnemyCount> enemies;
  std::array<EnemyShot, kEnemyShotCount> enemyShots;
  std::array<Particle, kParticleCount> particles;
  PlayerShip player;
};

class BusyFrame {
 public:
  BusyFrame() {
    SpriteSheets& s = *sheets;
    FillSheet(s.IL16, 26);
    FillSheet(s.IL24, 7);
    FillSheet(s.IL32, 20);
    FillSheet(s.IL36, 48);
    FillSheet(s.IL44, 4);
    FillSheet(s.IL64, 16);
    FillSheet(s.IL86, 18);
    FillSheet(s.IL96, 32);
    FillSheet(s.Spa8, 6);
    rec.cosTable = {16, 14, 11, 6, 0, -6, -11, -14, -15, -14, -11, -6, 0, 6, 11, 14};
    rec.sinTable = {0, 6, 11, 14, 15, 14, 11, 6, 0, -6, -11, -14, -15, -14, -11, -6};
    Prepare();
  }

  // Puts the prepared pools back; the stage script stays still.
  void Reset() {
    rec.shots = start->shots;
    rec.enemies = start->enemies;
    rec.enemyShots = start->enemyShots;
    rec.particles = start->particles;
    rec.player = start->player;
    GameState& g = rec.game;
    g.flashTimer = 0;
    g.dying = 0;
    g.laserTimer = 60;
    g.soundRequest = 0;
    g.scriptTick = -1000000;
  }

  World world() { return World{rec, i1.canvas, *sheets, services}; }

 private:
  void Prepare() {
    std::srand(1);
    Pools& p = *start;
    p.player = PlayerShip{};
    p.player.x = 240;
    p.player.y = 420;
    p.player.bank = 4;
    p.player.shield = 6;
    p.player.ringActive = 1;
    for (int i = 0; i < kShotCount; ++i) {
      PlayerShot& s = p.shots[i];
      s = PlayerShot{};
      s.active = 1;
      s.kind = i % 11;
      s.x = 20 + (i * 37) % 440;
      s.y = 40 + (i * 53) % 400;
      s.halfWidth = s.kind >= 7 ? 15 : s.kind >= 5 ? 16 : 6;
      s.halfHeight = s.kind >= 7 ? 20 : s.kind >= 5 ? 16 : 15;
      s.motion1 = s.kind >= 7 ? -16 : R(50) - 25;
      s.motion2 = R(9) + 5;
      s.motion3 = R(2);
      s.motion4 = R(2) + 1;
    }
    for (int i = 0; i < kEnemyCount; ++i) {
      Enemy& e = p.enemies[i];
      e = Enemy{};
      e.state = 1;
      e.x = 30 + (i * 71) % 420;
      e.y = 30 + (i * 29) % 300;
      e.kind = 0;
      e.hp = 1000000;
      e.halfWidth = e.halfHeight = 35;
      e.look = i % 32 == 7 ? 0 : i % 32;
    }
    for (int i = 0; i < kEnemyShotCount; ++i) {
      EnemyShot& s = p.enemyShots[i];
      s = EnemyShot{};
      s.active = 1;
      s.kind = i % 12;
      s.x = 10 + (i * 43) % 460;
      s.y = 10 + (i * 31) % 300;
      s.halfWidth = s.halfHeight = 7;
      s.param0 = s.kind == 7 ? -20 : R(5) - 2;
      s.param1 = R(5) - 2;
      s.param3 = R(2) + 1;
      s.param4 = i % 16;
    }
    for (int i = 0; i < kParticleCount; ++i) {
      Particle& q = p.particles[i];
      q = Particle{};
      q.active = 1;
      q.kind = i % 15 == 14 ? 20 : i % 15;
      q.x = (i * 17) % 480;
      q.y = (i * 23) % 480;
      q.frame = 0;
      q.life = 40;
      q.vx = R(16) - 8;
      q.vy = R(16) - 8;
    }
  }

  std::unique_ptr<GameRecord> recPtr = std::make_unique<GameRecord>();
  GameRecord& rec = *recPtr;
  std::unique_ptr<Pools> start = std::make_unique<Pools>();
  platform::Image i1{480, 480};
  std::unique_ptr<SpriteSheets> sheets = std::make_unique<SpriteSheets>();
  SilentServices services;
};

template <class Step>
void RunFrames(benchmark::State& state, Step step) {
  BusyFrame frame;
  World world = frame.world();
  for (auto _ : state) {
    state.PauseTiming();
    frame.Reset();
    state.ResumeTiming();
    step(world);
    benchmark::ClobberMemory();
  }
}

void HitTests(World& world) {
  for (Enemy& e : world.rec.enemies) {
    ShotTest(world, e);
    ContactTest(world, e);
  }
}

void BM_PlayerShotPass(benchmark::State& state) {
  RunFrames(state, [](World& w) { PlayerShotPass(w); });
}
void BM_HitTests(benchmark::State& state) { RunFrames(state, HitTests); }
void BM_EnemyShotPass(benchmark::State& state) {
  RunFrames(state, [](World& w) { EnemyShotPass(w); });
}
void BM_ParticlePasses(benchmark::State& state) {
  RunFrames(state, [](World& w) {
    ParticlePassA(w);
    ParticlePassB(w);
  });
}

// The player side of one play frame in frame order.
void BM_BusyFrame(benchmark::State& state) {
  RunFrames(state, [](World& w) {
    ParticlePassA(w);
    PlayerShotPass(w);
    HitTests(w);
    EnemyShotPass(w);
    ParticlePassB(w);
  });
}

BENCHMARK(BM_PlayerShotPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTests)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnemyShotPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticlePasses)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
