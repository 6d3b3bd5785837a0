#pragma once
// The 3D device: the subset of a Direct3D 7 device (IDirect3DDevice7 with its
// DirectDraw texture surfaces) that the library's 3D-backed components use,
// as a platform service. Two implementations share this interface: the
// OpenGL device (CreateGlDevice) and the recording device (recording_device.h)
// that draws nothing and counts what reaches the backend.
//
// Conventions, where they differ from or refine Direct3D 7:
//  - Pre-transformed vertices address pixel edges: a quad from (0, 0) to
//    (w, h) covers exactly w x h pixels, and texture coordinate k / size lands
//    on texel k, so untouched copies are pixel exact (no half-texel shift).
//  - A texture stage with no texture reads D3DTA_TEXTURE as opaque white.
//  - D3DRENDERSTATE_COLORKEYENABLE starts TRUE: a key set on a texture
//    applies until it is switched off.
//  - Otherwise a fresh device has Direct3D 7's defaults: stage 0 colour =
//    texture x diffuse but alpha = texture alone (set D3DTSS_ALPHAOP to
//    D3DTOP_MODULATE for the diffuse alpha to count), stage 1 disabled,
//    point filters, wrapping, counter-clockwise culling, no blending; depth
//    testing starts off (D3DRENDERSTATE_ZENABLE).
//  - The target has no alpha channel: destination alpha reads 1 and reads
//    back as 0xFF.
//  - Only light 0 exists and only as a directional light.
//  - Errors are reported by a false result, as the original reported HRESULTs;
//    nothing here throws except on allocation failure.
//  - Textures must not outlive their device in use: when the device goes, its
//    textures keep their pixels but are no longer drawable.
//  - Not thread-safe; one thread drives a device and its textures.
//
// Drawing between BeginScene and EndScene is batched: consecutive draws with
// no state change in between reach the backend as one call. Every Set* call
// that changes a value ends the batch; setting a value it already has does not.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gl/d3d_types.h"

namespace platform::gl {

// What a device can do. Tests may narrow it (OverrideCaps) to exercise the
// paths callers take on weaker hardware; CreateTexture honours it.
struct DeviceCaps {
  std::string deviceName;
  std::uint32_t textureCaps = 0;  // D3DPTEXTURECAPS_*
  std::uint32_t maxTextureWidth = 0;
  std::uint32_t maxTextureHeight = 0;
  std::uint32_t srcBlendCaps = 0;        // D3DPBLENDCAPS_*
  std::uint32_t destBlendCaps = 0;       // D3DPBLENDCAPS_*
  std::uint32_t textureOpCaps = 0;       // D3DTEXOPCAPS_*
  std::uint32_t textureAddressCaps = 0;  // D3DPTADDRESSCAPS_*
  std::uint32_t textureFilterCaps = 0;   // D3DPTFILTERCAPS_*
};

// Every capability this implementation has, with the given name and size limit.
DeviceCaps FullCaps(const std::string& name, std::uint32_t maxTextureSize);

// Pixel access granted by Texture::Lock: rows top-down, pitch in bytes.
struct LockedRect {
  void* bits = nullptr;
  int pitch = 0;
};

// A texture surface in one of the device's formats. The pixels live in
// memory in the texture's own format; the device uploads them when drawn.
class Texture {
 public:
  virtual ~Texture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual const DDPIXELFORMAT& Format() const = 0;
  // Texels whose colour bits equal the key's (alpha bits ignored) are not
  // drawn. An empty key draws every texel.
  virtual void SetColorKey(std::optional<DDCOLORKEY> key) = 0;
  virtual std::optional<DDCOLORKEY> GetColorKey() const = 0;
  // Direct access to the pixels until Unlock. False when already locked.
  virtual bool Lock(LockedRect& out) = 0;
  virtual void Unlock() = 0;
};

enum class DeviceKind {
  kHardware,  // the system's GL driver
  kEmulated,  // Mesa's software rasteriser, chosen explicitly
};

class Device {
 public:
  virtual ~Device() = default;

  // Render target size in pixels, fixed at creation.
  virtual int TargetWidth() const = 0;
  virtual int TargetHeight() const = 0;
  virtual DeviceKind Kind() const = 0;
  virtual DeviceCaps GetCaps() const = 0;
  virtual void OverrideCaps(const DeviceCaps& caps) = 0;

  // Formats CreateTexture accepts, richest first.
  virtual std::vector<DDPIXELFORMAT> EnumTextureFormats() const = 0;
  // A texture of the given size and format; null when the format is not
  // one of EnumTextureFormats or the size breaks the caps (power of two,
  // square, maximum size) or is not positive.
  virtual std::unique_ptr<Texture> CreateTexture(int width, int height, const DDPIXELFORMAT& format) = 0;

  virtual bool BeginScene() = 0;
  virtual bool EndScene() = 0;
  virtual bool InScene() const = 0;
  // Clears the viewport's rectangle of the target (D3DCLEAR_TARGET) to an
  // 0xAARRGGBB colour and/or the depth buffer (D3DCLEAR_ZBUFFER) to z.
  virtual bool Clear(std::uint32_t flags, D3DCOLOR color, float z) = 0;

  // False for an unknown state or an invalid value; nothing changes then.
  virtual bool SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value) = 0;
  virtual std::uint32_t GetRenderState(D3DRENDERSTATETYPE state) const = 0;
  // Stages 0 and 1.
  virtual bool SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t value) = 0;
  virtual std::uint32_t GetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type) const = 0;
  // Null selects no texture. The texture must come from this device.
  virtual bool SetTexture(int stage, Texture* texture) = 0;
  virtual Texture* GetTexture(int stage) const = 0;

  virtual bool SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX& matrix) = 0;
  virtual D3DMATRIX GetTransform(D3DTRANSFORMSTATETYPE type) const = 0;
  // The viewport must lie inside the target.
  virtual bool SetViewport(const D3DVIEWPORT7& viewport) = 0;
  virtual D3DVIEWPORT7 GetViewport() const = 0;
  // Index 0 only, directional only.
  virtual bool SetLight(int index, const D3DLIGHT7& light) = 0;
  virtual bool LightEnable(int index, bool enable) = 0;
  virtual bool SetMaterial(const D3DMATERIAL7& material) = 0;
  virtual D3DMATERIAL7 GetMaterial() const = 0;

  // Triangle lists and strips, plain or indexed (a list of index triples
  // into the vertices). Only inside a scene; false for a malformed call
  // (too few vertices, an index past the vertices).
  virtual bool DrawPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DTLVERTEX> vertices) = 0;
  virtual bool DrawPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DVERTEX> vertices) = 0;
  virtual bool DrawIndexedPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DTLVERTEX> vertices,
                                    std::span<const std::uint16_t> indices) = 0;
  virtual bool DrawIndexedPrimitive(D3DPRIMITIVETYPE type, std::span<const D3DVERTEX> vertices,
                                    std::span<const std::uint16_t> indices) = 0;

  // The target as 0xAARRGGBB pixels, rows top-down; out must hold
  // TargetWidth x TargetHeight. Finishes pending drawing first.
  virtual bool ReadTarget(std::span<std::uint32_t> out) = 0;
  // Shows the target in the device's window, scaled by `scale` (0 = the
  // largest whole factor that fits, at least 1) and centred on black.
  // False for a device without a window.
  virtual bool Present(int scale) = 0;
};

struct DeviceOptions {
  DeviceKind kind = DeviceKind::kHardware;
  int width = 640;
  int height = 480;
  // A visible window to present into (hardware device only); otherwise the
  // device renders offscreen.
  bool window = false;
  std::string windowTitle = "Morvane";
  int windowWidth = 0;  // 0: the target's size
  int windowHeight = 0;
};

// The OpenGL 3.3 device, or null with a reason in *error when the kind
// cannot be had (no GL driver, no software device, no window).
std::unique_ptr<Device> CreateGlDevice(const DeviceOptions& options, std::string* error = nullptr);

}  // namespace platform::gl
