#pragma once
// Runs a tool's command line through the shell and keeps its exit status, what
// it printed, and what it wrote to standard error (through `errFile`).
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline ProgramRun RunProgram(const std::string& command, const std::string& errFile) {
  ProgramRun run;
  if (FILE* pipe = ::popen((command + " 2> '" + errFile + "'").c_str(), "r")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::ifstream in(errFile);
  run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return run;
}
