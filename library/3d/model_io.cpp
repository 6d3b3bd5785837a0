// Reading and writing the model file: records of the root's next chain, one
// after the other, each followed by a continuation word.
#include <memory>

#include "library/3d/Mv3dobj.h"
#include "library/3d/model_stream.h"
#include "library/3d/model_texts.h"
#include "library/debug/guard.h"
#include "platform/framework/resources.h"

namespace Morvane3DSystem {

using MorvaneDebugSystem::Guarded;

namespace {

// A model names its textures; the component reads each from the file of that
// name. A texture that cannot be made is left out: the object draws without it.
void createTextures(TMorvane3DTextureHost* device, const TMorvane3DObject& object) {
  if (!device) return;
  for (int stage = 0; stage < 2; ++stage) {
    const AnsiString texture = object.GetTextureName(stage);
    if (texture.empty()) continue;
    try {
      device->CreateTexture(texture, texture, 0, 0);
    } catch (...) {
    }
  }
}

// One record up to, not including, the continuation word. Counts are checked
// against what the stream still holds before anything is allocated.
void readRecord(TMorvane3DTextureHost* device, ModelReader& in, TMorvane3DObject& object) {
  in.Bytes(object.name, sizeof object.name);
  in.Bytes(object.attributes, sizeof object.attributes);
  createTextures(device, object);

  object.vertices.reset();
  object.indices.reset();
  object.vertexCount = 0;
  object.indexCount = 0;

  const std::uint32_t vertexCount = in.Word();
  in.Require(vertexCount, ModelLayout::kVertexSize);
  if (vertexCount > 0) {
    object.vertices = std::make_unique_for_overwrite<TMorvane3DVertex[]>(vertexCount);
    in.Bytes(object.vertices.get(), std::uint64_t{vertexCount} * ModelLayout::kVertexSize);
  }
  object.vertexCount = vertexCount;

  const std::uint32_t indexCount = in.Word();
  in.Require(indexCount, ModelLayout::kIndexSize);
  if (indexCount > 0) {
    object.indices = std::make_unique_for_overwrite<std::uint16_t[]>(indexCount);
    in.Bytes(object.indices.get(), std::uint64_t{indexCount} * ModelLayout::kIndexSize);
  }
  object.indexCount = indexCount;
}

void writeRecord(ModelWriter& out, const TMorvane3DObject& object) {
  out.Bytes(object.name, sizeof object.name);
  out.Bytes(object.attributes, sizeof object.attributes);
  out.Word(object.vertexCount);
  if (object.vertexCount > 0) {
    out.Bytes(object.vertices.get(), std::uint64_t{object.vertexCount} * ModelLayout::kVertexSize);
  }
  out.Word(object.indexCount);
  if (object.indexCount > 0) {
    out.Bytes(object.indices.get(), std::uint64_t{object.indexCount} * ModelLayout::kIndexSize);
  }
}

}  // namespace

// NOTE: the chain is read in a loop, not by each object loading the next: a
// long chain would otherwise nest one call per record.
void TMorvane3DObject::Load(TMorvane3DTextureHost* Device, TStream& Stream, const AnsiString& FileName) {
  Guarded("TMorvane3DObject::Load", [&] {
    ModelReader in(Stream, FileName);
    TMorvane3DObject* last = this;
    while (last->next) last = last->next.get();
    TMorvane3DObject* object = this;
    for (;;) {
      readRecord(Device, in, *object);
      if (in.Word() == ModelLayout::kLastRecord) break;
      last->next = std::make_unique<TMorvane3DObject>();
      last = last->next.get();
      object = last;
    }
  });
}

void TMorvane3DObject::Save(TStream& Stream, const AnsiString& FileName) const {
  Guarded("TMorvane3DObject::Save", [&] {
    ModelWriter out(Stream, FileName);
    for (const TMorvane3DObject* object = this; object; object = object->next.get()) {
      writeRecord(out, *object);
      out.Word(object->next ? ModelLayout::kMoreRecords : ModelLayout::kLastRecord);
    }
    out.Flush();
  });
}

void TMorvane3DFile::LoadFile(TMorvane3DTextureHost* Device, const AnsiString& FileName) {
  Guarded("TMorvane3DFile::LoadFile", [&] {
    FName.clear();
    FRoot.reset();
    FRoot = std::make_unique<TMorvane3DObject>();
    const std::unique_ptr<TStream> source = OpenResourceOrFile(ModelTexts::kResourceType, FileName);
    if (!source) throw EMv3DFile(ModelTexts::kLoadFailed + FileName);
    LoadStream(Device, *source, FileName);
  });
}

void TMorvane3DFile::LoadStream(TMorvane3DTextureHost* Device, TStream& Stream, const AnsiString& FileName) {
  Guarded("TMorvane3DFile::LoadStream", [&] {
    FName.clear();
    FRoot.reset();
    FRoot = std::make_unique<TMorvane3DObject>();
    try {
      FRoot->Load(Device, Stream, FileName);
    } catch (...) {
      FRoot.reset();
      throw;
    }
    FName = FileName;
  });
}

// A model without a root (what a failed load leaves) has nothing to store;
// saving it fails rather than leaving a file no load accepts.
void TMorvane3DFile::SaveFile(const AnsiString& FileName) const {
  Guarded("TMorvane3DFile::SaveFile", [&] {
    if (!FRoot) throw EMv3DFile(ModelTexts::kSaveFailed + FileName);
    std::unique_ptr<TFileStream> file;
    try {
      file = std::make_unique<TFileStream>(NativePath(FileName), fmCreate);
    } catch (const EFOpenError&) {
      throw EMv3DFile(ModelTexts::kSaveFailed + FileName);
    }
    FRoot->Save(*file, FileName);
  });
}

}  // namespace Morvane3DSystem
