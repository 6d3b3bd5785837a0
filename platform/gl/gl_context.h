#pragma once
// A GL 3.3 core context of one of the two device kinds (internal to this
// module; no GL or SDL type here either).
#include <memory>
#include <string>

#include "platform/gl/device.h"

namespace platform::gl {

class GlContext {
 public:
  virtual ~GlContext() = default;
  // Null with *error set when the kind cannot be had.
  static std::unique_ptr<GlContext> Create(const DeviceOptions& options, std::string& error);

  // Makes this context current on the calling thread if it is not already.
  virtual void MakeCurrent() = 0;
  virtual bool HasWindow() const = 0;
  virtual void DrawableSize(int& width, int& height) const = 0;
  virtual void SwapWindow() = 0;
};

}  // namespace platform::gl
