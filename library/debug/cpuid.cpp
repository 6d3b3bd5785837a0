#include "library/debug/cpuid.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>

#include "library/debug/cpuid_flags.h"
#include "library/debug/text_columns.h"
#include "platform/framework/thread.h"

namespace MorvaneSystem {

namespace {

constexpr int kLabelColumns = 31;
constexpr std::uint32_t kExtendedBase = 0x80000000u;
constexpr std::uint32_t kMeasureMs = 200;

void copyRegister(char* to, std::uint32_t value) { std::memcpy(to, &value, 4); }

TMorvaneCpuMaker makerOf(std::string_view vendor) {
  if (vendor == "GenuineIntel") return cmIntel;
  if (vendor == "AuthenticAMD") return cmAMD;
  if (vendor == "CyrixInstead") return cmCyrix;
  if (vendor == "CentaurHauls") return cmIDT;
  return cmUnknown;
}

const char* makerName(TMorvaneCpuMaker maker) {
  switch (maker) {
    case cmIntel:
      return "Intel";
    case cmAMD:
      return "AMD";
    case cmCyrix:
      return "Cyrix";
    case cmIDT:
      return "IDT";
    case cmUnknown:
      break;
  }
  return "不明";
}

std::uint32_t steadyMilliseconds() {
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

// Label padded to its column width, then the full-width colon.
std::string label(std::string_view text) { return PadColumns(text, kLabelColumns) + "："; }

}  // namespace

void TMorvaneCPUID::Detect() {
  if constexpr (platform::kCpuidArchitecture) {
    Detect(platform::HasCpuid(), platform::CpuidLeaf);
  } else {
    Detect(false, platform::CpuidLeaf);
    const auto report = platform::ReadProcessorReport();
    const auto length = std::min(report.name.size(), sizeof BrandString - 1);
    std::memcpy(BrandString, report.name.data(), length);
    BrandString[length] = '\0';
    ClockHz = report.clockHz;
  }
}

void TMorvaneCPUID::Detect(bool Supported, const TMorvaneCpuidLeaf& Leaf) {
  *this = TMorvaneCPUID{};
  if (!Supported) return;
  CpuidSupported = true;

  const auto leaf0 = Leaf(0);
  MaxLeaf = leaf0.eax;
  copyRegister(VendorId, leaf0.ebx);
  copyRegister(VendorId + 4, leaf0.edx);
  copyRegister(VendorId + 8, leaf0.ecx);
  // Leaf 1 read only where it exists; past the maximum a processor answers
  // with another leaf's data.
  if (MaxLeaf >= 1) {
    const auto leaf1 = Leaf(1);
    Signature = leaf1.eax;
    Features = leaf1.edx;
  }
  MaxExtLeaf = Leaf(kExtendedBase).eax;
  if (MaxExtLeaf >= kExtendedBase + 1) {
    ExtFeatures = Leaf(kExtendedBase + 1).edx;
    if (MaxExtLeaf != kExtendedBase + 1) {
      for (std::uint32_t i = 0; i < 3; ++i) {
        const auto r = Leaf(kExtendedBase + 2 + i);
        char* part = BrandString + 16 * i;
        copyRegister(part, r.eax);
        copyRegister(part + 4, r.ebx);
        copyRegister(part + 8, r.ecx);
        copyRegister(part + 12, r.edx);
      }
      BrandString[48] = '\0';
    }
  }

  Family = (Signature >> 8) & 0xF;
  Model = (Signature >> 4) & 0xF;
  Stepping = Signature & 0xF;
  for (const auto& row : kCpuFlagRows) {
    switch (row.Source) {
      case TCpuFlagSource::Cpuid:
        this->*row.Field = CpuidSupported;
        break;
      case TCpuFlagSource::Leaf1Edx:
        this->*row.Field = ((Features >> row.Bit) & 1) != 0;
        break;
      case TCpuFlagSource::Ext1Edx:
        this->*row.Field = ((ExtFeatures >> row.Bit) & 1) != 0;
        break;
    }
  }
  Maker = makerOf(std::string_view(VendorId, strnlen(VendorId, sizeof VendorId)));
}

void TMorvaneCPUID::MeasureClock() {
  MeasureClock({steadyMilliseconds, platform::ReadTimeStampCounter, [](bool raised) {
                  // Refused without the privilege; the measurement then runs at normal priority.
                  TThread::SetCurrentThreadPriority(raised ? TThreadPriority::tpTimeCritical
                                                           : TThreadPriority::tpNormal);
                }});
}

void TMorvaneCPUID::MeasureClock(const TMorvaneClockProbe& Probe) {
  if (!TSC) return;
  struct PriorityScope {
    const TMorvaneClockProbe& probe;
    explicit PriorityScope(const TMorvaneClockProbe& p) : probe(p) { probe.Priority(true); }
    ~PriorityScope() { probe.Priority(false); }
  } priority(Probe);
  const std::uint32_t startMs = Probe.Milliseconds();
  const std::uint64_t startCycles = Probe.Counter();
  while (Probe.Milliseconds() - startMs < kMeasureMs) {
  }
  const std::uint64_t endCycles = Probe.Counter();
  ClockHz = (endCycles - startCycles) * (1000 / kMeasureMs);
}

std::ostream& operator<<(std::ostream& Stream, const TMorvaneCPUID& Cpu) {
  auto& out = Stream;
  out << BannerRule() << '\n'
      << BannerTitle("ＣＰＵ情報出力") << '\n'
      << BannerCredit("Created by TMorvaneCPUID") << '\n'
      << BannerRule() << '\n'
      << '\n';
  out.precision(5);
  out << label("CPUメーカー") << makerName(Cpu.Maker) << '\n'
      << label("CPU周波数") << static_cast<double>(Cpu.ClockHz) * 0.000001 << "MHz\n"
      << '\n'
      << label("メーカー識別文字列") << Cpu.VendorId << '\n';
  if (Cpu.BrandString[0] != '\0') out << label("プロセッサ名文字列") << Cpu.BrandString << '\n';
  out << '\n'
      << label("CPU命令ファミリ") << Cpu.Family << "86\n"
      << label("CPUモデル") << Cpu.Model << '\n'
      << label("CPUステッピングID") << Cpu.Stepping << '\n'
      << '\n'
      << std::hex << label("最大CPUID関数") << Cpu.MaxLeaf << '\n'
      << label("最大CPUID拡張関数") << Cpu.MaxExtLeaf << '\n'
      << std::dec << '\n';
  for (const auto& row : kCpuFlagRows)
    out << label(row.Label) << (Cpu.*row.Field ? "ＹＥＳ" : "ＮＯ") << '\n';
  return out;
}

}  // namespace MorvaneSystem
