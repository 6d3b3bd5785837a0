#include "game/shell/sp.h"

#include "game/presentation/colors.h"
#include "platform/framework/resources.h"

namespace dovrex {

TForm2::TForm2(platform::Application& app) : window_(app) {
  platform::Canvas& canvas = picture_.canvas;
  if (const auto blob = FindResource("BITMAP", "Splash")) {
    platform::Bitmap stored;
    stored.LoadFromMemory(*blob, "Splash");
    canvas.CopyRect(canvas.ClipRect(), platform::Canvas(stored), {0, 0, stored.Width(), stored.Height()});
  }
  canvas.font.size = 15;
  canvas.font.color = kCyan;
  canvas.brush.style = platform::BrushStyle::Clear;
  canvas.TextOut(35, 5, "loading...");
  window_.SetPicture(picture_.bitmap);
}

void TForm2::Show() { window_.Show(); }

void TForm2::Release() { window_.Release(); }

}  // namespace dovrex
