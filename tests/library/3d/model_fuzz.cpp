// Fuzz target: any bytes through the model loader. Besides crashes and
// sanitizer reports it checks that what loads is consistent and that saving
// it and loading that again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "library/3d/Mv3dobj.h"
#include "platform/framework/streams.h"

namespace {

using Morvane3DSystem::EMv3DFile;
using Morvane3DSystem::TMorvane3DFile;

TMemoryStream saved(const TMorvane3DFile& model) {
  TMemoryStream out;
  model.GetRoot()->Save(out, "fuzz.mvx");
  out.Seek(0, TSeekOrigin::soBeginning);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryStream source(data, size);
  TMorvane3DFile model;
  try {
    model.LoadStream(nullptr, source, "fuzz.mvx");
  } catch (const EMv3DFile&) {
    if (model.GetRoot() != nullptr || !model.GetName().empty()) std::abort();
    return 0;
  }
  std::uint64_t bytes = 0;
  for (auto* o = model.GetRoot(); o; o = o->GetNextObject()) {
    if ((o->vertexCount == 0) != (o->vertices == nullptr)) std::abort();
    if ((o->indexCount == 0) != (o->indices == nullptr)) std::abort();
    if (o->CountOutOfRangeTriangles() > o->indexCount / 3) std::abort();
    if (o->DrawableIndices().size() + 3 * o->CountOutOfRangeTriangles() != o->indexCount - o->indexCount % 3)
      std::abort();
    if (o->GetName().size() > 32 || o->GetTextureName(0).size() > 32) std::abort();
    bytes += 380 + 32ull * o->vertexCount + 2ull * o->indexCount;
  }
  if (bytes > size) std::abort();

  TMemoryStream first = saved(model);
  if (static_cast<std::uint64_t>(first.Size()) != bytes) std::abort();
  TMorvane3DFile again;
  again.LoadStream(nullptr, first, "again.mvx");
  if (saved(again).Memory() != first.Memory()) std::abort();
  return 0;
}
