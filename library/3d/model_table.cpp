// Models by name: loading, lookup, rendering and deletion.
#include "library/3d/Mv3d.h"
#include "library/3d/mv3d_texts.h"
#include "library/debug/guard.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::Trace;
namespace T = Mv3dTexts;

void TMorvane3D::CreateObject(const AnsiString& Name, const AnsiString& FileName) {
  Guarded("TMorvane3D::CreateObject", [&] {
    device();
    if (FObjects.contains(Name)) return;
    Trace(AnsiString(T::kTraceCreateObject) + Name);
    auto entry = FObjects.emplace(Name, std::make_unique<TMorvane3DFile>()).first;
    try {
      entry->second->LoadFile(this, FileName);
    } catch (...) {
      FObjects.erase(entry);
      throw;
    }
  });
}

TMorvane3DFile* TMorvane3D::GetObject(const AnsiString& Name) {
  return Guarded("TMorvane3D::GetObject", [&] {
    const auto it = FObjects.find(Name);
    if (it == FObjects.end()) throw EMv3D(T::kNoObject + Name);
    return it->second.get();
  });
}

void TMorvane3D::RenderObject(const AnsiString& Name) {
  Guarded("TMorvane3D::RenderObject", [&] {
    const auto it = FObjects.find(Name);
    if (it == FObjects.end()) throw EMv3D(T::kNoObject + Name);
    it->second->Render(*this);
  });
}

void TMorvane3D::DeleteObject(const AnsiString& Name) {
  Guarded("TMorvane3D::DeleteObject", [&] { FObjects.erase(Name); });
}

void TMorvane3D::DeleteAllObject() {
  Guarded("TMorvane3D::DeleteAllObject", [&] { FObjects.clear(); });
}

}  // namespace Morvane3DSystem
