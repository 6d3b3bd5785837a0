#pragma once
// The command line of an example program: options one by one, their values,
// --help, and the one way such a program gives up.
#include <string>

namespace example {

// Ends the program with "PROGRAM: message" on standard error and status 1.
[[noreturn]] void Fail(const char* program, const std::string& message);

class CommandLine {
 public:
  // program names the messages; usage is printed as is for --help.
  CommandLine(const char* program, const char* usage, int argc, char** argv);

  // Moves to the next option; false after the last. --help prints the usage
  // and ends the program with status 0.
  bool Next();
  const std::string& Option() const { return option_; }
  // The word after the option; the program fails when there is none.
  std::string Value();
  [[noreturn]] void Unknown() const;
  [[noreturn]] void Fail(const std::string& message) const;

 private:
  const char* program_;
  const char* usage_;
  int argc_;
  char** argv_;
  int index_ = 0;
  std::string option_;
};

}  // namespace example
