// Loading a large multi-track Standard MIDI File: the MIDI component's
// loader, and libsmf on the same file when it is installed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

#include "large_smf.h"
#include "library/midi/midi_data.h"

#ifdef MORVANE_HAVE_LIBSMF
#include <glib.h>
#include <smf.h>
#endif

namespace {

using midi_bench::LargeSmfShape;

// One file per shape, written once.
const std::string& FileFor(const LargeSmfShape& shape) {
  static std::map<std::pair<int, int>, std::string> files;
  auto& path = files[{shape.channelTracks, shape.notesPerTrack}];
  if (path.empty()) {
    path = midi_bench::WriteTempFile("morvane_midi_bench_" + std::to_string(shape.channelTracks) + "x" +
                                         std::to_string(shape.notesPerTrack) + ".mid",
                                     midi_bench::LargeSmf(shape));
  }
  return path;
}

LargeSmfShape ShapeOf(const benchmark::State& state) {
  return LargeSmfShape{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

void Report(benchmark::State& state, const LargeSmfShape& shape, const std::string& path) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(midi_bench::ChannelEvents(shape)));
}

void MorvaneLoad(benchmark::State& state) {
  const LargeSmfShape shape = ShapeOf(state);
  const std::string& path = FileFor(shape);
  for (auto _ : state) {
    MorvaneMidiSystem::TMorvaneMidiData data;
    data.LoadFile(path);
    benchmark::DoNotOptimize(data.ShortMessages.size());
  }
  Report(state, shape, path);
}
BENCHMARK(MorvaneLoad)->Args({16, 6000})->Args({4, 24000})->Args({32, 1000})->Unit(benchmark::kMillisecond);

#ifdef MORVANE_HAVE_LIBSMF
void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void LibsmfLoad(benchmark::State& state) {
  g_log_set_default_handler(Quiet, nullptr);
  const LargeSmfShape shape = ShapeOf(state);
  const std::string& path = FileFor(shape);
  for (auto _ : state) {
    smf_t* smf = smf_load(path.c_str());
    if (smf == nullptr) {
      state.SkipWithError("libsmf could not load the file");
      break;
    }
    benchmark::DoNotOptimize(smf->number_of_tracks);
    smf_delete(smf);
  }
  Report(state, shape, path);
}
BENCHMARK(LibsmfLoad)->Args({16, 6000})->Args({4, 24000})->Args({32, 1000})->Unit(benchmark::kMillisecond);
#endif

}  // namespace
