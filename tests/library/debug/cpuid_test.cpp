#include "library/debug/cpuid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/cpu.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

using namespace MorvaneSystem;
using platform::CpuidRegisters;

std::uint32_t chars(const char* four) {
  std::uint32_t value;
  std::memcpy(&value, four, 4);
  return value;
}

// A processor described by its CPUID leaves; unknown leaves read as zero.
struct FakeProcessor {
  std::map<std::uint32_t, CpuidRegisters> leaves;
  std::vector<std::uint32_t> asked;
  TMorvaneCpuidLeaf Reader() {
    return [this](std::uint32_t leaf) {
      asked.push_back(leaf);
      const auto it = leaves.find(leaf);
      return it == leaves.end() ? CpuidRegisters{} : it->second;
    };
  }
};

void setVendor(FakeProcessor& cpu, std::uint32_t maxLeaf, const char* vendor) {
  cpu.leaves[0] = {maxLeaf, chars(vendor), chars(vendor + 8), chars(vendor + 4)};
}

void setBrand(FakeProcessor& cpu, const char* brand48) {
  for (std::uint32_t i = 0; i < 3; ++i) {
    const char* p = brand48 + 16 * i;
    cpu.leaves[0x80000002 + i] = {chars(p), chars(p + 4), chars(p + 8), chars(p + 12)};
  }
}

const std::string kBanner = "// " + std::string(74, '=') + "\n" +                         //
                            "// ＣＰＵ情報出力" + std::string(60, ' ') + "\n" +           //
                            "//" + std::string(51, ' ') + "Created by TMorvaneCPUID\n" +  //
                            "// " + std::string(74, '=') + "\n\n";

const char* const kFlagLabels[] = {
    "CPUID命令サポート              ：", "浮動小数点ユニット             ：",
    "仮想8086モード                 ：", "デバッグ拡張                   ：",
    "ページサイズ拡張               ：", "タイムスタンプカウンタ         ：",
    "モデル固有レジスタ             ：", "物理アドレス拡張               ：",
    "マシンチェック例外             ：", "CMPXCHG8B命令                  ：",
    "オンチップAPIC                 ：", "高速システムコール             ：",
    "メモリタイプ範囲レジスタ       ：", "PTEグローバルフラグ            ：",
    "マシンチェックアーキテクチャ   ：", "条件付転送および比較命令       ：",
    "ページ属性テーブル             ：", "36ビットページサイズ拡張       ：",
    "プロセッサ番号                 ：", "CLFLUSH命令                    ：",
    "デバッグトレースストア         ：", "CPUACPIサポート                ：",
    "MMXテクノロジ                  ：", "FPU/MMX/SSE命令の高速保存&復元 ：",
    "SSEテクノロジ                  ：", "SSE2テクノロジ                 ：",
    "Self-Snoop                     ：", "温度モニタサポート             ：",
    "拡張MMXテクノロジ              ：", "3DNow!テクノロジ               ：",
    "拡張3DNow!テクノロジ           ：",
};
// Where each flag line's value comes from: -1 CPUID itself, 0..31 leaf 1 EDX,
// 100 + bit leaf 0x80000001 EDX.
const int kFlagSources[] = {-1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12,  13,  14, 15,
                            16, 17, 18, 19, 21, 22, 23, 24, 25, 26, 27, 29, 122, 131, 130};

std::string flagLines(bool cpuid, std::uint32_t edx, std::uint32_t extEdx) {
  std::string lines;
  for (int i = 0; i < 31; ++i) {
    const int source = kFlagSources[i];
    const bool on = source < 0 ? cpuid : source >= 100 ? (extEdx >> (source - 100)) & 1 : (edx >> source) & 1;
    lines += std::string(kFlagLabels[i]) + (on ? "ＹＥＳ" : "ＮＯ") + "\n";
  }
  return lines;
}

std::string print(const TMorvaneCPUID& cpu) {
  std::ostringstream out;
  out << cpu;
  return out.str();
}

TEST(CpuidBlock, ProcessorWithoutCpuidPrintsUnknownZeroAndNo) {
  FakeProcessor fake;
  setVendor(fake, 5, "GenuineIntel");
  TMorvaneCPUID cpu;
  cpu.Detect(false, fake.Reader());
  EXPECT_TRUE(fake.asked.empty()) << "no leaf is read without CPUID";
  EXPECT_EQ(print(cpu), kBanner +
                            "CPUメーカー                    ：不明\n"
                            "CPU周波数                      ：0MHz\n"
                            "\n"
                            "メーカー識別文字列             ：\n"
                            "\n"
                            "CPU命令ファミリ                ：086\n"
                            "CPUモデル                      ：0\n"
                            "CPUステッピングID              ：0\n"
                            "\n"
                            "最大CPUID関数                  ：0\n"
                            "最大CPUID拡張関数              ：0\n"
                            "\n" +
                            flagLines(false, 0, 0));
}

TEST(CpuidBlock, FullRecordDecodesAndPrintsEveryLine) {
  FakeProcessor fake;
  setVendor(fake, 0xd, "GenuineIntel");
  const std::uint32_t edx = 0xBFEBFBFF;  // every leaf-1 flag but bits 10, 20 and 30
  fake.leaves[1] = {0x000006F6, 0, 0, edx};
  fake.leaves[0x80000000] = {0x80000008, 0, 0, 0};
  const std::uint32_t extEdx = (1u << 22) | (1u << 30);
  fake.leaves[0x80000001] = {0, 0, 0, extEdx};
  setBrand(fake, "Intel(R) Core(TM)2 CPU          6600  @ 2.40GHz\0");
  TMorvaneCPUID cpu;
  cpu.Detect(true, fake.Reader());
  cpu.ClockHz = 2400123456;

  EXPECT_EQ(cpu.Family, 6u);
  EXPECT_EQ(cpu.Model, 15u);
  EXPECT_EQ(cpu.Stepping, 6u);
  EXPECT_EQ(cpu.Maker, cmIntel);
  EXPECT_TRUE(cpu.SSE2);
  EXPECT_FALSE(cpu.AMD3DNow);
  EXPECT_EQ(print(cpu),
            kBanner +
                "CPUメーカー                    ：Intel\n"
                "CPU周波数                      ：2400.1MHz\n"
                "\n"
                "メーカー識別文字列             ：GenuineIntel\n"
                "プロセッサ名文字列             ：Intel(R) Core(TM)2 CPU          6600  @ 2.40GHz\n"
                "\n"
                "CPU命令ファミリ                ：686\n"
                "CPUモデル                      ：15\n"
                "CPUステッピングID              ：6\n"
                "\n"
                "最大CPUID関数                  ：d\n"
                "最大CPUID拡張関数              ：80000008\n"
                "\n" +
                flagLines(true, edx, extEdx));
}

TEST(CpuidBlock, HighestExtendedLeafExactlyOneGivesFlagsButNoBrand) {
  FakeProcessor fake;
  setVendor(fake, 1, "AuthenticAMD");
  fake.leaves[1] = {0x00000612, 0, 0, 0x0183F9FF};
  fake.leaves[0x80000000] = {0x80000001, 0, 0, 0};
  fake.leaves[0x80000001] = {0, 0, 0, 0xC0400000};
  setBrand(fake, "Should never be read at all, not even partially.");
  TMorvaneCPUID cpu;
  cpu.Detect(true, fake.Reader());
  EXPECT_EQ(cpu.BrandString[0], '\0');
  EXPECT_EQ(cpu.Maker, cmAMD);
  for (std::uint32_t leaf : fake.asked) EXPECT_LT(leaf, 0x80000002u);
  const auto text = print(cpu);
  EXPECT_EQ(text.find("プロセッサ名文字列"), std::string::npos);
  EXPECT_NE(text.find("拡張MMXテクノロジ              ：ＹＥＳ\n"), std::string::npos);
  EXPECT_NE(text.find("3DNow!テクノロジ               ：ＹＥＳ\n"), std::string::npos);
  EXPECT_NE(text.find("拡張3DNow!テクノロジ           ：ＹＥＳ\n"), std::string::npos);
}

TEST(CpuidDetect, MakersAndMissingExtendedLeaves) {
  const std::pair<const char*, TMorvaneCpuMaker> makers[] = {{"GenuineIntel", cmIntel},
                                                             {"AuthenticAMD", cmAMD},
                                                             {"CyrixInstead", cmCyrix},
                                                             {"CentaurHauls", cmIDT},
                                                             {"HygonGenuine", cmUnknown}};
  for (const auto& [vendor, maker] : makers) {
    FakeProcessor fake;
    setVendor(fake, 1, vendor);
    TMorvaneCPUID cpu;
    cpu.Detect(true, fake.Reader());
    EXPECT_EQ(cpu.Maker, maker) << vendor;
    EXPECT_STREQ(cpu.VendorId, vendor);
    EXPECT_EQ(cpu.ExtFeatures, 0u) << "no extended leaf 1 below 0x80000001";
  }
}

TEST(CpuidDetect, LeafOneIsNotReadWhenTheHighestLeafIsZero) {
  FakeProcessor fake;
  setVendor(fake, 0, "GenuineIntel");
  fake.leaves[1] = {0x543, 0, 0, 0xFFFFFFFF};
  TMorvaneCPUID cpu;
  cpu.Detect(true, fake.Reader());
  EXPECT_EQ(cpu.Signature, 0u);
  EXPECT_FALSE(cpu.FPU);
  EXPECT_TRUE(cpu.CpuidSupported);
}

TEST(CpuidDetect, DetectionStartsFromZero) {
  TMorvaneCPUID cpu;
  cpu.ClockHz = 5;
  cpu.MMX = true;
  std::strcpy(cpu.BrandString, "stale");
  FakeProcessor fake;
  cpu.Detect(false, fake.Reader());
  EXPECT_EQ(cpu.ClockHz, 0u);
  EXPECT_FALSE(cpu.MMX);
  EXPECT_EQ(cpu.BrandString[0], '\0');
}

// A virtual millisecond clock and counter: each clock read advances 1 ms and
// the counter by cyclesPerMs.
struct VirtualClock {
  std::uint32_t ms = 0xFFFFFF00u;  // wraps during the measurement
  std::uint64_t cycles = 0xFFFFFFF0ull;
  std::uint64_t cyclesPerMs = 1000000;
  std::vector<bool> priorities;
  TMorvaneClockProbe Probe() {
    return {[this] {
              cycles += cyclesPerMs;
              return ms++;
            },
            [this] { return cycles; }, [this](bool raised) { priorities.push_back(raised); }};
  }
};

TEST(CpuidClock, OneGigahertzPrintsAsThousandMegahertz) {
  VirtualClock clock;
  TMorvaneCPUID cpu;
  cpu.TSC = true;
  cpu.MeasureClock(clock.Probe());
  EXPECT_EQ(cpu.ClockHz, 1000000000u);
  EXPECT_EQ(clock.priorities, (std::vector<bool>{true, false})) << "raised for the measurement, then normal";
  EXPECT_NE(print(cpu).find("CPU周波数                      ：1000MHz\n"), std::string::npos);
}

TEST(CpuidClock, FiveGigahertzDoesNotWrap) {
  VirtualClock clock;
  clock.cyclesPerMs = 5123456;
  TMorvaneCPUID cpu;
  cpu.TSC = true;
  cpu.MeasureClock(clock.Probe());
  EXPECT_EQ(cpu.ClockHz, 5123456000u);
  EXPECT_NE(print(cpu).find("：5123.5MHz\n"), std::string::npos);
}

TEST(CpuidClock, NoTimeStampCounterMeansNoMeasurement) {
  VirtualClock clock;
  TMorvaneCPUID cpu;
  cpu.MeasureClock(clock.Probe());
  EXPECT_EQ(cpu.ClockHz, 0u);
  EXPECT_TRUE(clock.priorities.empty());
}

TEST(CpuidBlock, LeavesPrecisionAtFiveAndDecimalNumbers) {
  TMorvaneCPUID cpu;
  std::ostringstream out;
  out << cpu << 255 << ' ' << 3.14159265;
  EXPECT_EQ(out.precision(), 5);
  EXPECT_NE(out.str().find("ＮＯ\n255 3.1416"), std::string::npos);
}

// The processor's own answer for a leaf (ECX = 0), read here rather than
// through the component, so the two are independent readings of one source.
// The kernel's /proc/cpuinfo is no such source: a hypervisor's kernel may name
// the processor differently and hides or adds flags.
CpuidRegisters askProcessor(std::uint32_t leaf) {
  CpuidRegisters r;
#if defined(__x86_64__) || defined(__i386__)
  if (__get_cpuid_count(leaf, 0, &r.eax, &r.ebx, &r.ecx, &r.edx) == 0) return {};
#else
  (void)leaf;
#endif
  return r;
}

TEST(CpuidThisMachine, AgreesWithWhatTheProcessorAnswers) {
  if (!platform::kCpuidArchitecture) GTEST_SKIP() << "no CPUID on this architecture";
  ASSERT_TRUE(platform::HasCpuid());
  TMorvaneCPUID cpu;
  cpu.Detect();
  EXPECT_TRUE(cpu.CpuidSupported);

  const auto leaf0 = askProcessor(0);
  EXPECT_EQ(cpu.MaxLeaf, leaf0.eax);
  char vendor[13] = {};
  std::memcpy(vendor, &leaf0.ebx, 4);
  std::memcpy(vendor + 4, &leaf0.edx, 4);
  std::memcpy(vendor + 8, &leaf0.ecx, 4);
  EXPECT_STREQ(cpu.VendorId, vendor);

  const auto leaf1 = askProcessor(1);
  EXPECT_EQ(cpu.Signature, leaf1.eax);
  EXPECT_EQ(cpu.Family, (leaf1.eax >> 8) & 0xF) << "base family, before the extended family is added";
  EXPECT_EQ(cpu.Model, (leaf1.eax >> 4) & 0xF);
  EXPECT_EQ(cpu.Stepping, leaf1.eax & 0xF);
  EXPECT_EQ(cpu.Features, leaf1.edx);

  const std::uint32_t maxExt = askProcessor(0x80000000).eax;
  EXPECT_EQ(cpu.MaxExtLeaf, maxExt);
  const std::uint32_t extEdx = maxExt >= 0x80000001 ? askProcessor(0x80000001).edx : 0;
  EXPECT_EQ(cpu.ExtFeatures, extEdx);
  EXPECT_NE(print(cpu).find(flagLines(true, leaf1.edx, extEdx)), std::string::npos) << print(cpu);

  char brand[49] = {};
  if (maxExt > 0x80000001) {
    for (std::uint32_t i = 0; i < 3; ++i) {
      const auto r = askProcessor(0x80000002 + i);
      std::memcpy(brand + 16 * i, &r.eax, 4);
      std::memcpy(brand + 16 * i + 4, &r.ebx, 4);
      std::memcpy(brand + 16 * i + 8, &r.ecx, 4);
      std::memcpy(brand + 16 * i + 12, &r.edx, 4);
    }
  }
  EXPECT_STREQ(cpu.BrandString, brand);
}

TEST(CpuidThisMachine, BlockShowsThisProcessor) {
  TMorvaneCPUID cpu;
  cpu.Detect();
  const auto text = print(cpu);
  EXPECT_EQ(text.rfind(kBanner, 0), 0u);
  std::ostringstream expected;
  expected << "CPU命令ファミリ                ：" << cpu.Family << "86\n"
           << "CPUモデル                      ：" << cpu.Model << "\n"
           << "CPUステッピングID              ：" << cpu.Stepping << "\n\n"
           << "最大CPUID関数                  ：" << std::hex << cpu.MaxLeaf << "\n"
           << "最大CPUID拡張関数              ：" << cpu.MaxExtLeaf << "\n\n"
           << flagLines(cpu.CpuidSupported, cpu.Features, cpu.ExtFeatures);
  EXPECT_NE(text.find(expected.str()), std::string::npos) << text;
  EXPECT_NE(text.find(std::string("メーカー識別文字列             ：") + cpu.VendorId + "\n"),
            std::string::npos);
  std::cout << text;  // for the record of this run
}

TEST(CpuidThisMachine, MeasuredClockIsPrintedWithFiveDigits) {
  TMorvaneCPUID cpu;
  cpu.Detect();
  if (!cpu.TSC) GTEST_SKIP() << "no time-stamp counter";
  cpu.MeasureClock();
  EXPECT_GT(cpu.ClockHz, 0u);
  std::ostringstream mhz;
  mhz.precision(5);
  mhz << static_cast<double>(cpu.ClockHz) * 0.000001;
  EXPECT_NE(print(cpu).find("CPU周波数                      ：" + mhz.str() + "MHz\n"), std::string::npos);
}

TEST(ProcessorReport, ParsesNameAndClockFromCpuinfo) {
  const auto arm = platform::ParseCpuinfo(
      "processor\t: 0\nBogoMIPS\t: 48.00\nmodel name\t: ARMv8 Processor rev 1\n"
      "cpu MHz\t\t: 1800.500\nmodel name\t: second\n");
  EXPECT_EQ(arm.name, "ARMv8 Processor rev 1");
  EXPECT_EQ(arm.clockHz, 1800500000u);
  const auto power = platform::ParseCpuinfo("cpu\t\t: POWER9 (raw)\nclock\t\t: 2300.000000MHz\n");
  EXPECT_EQ(power.name, "POWER9 (raw)");
  EXPECT_EQ(power.clockHz, 2300000000u);
  const auto bad = platform::ParseCpuinfo("cpu MHz : -5\nno colon here\n: empty key\ncpu MHz : 7\n");
  EXPECT_EQ(bad.name, "");
  EXPECT_EQ(bad.clockHz, 0u) << "the first clock field counts, and a negative one is no clock";
  EXPECT_EQ(platform::ParseCpuinfo("cpu MHz : 1e300\n").clockHz, 0u);
  EXPECT_EQ(platform::ParseCpuinfo("").name, "");
}

}  // namespace
