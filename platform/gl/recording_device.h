#pragma once
// A device that draws nothing: it keeps the full state and the batching of
// the real device and records every batch it would have drawn, so tests can
// count state changes and backend draw calls and inspect the geometry.
// Its target reads back as the last clear colour.
#include <vector>

#include "platform/gl/batching_device.h"

namespace platform::gl {

struct RecordedBatch {
  DeviceState state;  // texture pointers are as they were when drawn
  Batch batch;
};

class RecordingDevice : public BatchingDevice {
 public:
  RecordingDevice(int width, int height, DeviceKind kind = DeviceKind::kHardware);
  ~RecordingDevice() override;

  const std::vector<RecordedBatch>& Batches() const { return batches_; }
  void ClearLog() { batches_.clear(); }
  bool Present(int scale) override;

 protected:
  std::unique_ptr<TextureBase> NewTexture(int width, int height, const DDPIXELFORMAT& format) override;
  void SubmitBatch(const DeviceState& state, const Batch& batch) override;
  void ClearTarget(const D3DVIEWPORT7& viewport, std::uint32_t flags, D3DCOLOR color, float z) override;
  bool ReadPixels(std::span<std::uint32_t> out) override;

 private:
  std::vector<RecordedBatch> batches_;
  std::vector<std::uint32_t> target_;
};

}  // namespace platform::gl
