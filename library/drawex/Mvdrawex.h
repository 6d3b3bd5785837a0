#pragma once
// TMorvaneDrawEx: the 2D component's drawing interface with the 3D device
// doing the drawing. Each named surface is a grid of 128 x 128 textures
// keyed by the transparent colour, a sprite is drawn as textured quads, and
// the blend effects are device blend states. The device renders a target of
// the stage's size; presenting reads it into the back surface and shows that
// exactly as TMorvaneDraw does (windowed, full screen, doubled, centred).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "library/draw/Mvdraw.h"
#include "library/drawex/drawex_tiles.h"
#include "platform/gl/device.h"

namespace MorvaneDrawSystem {

// Makes the 3D device of a kind for a target of Width x Height; null when
// that kind cannot be had.
using TDrawExDeviceFactory = std::function<std::unique_ptr<platform::gl::Device>(
    platform::gl::DeviceKind Kind, int Width, int Height)>;

class TMorvaneDrawEx : public TMorvaneDraw {
 public:
  explicit TMorvaneDrawEx(TComponent* AOwner);
  ~TMorvaneDrawEx() override;

  bool GetUseHAL() const { return FUseHAL; }
  void SetUseHAL(bool Value) { FUseHAL = Value; }

  // Hardware first when UseHAL, the emulated device when that fails.
  void Init(platform::DrawWindow* Window = nullptr) override;
  virtual void Init(platform::DrawWindow* Window, bool UseHAL);
  void CheckPixelMode() override;
  virtual void Init3DSystem();
  virtual void CreateTextBuffer();
  void Reset() override;
  void ResetAll() override;
  void CleanUp() override;
  void Update() override;
  void UpdateEx(int Value, int Mode) override;
  void UpdateTmp() override;
  // Clears the device's target to black (closing an open scene first).
  void Clear();

  virtual void SetAlphaBlend(int Effect);

  void CreateSurface(const AnsiString& Name, const AnsiString& FileName, int SpriteWidth,
                     int SpriteHeight) override;
  TMorvaneDrawSurfaceInfo GetSurfaceInfo(const AnsiString& Name) override;
  void DeleteSurface(const AnsiString& Name) override;
  void DeleteAllSurface() override;

  void Draw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level) override;
  void EffectDraw(int X, int Y, TMorvaneDrawCallback Callback, const AnsiString& Name, int Index, int A,
                  int B) override;
  void WindDraw(int X, int Y, const AnsiString& Name, int Index, int Effect, int Level, int Wind) override;
  void ZoomDraw(int X, int Y, int ZoomX, int ZoomY, const AnsiString& Name, int Index) override;
  void RotZoomDraw(int X, int Y, int Rotation, int Zoom, const AnsiString& Name, int Index) override;
  void DirectDraw(const TRect& Dest, const TRect& Src, const AnsiString& Name) override;
  void TextOutA(int X, int Y, const AnsiString& Text) override;

  // For tools and tests: the device, how it is made, the effect it is set
  // for, and the target copied into the back surface (closing the scene).
  platform::gl::Device* Device3D() { return FDevice.get(); }
  void SetDevice3DFactory(TDrawExDeviceFactory Factory) { FDeviceFactory = std::move(Factory); }
  int CurrentEffect() const { return FEffect; }
  bool SceneOpen() const { return FSceneOpen; }
  void ReadBackSurface();
  TMorvaneDrawExSurface* FindSurface(const AnsiString& Name);

 protected:
  // The 3D device is named after it is made, with the capability line.
  void TraceDeviceName() override {}

 private:
  struct Remembered {
    AnsiString Name, FileName;
    int SpriteWidth, SpriteHeight;
  };

  void checkInitialized() const;
  // What Init does once the device is made: states, text buffers, log.
  void setUp3D();
  // The tile and text formats for the back surface; cleans up when the
  // device has none.
  void chooseTileFormat();
  void openScene();
  void closeScene();
  void makeDevice(bool Hardware);
  void release3D();
  std::vector<Remembered> rememberSurfaces() const;
  TMorvaneDrawExSurface& spriteSurface(const AnsiString& Name);
  TRect spriteCell(TMorvaneDrawExSurface& Surface, const AnsiString& Name, int Index);
  // One textured quad from tile texels (u0, v0)-(u1, v1) to the screen corners.
  void drawQuad(platform::gl::Texture* Tile, const TTilePart& Part, const float (&X)[4], const float (&Y)[4],
                platform::gl::D3DCOLOR Color);
  void drawAxisAligned(platform::gl::Texture* Tile, const TTilePart& Part, float Left, float Top, float Right,
                       float Bottom, platform::gl::D3DCOLOR Color);
  // Draw's work once the cell is known.
  // Wide positions: a wind offset or a position near the int range's ends
  // must not wrap into view.
  void drawCell(std::int64_t X, std::int64_t Y, TMorvaneDrawExSurface& Surface, const TRect& Cell, int Effect,
                int Level);
  // Plain copies (zoom, rotation, stretch, text) draw with blending off.
  void plainState();
  void targetInto(platform::Surface& Surface);
  void crossFade(int Effect, int Value);

  TDrawExDeviceFactory FDeviceFactory;
  std::unique_ptr<platform::gl::Device> FDevice;
  bool FHardware = true;
  platform::gl::DDPIXELFORMAT FTileFormat{};
  platform::gl::DDPIXELFORMAT FTextFormat{};  // with alpha: text carries its coverage
  std::unique_ptr<platform::Surface> FTextBuffer[2];
  TTileGrid FTextTiles, FTmpTiles;
  std::map<AnsiString, MorvaneSystem::TMorvaneAutoPtr<TMorvaneDrawExSurface>> FExSurfaces;
  std::vector<std::uint32_t> FReadBack;
  TTileCoordinates FCoordinates;
  int FEffect = beNone;
  bool FSceneOpen = false;
  bool FUseHAL = true;
  bool FReady = false;  // the device is set up (Init got past Init3DSystem)
};

}  // namespace MorvaneDrawSystem
