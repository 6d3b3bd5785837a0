#pragma once
// The peer the sprite benchmarks measure themselves against: SDL_Renderer's
// OpenGL backend drawing into a target texture that is read back every
// frame, as our devices' targets are.
#include <SDL.h>

#include <cstdint>
#include <vector>

namespace bench {

class SdlRendererPeer {
 public:
  // A hidden width x height window with its renderer and target; prints the
  // backend SDL chose, which may not be OpenGL on every machine.
  SdlRendererPeer(int width, int height);
  ~SdlRendererPeer();
  SdlRendererPeer(const SdlRendererPeer&) = delete;
  SdlRendererPeer& operator=(const SdlRendererPeer&) = delete;

  bool Ready() const { return renderer_ != nullptr && target_ != nullptr; }
  SDL_Renderer* Renderer() const { return renderer_; }

  // A static texture drawn with alpha blending, freed with the peer; texels
  // are rows of pitch bytes. Null when SDL refuses it.
  SDL_Texture* AddTexture(std::uint32_t format, int width, int height, const void* texels, int pitch);

  // Around a frame's drawing: the target cleared to black, then read back.
  void BeginFrame();
  void EndFrame();

 private:
  int width_;
  bool video_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* target_ = nullptr;
  std::vector<SDL_Texture*> textures_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace bench
