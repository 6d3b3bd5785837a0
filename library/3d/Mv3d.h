#pragma once
// TMorvane3D: the library's 3D component. It keeps TMorvaneDraw's stage (size,
// display, full screen, doubling, window and present step) and adds a 3D
// device with a depth buffer, textures and models by name, and two kinds of
// deferred drawing: blended triangles queued by depth and drawn far to near,
// and sprite quads batched per texture and effect.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "library/3d/Mv3dobj.h"
#include "library/draw/Mvdraw.h"
#include "platform/framework/ansi_string.h"
#include "platform/gl/d3d_types.h"
#include "platform/gl/device.h"

namespace Morvane3DSystem {

class TMorvane3D;

// The device's types are the component's own, as in the original API.
using platform::gl::D3DLIGHT7;
using platform::gl::D3DMATERIAL7;
using platform::gl::D3DMATRIX;
using platform::gl::D3DTLVERTEX;
using platform::gl::D3DVECTOR;
using platform::gl::kIdentityMatrix;

// A screen-space vertex, laid out as the device's pre-transformed vertex.
struct TMorvane3DTLVertex {
  float sx, sy, sz, rhw;
  std::uint32_t color;     // ARGB
  std::uint32_t specular;  // RGB in the low 24 bits
  float tu, tv;
};
static_assert(sizeof(TMorvane3DTLVertex) == sizeof(D3DTLVERTEX));

// A model vertex lit in advance: the stored colours are used as they are.
struct TMorvane3DLVertex {
  float x, y, z;
  std::uint32_t reserved;
  std::uint32_t color;
  std::uint32_t specular;
  float tu, tv;
};
static_assert(sizeof(TMorvane3DLVertex) == 32);

// Alpha-blend effect codes 0-4 (see SetAlphaBlend): one sprite stack each.
inline constexpr int kSpriteEffectCount = 5;
// Quantised depths of the alpha queue: bucket 255 is the far plane.
inline constexpr int kAlphaBucketCount = 256;
// Triangles every TLStack grows by.
inline constexpr int kTLStackGrowBy = 10;

// A growable array of triangles (three TLVertex each) drawn as one list.
class TMorvane3DTLStack {
 public:
  explicit TMorvane3DTLStack(int GrowBy = kTLStackGrowBy);
  ~TMorvane3DTLStack();
  TMorvane3DTLStack(TMorvane3DTLStack&&) noexcept;
  TMorvane3DTLStack& operator=(TMorvane3DTLStack&&) noexcept;

  void Push(const TMorvane3DTLVertex& V0, const TMorvane3DTLVertex& V1, const TMorvane3DTLVertex& V2);
  // Triangles (P0, P1, P2) and (P2, P1, P3).
  void PushRect(const TMorvane3DTLVertex& P0, const TMorvane3DTLVertex& P1, const TMorvane3DTLVertex& P2,
                const TMorvane3DTLVertex& P3);
  bool Check() const { return FCount != 0; }
  // Draws every held triangle as one list and empties the stack; the storage
  // stays.
  void Render(TMorvane3D& Component);
  void CleanUp();

  int GetCount() const { return FCount; }
  int GetCapacity() const { return FCapacity; }
  const TMorvane3DTLVertex* GetVertices() const { return FStorage.get(); }

 private:
  void grow();

  int FGrowBy;
  int FCount = 0;
  int FCapacity = 0;
  std::unique_ptr<TMorvane3DTLVertex[]> FStorage;  // 3 vertices per triangle
};

using TSpriteStacks = std::array<TMorvane3DTLStack, kSpriteEffectCount>;

// A texture of the texture table: the device texture, the cell grid over the
// bitmap it was made from, and its sprite stacks.
struct TMorvane3DTexture {
  TMorvane3DTexture();
  ~TMorvane3DTexture();

  // Texture rectangle of cell n: left/top and the cell's extent, as fractions.
  void CellRect(int Cell, float& ULeft, float& VTop) const;

  std::unique_ptr<platform::gl::Texture> Surface;
  float CellU = 1.0f, CellV = 1.0f;
  int Columns = 1;
  int CellCount = 1;
  int BitmapWidth = 0, BitmapHeight = 0;
  TSpriteStacks Stacks;
  AnsiString Name, FileName;  // cleared at load
};

// Makes the 3D device Init sets up on; null means that kind cannot be had
// (Init then fails with the device creation text).
using T3DDeviceFactory = std::function<std::unique_ptr<platform::gl::Device>(platform::gl::DeviceKind Kind,
                                                                             int Width, int Height)>;

class TMorvane3D : public MorvaneDrawSystem::TMorvaneDraw, public TMorvane3DTextureHost {
 public:
  explicit TMorvane3D(TComponent* AOwner);
  ~TMorvane3D() override;

  bool GetUseHAL() const { return FUseHAL; }
  void SetUseHAL(bool Value) { FUseHAL = Value; }
  std::uint32_t GetClearColor() const { return FClearColor; }  // TColor (0x00BBGGRR)
  void SetClearColor(std::uint32_t Value) { FClearColor = Value; }
  std::uint32_t GetAmbientColor() const { return FAmbientColor; }  // TColor
  void SetAmbientColor(std::uint32_t Value);

  // Set-up and release.
  void Init(platform::DrawWindow* Window = nullptr) override;
  void Init(platform::DrawWindow* Window, bool UseHAL);
  void CleanUp() override;
  void Reset() override;
  void ResetAll() override;
  // Presents the back surface; UpdateEx at an offset of (X, Y).
  void Update() override;
  void UpdateEx(int X, int Y) override;

  // Matrices (row-vector convention) and lights.
  void SetWorldMatrix(const D3DMATRIX& Matrix);
  void SetViewMatrix(const D3DMATRIX& Matrix);
  void SetProjectionMatrix(const D3DMATRIX& Matrix);
  void SetViewPortMatrix(const D3DMATRIX& Matrix);
  const D3DMATRIX& GetWorldMatrix() const { return FWorld; }
  const D3DMATRIX& GetViewMatrix() const { return FView; }
  const D3DMATRIX& GetProjectionMatrix() const { return FProjection; }
  const D3DMATRIX& GetViewPortMatrix() const { return FViewPort; }
  // world x view x projection x viewport, recomputed only after a setter.
  const D3DMATRIX& GetTransformedMatrix();
  void SetLight(const D3DLIGHT7& Light, int Index, bool Enable);
  void SetMaterial(const D3DMATERIAL7& Material);

  // Render-state switches; the codes are the model file's.
  void SetZBuffer(bool On);
  void SetFlatShade(bool On);
  void SetAlphaBlend(std::uint8_t Code);
  void SetMultiTexture(std::uint8_t Code);

  // Texture table, ordered by name.
  void CreateTexture(const AnsiString& Name, const AnsiString& FileName, int Width, int Height) override;
  TMorvane3DTexture* GetTexture(const AnsiString& Name);
  void SetTexture(const AnsiString& Name, int Stage);
  void SetTexture(TMorvane3DTexture* Texture, int Stage);
  void DeleteTexture(const AnsiString& Name);
  void DeleteAllTexture();

  // Model table, ordered by name.
  void CreateObject(const AnsiString& Name, const AnsiString& FileName);
  TMorvane3DFile* GetObject(const AnsiString& Name);
  void RenderObject(const AnsiString& Name);
  void DeleteObject(const AnsiString& Name);
  void DeleteAllObject();

  // Sprite quads in normalised coordinates, drawn at SpriteRender.
  void DrawTexture(float X, float Y, float W, float H, std::uint32_t Color, int Cell, int Effect);
  void RotDrawTexture(float X, float Y, float W, float H, float Angle, std::uint32_t Color, int Cell,
                      int Effect);
  void DrawTransformed(const D3DVECTOR& Position, float W, float H, std::uint32_t Color, int Cell,
                       int Effect);
  void SpriteRender();

  // Indexed triangle lists; with an alpha-blend code set they are queued by
  // depth and drawn at AlphaVertexRender.
  void DrawIndexed(const TMorvane3DVertex* Vertices, int VertexCount, const std::uint16_t* Indices,
                   int IndexCount);
  void DrawIndexedAlphaVertex(const TMorvane3DVertex* Vertices, int VertexCount, const std::uint16_t* Indices,
                              int IndexCount);
  void DrawIndexedAlphaVertex(const TMorvane3DLVertex* Vertices, int VertexCount,
                              const std::uint16_t* Indices, int IndexCount);
  void AlphaVertexRender();

  // For the stacks, tools and tests. From Init on the device is inside a
  // scene: Update ends it, presents, and begins the next one cleared to
  // ClearColor, so drawing needs no scene calls of its own.
  platform::gl::Device* Device3D() { return FDevice.get(); }
  void Set3DDeviceFactory(T3DDeviceFactory Factory) { F3DDeviceFactory = std::move(Factory); }
  std::uint8_t GetCurrentFlatShade() const { return FFlatShade; }
  std::uint8_t GetCurrentAlphaBlend() const { return FAlphaBlend; }
  std::uint8_t GetCurrentMultiTexture() const { return FMultiTexture; }
  TMorvane3DTexture* GetCurrentTexture(int Stage) const { return FStageTexture[Stage]; }
  // Draws pre-transformed triangles (3 vertices each) with the current state.
  void DrawTLTriangles(const TMorvane3DTLVertex* Vertices, int TriangleCount);

 private:
  // One triangle of the alpha queue with the state it is drawn in.
  struct QueuedTriangle {
    std::uint32_t state;  // flat shading | alpha-blend << 8 | multi-texture << 16
    TMorvane3DTexture* texture0;
    TMorvane3DTexture* texture1;
    TMorvane3DTLVertex v[3];
  };

  // --- set-up, tables, matrices (Mv3d.cpp, texture_table.cpp, model_table.cpp)
  // What Reset and ResetAll load again.
  struct RememberedTables {
    struct Texture {
      AnsiString name, fileName;
      int cellWidth, cellHeight;
    };
    struct Object {
      AnsiString name, fileName;
    };
    std::vector<Texture> textures;
    std::vector<Object> objects;
    D3DMATRIX world, view, projection, viewPort;
  };

  void initialise(platform::DrawWindow* Window);
  // Device, depth buffer, target, camera and default states.
  void setUpDevice();
  void init3DSystem();
  void applyDefaultStates();
  [[noreturn]] void failSetUp(const char* Message);
  platform::gl::Device& device() const;
  // Frees what the deferred drawing holds (it points into the tables).
  void releaseDeferred();
  RememberedTables rememberTables() const;
  void restoreTables(const RememberedTables& Tables);
  // Copies the device's target into the back surface, shifted by (X, Y),
  // presents it, and starts the next scene cleared to ClearColor.
  void presentTarget(int X, int Y);
  void beginFrame();
  void loadTexture(TMorvane3DTexture& Texture, const AnsiString& Name, const AnsiString& FileName, int Width,
                   int Height);

  T3DDeviceFactory F3DDeviceFactory;
  std::unique_ptr<platform::gl::Device> FDevice;
  bool FUseHAL = true;
  std::uint32_t FClearColor = 0;
  std::uint32_t FAmbientColor = 0x808080;
  D3DMATRIX FWorld = kIdentityMatrix, FView = kIdentityMatrix, FProjection = kIdentityMatrix,
            FViewPort = kIdentityMatrix;
  D3DMATRIX FTransformed = kIdentityMatrix;
  bool FTransformedDirty = true;
  std::map<AnsiString, std::unique_ptr<TMorvane3DTexture>> FTextures;
  std::map<AnsiString, std::unique_ptr<TMorvane3DFile>> FObjects;
  std::array<TMorvane3DTexture*, 2> FStageTexture{};
  std::uint8_t FFlatShade = 0, FAlphaBlend = 0, FMultiTexture = 0;

  // --- deferred drawing (tl_stack.cpp, sprite_quads.cpp, alpha_queue.cpp)
  TSpriteStacks FUntextured;
  std::array<std::vector<QueuedTriangle>, kAlphaBucketCount> FAlphaQueue;
  std::unique_ptr<TMorvane3DTLStack> FAlphaBatch;  // made on first use
  std::vector<TMorvane3DTLVertex> FAlphaScratch;   // the vertex path's output, kept between calls

  // The stack a sprite quad of this effect goes to (current texture's or the
  // untextured one); null for an effect without a stack.
  TMorvane3DTLStack* spriteStack(int Effect);
  // A sprite corner at normalised (X, Y).
  TMorvane3DTLVertex spriteVertex(float X, float Y, std::uint32_t Color, float U, float V) const;
  std::uint32_t currentStateWord() const;
  D3DLIGHT7 currentLight() const;
  void queueTriangles(int VertexCount, const std::uint16_t* Indices, int IndexCount);
};

}  // namespace Morvane3DSystem
