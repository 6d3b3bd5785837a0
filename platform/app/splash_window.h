#pragma once
// The start-up splash: borderless, always on top, centred on the desktop,
// with the wait cursor. Its 379 × 159 client area is a panel with a raised
// bevel 2 pixels wide holding a 375 × 155 picture at (2, 2).
#include <cstdint>
#include <memory>

#include "platform/app/application.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/color.h"

namespace platform {

class SplashWindow final : public AppWindow {
 public:
  static constexpr int kClientWidth = 379;
  static constexpr int kClientHeight = 159;
  static constexpr int kBevelWidth = 2;
  static constexpr int kPictureWidth = kClientWidth - 2 * kBevelWidth;
  static constexpr int kPictureHeight = kClientHeight - 2 * kBevelWidth;
  static constexpr Color kHighlight = Rgb(255, 255, 255);
  static constexpr Color kShadow = Rgb(160, 160, 160);

  // Created hidden; destroy windows before their application.
  explicit SplashWindow(Application& app);
  ~SplashWindow() override;

  // The picture the panel holds; cut to 375 × 155, black where it is smaller.
  // Shown again at once when the window is visible.
  void SetPicture(const Bitmap& picture);
  void Show();
  // The window disappears on the next ProcessMessages; the object stays.
  void Release();

  bool Visible() const { return visible_; }
  bool Released() const { return released_; }
  // The client area as drawn.
  const Bitmap& Client() const { return client_; }

 private:
  struct Native;
  std::uint32_t NativeId() const override;
  void HandleEvent(const WindowEvent& event) override;
  void RunDeferred() override;
  void DropNative() override;
  void Repaint();

  Bitmap client_;
  std::unique_ptr<Native> native_;
  bool visible_ = false;
  bool released_ = false;
  bool releaseRequested_ = false;
};

}  // namespace platform
