#pragma once
// A test fixture that opens the library's debug log with tracing and
// profiling in a folder of its own, on a virtual clock, and reads back what
// the component under test wrote to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "library/debug/Mvdebug.h"
#include "tests/support/temp_dir.h"

namespace test_support {

class TraceLogTest : public ::testing::Test {
 protected:
  explicit TraceLogTest(std::string logName) : logName_(std::move(logName)) {}

  void SetUp() override {
    logPath = (dir.Path() / logName_).string();
    // Each profile reading advances 10 ticks, so durations never depend on the machine.
    MorvaneDebugSystem::TMorvaneDebug::SetDebug(logPath.c_str(), true, true,
                                                {&processor, [this] { return ticks += 10; }});
    opening = Read();
  }
  void TearDown() override { MorvaneDebugSystem::TMorvaneDebug::SetDebug(nullptr, false, false); }

  std::string Read() const {
    std::ifstream in(logPath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // What was traced since the log opened.
  std::string Traced() const { return Read().substr(opening.size()); }
  // The operations that opened a profile scope so far.
  std::set<std::string> ProfiledNames() const {
    std::set<std::string> names;
    for (const auto& [name, result] : MorvaneDebugSystem::TMorvaneDebug::GetProfiler()->GetResults())
      names.insert(name);
    return names;
  }

  TempDir dir;
  std::string logPath;
  MorvaneSystem::TMorvaneCPUID processor;
  std::uint64_t ticks = 0;
  std::string opening;

 private:
  std::string logName_;
};

}  // namespace test_support
