#include "library/debug/Mvdebug.h"

#include <new>

#include "library/debug/text_columns.h"

namespace MorvaneDebugSystem {

namespace {

int gUnits = 0;
alignas(TMorvaneDebug) unsigned char gInstance[sizeof(TMorvaneDebug)];

void writeHeaderBlock(std::ostream& out) {
  using namespace MorvaneSystem;
  out << BannerRule() << '\n'
      << BannerTitle("Morvane Game Library 0.80 デバッグ＆プロファイリングシステム出力") << '\n'
      << BannerCredit("製作：もるべ ") << '\n'
      << BannerRule() << '\n'
      << '\n';
}

void writeTraceBlock(std::ostream& out) {
  using namespace MorvaneSystem;
  out << BannerRule() << '\n'
      << BannerTitle("プログラムトレース出力") << '\n'
      << BannerCredit("Created by TMorvaneDebug") << '\n'
      << BannerRule() << '\n'
      << '\n';
}

}  // namespace

TMvdebugUnit::TMvdebugUnit() {
  if (gUnits++ == 0) new (gInstance) TMorvaneDebug();
}

TMvdebugUnit::~TMvdebugUnit() {
  if (--gUnits == 0) std::launder(reinterpret_cast<TMorvaneDebug*>(gInstance))->~TMorvaneDebug();
}

TMorvaneDebug::~TMorvaneDebug() { Close(); }

void TMorvaneDebug::Close() {
  if (OutputStrm) {
    *OutputStrm << "\n\n\n";
    delete DefaultProfiler;
    delete OutputStrm;
  }
  DefaultProfiler = nullptr;
  OutputStrm = nullptr;
  Debug = false;
  Profile = false;
}

void TMorvaneDebug::SetDebug(const char* FileName, bool Debug, bool Profile) {
  SetDebug(FileName, Debug, Profile, TMorvaneDebugSetup{});
}

void TMorvaneDebug::SetDebug(const char* FileName, bool Debug, bool Profile,
                             const TMorvaneDebugSetup& Setup) {
  Close();
  if (!FileName) return;

  auto* stream = new std::ofstream(FileName, std::ios::out | std::ios::trunc | std::ios::binary);
  OutputStrm = stream;
  DefaultProfiler = new MorvaneSystem::TMorvaneProfiler(stream, Setup.Counter);
  TMorvaneDebug::Debug = Debug;
  TMorvaneDebug::Profile = Profile;

  writeHeaderBlock(*stream);
  if (Setup.Processor) {
    *stream << *Setup.Processor;
  } else {
    MorvaneSystem::TMorvaneCPUID cpu;
    cpu.Detect();
    cpu.MeasureClock();
    *stream << cpu;
  }
  *stream << "\n\n\n";
  writeTraceBlock(*stream);
  stream->flush();
}

}  // namespace MorvaneDebugSystem
