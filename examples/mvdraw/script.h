#pragma once
// The mvdraw script: one command per line, run on one 2D component.
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>

#include "library/draw/Mvdraw.h"

namespace mvdraw {

// A line that is not a command, with its line number.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptRunner {
 public:
  // With window, every presented frame is shown and paced to the display.
  ScriptRunner(std::ostream& out, bool window);
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
