#pragma once
// A 3D component initialised on a recording device or on the GL device
// (Mesa, headless), with textures made from bitmaps written by the test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/3d/Mv3d.h"
#include "platform/gl/recording_device.h"
#include "platform/graphics/bitmap.h"

namespace deferredtest {

using namespace Morvane3DSystem;
using platform::gl::D3DTLVERTEX;
using platform::gl::DeviceKind;
using platform::gl::RecordedBatch;
using platform::gl::RecordingDevice;

constexpr int kWidth = 64, kHeight = 48;

enum class Backend { kRecording, kGl };

class Rig {
 public:
  explicit Rig(Backend Kind = Backend::kRecording, int Width = kWidth, int Height = kHeight)
      : component(nullptr) {
    component.SetWidth(Width);
    component.SetHeight(Height);
    component.Set3DDeviceFactory(
        [this, Kind](DeviceKind K, int W, int H) -> std::unique_ptr<platform::gl::Device> {
          if (Kind == Backend::kGl) {
            platform::gl::DeviceOptions o;
            o.kind = DeviceKind::kEmulated;
            o.width = W;
            o.height = H;
            return platform::gl::CreateGlDevice(o);
          }
          auto d = std::make_unique<RecordingDevice>(W, H, K);
          recording = d.get();
          return d;
        });
    component.Init();
  }

  // A texture of the given size filled by Pixel(x, y) (0x00RRGGBB), under
  // Name, from a BMP written for it.
  template <typename F>
  TMorvane3DTexture* AddTexture(const std::string& Name, int W, int H, F Pixel, int CellW = 0,
                                int CellH = 0) {
    platform::Bitmap b(W, H);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) b.SetPixel(x, y, Pixel(x, y));
    const std::string file = ::testing::TempDir() + "deferred_" + Name + ".bmp";
    b.SaveToFile(file);
    component.CreateTexture(Name, file, CellW, CellH);
    return component.GetTexture(Name);
  }
  TMorvane3DTexture* AddSolidTexture(const std::string& Name, platform::Color C = 0xFFFFFF) {
    return AddTexture(Name, 8, 8, [C](int, int) { return C; });
  }

  // Batches the recording device has handed on, pending ones included.
  const std::vector<RecordedBatch>& Batches() {
    recording->Flush();
    return recording->Batches();
  }
  const platform::gl::DeviceStats& Stats() { return recording->Stats(); }
  void ClearLog() {
    recording->Flush();
    recording->ClearLog();
    recording->ResetStats();
  }

  TMorvane3D component;
  RecordingDevice* recording = nullptr;
};

// Every matrix the identity: a model point (x, y, z) reaches the screen at
// (x, y) with depth z.
inline void IdentityCamera(TMorvane3D& C) {
  C.SetWorldMatrix(kIdentityMatrix);
  C.SetViewMatrix(kIdentityMatrix);
  C.SetProjectionMatrix(kIdentityMatrix);
  C.SetViewPortMatrix(kIdentityMatrix);
}

// One pre-lit triangle at depth Z in the given colour.
inline std::vector<TMorvane3DLVertex> LitTriangle(float Z, std::uint32_t Color) {
  return {{0, 0, Z, 0, Color, 0, 0, 0}, {10, 0, Z, 0, Color, 0, 1, 0}, {0, 10, Z, 0, Color, 0, 0, 1}};
}
inline constexpr std::uint16_t kOneTriangle[] = {0, 1, 2};

}  // namespace deferredtest
