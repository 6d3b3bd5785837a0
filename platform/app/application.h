#pragma once
// The application object: idle hook, message dispatch, the message loop and
// the standard message boxes. Windows are created by the program and attach
// themselves; the first MainWindow created is the main window, and Run ends
// when it has closed.
//
// A headless application offers the same calls without a display: windows
// keep their state and frames in memory, messages go to stderr and are
// recorded, and input arrives only through the Simulate calls.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class AppWindow;
class MainWindow;

enum class DisplayMode { Window, Headless };

// An event on its way to a window, whatever produced it.
struct WindowEvent {
  enum class Kind { KeyDown, KeyUp, CloseRequest, Exposed };
  Kind kind = Kind::KeyDown;
  std::uint32_t windowId = 0;  // the native window; 0 means the main window
  int virtualKey = 0;
};

class Application {
 public:
  // A Window application starts SDL video and raises Exception when it cannot.
  explicit Application(DisplayMode mode = DisplayMode::Window);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Title of the message boxes.
  std::string Title;
  // Called by Run whenever the pending messages are dispatched. done starts
  // true, which lets Run wait for the next event; false calls again at once.
  std::function<void(bool& done)> OnIdle;

  bool Headless() const { return headless_; }
  MainWindow* MainForm() const { return mainForm_; }

  // Dispatches the pending window events once, carries out deferred close
  // requests and window releases, then runs the callbacks that any thread
  // posted to the main-thread queue. An exception from a handler is shown
  // with ShowException and dispatch goes on.
  void ProcessMessages();
  // Shows the main window and runs the message loop until it has closed;
  // returns at once when there is no main window.
  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // Modal error box with the exception's message (stderr without a display).
  void ShowException(const std::exception& e);
  // Modal message box (stderr without a display). Text is UTF-8.
  void ShowMessage(std::string_view text);
  // Every text shown by the two calls above, oldest first.
  const std::vector<std::string>& ShownMessages() const { return shownMessages_; }

  // Input as if it came from the keyboard or the window manager, delivered by
  // the next ProcessMessages through the same path as real events.
  // scancode: USB HID usage ID of the key (SDL's scancode numbering).
  void SimulateKey(int scancode, bool down, bool repeat = false);
  // A request to close the main window (its close button, or a quit signal).
  void SimulateCloseRequest();

 private:
  friend class AppWindow;
  friend class MainWindow;
  void Attach(AppWindow* window);
  void Detach(AppWindow* window);
  bool IsAttached(const AppWindow* window) const;
  std::uint32_t MainFormId() const;
  void Dispatch(const WindowEvent& event);
  void DispatchNativeEvents();
  void WaitForEvents();
  bool HasDisplay() const;
  void Report(std::string_view text, bool error);
  template <typename F>
  void Guarded(F&& f);

  bool headless_;
  bool terminated_ = false;
  MainWindow* mainForm_ = nullptr;
  std::vector<AppWindow*> windows_;
  std::vector<WindowEvent> simulated_;  // headless input not yet dispatched
  std::vector<std::string> shownMessages_;
};

// Base of the windows an application dispatches to.
class AppWindow {
 public:
  virtual ~AppWindow();
  AppWindow(const AppWindow&) = delete;
  AppWindow& operator=(const AppWindow&) = delete;

  Application& App() const { return app_; }

 protected:
  // False once detached, or once the application has gone.
  bool Attached() const { return attached_; }
  explicit AppWindow(Application& app);
  // Call first thing in a derived destructor, so no event reaches a
  // half-destroyed window.
  void DetachFromApp();

 private:
  friend class Application;
  // The native window id, 0 when there is none.
  virtual std::uint32_t NativeId() const = 0;
  virtual void HandleEvent(const WindowEvent& event) = 0;
  // Deferred work (close requests, releases), once per ProcessMessages.
  virtual void RunDeferred() = 0;
  // The application is going away: give up the native window while the
  // display is still there.
  virtual void DropNative() = 0;

  Application& app_;
  bool attached_ = false;
};

}  // namespace platform
