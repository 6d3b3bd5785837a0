#include "support/sdl_renderer_peer.h"

#include <cstdio>

namespace bench {

SdlRendererPeer::SdlRendererPeer(int width, int height) : width_(width) {
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  video_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (!video_) return;
  window_ = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
  renderer_ = window_ ? SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (!renderer_) return;
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer_, &info);
  std::printf("SDL_Renderer backend: %s\n", info.name);
  target_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
  pixels_.resize(static_cast<std::size_t>(width) * height);
}

SdlRendererPeer::~SdlRendererPeer() {
  for (SDL_Texture* t : textures_) SDL_DestroyTexture(t);
  if (target_) SDL_DestroyTexture(target_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SDL_Texture* SdlRendererPeer::AddTexture(std::uint32_t format, int width, int height, const void* texels,
                                         int pitch) {
  SDL_Texture* t = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STATIC, width, height);
  if (!t) return nullptr;
  textures_.push_back(t);
  SDL_UpdateTexture(t, nullptr, texels, pitch);
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
  return t;
}

void SdlRendererPeer::BeginFrame() {
  SDL_SetRenderTarget(renderer_, target_);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
}

void SdlRendererPeer::EndFrame() {
  SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels_.data(), width_ * 4);
}

}  // namespace bench
