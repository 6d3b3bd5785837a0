// Program entry: the application, the main window (whose creation runs the
// start-up), then the message loop until the main window has closed.
#include <cstdio>
#include <exception>
#include <memory>

#include "game/shell/Dovrex_main.h"
#include "platform/app/application.h"

int main() {
  std::unique_ptr<platform::Application> app;
  try {
    app = std::make_unique<platform::Application>();
    app->Title = "Dovrex";
    dovrex::TForm1 form(*app);
    app->Run();
  } catch (const std::exception& e) {
    // Shown like any other escaped exception; without an application (no
    // display) only the terminal is left.
    if (app) {
      app->ShowException(e);
    } else {
      std::fprintf(stderr, "Dovrex: %s\n", e.what());
    }
  }
  return 0;
}
