// Loading a 100 MB model file, beside a plain read of the same bytes into
// memory, in the same run. Two shapes: a few large meshes (the loader's
// direct array reads) and many small objects (its buffered record reads).
// The files are generated here, in the temporary folder, and removed after.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "library/3d/Mv3dobj.h"

namespace {

using Morvane3DSystem::TMorvane3DFile;
using Morvane3DSystem::TMorvane3DObject;
using Morvane3DSystem::TMorvane3DVertex;

constexpr std::uint64_t kTargetBytes = 100ull * 1000 * 1000;

struct Shape {
  std::uint32_t vertices;
  std::uint32_t indices;
};

// The library's own writer makes the file; the chain is built in memory.
std::string WriteModel(const Shape& shape) {
  const std::uint64_t record = 380 + 32ull * shape.vertices + 2ull * shape.indices;
  const std::uint64_t objects = (kTargetBytes + record - 1) / record;
  std::vector<TMorvane3DVertex> vertices(shape.vertices);
  for (std::uint32_t i = 0; i < shape.vertices; ++i) {
    vertices[i] = {float(i), float(i % 7), 1, 0, 1, 0, 0.5f, 0.25f};
  }
  std::vector<std::uint16_t> indices(shape.indices);
  for (std::uint32_t i = 0; i < shape.indices; ++i)
    indices[i] = static_cast<std::uint16_t>(i % shape.vertices);

  auto root = std::make_unique<TMorvane3DObject>();
  TMorvane3DObject* last = root.get();
  for (std::uint64_t i = 0; i < objects; ++i) {
    if (i > 0) {
      last->next = std::make_unique<TMorvane3DObject>();
      last = last->next.get();
    }
    last->SetName("object" + std::to_string(i));
    last->SetTextureName(0, "skin.bmp");
    last->SetMesh(vertices, indices);
  }
  TMorvane3DFile model;
  model.SetRoot(std::move(root));
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("morvane_3d_bench_" + std::to_string(shape.vertices) + ".mvx"))
                               .string();
  model.SaveFile(path);
  return path;
}

class Files {
 public:
  ~Files() {
    for (const auto& [key, path] : FPaths) std::remove(path.c_str());
  }
  const std::string& For(const Shape& shape) {
    std::string& path = FPaths[shape.vertices];
    if (path.empty()) path = WriteModel(shape);
    return path;
  }

 private:
  std::map<std::uint32_t, std::string> FPaths;
};

Files files;

Shape ShapeOf(const benchmark::State& state) {
  return {static_cast<std::uint32_t>(state.range(0)), static_cast<std::uint32_t>(state.range(1))};
}

void Report(benchmark::State& state, const std::string& path) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void MorvaneLoadFile(benchmark::State& state) {
  const std::string& path = files.For(ShapeOf(state));
  for (auto _ : state) {
    auto model = std::make_unique<TMorvane3DFile>();
    model->LoadFile(nullptr, path);
    benchmark::DoNotOptimize(model->GetRoot()->vertices.get());
    // Freeing a chain is not loading it; the plain read's one block costs nothing to free.
    state.PauseTiming();
    model.reset();
    state.ResumeTiming();
  }
  Report(state, path);
}

// The peer: the same bytes read into one block, allocated and touched
// before timing starts, so only the reading is measured.
void PlainFileRead(benchmark::State& state) {
  const std::string& path = files.For(ShapeOf(state));
  const std::size_t size = std::filesystem::file_size(path);
  std::vector<char> bytes(size, 1);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t total = 0;
    while (total < size) {
      const ssize_t got = ::read(fd, bytes.data() + total, size - total);
      if (got <= 0) break;
      total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(bytes.data());
    if (total != size) state.SkipWithError("short read");
  }
  Report(state, path);
}

// Large meshes: 65,536 vertices and 98,304 indices each; small objects: a
// 24-vertex, 36-index cube each.
#define MODEL_SHAPES ->Args({65536, 98304})->Args({24, 36})->Unit(benchmark::kMillisecond)
BENCHMARK(MorvaneLoadFile) MODEL_SHAPES;
BENCHMARK(PlainFileRead) MODEL_SHAPES;

}  // namespace
