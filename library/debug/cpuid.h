#pragma once
// Processor identification for the debug log: maker, clock rate,
// identification strings, family/model/stepping and thirty feature flags, and
// the labelled block the log prints from them.
#include <cstdint>
#include <functional>
#include <ostream>

#include "platform/system/cpu.h"

namespace MorvaneSystem {

enum TMorvaneCpuMaker : int { cmUnknown = 0, cmIntel = 1, cmAMD = 2, cmCyrix = 3, cmIDT = 4 };

using TMorvaneCpuidLeaf = std::function<platform::CpuidRegisters(std::uint32_t Leaf)>;

// What the clock measurement reads and switches, so that tests can run it on
// a virtual clock.
struct TMorvaneClockProbe {
  std::function<std::uint32_t()> Milliseconds;  // a millisecond clock
  std::function<std::uint64_t()> Counter;       // the cycle counter
  std::function<void(bool Raised)> Priority;    // time-critical while measuring, then normal
};

class TMorvaneCPUID {
 public:
  // Identifies this processor: CPUID on x86; elsewhere the name and clock the
  // system reports, with every flag off.
  void Detect();
  // Identifies a processor from its CPUID leaves; nothing but zeros when
  // Supported is false.
  void Detect(bool Supported, const TMorvaneCpuidLeaf& Leaf);

  // Measures ClockHz over 200 ms of the millisecond clock, at time-critical
  // priority; only when the processor has a time-stamp counter.
  void MeasureClock();
  void MeasureClock(const TMorvaneClockProbe& Probe);

  bool CpuidSupported = false;
  std::uint32_t Signature = 0;    // EAX of leaf 1
  std::uint32_t Features = 0;     // EDX of leaf 1
  std::uint32_t ExtFeatures = 0;  // EDX of leaf 0x80000001
  std::uint32_t MaxLeaf = 0;
  std::uint32_t MaxExtLeaf = 0;
  char VendorId[13] = {};
  char BrandString[49] = {};  // empty when not read
  // Cycles per second, 0 when not measured. 64 bits wide: 32 would wrap
  // above 4.29 GHz.
  std::uint64_t ClockHz = 0;
  std::uint32_t Family = 0;
  std::uint32_t Model = 0;
  std::uint32_t Stepping = 0;

  // Leaf 1 EDX.
  bool FPU = false;
  bool VME = false;
  bool DE = false;
  bool PSE = false;
  bool TSC = false;
  bool MSR = false;
  bool PAE = false;
  bool MCE = false;
  bool CX8 = false;
  bool APIC = false;
  bool SEP = false;
  bool MTRR = false;
  bool PGE = false;
  bool MCA = false;
  bool CMOV = false;
  bool PAT = false;
  bool PSE36 = false;
  bool PSN = false;
  bool CLFSH = false;
  bool DS = false;
  bool ACPI = false;
  bool MMX = false;
  bool FXSR = false;
  bool SSE = false;
  bool SSE2 = false;
  bool SS = false;
  bool TM = false;
  // Leaf 0x80000001 EDX.
  bool MMXExt = false;
  bool AMD3DNow = false;
  bool AMD3DNowExt = false;

  TMorvaneCpuMaker Maker = cmUnknown;
};

// Writes the processor block: banner, maker and clock, identification,
// family/model/stepping, highest leaves, and one YES/NO line per flag. The
// stream's precision is left at 5.
std::ostream& operator<<(std::ostream& Stream, const TMorvaneCPUID& Cpu);

}  // namespace MorvaneSystem
