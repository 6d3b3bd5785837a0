#pragma once
// TMorvaneDraw: the library's 2D component. A frame is composed on an
// off-screen back surface of Width x Height from named sprite surfaces (BMP
// pictures cut into cells), drawn plainly, blended in software, rippled,
// scaled, rotated or stretched, and presented into its window: windowed, or
// full screen in its own display mode, optionally doubled.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "library/debug/Mvautoptr.h"
#include "library/debug/exceptions.h"
#include "library/draw/pixels/blend_routines.h"
#include "platform/framework/ansi_string.h"
#include "platform/framework/component.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/presenter.h"
#include "platform/graphics/surface.h"

namespace MorvaneDrawSystem {

enum TTransparentColor { tcBlack, tcWhite, tcRed, tcGreen, tcBlue };
enum TColorDepth { cd16bpp, cd24bpp, cd32bpp };
enum TBlendEffect { beNone, beTrans, beAdd, beMod, beSub, beColorAdd, beColorMod };

using TFont = platform::CanvasFont;
using TRect = platform::Rect;

// The window message the component reacts to.
inline constexpr std::uint32_t WM_DISPLAYCHANGE = 0x007E;

struct TMessage {
  std::uint32_t Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

// What GetSurfaceInfo returns.
struct TMorvaneDrawSurfaceInfo {
  int SpriteWidth = 0, SpriteHeight = 0;
  int BMPWidth = 0, BMPHeight = 0;
  int Line = 0, Count = 0;
  AnsiString FileName, SurfaceName;
};

// Handed to an EffectDraw callback: both surfaces locked.
struct TMorvaneDrawDirect {
  std::uint8_t* BackBits = nullptr;
  std::uint8_t* SpriteBits = nullptr;  // null when no sprite was named
  std::ptrdiff_t BackPitch = 0, SpritePitch = 0;
  int SpriteWidth = 0, SpriteHeight = 0;
  int X = 0, Y = 0;
  int A = 0, B = 0;
};
using TMorvaneDrawCallback = void (*)(TMorvaneDrawDirect* Direct);

// Makes the device Init sets the stage up on; null means it cannot be had.
using TDrawDeviceFactory = std::function<std::unique_ptr<platform::SurfaceDevice>()>;

// The picture in the program's bitmap resource named FileName, else in that
// file; empty when neither holds one.
std::optional<platform::Bitmap> ReadPicture(const AnsiString& FileName);

// One BMP picture in an off-screen surface, cut into equal sprite cells.
class TMorvaneDrawSurface {
 public:
  TMorvaneDrawSurface(platform::SurfaceDevice* DirectDraw, const platform::PixelFormat& Format);
  virtual ~TMorvaneDrawSurface();
  TMorvaneDrawSurface(const TMorvaneDrawSurface&) = delete;
  TMorvaneDrawSurface& operator=(const TMorvaneDrawSurface&) = delete;

  // Loads the picture from the bitmap resource named FileName, else the file.
  virtual void LoadFile(const AnsiString& Name, const AnsiString& FileName, bool VideoMemory,
                        std::uint32_t Key, int SpriteWidth, int SpriteHeight);
  // Restores a lost surface and draws its picture again.
  virtual void Restore();

  TMorvaneDrawSurfaceInfo Info() const;
  platform::Surface* Surface() { return FSurface.get(); }
  // The source rectangle of a cell (index below Count).
  TRect Cell(int Index) const;

 private:
  platform::Bitmap loadPicture(const AnsiString& FileName) const;

  platform::SurfaceDevice* FDirectDraw;
  platform::PixelFormat FFormat;
  int FSpriteWidth = 0, FSpriteHeight = 0;
  int FBMPWidth = 0, FBMPHeight = 0;
  int FLine = 0, FCount = 0;
  AnsiString FFileName, FSurfaceName;
  std::unique_ptr<platform::Surface> FSurface;
};

class TMorvaneDraw : public TComponent {
 public:
  explicit TMorvaneDraw(TComponent* AOwner);
  ~TMorvaneDraw() override;

  virtual void WndProc(TMessage& Message);

  bool GetInitialized() const { return FInitialized; }
  bool GetFullScreen() const { return FFullScreen; }
  bool GetDouble() const { return FDouble; }
  bool GetVideoMemory() const { return FVideoMemory; }
  bool GetTransparent() const { return FTransparent; }
  TTransparentColor GetTransparentColor() const { return FTransparentColor; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  int GetDisplayWidth() const { return FDisplayWidth; }
  int GetDisplayHeight() const { return FDisplayHeight; }
  TColorDepth GetColorDepth() const { return FColorDepth; }
  const TFont& GetFont() const { return FFont; }

  virtual void SetFullScreen(bool Value);
  virtual void SetDouble(bool Value);
  virtual void SetVideoMemory(bool Value);
  virtual void SetTransparent(bool Value);
  virtual void SetTransparentColor(TTransparentColor Value);
  virtual void SetWidth(int Value);
  virtual void SetHeight(int Value);
  virtual void SetDisplayWidth(int Value);
  virtual void SetDisplayHeight(int Value);
  virtual void SetColorDepth(TColorDepth Value);
  virtual void SetFont(const TFont& Value);

  virtual void CreateBackSurface();
  virtual void CheckPixelMode();
  // Sets up the stage; a window replaces the target window.
  virtual void Init(platform::DrawWindow* Window = nullptr);
  virtual void Reset();
  virtual void ResetAll();
  virtual void CleanUp();
  virtual void Update();
  virtual void UpdateEx(int Value, int Mode);
  virtual void UpdateTmp();
  virtual void WaitVSync();

  virtual void CreateSurface(const AnsiString& Name, const AnsiString& FileName, int SpriteWidth,
                             int SpriteHeight);
  virtual TMorvaneDrawSurfaceInfo GetSurfaceInfo(const AnsiString& Name);
  virtual void DeleteSurface(const AnsiString& Name);
  virtual void DeleteAllSurface();

  virtual void Draw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level);
  virtual void EffectDraw(int X, int Y, TMorvaneDrawCallback Callback, const AnsiString& Name, int Index,
                          int A, int B);
  virtual void WindDraw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level, int Wind);
  virtual void ZoomDraw(int X, int Y, int ZoomX, int ZoomY, const AnsiString& Name, int Index);
  virtual void RotZoomDraw(int X, int Y, int Rotation, int Zoom, const AnsiString& Name, int Index);
  virtual void DirectDraw(const TRect& Dest, const TRect& Src, const AnsiString& Name);
  virtual void TextOutA(int X, int Y, const AnsiString& Text);
  void Clear();

  // For tools and tests: the surfaces, the device (with its loss and fault
  // hooks), the window, and the highest SIMD level the next CheckPixelMode may
  // choose.
  platform::Surface* BackSurface() { return FBack.get(); }
  platform::Surface* TemporarySurface() { return FTmp.get(); }
  platform::SurfaceDevice* Device() { return FDirectDraw.get(); }
  platform::DrawWindow& Window() { return *FWindow; }
  void SetSimdLimit(TSimdLevel Level) { FSimdLimit = Level; }
  void SetDeviceFactory(TDrawDeviceFactory Factory) { FDeviceFactory = std::move(Factory); }
  TSimdLevel SimdLevel() const { return FRoutines.simd; }
  std::uint32_t ColorKey() const { return FColorKey; }
  int SurfaceCount() const { return static_cast<int>(FSurfaces.size()); }

 protected:
  // The next byte of the component's random table, for derived components
  // that ripple sprites the same way.
  std::uint8_t NextRandom() { return nextRandom(); }
  // Names the drawing device in the log as Init's last step. A component that
  // draws through a device of its own names that one instead, once it exists.
  virtual void TraceDeviceName();
  // Logs the display memory left, after each surface is made or let go.
  void TraceVideoMemory() const;

 private:
  struct Remembered {
    AnsiString Name, FileName;
    int SpriteWidth, SpriteHeight;
  };

  void checkInitialized() const;
  [[noreturn]] void failSetUp(const char* Message);
  std::uint8_t nextRandom();
  std::vector<Remembered> rememberSurfaces() const;
  void releaseStageSurfaces();
  void recomputeWindowSize();
  // Width and height follow the same rules against their side of the display.
  void setStageSide(int& side, int displaySide, int value);
  // The registered surface with a DirectDraw surface, else the error naming it.
  TMorvaneDrawSurface& spriteSurface(const AnsiString& Name);
  TRect spriteCell(TMorvaneDrawSurface& Surface, const AnsiString& Name, int Index);
  // Restores whichever of the back surface and the sprite is lost; true when
  // one was (the caller then draws nothing).
  bool restoreLost(TMorvaneDrawSurface* Sprite);
  // Draw's work once the cell is known: clipping, then a copy or a blend.
  // The position is wide so that callers may add offsets to any int.
  void drawCell(std::int64_t X, std::int64_t Y, TMorvaneDrawSurface& Sprite, const TRect& Cell,
                const AnsiString& Name, int Effect, int Level);
  // Display changes that arrived reach WndProc; false when the stage is gone.
  bool dispatchDisplayChanges();
  // Presentation of source; false when a lost surface made it skip the frame.
  bool present(platform::Surface& Source, const char* FailureMessage);
  void waveInto(int Value);
  void crossFade(int Routine, int Value);

  TDrawDeviceFactory FDeviceFactory;
  std::unique_ptr<platform::SurfaceDevice> FDirectDraw;
  platform::Surface* FPrimary = nullptr;  // owned by the window
  std::unique_ptr<platform::Surface> FFlip, FBack, FTmp;
  std::unique_ptr<platform::DrawWindow> FOwnWindow;
  platform::DrawWindow* FWindow;
  int FWindowWidth = 0, FWindowHeight = 0;
  TPixelLayout FPixel{};
  std::uint32_t FColorKey = 0;
  TBlendTable FRoutines{};
  TSimdLevel FSimdLimit;
  std::uint8_t FRandTable[256];
  int FRandIndex = 0;
  bool FFirst = true;
  std::map<AnsiString, MorvaneSystem::TMorvaneAutoPtr<TMorvaneDrawSurface>> FSurfaces;
  TFont FFont;

  bool FInitialized = false;
  bool FFullScreen = false;
  bool FDouble = false;
  bool FVideoMemory = false;
  bool FTransparent = true;
  TTransparentColor FTransparentColor = tcBlack;
  int FWidth = 640, FHeight = 480;
  int FDisplayWidth = 640, FDisplayHeight = 480;
  TColorDepth FColorDepth = cd16bpp;
};

}  // namespace MorvaneDrawSystem
