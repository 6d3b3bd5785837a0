#include "platform/app/application.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/app/main_window.h"
#include "platform/app/sdl_video.h"
#include "platform/app/virtual_keys.h"
#include "platform/framework/exception.h"
#include "platform/framework/main_thread_queue.h"

namespace platform {
namespace {

constexpr Uint32 kVideoSystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;
// Longest idle wait: callbacks posted by other threads do not wake SDL's
// event wait, so it is cut short this often (ms).
constexpr int kIdleWaitMs = 10;

}  // namespace

Application::Application(DisplayMode mode) : headless_(mode == DisplayMode::Headless) {
  if (headless_) return;
  if (SDL_InitSubSystem(kVideoSystems) != 0) {
    throw Exception(std::string("The display cannot be opened: ") + SDL_GetError());
  }
  sdl_video::ConfigureForDriver();
}

Application::~Application() {
  // Windows outliving the application must not call back into it.
  for (AppWindow* window : windows_) {
    window->DropNative();
    window->attached_ = false;
  }
  windows_.clear();
  if (!headless_) SDL_QuitSubSystem(kVideoSystems);
}

void Application::Attach(AppWindow* window) {
  windows_.push_back(window);
  window->attached_ = true;
}

void Application::Detach(AppWindow* window) {
  std::erase(windows_, window);
  window->attached_ = false;
  if (mainForm_ == window) {
    mainForm_ = nullptr;
    terminated_ = true;
  }
}

std::uint32_t Application::MainFormId() const {
  const AppWindow* main = mainForm_;
  return main ? main->NativeId() : 0;
}

bool Application::IsAttached(const AppWindow* window) const {
  return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

template <typename F>
void Application::Guarded(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowException(Exception("Unknown exception."));
  }
}

void Application::Dispatch(const WindowEvent& event) {
  AppWindow* target = nullptr;
  if (event.windowId != 0) {
    for (AppWindow* window : windows_) {
      if (window->NativeId() == event.windowId) target = window;
    }
  }
  // Key preview: keys meant for no known window go to the main window.
  if (!target) target = mainForm_;
  if (!target) return;
  Guarded([&] { target->HandleEvent(event); });
}

void Application::DispatchNativeEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    WindowEvent event;
    switch (e.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        event.kind = e.type == SDL_KEYDOWN ? WindowEvent::Kind::KeyDown : WindowEvent::Kind::KeyUp;
        event.windowId = e.key.windowID;
        event.virtualKey = VirtualKeyFromScancode(e.key.keysym.scancode, e.key.keysym.sym);
        if (event.virtualKey == 0) continue;
        break;
      case SDL_WINDOWEVENT:
        event.windowId = e.window.windowID;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
          event.kind = WindowEvent::Kind::CloseRequest;
        } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                   e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          event.kind = WindowEvent::Kind::Exposed;
        } else {
          continue;
        }
        break;
      case SDL_QUIT:  // also SIGINT and SIGTERM: closing saves like any close
        event.kind = WindowEvent::Kind::CloseRequest;
        break;
      default:
        continue;
    }
    Dispatch(event);
  }
}

void Application::ProcessMessages() {
  if (!headless_) DispatchNativeEvents();
  // Handlers may simulate further input; that waits for the next call.
  std::vector<WindowEvent> simulated;
  simulated.swap(simulated_);
  for (const WindowEvent& event : simulated) Dispatch(event);

  // A handler may destroy windows, so walk a copy and skip the departed.
  const std::vector<AppWindow*> windows = windows_;
  for (AppWindow* window : windows) {
    if (IsAttached(window)) Guarded([&] { window->RunDeferred(); });
  }
  // NOTE: a callback that throws drops the rest of its batch; callbacks
  // posted here are expected to handle their own errors.
  Guarded([] { MainThreadQueue().RunPending(); });
}

void Application::WaitForEvents() {
  if (headless_) {
    if (simulated_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return;
  }
  SDL_WaitEventTimeout(nullptr, kIdleWaitMs);
}

void Application::Run() {
  if (!mainForm_) return;
  Guarded([&] {
    if (!mainForm_->Closed() && !mainForm_->Visible()) mainForm_->Show();
  });
  while (!terminated_) {
    ProcessMessages();
    if (terminated_) break;
    bool done = true;
    Guarded([&] {
      if (OnIdle) OnIdle(done);
    });
    if (done && !terminated_) WaitForEvents();
  }
}

bool Application::HasDisplay() const {
  // An in-memory driver's message box would have nowhere to go, or would pop
  // up on a desktop that the program does not use.
  return !headless_ && !sdl_video::InMemoryDriver();
}

void Application::Report(std::string_view text, bool error) {
  shownMessages_.emplace_back(text);
  const std::string& message = shownMessages_.back();
  if (HasDisplay()) {
    SDL_Window* parent = nullptr;
    if (mainForm_ && mainForm_->Visible()) parent = SDL_GetWindowFromID(MainFormId());
    const Uint32 flags = error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, Title.c_str(), message.c_str(), parent) == 0) return;
  }
  std::fprintf(stderr, "%s%s%s\n", Title.c_str(), Title.empty() ? "" : ": ", message.c_str());
  std::fflush(stderr);
}

void Application::ShowException(const std::exception& e) { Report(e.what(), true); }

void Application::ShowMessage(std::string_view text) { Report(text, false); }

void Application::SimulateKey(int scancode, bool down, bool repeat) {
  if (headless_) {
    WindowEvent event;
    event.kind = down ? WindowEvent::Kind::KeyDown : WindowEvent::Kind::KeyUp;
    event.virtualKey = VirtualKeyFromScancode(scancode, 0);
    if (event.virtualKey != 0) simulated_.push_back(event);
    return;
  }
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.timestamp = SDL_GetTicks();
  e.key.windowID = MainFormId();
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
  SDL_PushEvent(&e);
}

void Application::SimulateCloseRequest() {
  if (headless_) {
    simulated_.push_back(WindowEvent{WindowEvent::Kind::CloseRequest, 0, 0});
    return;
  }
  SDL_Event e;
  SDL_zero(e);
  if (MainFormId() != 0) {
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = MainFormId();
  } else {
    e.type = SDL_QUIT;
  }
  SDL_PushEvent(&e);
}

// ---------------------------------------------------------------------------

AppWindow::AppWindow(Application& app) : app_(app) { app_.Attach(this); }

AppWindow::~AppWindow() { DetachFromApp(); }

void AppWindow::DetachFromApp() {
  if (attached_) app_.Detach(this);
}

}  // namespace platform
