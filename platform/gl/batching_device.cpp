#include "platform/gl/batching_device.h"

#include <algorithm>

#include "platform/gl/pixel_formats.h"

namespace platform::gl {
namespace {

// Bounds one backend call (and the memory a batch holds): 256 Ki vertices.
constexpr std::size_t kMaxBatchVertices = 1u << 18;
// Whatever the caps say, a texture side is at most this (bounds allocations).
constexpr int kHardTextureLimit = 8192;

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Appends the triangles of a list or strip over `count` vertices, each index
// mapped through `at`. Odd strip triangles keep the first triangle's
// winding and still start at their first vertex (the flat-shading colour).
template <typename At>
void AppendTriangles(D3DPRIMITIVETYPE type, std::size_t count, At at, std::vector<std::uint32_t>& out) {
  if (type == D3DPT_TRIANGLELIST) {
    for (std::size_t i = 0; i + 2 < count; i += 3) {
      out.push_back(at(i));
      out.push_back(at(i + 1));
      out.push_back(at(i + 2));
    }
    return;
  }
  for (std::size_t i = 0; i + 2 < count; ++i) {
    out.push_back(at(i));
    if (i % 2 == 0) {
      out.push_back(at(i + 1));
      out.push_back(at(i + 2));
    } else {
      out.push_back(at(i + 2));
      out.push_back(at(i + 1));
    }
  }
}

}  // namespace

DeviceCaps FullCaps(const std::string& name, std::uint32_t maxTextureSize) {
  DeviceCaps c;
  c.deviceName = name;
  c.maxTextureWidth = c.maxTextureHeight = maxTextureSize;
  const std::uint32_t allBlends = 0x7FF;
  c.srcBlendCaps = c.destBlendCaps = allBlends;
  c.textureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                    D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X |
                    D3DTEXOPCAPS_ADD | D3DTEXOPCAPS_SUBTRACT | D3DTEXOPCAPS_ADDSMOOTH |
                    D3DTEXOPCAPS_BLENDDIFFUSEALPHA;
  c.textureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP;
  c.textureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT |
                        D3DPTFILTERCAPS_MAGFLINEAR;
  return c;
}

// ---- textures ----

TextureBase::TextureBase(BatchingDevice* owner, int width, int height, const DDPIXELFORMAT& format)
    : owner_(owner),
      width_(width),
      height_(height),
      pitch_(width * BytesPerPixel(format)),
      format_(format),
      pixels_(static_cast<std::size_t>(pitch_) * height, 0) {}

TextureBase::~TextureBase() { Detach(); }

void TextureBase::Detach() {
  if (owner_) owner_->ForgetTexture(this);
  owner_ = nullptr;
}

void TextureBase::SetColorKey(std::optional<DDCOLORKEY> key) {
  if (owner_) owner_->BeforeTextureChange(this);
  key_ = key;
  ++version_;
}

bool TextureBase::Lock(LockedRect& out) {
  if (locked_) return false;
  if (owner_) owner_->BeforeTextureChange(this);
  locked_ = true;
  out.bits = pixels_.data();
  out.pitch = pitch_;
  return true;
}

void TextureBase::Unlock() {
  if (!locked_) return;
  locked_ = false;
  ++version_;
}

void Batch::Reset() {
  tlVertices.clear();
  vertices.clear();
  indices.clear();
  sourceDraws = 0;
}

// ---- device ----

BatchingDevice::BatchingDevice(int width, int height, DeviceKind kind, DeviceCaps caps)
    : width_(width),
      height_(height),
      kind_(kind),
      caps_(std::move(caps)),
      state_(DefaultState(width, height)) {}

BatchingDevice::~BatchingDevice() { ReleaseAllTextures(); }

void BatchingDevice::ReleaseAllTextures() {
  batch_.Reset();
  for (TextureBase* t : textures_) {
    ReleaseTexture(*t);
    t->owner_ = nullptr;
  }
  textures_.clear();
  state_.textures = {};
}

std::vector<DDPIXELFORMAT> BatchingDevice::EnumTextureFormats() const {
  const auto formats = TextureFormats();
  return {formats.begin(), formats.end()};
}

std::unique_ptr<Texture> BatchingDevice::CreateTexture(int width, int height, const DDPIXELFORMAT& format) {
  if (!IsTextureFormat(format) || width <= 0 || height <= 0) return nullptr;
  if (width > kHardTextureLimit || height > kHardTextureLimit) return nullptr;
  if (caps_.maxTextureWidth && static_cast<std::uint32_t>(width) > caps_.maxTextureWidth) return nullptr;
  if (caps_.maxTextureHeight && static_cast<std::uint32_t>(height) > caps_.maxTextureHeight) return nullptr;
  if ((caps_.textureCaps & D3DPTEXTURECAPS_POW2) && !(IsPowerOfTwo(width) && IsPowerOfTwo(height)))
    return nullptr;
  if ((caps_.textureCaps & D3DPTEXTURECAPS_SQUAREONLY) && width != height) return nullptr;
  auto texture = NewTexture(width, height, format);
  if (texture) textures_.insert(texture.get());
  return texture;
}

void BatchingDevice::BeforeTextureChange(TextureBase* texture) {
  if (std::find(state_.textures.begin(), state_.textures.end(), texture) != state_.textures.end()) Flush();
}

void BatchingDevice::ForgetTexture(TextureBase* texture) {
  BeforeTextureChange(texture);
  for (auto& t : state_.textures)
    if (t == texture) t = nullptr;
  ReleaseTexture(*texture);
  textures_.erase(texture);
}

void BatchingDevice::StateWillChange() {
  Flush();
  ++stats_.stateChanges;
}

void BatchingDevice::Flush() {
  if (batch_.indices.empty()) {
    batch_.Reset();
    return;
  }
  SubmitBatch(state_, batch_);
  ++stats_.batches;
  batch_.Reset();
}

bool BatchingDevice::BeginScene() {
  if (inScene_) return false;
  inScene_ = true;
  ++stats_.scenes;
  return true;
}

bool BatchingDevice::EndScene() {
  if (!inScene_) return false;
  Flush();
  inScene_ = false;
  return true;
}

bool BatchingDevice::Clear(std::uint32_t flags, D3DCOLOR color, float z) {
  if (flags == 0 || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER))) return false;
  Flush();
  ClearTarget(state_.viewport, flags, color, std::clamp(z, 0.0f, 1.0f));
  ++stats_.clears;
  return true;
}

bool BatchingDevice::SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value) {
  std::uint32_t* slot = RenderStateSlot(state_.render, state);
  if (!slot || !ValidRenderStateValue(state, value)) return false;
  value = NormalisedRenderStateValue(state, value);
  if (*slot == value) return true;
  StateWillChange();
  ++stats_.renderStateChanges[state];
  *slot = value;
  return true;
}

std::uint32_t BatchingDevice::GetRenderState(D3DRENDERSTATETYPE state) const {
  RenderStates copy = state_.render;
  const std::uint32_t* slot = RenderStateSlot(copy, state);
  return slot ? *slot : 0;
}

bool BatchingDevice::SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t value) {
  if (stage < 0 || stage >= kStageCount || !ValidStageStateValue(type, value)) return false;
  StageState& s = state_.stages[stage];
  if (type == D3DTSS_ADDRESS) {
    if (s.addressU == value && s.addressV == value) return true;
    StateWillChange();
    s.addressU = s.addressV = value;
    return true;
  }
  std::uint32_t* slot = StageStateSlot(s, type);
  if (!slot) return false;
  if (*slot == value) return true;
  StateWillChange();
  *slot = value;
  return true;
}

std::uint32_t BatchingDevice::GetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type) const {
  if (stage < 0 || stage >= kStageCount) return 0;
  StageState copy = state_.stages[stage];
  if (type == D3DTSS_ADDRESS) return copy.addressU;
  const std::uint32_t* slot = StageStateSlot(copy, type);
  return slot ? *slot : 0;
}

bool BatchingDevice::SetTexture(int stage, Texture* texture) {
  if (stage < 0 || stage >= kStageCount) return false;
  TextureBase* base = nullptr;
  if (texture) {
    base = dynamic_cast<TextureBase*>(texture);
    if (!base || base->owner_ != this) return false;
  }
  if (state_.textures[stage] == base) return true;
  StateWillChange();
  ++stats_.textureChanges;
  state_.textures[stage] = base;
  return true;
}

Texture* BatchingDevice::GetTexture(int stage) const {
  return stage >= 0 && stage < kStageCount ? state_.textures[stage] : nullptr;
}

bool BatchingDevice::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX& m) {
  D3DMATRIX* slot = type == D3DTRANSFORMSTATE_WORLD        ? &state_.world
                    : type == D3DTRANSFORMSTATE_VIEW       ? &state_.view
                    : type == D3DTRANSFORMSTATE_PROJECTION ? &state_.projection
                                                           : nullptr;
  if (!slot) return false;
  if (*slot == m) return true;
  StateWillChange();
  *slot = m;
  return true;
}

D3DMATRIX BatchingDevice::GetTransform(D3DTRANSFORMSTATETYPE type) const {
  switch (type) {
    case D3DTRANSFORMSTATE_WORLD:
      return state_.world;
    case D3DTRANSFORMSTATE_VIEW:
      return state_.view;
    case D3DTRANSFORMSTATE_PROJECTION:
      return state_.projection;
  }
  return kIdentityMatrix;
}

bool BatchingDevice::SetViewport(const D3DVIEWPORT7& vp) {
  const auto w = static_cast<std::uint64_t>(width_), h = static_cast<std::uint64_t>(height_);
  if (vp.dwWidth == 0 || vp.dwHeight == 0 || std::uint64_t{vp.dwX} + vp.dwWidth > w ||
      std::uint64_t{vp.dwY} + vp.dwHeight > h)
    return false;
  if (!(vp.dvMinZ >= 0.0f && vp.dvMaxZ <= 1.0f && vp.dvMinZ <= vp.dvMaxZ)) return false;
  if (state_.viewport == vp) return true;
  StateWillChange();
  state_.viewport = vp;
  return true;
}

bool BatchingDevice::SetLight(int index, const D3DLIGHT7& light) {
  if (index != 0 || light.dltType != D3DLIGHT_DIRECTIONAL) return false;
  if (state_.light == light) return true;
  StateWillChange();
  state_.light = light;
  return true;
}

bool BatchingDevice::LightEnable(int index, bool enable) {
  if (index != 0) return false;
  if (state_.lightEnabled == enable) return true;
  StateWillChange();
  state_.lightEnabled = enable;
  return true;
}

bool BatchingDevice::SetMaterial(const D3DMATERIAL7& material) {
  if (state_.material == material) return true;
  StateWillChange();
  state_.material = material;
  return true;
}

template <>
std::vector<D3DTLVERTEX>& BatchingDevice::BatchVertices<D3DTLVERTEX>() {
  return batch_.tlVertices;
}
template <>
std::vector<D3DVERTEX>& BatchingDevice::BatchVertices<D3DVERTEX>() {
  return batch_.vertices;
}

template <typename Vertex>
bool BatchingDevice::Draw(D3DPRIMITIVETYPE type, std::span<const Vertex> vertices,
                          std::span<const std::uint16_t> indices, bool indexed) {
  if (!inScene_) return false;
  if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP) return false;
  const std::size_t count = indexed ? indices.size() : vertices.size();
  if (count < 3 || vertices.empty() || vertices.size() > kMaxBatchVertices) return false;
  if (indexed)
    for (std::uint16_t i : indices)
      if (i >= vertices.size()) return false;

  constexpr bool kPretransformed = std::is_same_v<Vertex, D3DTLVERTEX>;
  if (!batch_.indices.empty() && (batch_.pretransformed != kPretransformed ||
                                  batch_.VertexCount() + vertices.size() > kMaxBatchVertices))
    Flush();
  batch_.pretransformed = kPretransformed;
  auto& out = BatchVertices<Vertex>();
  const auto base = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), vertices.begin(), vertices.end());
  if (indexed)
    AppendTriangles(
        type, count, [&](std::size_t i) { return base + indices[i]; }, batch_.indices);
  else
    AppendTriangles(
        type, count, [&](std::size_t i) { return base + static_cast<std::uint32_t>(i); }, batch_.indices);
  ++batch_.sourceDraws;
  ++stats_.drawCalls;
  return true;
}

bool BatchingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DTLVERTEX> vertices) {
  return Draw<D3DTLVERTEX>(type, vertices, {}, false);
}
bool BatchingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DVERTEX> vertices) {
  return Draw<D3DVERTEX>(type, vertices, {}, false);
}
bool BatchingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DTLVERTEX> vertices,
                                          std::span<const std::uint16_t> indices) {
  return Draw<D3DTLVERTEX>(type, vertices, indices, true);
}
bool BatchingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DVERTEX> vertices,
                                          std::span<const std::uint16_t> indices) {
  return Draw<D3DVERTEX>(type, vertices, indices, true);
}

bool BatchingDevice::ReadTarget(std::span<std::uint32_t> out) {
  if (out.size() != static_cast<std::size_t>(width_) * height_) return false;
  Flush();
  return ReadPixels(out);
}

}  // namespace platform::gl
