#include "library/debug/profiler.h"

#include <iomanip>

#include "library/debug/text_columns.h"
#include "platform/system/cpu.h"

namespace MorvaneSystem {

namespace {

constexpr const char* kColumnHeading =
    "回数       全実行時間          平均           関数名                         ";

}  // namespace

TMorvaneProfiler::TMorvaneProfiler(std::ostream* Stream, TMorvaneCycleCounter Counter)
    : Stream(Stream), FCounter(std::move(Counter)) {}

TMorvaneProfiler::~TMorvaneProfiler() {
  // NOTE: a destructor reaches only this class's PrintOut; a derived class
  // with its own calls it from its own destructor.
  try {
    TMorvaneProfiler::PrintOut();
  } catch (...) {
    // A stream that throws must not end the program from a destructor.
  }
}

std::uint64_t TMorvaneProfiler::Read() const {
  return FCounter ? FCounter() : platform::ReadTimeStampCounter();
}

void TMorvaneProfiler::Start() { Starts.push(Read()); }

void TMorvaneProfiler::End(const char* Name) {
  const std::uint64_t now = Read();
  if (Starts.empty()) return;
  const std::uint64_t start = Starts.top();
  // Popped before booking, so a failed insertion cannot leave the stack unpaired.
  Starts.pop();
  auto& result = Results[Name];
  result.Count += 1;
  result.Total += now - start;
}

void TMorvaneProfiler::Trace(const char* Text) {
  if (!Stream) return;
  *Stream << (Text ? Text : "") << '\n';
  Stream->flush();
}

void TMorvaneProfiler::PrintOut() {
  if (!Stream) return;
  auto& out = *Stream;
  out << BannerRule() << '\n'
      << BannerTitle("プロファイリング結果出力") << '\n'
      << BannerCredit("Created by TMorvaneProfiler") << '\n'
      << BannerCredit("時間単位はCPUクロック") << '\n'
      << BannerRule() << '\n'
      << '\n'
      << kColumnHeading << '\n';
  for (const auto& [name, result] : Results) {
    const std::uint64_t average = result.Count ? result.Total / result.Count : 0;
    out << std::setw(10) << result.Count << std::setw(20) << result.Total << std::setw(15) << average << ' '
        << (name ? name : "") << '\n';
  }
  out.flush();
}

void TMorvaneFunctionProfile::Close() noexcept {
  try {
    Profiler->End(Name);
  } catch (...) {
    // Out of memory for a new row: the scope goes unbooked rather than ending
    // the program from a destructor.
  }
}

}  // namespace MorvaneSystem
