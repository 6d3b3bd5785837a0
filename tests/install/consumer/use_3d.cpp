// Saves a two-object model through the installed 3D component and loads it
// back; fails unless names and mesh survive the round trip.
#include <cstdio>
#include <memory>

#include "library/3d/Mv3dobj.h"
#include "platform/framework/streams.h"

using Morvane3DSystem::TMorvane3DObject;

int main() {
  TMorvane3DObject model;
  model.SetName("hull");
  model.SetMesh({{}, {}, {}}, {0, 1, 2});
  auto wing = std::make_unique<TMorvane3DObject>();
  wing->SetName("wing");
  model.AddNext(std::move(wing));

  TMemoryStream stream;
  model.Save(stream);
  stream.Seek(0, TSeekOrigin::soBeginning);
  TMorvane3DObject loaded;
  loaded.Load(nullptr, stream);

  const TMorvane3DObject* next = loaded.GetNextObject();
  const bool ok =
      loaded.CompareName("hull") && loaded.vertexCount == 3 && next != nullptr && next->CompareName("wing");
  std::printf("3d: %s, %u vertices, next %s\n", loaded.GetName().c_str(), loaded.vertexCount,
              next ? next->GetName().c_str() : "(none)");
  return ok ? 0 : 1;
}
