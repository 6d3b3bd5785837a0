#include "library/3d/Mv3dobj.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "library/debug/guard.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;

namespace {

// A fixed text field: up to its NUL, or the whole field when it has none.
AnsiString fieldText(const void* field, std::size_t size) {
  const char* text = static_cast<const char*>(field);
  return AnsiString(text, ::strnlen(text, size));
}

void setFieldText(void* field, std::size_t size, const AnsiString& text) {
  auto* out = static_cast<char*>(field);
  const std::size_t n = std::min(text.size(), size - 1);
  std::fill_n(out, size, '\0');
  std::copy_n(text.data(), n, out);
}

bool sameTextIgnoringCase(const AnsiString& a, const AnsiString& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::size_t textureOffset(int Stage) {
  return Stage == 0 ? ModelLayout::kTextureName0 : ModelLayout::kTextureName1;
}

bool triangleInRange(const std::uint16_t* triangle, std::uint32_t vertexCount) {
  return triangle[0] < vertexCount && triangle[1] < vertexCount && triangle[2] < vertexCount;
}

}  // namespace

TMorvane3DObject::TMorvane3DObject() {
  Guarded("TMorvane3DObject::TMorvane3DObject", [] {});
}

// NOTE: nodes are taken apart from a work list instead of letting each
// destructor destroy its own next and child: a chain of a million objects
// would otherwise nest a million destructor calls.
TMorvane3DObject::~TMorvane3DObject() {
  GuardedNoThrow("TMorvane3DObject::~TMorvane3DObject", [this] {
    if (!next && !child) return;
    std::vector<std::unique_ptr<TMorvane3DObject>> pending;
    if (next) pending.push_back(std::move(next));
    if (child) pending.push_back(std::move(child));
    while (!pending.empty()) {
      std::unique_ptr<TMorvane3DObject> node = std::move(pending.back());
      pending.pop_back();
      if (node->next) pending.push_back(std::move(node->next));
      if (node->child) pending.push_back(std::move(node->child));
    }
  });
}

void TMorvane3DObject::AddNext(std::unique_ptr<TMorvane3DObject> Object) {
  Guarded("TMorvane3DObject::AddNext", [&] {
    if (!Object) return;
    TMorvane3DObject* last = this;
    while (last->next) last = last->next.get();
    last->next = std::move(Object);
  });
}

void TMorvane3DObject::AddChild(std::unique_ptr<TMorvane3DObject> Object) {
  Guarded("TMorvane3DObject::AddChild", [&] {
    if (!Object) return;
    if (!child) {
      child = std::move(Object);
    } else {
      child->AddNext(std::move(Object));
    }
  });
}

bool TMorvane3DObject::CompareName(const AnsiString& Name) const {
  return Guarded("TMorvane3DObject::CompareName", [&] { return sameTextIgnoringCase(GetName(), Name); });
}

TMorvane3DObject* TMorvane3DObject::GetNextObject() const {
  return Guarded("TMorvane3DObject::GetNextObject", [&] { return next.get(); });
}

AnsiString TMorvane3DObject::GetName() const {
  return Guarded("TMorvane3DObject::GetName", [&] { return fieldText(name, sizeof name); });
}

void TMorvane3DObject::SetName(const AnsiString& Name) {
  Guarded("TMorvane3DObject::SetName", [&] { setFieldText(name, sizeof name, Name); });
}

AnsiString TMorvane3DObject::GetTextureName(int Stage) const {
  return Guarded("TMorvane3DObject::GetTextureName",
                 [&] { return fieldText(attributes + textureOffset(Stage), ModelLayout::kTextureNameSize); });
}

void TMorvane3DObject::SetTextureName(int Stage, const AnsiString& Name) {
  Guarded("TMorvane3DObject::SetTextureName",
          [&] { setFieldText(attributes + textureOffset(Stage), ModelLayout::kTextureNameSize, Name); });
}

TMorvane3DMaterial TMorvane3DObject::GetMaterial() const {
  return Guarded("TMorvane3DObject::GetMaterial", [&] {
    TMorvane3DMaterial material;
    std::memcpy(&material, attributes + ModelLayout::kMaterial, sizeof material);
    return material;
  });
}

void TMorvane3DObject::SetMaterial(const TMorvane3DMaterial& Material) {
  Guarded("TMorvane3DObject::SetMaterial",
          [&] { std::memcpy(attributes + ModelLayout::kMaterial, &Material, sizeof Material); });
}

TMorvane3DMatrix TMorvane3DObject::GetLocalMatrix() const {
  return Guarded("TMorvane3DObject::GetLocalMatrix", [&] {
    TMorvane3DMatrix matrix;
    std::memcpy(&matrix, attributes + ModelLayout::kLocalMatrix, sizeof matrix);
    return matrix;
  });
}

void TMorvane3DObject::SetLocalMatrix(const TMorvane3DMatrix& Matrix) {
  Guarded("TMorvane3DObject::SetLocalMatrix",
          [&] { std::memcpy(attributes + ModelLayout::kLocalMatrix, &Matrix, sizeof Matrix); });
}

void TMorvane3DObject::SetMesh(const std::vector<TMorvane3DVertex>& Vertices,
                               const std::vector<std::uint16_t>& Indices) {
  Guarded("TMorvane3DObject::SetMesh", [&] {
    auto newVertices = std::make_unique<TMorvane3DVertex[]>(Vertices.size());
    auto newIndices = std::make_unique<std::uint16_t[]>(Indices.size());
    std::copy(Vertices.begin(), Vertices.end(), newVertices.get());
    std::copy(Indices.begin(), Indices.end(), newIndices.get());
    vertices = Vertices.empty() ? nullptr : std::move(newVertices);
    indices = Indices.empty() ? nullptr : std::move(newIndices);
    vertexCount = static_cast<std::uint32_t>(Vertices.size());
    indexCount = static_cast<std::uint32_t>(Indices.size());
  });
}

std::uint32_t TMorvane3DObject::CountOutOfRangeTriangles() const {
  return Guarded("TMorvane3DObject::CountOutOfRangeTriangles", [&] {
    std::uint32_t count = 0;
    for (std::uint32_t i = 0; i + 3 <= indexCount; i += 3) {
      if (!triangleInRange(indices.get() + i, vertexCount)) ++count;
    }
    return count;
  });
}

std::vector<std::uint16_t> TMorvane3DObject::DrawableIndices() const {
  return Guarded("TMorvane3DObject::DrawableIndices", [&] {
    std::vector<std::uint16_t> kept;
    kept.reserve(indexCount - indexCount % 3);
    for (std::uint32_t i = 0; i + 3 <= indexCount; i += 3) {
      const std::uint16_t* triangle = indices.get() + i;
      if (triangleInRange(triangle, vertexCount)) kept.insert(kept.end(), triangle, triangle + 3);
    }
    return kept;
  });
}

TMorvane3DFile::TMorvane3DFile() {
  Guarded("TMorvane3DFile::TMorvane3DFile", [] {});
}

TMorvane3DFile::~TMorvane3DFile() {
  GuardedNoThrow("TMorvane3DFile::~TMorvane3DFile", [this] { FRoot.reset(); });
}

TMorvane3DObject* TMorvane3DFile::FindObject(const AnsiString& Name) const {
  return Guarded("TMorvane3DFile::FindObject", [&]() -> TMorvane3DObject* {
    for (TMorvane3DObject* object = FRoot.get(); object; object = object->next.get()) {
      if (object->CompareName(Name)) return object;
    }
    return nullptr;
  });
}

void TMorvane3DFile::SetRoot(std::unique_ptr<TMorvane3DObject> Root) {
  Guarded("TMorvane3DFile::SetRoot", [&] { FRoot = std::move(Root); });
}

}  // namespace Morvane3DSystem
