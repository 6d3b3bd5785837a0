// Frame cost (the whole idle call: pacing on a virtual clock that never
// waits, background, HUD, particles, mode step, music request, present) and
// start-up time to the first frame, headless, on the generated game data.
// Targets: a frame under 1 ms; start-up under 300 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "game/shell/Dovrex_main.h"
#include "game/shell/input.h"
#include "platform/app/application.h"
#include "platform/system/clock.h"

namespace {

namespace fs = std::filesystem;

// A copy of the data folder's links so the bench never writes M_score.dat
// into the build's data folder.
class BenchDir {
 public:
  BenchDir() {
    char pattern[] = "/tmp/dovrex-bench-XXXXXX";
    path_ = ::mkdtemp(pattern);
    for (const char* sub : {"bmp", "wav", "mid", "res"}) {
      fs::create_directory_symlink(fs::path(DOVREX_DATA_DIR) / sub, path_ / sub);
    }
  }
  ~BenchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string String() const { return path_.string(); }

 private:
  fs::path path_;
};

struct Game {
  explicit Game(const BenchDir& dir) {
    dovrex::TForm1Options options;
    options.directory = dir.String();
    options.seed = 1;
    options.clock = &clock;
    form = std::make_unique<dovrex::TForm1>(app, options);
  }
  void Frame() {
    clock.Advance(dovrex::kFramePeriodMs);
    app.ProcessMessages();
    bool done = true;
    form->IdleEvent(done);
  }

  platform::Application app{platform::DisplayMode::Headless};
  platform::VirtualClock clock{100000};
  std::unique_ptr<dovrex::TForm1> form;
};

// The attract cycle as nobody plays: title, instructions demo, ranking.
void BM_AttractFrame(benchmark::State& state) {
  BenchDir dir;
  Game game(dir);
  if (!game.form->Started())
    state.SkipWithError(game.form->StartupError().value_or("start-up failed").c_str());
  for (auto _ : state) game.Frame();
}
BENCHMARK(BM_AttractFrame)->Unit(benchmark::kMicrosecond);

// Play with the gun held and the shield kept up, so the field stays busy.
void BM_PlayFrame(benchmark::State& state) {
  BenchDir dir;
  Game game(dir);
  if (!game.form->Started())
    state.SkipWithError(game.form->StartupError().value_or("start-up failed").c_str());
  // Boot, then one title frame with nothing held releases the press latch.
  game.Frame();
  game.Frame();
  int key = dovrex::kVkX;
  game.form->FormKeyDown(key);
  for (int i = 0; i < 300; ++i) game.Frame();
  for (auto _ : state) {
    game.form->Record().player.shield = 6;
    game.Frame();
  }
  state.counters["gameMode"] = game.form->Record().gameMode;
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

// Construction of the main window (the whole start-up sequence) and the
// first frame.
void BM_StartUpToFirstFrame(benchmark::State& state) {
  BenchDir dir;
  for (auto _ : state) {
    Game game(dir);
    game.Frame();
    benchmark::DoNotOptimize(game.form->Record().gameMode);
    state.PauseTiming();
    game.form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
