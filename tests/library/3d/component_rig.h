#pragma once
// A TMorvane3D on a small stage with the device a test chooses (the
// recording one, or Mesa's software GL), bitmaps written to a temporary
// folder, and a model built in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "library/3d/Mv3d.h"
#include "model_builder.h"
#include "platform/gl/recording_device.h"
#include "platform/graphics/bitmap.h"

namespace component_test {

using namespace Morvane3DSystem;
using platform::gl::DeviceKind;

constexpr int kStageWidth = 64;
constexpr int kStageHeight = 48;

inline const std::string k3DPrefix = "TMorvane3D エラー\n\n";
inline const std::string kTexturePrefix = "TMorvane3DTexture エラー\n\n";

// The message of what Body raises as E, or "" when it raises nothing.
template <class E, class F>
std::string MessageOf(F&& Body) {
  try {
    Body();
  } catch (const E& e) {
    return e.Message;
  }
  return "";
}

struct Rgb {
  int r, g, b;
};
inline Rgb RgbOf(std::uint32_t argb) {
  return {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
          static_cast<int>(argb & 0xFF)};
}
inline ::testing::AssertionResult Near(Rgb actual, Rgb expected, int tolerance) {
  if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
      std::abs(actual.b - expected.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got (" << actual.r << ", " << actual.g << ", " << actual.b << "), expected (" << expected.r
         << ", " << expected.g << ", " << expected.b << ") +-" << tolerance;
}

// Writes a bitmap of w x h whose pixel (x, y) is Pixel(x, y).
template <class F>
std::string WriteBitmap(const model_test::TempDir& Dir, const std::string& Name, int W, int H, F Pixel) {
  platform::Bitmap b(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) b.SetPixel(x, y, Pixel(x, y));
  const std::string path = Dir.File(Name);
  b.SaveToFile(path);
  return path;
}

class ComponentTest : public ::testing::Test {
 protected:
  // Makes the component draw on a recording device (kinds asked for are kept).
  void UseRecordingDevice() {
    component.Set3DDeviceFactory(
        [this](DeviceKind kind, int w, int h) -> std::unique_ptr<platform::gl::Device> {
          kinds.push_back(kind);
          return std::make_unique<platform::gl::RecordingDevice>(w, h, kind);
        });
  }
  void UseEmulatedGl() {
    component.Set3DDeviceFactory(
        [this](DeviceKind kind, int w, int h) -> std::unique_ptr<platform::gl::Device> {
          kinds.push_back(kind);
          platform::gl::DeviceOptions o;
          o.kind = DeviceKind::kEmulated;
          o.width = w;
          o.height = h;
          std::string error;
          auto d = platform::gl::CreateGlDevice(o, &error);
          EXPECT_NE(d, nullptr) << error;
          return d;
        });
  }
  void InitStage() {
    component.SetWidth(kStageWidth);
    component.SetHeight(kStageHeight);
    component.Init();
  }
  platform::gl::RecordingDevice& Recorder() {
    auto* r = dynamic_cast<platform::gl::RecordingDevice*>(component.Device3D());
    EXPECT_NE(r, nullptr);
    return *r;
  }
  std::vector<std::uint32_t> Target() {
    platform::gl::Device& d = *component.Device3D();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(d.TargetWidth()) * d.TargetHeight());
    EXPECT_TRUE(d.ReadTarget(pixels));
    return pixels;
  }

  TMorvane3D component{nullptr};
  std::vector<DeviceKind> kinds;
  model_test::TempDir dir;
};

}  // namespace component_test
