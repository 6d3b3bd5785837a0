// Contexts: the hardware device is SDL's GL context on a window (hidden when
// no window is asked for; SDL's offscreen driver makes that headless); the
// emulated device is a surfaceless context on EGL's software device, which
// only Mesa offers, so its absence makes creation fail.
#include "platform/gl/gl_context.h"

#include <SDL.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstring>
#include <vector>

namespace platform::gl {
namespace {

constexpr int kGlMajor = 3;
constexpr int kGlMinor = 3;
constexpr int kMaxEglDevices = 16;

// Releases whatever EGL context is current when it is not `keep`, so the
// next context made current does not meet a stale one from the other API.
void ReleaseForeignEgl(EGLContext keep) {
  if (!epoxy_has_egl()) return;
  EGLContext current = eglGetCurrentContext();
  if (current != EGL_NO_CONTEXT && current != keep)
    eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

class SdlContext final : public GlContext {
 public:
  ~SdlContext() override {
    if (context_) {
      if (SDL_GL_GetCurrentContext() == context_) SDL_GL_MakeCurrent(nullptr, nullptr);
      SDL_GL_DeleteContext(context_);
    }
    if (window_) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  bool Open(const DeviceOptions& o, std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      error = std::string("no video: ") + SDL_GetError();
      return false;
    }
    videoStarted_ = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kGlMajor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kGlMinor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);  // the target has its own
    const int w = o.windowWidth > 0 ? o.windowWidth : o.width;
    const int h = o.windowHeight > 0 ? o.windowHeight : o.height;
    const Uint32 flags = SDL_WINDOW_OPENGL | (o.window ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_HIDDEN);
    window_ =
        SDL_CreateWindow(o.windowTitle.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!window_) {
      error = std::string("no GL window: ") + SDL_GetError();
      return false;
    }
    ReleaseForeignEgl(EGL_NO_CONTEXT);
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
      error = std::string("no OpenGL 3.3 context: ") + SDL_GetError();
      return false;
    }
    hasWindow_ = o.window;
    return true;
  }

  void MakeCurrent() override {
    if (SDL_GL_GetCurrentContext() == context_ && SDL_GL_GetCurrentWindow() == window_) return;
    ReleaseForeignEgl(static_cast<EGLContext>(context_));
    SDL_GL_MakeCurrent(window_, context_);
  }
  bool HasWindow() const override { return hasWindow_; }
  void DrawableSize(int& w, int& h) const override { SDL_GL_GetDrawableSize(window_, &w, &h); }
  void SwapWindow() override { SDL_GL_SwapWindow(window_); }

 private:
  bool videoStarted_ = false;
  bool hasWindow_ = false;
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

class EglSoftwareContext final : public GlContext {
 public:
  ~EglSoftwareContext() override {
    if (display_ == EGL_NO_DISPLAY) return;
    if (context_ != EGL_NO_CONTEXT) {
      if (eglGetCurrentContext() == context_)
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
      eglDestroyContext(display_, context_);
    }
    eglTerminate(display_);
  }

  bool Open(std::string& error) {
    if (!epoxy_has_egl() || !epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_device_enumeration") ||
        !epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_platform_device")) {
      error = "no EGL device enumeration";
      return false;
    }
    EGLDeviceEXT devices[kMaxEglDevices];
    EGLint count = 0;
    if (!eglQueryDevicesEXT(kMaxEglDevices, devices, &count)) count = 0;
    EGLDeviceEXT software = nullptr;
    for (EGLint i = 0; i < count && !software; ++i) {
      const char* ext = eglQueryDeviceStringEXT(devices[i], EGL_EXTENSIONS);
      if (ext && std::strstr(ext, "EGL_MESA_device_software")) software = devices[i];
    }
    if (!software) {
      error = "no software rasteriser device";
      return false;
    }
    display_ = eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, software, nullptr);
    EGLint major = 0, minor = 0;
    if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, &major, &minor)) {
      display_ = EGL_NO_DISPLAY;
      error = "the software device does not initialise";
      return false;
    }
    if (!epoxy_has_egl_extension(display_, "EGL_KHR_surfaceless_context") ||
        !epoxy_has_egl_extension(display_, "EGL_KHR_no_config_context") || !eglBindAPI(EGL_OPENGL_API)) {
      error = "the software device cannot render offscreen";
      return false;
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 kGlMajor,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 kGlMinor,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                 EGL_NONE};
    context_ = eglCreateContext(display_, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context_ == EGL_NO_CONTEXT) {
      error = "no OpenGL 3.3 context on the software device";
      return false;
    }
    return true;
  }

  void MakeCurrent() override {
    if (eglGetCurrentContext() == context_) return;
    // SDL keeps its own idea of what is current; tell it its context left.
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GL_GetCurrentContext()) SDL_GL_MakeCurrent(nullptr, nullptr);
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
  }
  bool HasWindow() const override { return false; }
  void DrawableSize(int& w, int& h) const override { w = h = 0; }
  void SwapWindow() override {}

 private:
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLContext context_ = EGL_NO_CONTEXT;
};

}  // namespace

std::unique_ptr<GlContext> GlContext::Create(const DeviceOptions& options, std::string& error) {
  if (options.kind == DeviceKind::kEmulated) {
    if (options.window) {
      error = "the emulated device renders offscreen only";
      return nullptr;
    }
    auto c = std::make_unique<EglSoftwareContext>();
    if (!c->Open(error)) return nullptr;
    c->MakeCurrent();
    return c;
  }
  auto c = std::make_unique<SdlContext>();
  if (!c->Open(options, error)) return nullptr;
  c->MakeCurrent();
  return c;
}

}  // namespace platform::gl
