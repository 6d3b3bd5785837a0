#include "platform/gl/recording_device.h"

#include <algorithm>

namespace platform::gl {
namespace {
constexpr std::uint32_t kRecordingMaxTexture = 2048;
constexpr D3DCOLOR kOpaque = 0xFF000000;
}  // namespace

RecordingDevice::RecordingDevice(int width, int height, DeviceKind kind)
    : BatchingDevice(width, height, kind, FullCaps("Recording device", kRecordingMaxTexture)),
      target_(static_cast<std::size_t>(width) * height, kOpaque) {}

RecordingDevice::~RecordingDevice() { ReleaseAllTextures(); }

bool RecordingDevice::Present(int) {
  Flush();
  return false;
}

std::unique_ptr<TextureBase> RecordingDevice::NewTexture(int width, int height, const DDPIXELFORMAT& format) {
  return std::make_unique<TextureBase>(this, width, height, format);
}

void RecordingDevice::SubmitBatch(const DeviceState& state, const Batch& batch) {
  batches_.push_back(RecordedBatch{state, batch});
}

void RecordingDevice::ClearTarget(const D3DVIEWPORT7& vp, std::uint32_t flags, D3DCOLOR color, float) {
  if (!(flags & D3DCLEAR_TARGET)) return;
  const int w = TargetWidth();
  for (std::uint32_t y = vp.dwY; y < vp.dwY + vp.dwHeight; ++y)
    std::fill_n(target_.begin() + static_cast<std::ptrdiff_t>(y) * w + vp.dwX, vp.dwWidth, color | kOpaque);
}

bool RecordingDevice::ReadPixels(std::span<std::uint32_t> out) {
  std::copy(target_.begin(), target_.end(), out.begin());
  return true;
}

}  // namespace platform::gl
