// Named sprite surfaces: loading, restoring and the component's registry.
#include "library/debug/guard.h"
#include "library/draw/Mvdraw.h"
#include "library/draw/draw_texts.h"
#include "platform/framework/resources.h"

namespace MorvaneDrawSystem {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::TMorvaneDebug;
using MorvaneDebugSystem::Trace;
namespace T = DrawTexts;

TMorvaneDrawSurface::TMorvaneDrawSurface(platform::SurfaceDevice* DirectDraw,
                                         const platform::PixelFormat& Format)
    : FDirectDraw(DirectDraw), FFormat(Format) {
  Guarded("TMorvaneDrawSurface::TMorvaneDrawSurface", [] {});
}

TMorvaneDrawSurface::~TMorvaneDrawSurface() {
  GuardedNoThrow("TMorvaneDrawSurface::~TMorvaneDrawSurface", [this] { FSurface.reset(); });
}

std::optional<platform::Bitmap> ReadPicture(const AnsiString& FileName) {
  platform::Bitmap picture;
  if (const auto blob = FindResource(T::kBitmapResource, FileName)) {
    try {
      picture.LoadFromMemory(*blob, FileName);
      return picture;
    } catch (const Exception&) {
      // A resource that is no picture: the file may still be one.
    }
  }
  try {
    picture.LoadFromFile(FileName);
  } catch (const Exception&) {
    return std::nullopt;
  }
  return picture;
}

platform::Bitmap TMorvaneDrawSurface::loadPicture(const AnsiString& FileName) const {
  auto picture = ReadPicture(FileName);
  if (!picture) throw EMvDrawSurface(T::kBmpRead + FileName);
  return std::move(*picture);
}

void TMorvaneDrawSurface::LoadFile(const AnsiString& Name, const AnsiString& FileName, bool VideoMemory,
                                   std::uint32_t Key, int SpriteWidth, int SpriteHeight) {
  Guarded("TMorvaneDrawSurface::LoadFile", [&] {
    FSurface.reset();
    FFileName.clear();
    FSurfaceName.clear();

    const platform::Bitmap picture = loadPicture(FileName);
    FBMPWidth = picture.Width();
    FBMPHeight = picture.Height();
    // A size of 0 (or below, which would make no cell) means the whole picture.
    FSpriteWidth = SpriteWidth > 0 ? SpriteWidth : FBMPWidth;
    FSpriteHeight = SpriteHeight > 0 ? SpriteHeight : FBMPHeight;
    FLine = FBMPWidth / FSpriteWidth;
    FCount = (FBMPHeight / FSpriteHeight) * FLine;

    FSurface =
        FDirectDraw ? FDirectDraw->CreateSurface(FBMPWidth, FBMPHeight, FFormat, VideoMemory) : nullptr;
    if (!FSurface) throw EMvDrawSurface(T::kSurfaceCreate + FileName);
    {
      std::unique_ptr<platform::DeviceContext> dc = FSurface->GetDC();
      if (!dc) {
        FSurface.reset();
        throw EMvDrawSurface(T::kBmpTransfer + FileName);
      }
      dc->DrawBitmap(0, 0, picture);
    }
    FSurface->SetColorKey(Key);
    FSurfaceName = Name;
    FFileName = FileName;
  });
}

void TMorvaneDrawSurface::Restore() {
  Guarded("TMorvaneDrawSurface::Restore", [&] {
    if (!FSurface) throw EMvDrawSurface(T::kSurfaceMissing + FSurfaceName);
    if (FSurface->Restore() != platform::SurfaceResult::Ok) return;
    const platform::Bitmap picture = loadPicture(FFileName);
    std::unique_ptr<platform::DeviceContext> dc = FSurface->GetDC();
    if (!dc) {
      FSurface.reset();
      throw EMvDrawSurface(T::kSurfaceRestore + FSurfaceName);
    }
    dc->DrawBitmap(0, 0, picture);
  });
}

TMorvaneDrawSurfaceInfo TMorvaneDrawSurface::Info() const {
  return {FSpriteWidth, FSpriteHeight, FBMPWidth, FBMPHeight, FLine, FCount, FFileName, FSurfaceName};
}

TRect TMorvaneDrawSurface::Cell(int Index) const {
  const int left = (Index % FLine) * FSpriteWidth;
  const int top = (Index / FLine) * FSpriteHeight;
  return {left, top, left + FSpriteWidth, top + FSpriteHeight};
}

void TMorvaneDraw::CreateSurface(const AnsiString& Name, const AnsiString& FileName, int SpriteWidth,
                                 int SpriteHeight) {
  Guarded("TMorvaneDraw::CreateSurface", [&] {
    checkInitialized();
    if (FSurfaces.count(Name) != 0) return;
    auto& entry = FSurfaces[Name];
    try {
      entry = new TMorvaneDrawSurface(FDirectDraw.get(), FPrimary->Format());
      entry->LoadFile(Name, FileName, FVideoMemory, FColorKey, SpriteWidth, SpriteHeight);
    } catch (...) {
      FSurfaces.erase(Name);
      throw;
    }
    if (TMorvaneDebug::GetDebug()) {
      const TMorvaneDrawSurfaceInfo info = entry->Info();
      Trace(AnsiString(T::kTraceCreateSurface) + "  FileName:" + FileName + "  SurfaceName:" + Name + "\n" +
            T::kTracePrefix + "BMPWidth:" + std::to_string(info.BMPWidth) +
            "  BMPHeight:" + std::to_string(info.BMPHeight) + "  Line:" + std::to_string(info.Line) +
            "  Count:" + std::to_string(info.Count));
      TraceVideoMemory();
    }
  });
}

TMorvaneDrawSurfaceInfo TMorvaneDraw::GetSurfaceInfo(const AnsiString& Name) {
  return Guarded("TMorvaneDraw::GetSurfaceInfo", [&] {
    const auto it = FSurfaces.find(Name);
    if (it == FSurfaces.end()) throw EMvDraw(T::kNoSurface + Name);
    return it->second->Info();
  });
}

void TMorvaneDraw::DeleteSurface(const AnsiString& Name) {
  Guarded("TMorvaneDraw::DeleteSurface", [&] {
    FSurfaces.erase(Name);
    if (TMorvaneDebug::GetDebug()) {
      Trace(AnsiString(T::kTraceDeleteSurface) + "SurfaceName:" + Name);
      TraceVideoMemory();
    }
  });
}

void TMorvaneDraw::DeleteAllSurface() {
  Guarded("TMorvaneDraw::DeleteAllSurface", [&] {
    FSurfaces.clear();
    Trace(T::kTraceDeleteAll);
    TraceVideoMemory();
  });
}

}  // namespace MorvaneDrawSystem
