#include "library/debug/profiler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace MorvaneSystem;

// A counter that a test advances by hand.
struct FakeCounter {
  std::uint64_t now = 1000;
  TMorvaneCycleCounter Reader() {
    return [this] { return now; };
  }
};

constexpr const char kPlay[] = "TMorvaneMidi::Play";
constexpr const char kStop[] = "TMorvaneMidi::Stop";

const std::string kResultsHeading =
    "// " + std::string(74, '=') + "\n" +                            //
    "// プロファイリング結果出力" + std::string(50, ' ') + "\n" +    //
    "//" + std::string(48, ' ') + "Created by TMorvaneProfiler\n" +  //
    "//" + std::string(54, ' ') + "時間単位はCPUクロック\n" +        //
    "// " + std::string(74, '=') + "\n" +                            //
    "\n" +                                                           //
    "回数       全実行時間          平均           関数名                         \n";

TEST(Profiler, BooksCountTotalAndAverage) {
  FakeCounter clock;
  TMorvaneProfiler profiler(nullptr, clock.Reader());
  for (std::uint64_t cycles : {100, 200, 300}) {
    profiler.Start();
    clock.now += cycles;
    profiler.End(kPlay);
    clock.now += 7;  // between scopes, not booked
  }
  ASSERT_EQ(profiler.GetResults().size(), 1u);
  const auto& row = profiler.GetResults().at(kPlay);
  EXPECT_EQ(row.Count, 3u);
  EXPECT_EQ(row.Total, 600u);
  EXPECT_EQ(profiler.OpenScopes(), 0u);
}

TEST(Profiler, NestedScopeIsBookedAlsoInsideItsOuterScope) {
  FakeCounter clock;
  TMorvaneProfiler profiler(nullptr, clock.Reader());
  {
    TMorvaneFunctionProfile outer(&profiler, kPlay);
    clock.now += 10;
    {
      TMorvaneFunctionProfile inner(&profiler, kStop);
      clock.now += 40;
      EXPECT_EQ(profiler.OpenScopes(), 2u);
    }
    clock.now += 5;
  }
  EXPECT_EQ(profiler.GetResults().at(kStop).Total, 40u);
  EXPECT_EQ(profiler.GetResults().at(kPlay).Total, 55u);
  EXPECT_EQ(profiler.GetResults().at(kPlay).Count, 1u);
}

TEST(Profiler, KeysRowsByNameAddressNotText) {
  static const char first[] = "TMorvaneMidi::Play";
  static const char second[] = "TMorvaneMidi::Play";
  ASSERT_NE(static_cast<const void*>(first), static_cast<const void*>(second));
  FakeCounter clock;
  TMorvaneProfiler profiler(nullptr, clock.Reader());
  profiler.Start();
  profiler.End(first);
  profiler.Start();
  profiler.End(second);
  EXPECT_EQ(profiler.GetResults().size(), 2u);
}

TEST(Profiler, PrintOutWritesHeadingAndRightAlignedRowsInAddressOrder) {
  static const char names[] = "TMorvaneMidi::Play\0TMorvaneMidi::Stop";
  const char* play = names;
  const char* stop = names + 19;  // higher address, so the second row
  std::ostringstream out;
  FakeCounter clock;
  {
    TMorvaneProfiler profiler(&out, clock.Reader());
    for (std::uint64_t cycles : {100, 200, 300}) {
      TMorvaneFunctionProfile scope(&profiler, play);
      clock.now += cycles;
    }
    profiler.Start();
    clock.now += 12345678901234ull;
    profiler.End(stop);
    profiler.Start();
    clock.now += 1;
    profiler.End(stop);
    EXPECT_EQ(out.str(), "") << "nothing is written before the profiler ends";
  }
  EXPECT_EQ(out.str(), kResultsHeading +
                           "         3                 600            200 TMorvaneMidi::Play\n"
                           "         2      12345678901235  6172839450617 TMorvaneMidi::Stop\n");
}

TEST(Profiler, EmptyProfilerPrintsOnlyTheHeading) {
  std::ostringstream out;
  { TMorvaneProfiler profiler(&out); }
  EXPECT_EQ(out.str(), kResultsHeading);
}

TEST(Profiler, TraceWritesALineAndFlushes) {
  std::ostringstream out;
  TMorvaneProfiler profiler(&out);
  profiler.Trace("TMorvaneMidi::初期化開始");
  profiler.Trace(nullptr);
  EXPECT_EQ(out.str(), "TMorvaneMidi::初期化開始\n\n");
}

TEST(Profiler, UnpairedEndBooksNothing) {
  FakeCounter clock;
  TMorvaneProfiler profiler(nullptr, clock.Reader());
  profiler.End(kPlay);
  EXPECT_TRUE(profiler.GetResults().empty());
  profiler.Start();
  clock.now += 9;
  profiler.End(kPlay);
  profiler.End(kPlay);
  EXPECT_EQ(profiler.GetResults().at(kPlay).Count, 1u);
  EXPECT_EQ(profiler.GetResults().at(kPlay).Total, 9u);
}

TEST(Profiler, WithoutAStreamCountsButWritesNothing) {
  FakeCounter clock;
  auto* profiler = new TMorvaneProfiler(nullptr, clock.Reader());
  profiler->Trace("lost");
  { TMorvaneFunctionProfile scope(profiler, kPlay); }
  EXPECT_EQ(profiler->GetResults().at(kPlay).Count, 1u);
  profiler->PrintOut();
  delete profiler;  // PrintOut again: must not touch a stream
}

TEST(Profiler, DefaultCounterAdvances) {
  TMorvaneProfiler profiler(nullptr);
  profiler.Start();
  volatile unsigned sink = 0;
  for (unsigned i = 0; i < 100000; ++i) sink = sink + i;
  profiler.End(kPlay);
  EXPECT_GT(profiler.GetResults().at(kPlay).Total, 0u);
}

TEST(FunctionProfile, NullProfilerOpensNoScope) {
  FakeCounter clock;
  TMorvaneProfiler profiler(nullptr, clock.Reader());
  { TMorvaneFunctionProfile scope(nullptr, kPlay); }
  EXPECT_TRUE(profiler.GetResults().empty());
  EXPECT_EQ(profiler.OpenScopes(), 0u);
}

}  // namespace
