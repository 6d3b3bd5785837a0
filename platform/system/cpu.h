#pragma once
// Raw processor facilities: the CPUID instruction, the time-stamp counter and,
// where there is no CPUID, what the system reports about its processor.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

#if defined(__x86_64__) || defined(__i386__)
inline constexpr bool kCpuidArchitecture = true;
#else
inline constexpr bool kCpuidArchitecture = false;
#endif

struct CpuidRegisters {
  std::uint32_t eax = 0;
  std::uint32_t ebx = 0;
  std::uint32_t ecx = 0;
  std::uint32_t edx = 0;
};

// True when bit 21 (ID) of the flags register can be toggled, which is how a
// processor tells that it has CPUID. Always false off x86.
bool HasCpuid();

// Registers after CPUID with EAX = leaf (ECX = 0); all zero off x86 or when
// there is no CPUID. Leaves above the processor's maximum give what the
// processor gives; callers check the maximum first.
CpuidRegisters CpuidLeaf(std::uint32_t leaf);

// The processor's cycle counter (RDTSC on x86). Elsewhere a monotonic
// high-resolution tick counter stands in: the virtual counter on AArch64, the
// steady clock in nanoseconds otherwise.
std::uint64_t ReadTimeStampCounter();

// What the operating system says about the processor, for machines without
// CPUID. Empty name and 0 Hz for whatever it does not say.
struct ProcessorReport {
  std::string name;
  std::uint64_t clockHz = 0;
};

// Reads /proc/cpuinfo, then the cpufreq maximum when cpuinfo has no clock.
ProcessorReport ReadProcessorReport();

// The cpuinfo part of ReadProcessorReport: the first "model name",
// "Processor", "cpu model" or "cpu" field names the processor; the first
// "cpu MHz" or "clock" field (in MHz) gives the clock.
ProcessorReport ParseCpuinfo(std::string_view text);

}  // namespace platform
