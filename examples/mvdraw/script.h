#pragma once
// The mvdraw script: one command per line, run on one 2D component.
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>

#include "library/draw/Mvdraw.h"
#include "library/drawex/Mvdrawex.h"

namespace mvdraw {

// Who draws: the 2D component in software, or the 3D-backed one on the
// system's GL driver (falling back to emulation) or on the emulation alone.
enum class DrawDevice { kSoft, kGl, kGlEmulated };

// Parses "soft", "gl" or "gl-emulated"; false for anything else.
bool ParseDrawDevice(const std::string& text, DrawDevice& out);

// A component for the device, not yet initialised.
std::unique_ptr<MorvaneDrawSystem::TMorvaneDraw> MakeComponent(DrawDevice device);

// Clears the back surface of either component (Clear is not virtual).
void ClearStage(MorvaneDrawSystem::TMorvaneDraw& draw);

// A line that is not a command, with its line number.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptRunner {
 public:
  // With window, every presented frame is shown and paced to the display.
  ScriptRunner(std::ostream& out, bool window, DrawDevice device = DrawDevice::kSoft);
  ~ScriptRunner();

  // Runs every line; raises ScriptError for a bad line and passes the
  // component's exceptions on.
  void Run(std::istream& script, const std::string& name);
  void RunLine(const std::string& line, int number);

 private:
  MorvaneDrawSystem::TMorvaneDraw& stage(int number);

  std::ostream& out_;
  bool window_;
  std::unique_ptr<MorvaneDrawSystem::TMorvaneDraw> draw_;
};

}  // namespace mvdraw
