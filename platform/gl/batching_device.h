#pragma once
// What both devices share: the state machine of device.h, texture memory and
// the merging of consecutive draws into batches. A backend receives finished
// batches with the state they were drawn under. No GL here.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "platform/gl/device.h"
#include "platform/gl/device_state.h"

namespace platform::gl {

class BatchingDevice;

// Pixels in memory in the texture's format, with a version that moves on
// every change so a backend knows when to upload again.
class TextureBase : public Texture {
 public:
  TextureBase(BatchingDevice* owner, int width, int height, const DDPIXELFORMAT& format);
  ~TextureBase() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const DDPIXELFORMAT& Format() const override { return format_; }
  void SetColorKey(std::optional<DDCOLORKEY> key) override;
  std::optional<DDCOLORKEY> GetColorKey() const override { return key_; }
  bool Lock(LockedRect& out) override;
  void Unlock() override;

  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }
  int Pitch() const { return pitch_; }
  std::uint64_t Version() const { return version_; }
  bool Locked() const { return locked_; }
  BatchingDevice* Owner() const { return owner_; }

 protected:
  // Leaves the device (ends a batch that uses this texture, unselects it).
  // Derived destructors call it before freeing what the device may still draw.
  void Detach();

 private:
  friend class BatchingDevice;
  BatchingDevice* owner_;
  int width_, height_, pitch_;
  DDPIXELFORMAT format_;
  std::vector<std::uint8_t> pixels_;
  std::optional<DDCOLORKEY> key_;
  bool locked_ = false;
  std::uint64_t version_ = 1;
};

// Draws merged into one backend call: triangle lists of one vertex kind.
struct Batch {
  bool pretransformed = true;
  std::vector<D3DTLVERTEX> tlVertices;
  std::vector<D3DVERTEX> vertices;
  std::vector<std::uint32_t> indices;  // triangles, three per entry group
  int sourceDraws = 0;                 // Draw* calls merged into this batch

  std::size_t VertexCount() const { return pretransformed ? tlVertices.size() : vertices.size(); }
  void Reset();
};

// What reached the device, for tests and the trace of a caller.
struct DeviceStats {
  int stateChanges = 0;  // Set* calls that changed a value
  int drawCalls = 0;     // accepted Draw* calls
  int batches = 0;       // backend draw calls
  int scenes = 0;        // BeginScene calls accepted
  int clears = 0;
  std::map<std::uint32_t, int> renderStateChanges;  // per D3DRENDERSTATE_*
  int textureChanges = 0;
};

class BatchingDevice : public Device {
 public:
  BatchingDevice(int width, int height, DeviceKind kind, DeviceCaps caps);
  ~BatchingDevice() override;

  int TargetWidth() const override { return width_; }
  int TargetHeight() const override { return height_; }
  DeviceKind Kind() const override { return kind_; }
  DeviceCaps GetCaps() const override { return caps_; }
  void OverrideCaps(const DeviceCaps& caps) override { caps_ = caps; }
  std::vector<DDPIXELFORMAT> EnumTextureFormats() const override;
  std::unique_ptr<Texture> CreateTexture(int width, int height, const DDPIXELFORMAT& format) override;

  bool BeginScene() override;
  bool EndScene() override;
  bool InScene() const override { return inScene_; }
  bool Clear(std::uint32_t flags, D3DCOLOR color, float z) override;

  bool SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value) override;
  std::uint32_t GetRenderState(D3DRENDERSTATETYPE state) const override;
  bool SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t value) override;
  std::uint32_t GetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type) const override;
  bool SetTexture(int stage, Texture* texture) override;
  Texture* GetTexture(int stage) const override;
  bool SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX& matrix) override;
  D3DMATRIX GetTransform(D3DTRANSFORMSTATETYPE type) const override;
  bool SetViewport(const D3DVIEWPORT7& viewport) override;
  D3DVIEWPORT7 GetViewport() const override { return state_.viewport; }
  bool SetLight(int index, const D3DLIGHT7& light) override;
  bool LightEnable(int index, bool enable) override;
  bool SetMaterial(const D3DMATERIAL7& material) override;
  D3DMATERIAL7 GetMaterial() const override { return state_.material; }

  bool DrawPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DTLVERTEX> vertices) override;
  bool DrawPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DVERTEX> vertices) override;
  bool DrawIndexedPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DTLVERTEX> vertices,
                            std::span<const std::uint16_t> indices) override;
  bool DrawIndexedPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DVERTEX> vertices,
                            std::span<const std::uint16_t> indices) override;

  bool ReadTarget(std::span<std::uint32_t> out) override;

  const DeviceStats& Stats() const { return stats_; }
  void ResetStats() { stats_ = DeviceStats{}; }
  const DeviceState& State() const { return state_; }

  // Hands the pending batch to the backend.
  void Flush();

 protected:
  virtual std::unique_ptr<TextureBase> NewTexture(int width, int height, const DDPIXELFORMAT& format) = 0;
  virtual void SubmitBatch(const DeviceState& state, const Batch& batch) = 0;
  virtual void ClearTarget(const D3DVIEWPORT7& viewport, std::uint32_t flags, D3DCOLOR color, float z) = 0;
  virtual bool ReadPixels(std::span<std::uint32_t> out) = 0;
  // A texture is going away; free what the backend holds for it.
  virtual void ReleaseTexture(TextureBase&) {}
  // Backends call this first in their destructor: it detaches every texture.
  void ReleaseAllTextures();

 private:
  friend class TextureBase;
  void BeforeTextureChange(TextureBase* texture);
  void ForgetTexture(TextureBase* texture);
  void StateWillChange();
  template <typename Vertex>
  bool Draw(D3DPRIMITIVETYPE type, std::span<const Vertex> vertices, std::span<const std::uint16_t> indices,
            bool indexed);
  template <typename Vertex>
  std::vector<Vertex>& BatchVertices();

  int width_, height_;
  DeviceKind kind_;
  DeviceCaps caps_;
  DeviceState state_;
  Batch batch_;
  bool inScene_ = false;
  DeviceStats stats_;
  std::set<TextureBase*> textures_;
};

}  // namespace platform::gl
