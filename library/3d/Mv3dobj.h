#pragma once
// The library's model file: a chain of named meshes read from and written to
// the library's own format, found by name. Vertices, indices and the
// attribute block are kept exactly as the file holds them, so a renderer can
// hand them to the device as they are and a resave writes the same bytes.
#include <cstdint>
#include <memory>
#include <vector>

#include "library/3d/model_layout.h"
#include "library/debug/exceptions.h"
#include "platform/framework/ansi_string.h"
#include "platform/framework/streams.h"

namespace Morvane3DSystem {

class TMorvane3D;

// 32 bytes, as in the file and as the device takes it: position, normal and
// one texture-coordinate pair.
struct TMorvane3DVertex {
  float x, y, z;
  float nx, ny, nz;
  float tu, tv;
};
static_assert(sizeof(TMorvane3DVertex) == ModelLayout::kVertexSize);

// Diffuse, ambient, specular and emissive colours (r, g, b, a) and the
// specular power, in the attribute block's order.
struct TMorvane3DMaterial {
  float diffuse[4];
  float ambient[4];
  float specular[4];
  float emissive[4];
  float power;
};
static_assert(sizeof(TMorvane3DMaterial) == ModelLayout::kMaterialFloats * sizeof(float));

// Row-major, row-vector convention: p' = p × M, translation in the fourth row.
struct TMorvane3DMatrix {
  float m[4][4];
};
static_assert(sizeof(TMorvane3DMatrix) == ModelLayout::kMatrixFloats * sizeof(float));

// What loading asks of the 3D component: a texture for every texture name a
// model uses, under that name, read from the file of that name. The 3D
// component implements it; loading without one creates no textures.
class TMorvane3DTextureHost {
 public:
  virtual void CreateTexture(const AnsiString& Name, const AnsiString& FileName, int Width, int Height) = 0;

 protected:
  ~TMorvane3DTextureHost() = default;
};

// One mesh node. Owns its next chain and its child tree; destroying it
// destroys both without recursion, so chains of any length are safe.
class TMorvane3DObject {
 public:
  TMorvane3DObject();
  ~TMorvane3DObject();
  TMorvane3DObject(const TMorvane3DObject&) = delete;
  TMorvane3DObject& operator=(const TMorvane3DObject&) = delete;

  // Reads this record and every record chained after it; the chain's objects
  // are appended behind this one. Throws EMv3DFile (load text + FileName)
  // when the stream ends early or a count claims more than the stream holds;
  // the objects read so far stay attached for the caller to destroy.
  void Load(TMorvane3DTextureHost* Device, TStream& Stream, const AnsiString& FileName = "");
  // Writes this record and its next chain (not the children). Throws
  // EMv3DFile (save text + FileName) when the stream takes fewer bytes.
  void Save(TStream& Stream, const AnsiString& FileName = "") const;

  // Appends at the end of this object's next chain.
  void AddNext(std::unique_ptr<TMorvane3DObject> Object);
  // Becomes the child, or joins the end of the child's next chain.
  void AddChild(std::unique_ptr<TMorvane3DObject> Object);
  // True when the names are equal ignoring letter case.
  bool CompareName(const AnsiString& Name) const;
  TMorvane3DObject* GetNextObject() const;
  // Draws this object, its child tree under its transform and its next chain
  // (without recursion), leaving the component's world matrix as it was.
  void Render(TMorvane3D& Device) const;

  // The name up to its NUL, or all 32 bytes when it has none.
  AnsiString GetName() const;
  // Stores up to 31 bytes and a NUL; the rest of the field is cleared.
  void SetName(const AnsiString& Name);

  bool GetEnvironmentMap() const { return attributes[ModelLayout::kEnvironmentMap] != 0; }
  std::uint8_t GetFlatShade() const { return attributes[ModelLayout::kFlatShade]; }
  std::uint8_t GetAlphaBlend() const { return attributes[ModelLayout::kAlphaBlend]; }
  std::uint8_t GetMultiTexture() const { return attributes[ModelLayout::kMultiTexture]; }
  void SetEnvironmentMap(bool On) { attributes[ModelLayout::kEnvironmentMap] = On ? 1 : 0; }
  void SetFlatShade(std::uint8_t On) { attributes[ModelLayout::kFlatShade] = On; }
  void SetAlphaBlend(std::uint8_t Code) { attributes[ModelLayout::kAlphaBlend] = Code; }
  void SetMultiTexture(std::uint8_t Code) { attributes[ModelLayout::kMultiTexture] = Code; }

  // Stage 0 or 1; empty means no texture. Read like the name.
  AnsiString GetTextureName(int Stage) const;
  void SetTextureName(int Stage, const AnsiString& Name);

  TMorvane3DMaterial GetMaterial() const;
  void SetMaterial(const TMorvane3DMaterial& Material);
  TMorvane3DMatrix GetLocalMatrix() const;
  void SetLocalMatrix(const TMorvane3DMatrix& Matrix);

  // Replaces the mesh. Vertices and indices are copied as given.
  void SetMesh(const std::vector<TMorvane3DVertex>& Vertices, const std::vector<std::uint16_t>& Indices);

  // Triangles (complete index triples) with an index at or beyond
  // vertexCount. The device would read past the vertices for them, so a
  // renderer leaves them out.
  std::uint32_t CountOutOfRangeTriangles() const;
  // The index list without those triangles (and without a trailing partial
  // triangle), for a renderer to draw when the count above is not 0.
  std::vector<std::uint16_t> DrawableIndices() const;

  // Public like the record it mirrors: the renderer and the tools read these
  // as plain arrays.
  std::unique_ptr<TMorvane3DObject> next;
  std::unique_ptr<TMorvane3DObject> child;
  char name[ModelLayout::kNameSize] = {};
  std::uint8_t attributes[ModelLayout::kAttributeSize] = {};
  std::uint32_t vertexCount = 0;
  std::unique_ptr<TMorvane3DVertex[]> vertices;
  std::uint32_t indexCount = 0;
  std::unique_ptr<std::uint16_t[]> indices;
};

// A model: the file name it was last loaded from and the root of its chain.
class TMorvane3DFile {
 public:
  TMorvane3DFile();
  ~TMorvane3DFile();
  TMorvane3DFile(const TMorvane3DFile&) = delete;
  TMorvane3DFile& operator=(const TMorvane3DFile&) = delete;

  // Replaces the content with the model of that name: a "MORVANEX" resource
  // first, else the file. On failure the root is null (or, when nothing
  // could be opened, a fresh empty object) and EMv3DFile is raised.
  void LoadFile(TMorvane3DTextureHost* Device, const AnsiString& FileName);
  // LoadFile's reading and failure handling on an open stream.
  void LoadStream(TMorvane3DTextureHost* Device, TStream& Stream, const AnsiString& FileName);
  // Writes the root chain; children are not stored.
  void SaveFile(const AnsiString& FileName) const;
  // First object of the root's next chain (children not searched) whose name
  // equals Name ignoring case, or null.
  TMorvane3DObject* FindObject(const AnsiString& Name) const;
  // The root chain with the depth buffer on; it is off again afterwards.
  void Render(TMorvane3D& Device) const;

  const AnsiString& GetName() const { return FName; }
  TMorvane3DObject* GetRoot() const { return FRoot.get(); }
  // Takes a chain built in memory (the converter's way in).
  void SetRoot(std::unique_ptr<TMorvane3DObject> Root);

 private:
  AnsiString FName;
  std::unique_ptr<TMorvane3DObject> FRoot;
};

}  // namespace Morvane3DSystem
