#include "library/debug/guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "library/debug/exceptions.h"
#include "log_blocks.h"
#include "test_files.h"

namespace {

using namespace debug_test;
using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::TMorvaneDebug;

constexpr const char kCreateData[] = "TMorvaneMidi::CreateData";
constexpr const char kLoadFile[] = "TMorvaneMidiData::LoadFile";
constexpr const char kDestroy[] = "TMorvaneMidi::~TMorvaneMidi";

// A stand-in component whose operations follow the convention through the guard.
struct Loader {
  void LoadFile(const std::string& name) {
    Guarded(kLoadFile,
            [&] { throw MorvaneMidiSystem::EMvMidi("ファイルが開けません。\nファイル名：" + name); });
  }
  void CreateData(const std::string& name) {
    Guarded(kCreateData, [&] { LoadFile(name); });
  }
};

class Guard : public ::testing::Test {
 protected:
  void SetUp() override {
    TMorvaneDebug::SetDebug(file.Path().c_str(), true, true, {&processor, [this] { return ticks += 10; }});
    opening = file.Read();
  }
  void TearDown() override { TMorvaneDebug::SetDebug(nullptr, false, false); }
  // What was traced since the log opened.
  std::string Traced() const { return file.Read().substr(opening.size()); }

  TempFile file{"guard.log"};
  MorvaneSystem::TMorvaneCPUID processor;
  std::uint64_t ticks = 0;
  std::string opening;
};

TEST_F(Guard, ExceptionPassingTwoOperationsIsTracedTwiceAndRaisedUnchanged) {
  Loader loader;
  const std::string message = "TMorvaneMidi エラー\n\nファイルが開けません。\nファイル名：mid/m9.mid";
  try {
    loader.CreateData("mid/m9.mid");
    FAIL() << "no exception";
  } catch (const MorvaneMidiSystem::EMvMidi& error) {
    EXPECT_EQ(error.Message, message);
  }
  EXPECT_EQ(Traced(), message + "\n" + message + "\n");
  const auto& results = TMorvaneDebug::GetProfiler()->GetResults();
  EXPECT_EQ(results.at(kCreateData).Count, 1u) << "scopes close on the way out of a raise";
  EXPECT_EQ(results.at(kLoadFile).Count, 1u);
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->OpenScopes(), 0u);
  EXPECT_GT(results.at(kCreateData).Total, results.at(kLoadFile).Total)
      << "the outer scope includes the inner";
}

TEST_F(Guard, RaisesTheSameObjectAgain) {
  const void* thrown = nullptr;
  const void* caught = nullptr;
  try {
    Guarded(kLoadFile, [&] {
      try {
        throw std::out_of_range("index 7");
      } catch (const std::out_of_range& inner) {
        thrown = &inner;
        throw;
      }
    });
  } catch (const std::out_of_range& outer) {
    caught = &outer;
  }
  EXPECT_EQ(thrown, caught);
  EXPECT_EQ(Traced(), "index 7\n") << "standard exceptions are traced by what()";
}

TEST_F(Guard, FrameworkExceptionsAreTracedByMessage) {
  EXPECT_THROW(Guarded(kLoadFile, [] { throw EFOpenError("cannot open x"); }), EFOpenError);
  EXPECT_EQ(Traced(), "cannot open x\n");
}

TEST_F(Guard, OtherExceptionsPassUntraced) {
  EXPECT_THROW(Guarded(kLoadFile, [] { throw 42; }), int);
  EXPECT_EQ(Traced(), "");
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->GetResults().at(kLoadFile).Count, 1u);
}

TEST_F(Guard, ReturnsWhatTheBodyReturns) {
  int value = 5;
  EXPECT_EQ(Guarded(kCreateData, [] { return std::string("piece"); }), "piece");
  int& ref = Guarded(kCreateData, [&]() -> int& { return value; });
  ref = 9;
  EXPECT_EQ(value, 9);
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->GetResults().at(kCreateData).Count, 2u);
}

TEST_F(Guard, NoThrowVariantTracesAndSwallows) {
  EXPECT_FALSE(
      GuardedNoThrow(kDestroy, [] { throw MorvaneMidiSystem::EMvMidi("デバイスを閉じられません。"); }));
  EXPECT_TRUE(GuardedNoThrow(kDestroy, [] {}));
  EXPECT_EQ(Traced(), "TMorvaneMidi エラー\n\nデバイスを閉じられません。\n");
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->GetResults().at(kDestroy).Count, 2u);
}

// A constructor and destructor under the guard, as components write them.
struct Component {
  explicit Component(bool fail) {
    Guarded("Component::Component", [&] {
      if (fail) throw MorvaneMidiSystem::EMvMidi("初期化に失敗しました。");
    });
  }
  ~Component() {
    GuardedNoThrow("Component::~Component", [] { throw std::runtime_error("cleanup failed"); });
  }
};

TEST_F(Guard, ConstructorsAndDestructors) {
  EXPECT_THROW(Component(true), MorvaneMidiSystem::EMvMidi);
  { Component fine(false); }
  EXPECT_EQ(Traced(), "TMorvaneMidi エラー\n\n初期化に失敗しました。\ncleanup failed\n");
}

TEST_F(Guard, TraceWritesComponentLines) {
  MorvaneDebugSystem::Trace("TMorvaneMidi::全データの削除");
  MorvaneDebugSystem::Trace(std::string("TMorvaneMidi::") + "クリーンアップ");
  EXPECT_EQ(Traced(), "TMorvaneMidi::全データの削除\nTMorvaneMidi::クリーンアップ\n");
}

}  // namespace
