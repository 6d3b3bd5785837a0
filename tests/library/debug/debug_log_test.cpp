#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "library/debug/Mvdebug.h"
#include "library/debug/guard.h"
#include "log_blocks.h"
#include "test_files.h"

namespace {

using namespace debug_test;
using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::TMorvaneDebug;
using MorvaneDebugSystem::TMorvaneDebugSetup;

constexpr const char kInit[] = "TMorvaneMidi::Init";
constexpr const char kPlay[] = "TMorvaneMidi::Play";

// A processor record without CPUID, so no test measures the real clock.
MorvaneSystem::TMorvaneCPUID fixedProcessor() {
  MorvaneSystem::TMorvaneCPUID cpu;
  std::strcpy(cpu.VendorId, "TestVendor12");
  cpu.ClockHz = 123456789;
  return cpu;
}

class DebugLog : public ::testing::Test {
 protected:
  void TearDown() override { TMorvaneDebug::SetDebug(nullptr, false, false); }

  void Open(const TempFile& file, bool debug, bool profile) {
    TMorvaneDebug::SetDebug(file.Path().c_str(), debug, profile, LogSetup());
  }
  TMorvaneDebugSetup LogSetup() {
    return {&processor, [this] { return ticks += 10; }};
  }
  std::string Opening() const { return HeaderBlock() + ProcessorBlock(processor) + TraceBlock(); }

  MorvaneSystem::TMorvaneCPUID processor = fixedProcessor();
  std::uint64_t ticks = 0;
};

TEST_F(DebugLog, OpeningWritesHeaderProcessorAndTraceBlocks) {
  TempFile file("open.log");
  Open(file, true, true);
  EXPECT_TRUE(TMorvaneDebug::GetDebug());
  EXPECT_TRUE(TMorvaneDebug::GetProfile());
  ASSERT_NE(TMorvaneDebug::GetProfiler(), nullptr);
  EXPECT_EQ(file.Read(), Opening());
  EXPECT_NE(Opening().find("CPU周波数                      ：123.46MHz\n"), std::string::npos);
}

TEST_F(DebugLog, OpeningTwiceClosesTheFirstWithResultsAndStartsAfresh) {
  TempFile first("first.log");
  TempFile second("second.log");
  Open(first, true, true);
  Guarded(kInit, [] {});  // 10 cycles: one counter step per reading
  Guarded(kInit, [] {});
  MorvaneDebugSystem::Trace("TMorvaneMidi::初期化開始");
  Open(second, true, true);

  EXPECT_EQ(first.Read(), Opening() + "TMorvaneMidi::初期化開始\n" + "\n\n\n" + ResultsHeading() +
                              "         2                  20             10 TMorvaneMidi::Init\n");
  EXPECT_EQ(second.Read(), Opening());

  Guarded(kPlay, [] {});
  TMorvaneDebug::SetDebug(nullptr, false, false);
  EXPECT_EQ(second.Read(), Opening() + "\n\n\n" + ResultsHeading() +
                               "         1                  10             10 TMorvaneMidi::Play\n")
      << "rows of the first log do not carry over";
}

TEST_F(DebugLog, ReopeningTheSameFileReplacesIt) {
  TempFile file("same.log");
  Open(file, true, false);
  MorvaneDebugSystem::Trace("old line");
  Open(file, true, false);
  EXPECT_EQ(file.Read(), Opening());
}

TEST_F(DebugLog, ClosedLogWritesNothingAndOpensNoScope) {
  TempFile file("closed.log");
  Open(file, true, true);
  TMorvaneDebug::SetDebug(nullptr, true, true);
  EXPECT_FALSE(TMorvaneDebug::GetDebug());
  EXPECT_FALSE(TMorvaneDebug::GetProfile());
  EXPECT_EQ(TMorvaneDebug::GetProfiler(), nullptr);
  const auto closed = file.Read();
  EXPECT_EQ(closed, Opening() + "\n\n\n" + ResultsHeading());

  const auto ticksBefore = ticks;
  EXPECT_EQ(Guarded(kPlay, [] { return 7; }), 7);
  MorvaneDebugSystem::Trace("lost");
  EXPECT_THROW(Guarded(kPlay, [] { throw std::runtime_error("lost too"); }), std::runtime_error);
  EXPECT_EQ(ticks, ticksBefore) << "no counter reading, so no scope";
  EXPECT_EQ(file.Read(), closed);
  TMorvaneDebug::SetDebug(nullptr, false, false);  // closing a closed log does nothing
  EXPECT_EQ(file.Read(), closed);
}

TEST_F(DebugLog, ProfilingOffListsOnlyTheColumnHeading) {
  TempFile file("noprofile.log");
  Open(file, true, false);
  EXPECT_EQ(Guarded(kPlay, [] { return 3; }), 3);
  EXPECT_TRUE(TMorvaneDebug::GetProfiler()->GetResults().empty());
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->OpenScopes(), 0u);
  TMorvaneDebug::SetDebug(nullptr, false, false);
  EXPECT_EQ(file.Read(), Opening() + "\n\n\n" + ResultsHeading());
}

TEST_F(DebugLog, TracingOffWritesNoTraceLines) {
  TempFile file("notrace.log");
  Open(file, false, true);
  MorvaneDebugSystem::Trace("not written");
  EXPECT_THROW(Guarded(kPlay, [] { throw std::runtime_error("not written either"); }), std::runtime_error);
  TMorvaneDebug::SetDebug(nullptr, false, false);
  EXPECT_EQ(file.Read(), Opening() + "\n\n\n" + ResultsHeading() +
                             "         1                  10             10 TMorvaneMidi::Play\n");
}

TEST_F(DebugLog, UnwritableFileIsNotReported) {
  TMorvaneDebug::SetDebug("/nonexistent-dir/morvane.log", true, true, LogSetup());
  EXPECT_TRUE(TMorvaneDebug::GetDebug());
  MorvaneDebugSystem::Trace("lost");
  EXPECT_EQ(Guarded(kPlay, [] { return 1; }), 1);
  TMorvaneDebug::SetDebug(nullptr, false, false);
}

TEST_F(DebugLog, ProgramEndClosesTheLog) {
  TempFile file("exit.log");
  const std::string path = file.Path();
  EXPECT_EXIT(
      {
        TMorvaneDebug::SetDebug(path.c_str(), true, true, LogSetup());
        Guarded(kPlay, [] {});
        MorvaneDebugSystem::Trace("last words");
        std::exit(0);  // static destruction closes the log
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(file.Read(), Opening() + "last words\n" + "\n\n\n" + ResultsHeading() +
                             "         1                  10             10 TMorvaneMidi::Play\n");
}

TEST(DebugLogMachine, OpeningDescribesThisProcessor) {
  TempFile file("machine.log");
  TMorvaneDebug::SetDebug(file.Path().c_str(), true, true);
  TMorvaneDebug::SetDebug(nullptr, false, false);
  const auto text = file.Read();
  EXPECT_EQ(text.rfind(HeaderBlock() + Rule() + "// ＣＰＵ情報出力", 0), 0u);
  MorvaneSystem::TMorvaneCPUID cpu;
  cpu.Detect();
  EXPECT_NE(text.find(std::string("メーカー識別文字列             ：") + cpu.VendorId + "\n"),
            std::string::npos);
  const auto trace = text.find("\n\n\n" + TraceBlock());
  ASSERT_NE(trace, std::string::npos);
  EXPECT_EQ(text.substr(trace + 3 + TraceBlock().size()), "\n\n\n" + ResultsHeading());
}

}  // namespace
