#include "support/command_line.h"

#include <cstdio>
#include <cstdlib>

namespace example {

void Fail(const char* program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program, message.c_str());
  std::exit(1);
}

CommandLine::CommandLine(const char* program, const char* usage, int argc, char** argv)
    : program_(program), usage_(usage), argc_(argc), argv_(argv) {}

bool CommandLine::Next() {
  if (++index_ >= argc_) return false;
  option_ = argv_[index_];
  if (option_ == "--help") {
    std::fputs(usage_, stdout);
    std::exit(0);
  }
  return true;
}

std::string CommandLine::Value() {
  if (index_ + 1 >= argc_) Fail(option_ + " needs a value");
  return argv_[++index_];
}

void CommandLine::Unknown() const { Fail("unknown option '" + option_ + "' (see --help)"); }

void CommandLine::Fail(const std::string& message) const { example::Fail(program_, message); }

}  // namespace example
