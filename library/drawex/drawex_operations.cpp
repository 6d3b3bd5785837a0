// Composing a frame through the device: sprites as textured quads, one per
// tile they touch, plain or blended, rippled, scaled, rotated, stretched;
// and text through a text surface.
#include <cmath>
#include <numbers>

#include "library/debug/guard.h"
#include "library/draw/draw_texts.h"
#include "library/drawex/Mvdrawex.h"
#include "library/drawex/drawex_blend_table.h"
#include "library/drawex/drawex_texts.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
using namespace platform::gl;
namespace T = DrawTexts;
namespace X = DrawExTexts;

namespace {

constexpr D3DCOLOR kOpaqueWhite = 0xFFFFFFFFu;
constexpr platform::Color kCoverageNone = 0x000000u, kCoverageFull = 0xFFFFFFu;
constexpr int kZoomOne = 256;          // zoom factors are in 256ths
constexpr double kAngleSteps = 65536;  // a 16-bit angle makes the full turn

}  // namespace

TMorvaneDrawExSurface& TMorvaneDrawEx::spriteSurface(const AnsiString& Name) {
  const auto it = FExSurfaces.find(Name);
  if (it == FExSurfaces.end() || !it->second->HasTiles()) throw EMvDraw(T::kNoSpriteSurface + Name);
  return *it->second;
}

TRect TMorvaneDrawEx::spriteCell(TMorvaneDrawExSurface& Surface, const AnsiString& Name, int Index) {
  // A negative index would address pixels before the picture.
  if (Index < 0 || Index >= Surface.Info().Count) throw EMvDraw(T::kNoSprite + Name);
  return Surface.Cell(Index);
}

void TMorvaneDrawEx::drawQuad(Texture* Tile, const TTilePart& Part, const float (&X)[4], const float (&Y)[4],
                              D3DCOLOR Color) {
  const float u0 = FCoordinates[Part.Left], u1 = FCoordinates[Part.Right];
  const float v0 = FCoordinates[Part.Top], v1 = FCoordinates[Part.Bottom];
  // Strip order: top left, top right, bottom left, bottom right.
  const D3DTLVERTEX quad[4] = {{X[0], Y[0], 0, 1, Color, 0, u0, v0},
                               {X[1], Y[1], 0, 1, Color, 0, u1, v0},
                               {X[2], Y[2], 0, 1, Color, 0, u0, v1},
                               {X[3], Y[3], 0, 1, Color, 0, u1, v1}};
  FDevice->SetTexture(0, Tile);
  FDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, std::span<const D3DTLVERTEX>(quad));
}

void TMorvaneDrawEx::drawAxisAligned(Texture* Tile, const TTilePart& Part, float Left, float Top, float Right,
                                     float Bottom, D3DCOLOR Color) {
  const float x[4] = {Left, Right, Left, Right};
  const float y[4] = {Top, Top, Bottom, Bottom};
  drawQuad(Tile, Part, x, y, Color);
}

void TMorvaneDrawEx::plainState() {
  if (FEffect != beNone) SetAlphaBlend(beNone);
  FDevice->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, GetTransparent() ? 1 : 0);
}

void TMorvaneDrawEx::drawCell(std::int64_t X, std::int64_t Y, TMorvaneDrawExSurface& Surface,
                              const TRect& Cell, int Effect, int Level) {
  // An effect without a row in the table has nothing to blend with.
  if (!IsDrawExEffect(Effect)) return;
  if (X + Cell.Width() < 1 || X >= GetWidth() || Y + Cell.Height() < 1 || Y >= GetHeight()) return;
  if (Effect != FEffect) SetAlphaBlend(Effect);
  FDevice->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, GetTransparent() ? 1 : 0);
  const D3DCOLOR color = DrawExVertexColor(Effect, Level);
  ForEachTilePart(Cell, Surface.Columns(), Surface.Rows(), [&](const TTilePart& p) {
    const auto left = static_cast<float>(X + p.OffsetX), top = static_cast<float>(Y + p.OffsetY);
    drawAxisAligned(Surface.Tile(p.Row, p.Column), p, left, top, left + static_cast<float>(p.Width()),
                    top + static_cast<float>(p.Height()), color);
  });
}

void TMorvaneDrawEx::Draw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level) {
  Guarded("TMorvaneDrawEx::Draw", [&] {
    checkInitialized();
    openScene();
    TMorvaneDrawExSurface& surface = spriteSurface(Name);
    const TRect cell = spriteCell(surface, Name, Index);
    drawCell(X, Y, surface, cell, Effect, Level);
  });
}

void TMorvaneDrawEx::EffectDraw(int, int, TMorvaneDrawCallback, const AnsiString&, int, int, int) {
  Guarded("TMorvaneDrawEx::EffectDraw", [] { throw EMvDraw(X::kNoEffectDraw); });
}

void TMorvaneDrawEx::WindDraw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level,
                              int Wind) {
  Guarded("TMorvaneDrawEx::WindDraw", [&] {
    checkInitialized();
    openScene();
    TMorvaneDrawExSurface& surface = spriteSurface(Name);
    const TRect cell = spriteCell(surface, Name, Index);
    // Wide: wind × 255 and the position plus its offset may pass the int range.
    const std::int64_t wind = Wind;
    const auto offset = [&] { return ((wind * NextRandom()) >> 8) - (wind >> 1); };
    if (Wind >= 0) {
      for (int r = 0; r < cell.Height(); ++r) {
        drawCell(X + offset(), std::int64_t{Y} + r, surface,
                 {cell.left, cell.top + r, cell.right, cell.top + r + 1}, Effect, Level);
      }
    } else {
      for (int c = 0; c < cell.Width(); ++c) {
        drawCell(std::int64_t{X} + c, Y + offset(), surface,
                 {cell.left + c, cell.top, cell.left + c + 1, cell.bottom}, Effect, Level);
      }
    }
  });
}

void TMorvaneDrawEx::ZoomDraw(int X, int Y, int ZoomX, int ZoomY, const AnsiString& Name, int Index) {
  Guarded("TMorvaneDrawEx::ZoomDraw", [&] {
    checkInitialized();
    openScene();
    TMorvaneDrawExSurface& surface = spriteSurface(Name);
    const TRect cell = spriteCell(surface, Name, Index);
    if (ZoomX <= 0 || ZoomY <= 0) return;
    plainState();
    // Each part's screen size is its own size scaled; the parts are laid
    // edge to edge along a row and the rows one under the other.
    std::int64_t x = X, y = Y, rowHeight = 0;
    int row = -1;
    ForEachTilePart(cell, surface.Columns(), surface.Rows(), [&](const TTilePart& p) {
      if (p.Row != row) {
        if (row != -1) y += rowHeight;
        row = p.Row;
        x = X;
      }
      const std::int64_t w = std::int64_t{p.Width()} * ZoomX / kZoomOne;
      const std::int64_t h = std::int64_t{p.Height()} * ZoomY / kZoomOne;
      rowHeight = h;
      if (w > 0 && h > 0)
        drawAxisAligned(surface.Tile(p.Row, p.Column), p, static_cast<float>(x), static_cast<float>(y),
                        static_cast<float>(x + w), static_cast<float>(y + h), kOpaqueWhite);
      x += w;
    });
  });
}

void TMorvaneDrawEx::RotZoomDraw(int X, int Y, int Rotation, int Zoom, const AnsiString& Name, int Index) {
  Guarded("TMorvaneDrawEx::RotZoomDraw", [&] {
    checkInitialized();
    openScene();
    TMorvaneDrawExSurface& surface = spriteSurface(Name);
    const TRect cell = spriteCell(surface, Name, Index);
    if (Zoom == 0) return;
    plainState();
    const double angle = static_cast<std::uint16_t>(Rotation) * 2 * std::numbers::pi / kAngleSteps;
    const double c = std::cos(angle), s = std::sin(angle), k = static_cast<double>(Zoom) / kZoomOne;
    const int halfW = cell.Width() / 2, halfH = cell.Height() / 2;
    // One destination step right walks the sprite by (cos, sin) / zoom, one
    // step down by (-sin, cos) / zoom; this is that mapping inverted.
    auto screen = [&](int a, int b, float& outX, float& outY) {
      const double sx = a - halfW, sy = b - halfH;
      outX = static_cast<float>(X + k * (sx * c + sy * s));
      outY = static_cast<float>(Y + k * (-sx * s + sy * c));
    };
    ForEachTilePart(cell, surface.Columns(), surface.Rows(), [&](const TTilePart& p) {
      const int a0 = p.OffsetX, a1 = p.OffsetX + p.Width(), b0 = p.OffsetY, b1 = p.OffsetY + p.Height();
      float x[4], y[4];
      screen(a0, b0, x[0], y[0]);
      screen(a1, b0, x[1], y[1]);
      screen(a0, b1, x[2], y[2]);
      screen(a1, b1, x[3], y[3]);
      drawQuad(surface.Tile(p.Row, p.Column), p, x, y, kOpaqueWhite);
    });
  });
}

void TMorvaneDrawEx::DirectDraw(const TRect& Dest, const TRect& Src, const AnsiString& Name) {
  Guarded("TMorvaneDrawEx::DirectDraw", [&] {
    checkInitialized();
    openScene();
    const auto it = FExSurfaces.find(Name);
    if (it == FExSurfaces.end() || !it->second->HasTiles()) throw EMvDraw(T::kNoSpriteSurface + Name);
    TMorvaneDrawExSurface& surface = *it->second;
    const TMorvaneDrawSurfaceInfo info = surface.Info();
    // As the 2D copy: the source must lie inside the picture.
    if (Src.left < 0 || Src.top < 0 || Src.right > info.BMPWidth || Src.bottom > info.BMPHeight ||
        Src.Width() <= 0 || Src.Height() <= 0)
      throw EMvDraw(T::kSpriteDraw + Name);
    // Wide: a destination may span more than the int range.
    const std::int64_t destWidth = std::int64_t{Dest.right} - Dest.left;
    const std::int64_t destHeight = std::int64_t{Dest.bottom} - Dest.top;
    if (destWidth <= 0 || destHeight <= 0) return;
    plainState();
    const double scaleX = static_cast<double>(destWidth) / Src.Width();
    const double scaleY = static_cast<double>(destHeight) / Src.Height();
    ForEachTilePart(Src, surface.Columns(), surface.Rows(), [&](const TTilePart& p) {
      const double left = Dest.left + p.OffsetX * scaleX, top = Dest.top + p.OffsetY * scaleY;
      drawAxisAligned(surface.Tile(p.Row, p.Column), p, static_cast<float>(left), static_cast<float>(top),
                      static_cast<float>(left + p.Width() * scaleX),
                      static_cast<float>(top + p.Height() * scaleY), kOpaqueWhite);
    });
  });
}

void TMorvaneDrawEx::TextOutA(int X, int Y, const AnsiString& Text) {
  Guarded("TMorvaneDrawEx::TextOutA", [&] {
    checkInitialized();
    openScene();
    platform::Surface& work = *FTextBuffer[1];
    if (work.IsLost()) work.Restore();
    if (FTextBuffer[0]->IsLost()) {
      FTextBuffer[0]->Restore();
      FTextBuffer[0]->Fill(nullptr, ColorKey());
    }
    work.BltFast(0, 0, *FTextBuffer[0], FTextBuffer[0]->Bounds(), false);
    int w = 0, h = 0;
    {
      std::unique_ptr<platform::DeviceContext> dc = work.GetDC();
      if (!dc) throw EMvDraw(T::kDeviceContext);
      platform::Canvas& canvas = dc->GetCanvas();
      canvas.font = GetFont();
      const TRect extent = canvas.TextExtent(Text);
      w = std::min(extent.Width(), work.Width());
      h = std::min(extent.Height(), work.Height());
      if (w <= 0 || h <= 0) return;
      dc->BeginRegion({0, 0, w, h});
      // White on black leaves each pixel's coverage in its channels; drawn
      // in the font's colour with that as alpha, the edges blend into what
      // lies under the text as the software component's do, instead of into
      // a key colour.
      canvas.brush.style = platform::BrushStyle::Solid;
      canvas.brush.color = kCoverageNone;
      canvas.FillRect({0, 0, w, h});
      canvas.brush.style = platform::BrushStyle::Clear;
      canvas.font.color = kCoverageFull;
      canvas.TextOut(0, 0, Text);
      for (int c = 0; c < TilesFor(w); ++c)
        if (!UploadCoverage(canvas.Target(), c * kTileSize, w, h, GetFont().color, *FTextTiles.At(0, c)))
          throw EMvDraw(T::kDeviceContext);
    }
    if (FEffect != beTrans) SetAlphaBlend(beTrans);
    FDevice->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 0);
    ForEachTilePart({0, 0, w, h}, FTextTiles.Columns, FTextTiles.Rows, [&](const TTilePart& p) {
      const auto left = static_cast<float>(std::int64_t{X} + p.OffsetX);
      const auto top = static_cast<float>(std::int64_t{Y} + p.OffsetY);
      drawAxisAligned(FTextTiles.At(p.Row, p.Column), p, left, top, left + static_cast<float>(p.Width()),
                      top + static_cast<float>(p.Height()), kOpaqueWhite);
    });
  });
}

}  // namespace MorvaneDrawSystem
