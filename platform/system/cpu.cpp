#include "platform/system/cpu.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#endif

namespace platform {

namespace {

constexpr std::uint32_t kIdFlag = 1u << 21;

std::string_view trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// Leading decimal number of a field such as "2300.000000MHz"; 0 when none or
// beyond any plausible clock, so the conversions to Hz cannot overflow.
double leadingNumber(std::string_view text) {
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || !(value >= 0 && value <= 1e9)) return 0;
  return value;
}

std::string readSmallFile(const char* path) {
  constexpr std::size_t kLimit = 1 << 20;  // cpuinfo of a big machine stays far below
  std::ifstream in(path, std::ios::binary);
  std::string text;
  char buffer[4096];
  while (in && text.size() < kLimit) {
    in.read(buffer, sizeof buffer);
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

}  // namespace

bool HasCpuid() {
#if defined(__x86_64__) || defined(__i386__)
  const auto original = __readeflags();
  __writeeflags(original ^ kIdFlag);
  const auto toggled = __readeflags();
  __writeeflags(original);
  return ((original ^ toggled) & kIdFlag) != 0;
#else
  return false;
#endif
}

CpuidRegisters CpuidLeaf(std::uint32_t leaf) {
  CpuidRegisters r;
#if defined(__x86_64__) || defined(__i386__)
  if (HasCpuid()) __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
#else
  (void)leaf;
#endif
  return r;
}

std::uint64_t ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#elif defined(__aarch64__)
  std::uint64_t ticks;
  asm volatile("mrs %0, cntvct_el0" : "=r"(ticks));
  return ticks;
#else
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
#endif
}

ProcessorReport ParseCpuinfo(std::string_view text) {
  ProcessorReport report;
  bool haveClock = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const auto line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const auto key = trim(line.substr(0, colon));
    const auto value = trim(line.substr(colon + 1));
    if (report.name.empty() &&
        (key == "model name" || key == "Processor" || key == "cpu model" || key == "cpu")) {
      report.name = std::string(value);
    } else if (!haveClock && (key == "cpu MHz" || key == "clock")) {
      report.clockHz = static_cast<std::uint64_t>(std::llround(leadingNumber(value) * 1e6));
      haveClock = true;
    }
  }
  return report;
}

ProcessorReport ReadProcessorReport() {
  auto report = ParseCpuinfo(readSmallFile("/proc/cpuinfo"));
  if (report.clockHz == 0) {
    const auto kHz = readSmallFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    report.clockHz = static_cast<std::uint64_t>(std::llround(leadingNumber(trim(kHz)) * 1e3));
  }
  return report;
}

}  // namespace platform
