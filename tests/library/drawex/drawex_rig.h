#pragma once
// A 3D-backed 2D component on SDL's offscreen driver, on the GL device or on
// the recording device, with helpers to read its target back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "library/drawex/Mvdrawex.h"
#include "library/drawex/drawex_blend_table.h"
#include "platform/gl/recording_device.h"
#include "tests/library/draw/draw_rig.h"

namespace drawextest {

using namespace drawtest;
using namespace MorvaneDrawSystem;
using platform::Rgb;
using platform::gl::DeviceKind;
using platform::gl::RecordingDevice;

// Makes recording devices and remembers every kind it was asked for.
struct RecordingFactory {
  std::vector<DeviceKind> asked;
  bool failHardware = false;
  TDrawExDeviceFactory Make() {
    return [this](DeviceKind kind, int w, int h) -> std::unique_ptr<platform::gl::Device> {
      asked.push_back(kind);
      if (failHardware && kind == DeviceKind::kHardware) return nullptr;
      return std::make_unique<RecordingDevice>(w, h, kind);
    };
  }
};

// An initialised stage of w x h at the given depth; the default factory is
// the GL device.
inline std::unique_ptr<TMorvaneDrawEx> makeEx(int w, int h, int bits, TDrawExDeviceFactory factory = {},
                                              bool transparent = true) {
  auto draw = std::make_unique<TMorvaneDrawEx>(nullptr);
  if (factory) draw->SetDevice3DFactory(std::move(factory));
  setUpStage(*draw, w, h, bits, transparent);
  return draw;
}

inline RecordingDevice& recorder(TMorvaneDrawEx& d) { return *static_cast<RecordingDevice*>(d.Device3D()); }

// The target as 0x00RRGGBB colours.
struct Target {
  explicit Target(TMorvaneDrawEx& d)
      : width(d.GetWidth()), pixels(static_cast<std::size_t>(width) * d.GetHeight()) {
    EXPECT_TRUE(d.Device3D()->ReadTarget(pixels));
    for (auto& p : pixels) p &= 0xFFFFFF;
  }
  Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  int width;
  std::vector<std::uint32_t> pixels;
};

inline std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline ::testing::AssertionResult near(Color actual, Color expected, int tolerance) {
  const int d[3] = {std::abs(platform::RedOf(actual) - platform::RedOf(expected)),
                    std::abs(platform::GreenOf(actual) - platform::GreenOf(expected)),
                    std::abs(platform::BlueOf(actual) - platform::BlueOf(expected))};
  if (d[0] <= tolerance && d[1] <= tolerance && d[2] <= tolerance) return ::testing::AssertionSuccess();
  char text[96];
  std::snprintf(text, sizeof text, "got %06X, expected %06X +-%d", actual, expected, tolerance);
  return ::testing::AssertionFailure() << text;
}

}  // namespace drawextest
