#pragma once
// The processor block's flag lines, in print order: label, field, and the bit
// of CPUID it comes from.
#include <array>
#include <cstddef>

#include "library/debug/cpuid.h"

namespace MorvaneSystem {

enum class TCpuFlagSource { Cpuid, Leaf1Edx, Ext1Edx };

struct TCpuFlagRow {
  const char* Label;  // padded to the label width when printed
  bool TMorvaneCPUID::*Field;
  TCpuFlagSource Source;
  int Bit;
};

// The block prints this many flag lines; a missing or extra row fails the build.
inline constexpr std::size_t kCpuFlagLineCount = 31;

// clang-format off
inline constexpr auto kCpuFlagRows = std::to_array<TCpuFlagRow>({
    {"CPUID命令サポート",              &TMorvaneCPUID::CpuidSupported, TCpuFlagSource::Cpuid,    0},
    {"浮動小数点ユニット",             &TMorvaneCPUID::FPU,            TCpuFlagSource::Leaf1Edx, 0},
    {"仮想8086モード",                 &TMorvaneCPUID::VME,            TCpuFlagSource::Leaf1Edx, 1},
    {"デバッグ拡張",                   &TMorvaneCPUID::DE,             TCpuFlagSource::Leaf1Edx, 2},
    {"ページサイズ拡張",               &TMorvaneCPUID::PSE,            TCpuFlagSource::Leaf1Edx, 3},
    {"タイムスタンプカウンタ",         &TMorvaneCPUID::TSC,            TCpuFlagSource::Leaf1Edx, 4},
    {"モデル固有レジスタ",             &TMorvaneCPUID::MSR,            TCpuFlagSource::Leaf1Edx, 5},
    {"物理アドレス拡張",               &TMorvaneCPUID::PAE,            TCpuFlagSource::Leaf1Edx, 6},
    {"マシンチェック例外",             &TMorvaneCPUID::MCE,            TCpuFlagSource::Leaf1Edx, 7},
    {"CMPXCHG8B命令",                  &TMorvaneCPUID::CX8,            TCpuFlagSource::Leaf1Edx, 8},
    {"オンチップAPIC",                 &TMorvaneCPUID::APIC,           TCpuFlagSource::Leaf1Edx, 9},
    {"高速システムコール",             &TMorvaneCPUID::SEP,            TCpuFlagSource::Leaf1Edx, 11},
    {"メモリタイプ範囲レジスタ",       &TMorvaneCPUID::MTRR,           TCpuFlagSource::Leaf1Edx, 12},
    {"PTEグローバルフラグ",            &TMorvaneCPUID::PGE,            TCpuFlagSource::Leaf1Edx, 13},
    {"マシンチェックアーキテクチャ",   &TMorvaneCPUID::MCA,            TCpuFlagSource::Leaf1Edx, 14},
    {"条件付転送および比較命令",       &TMorvaneCPUID::CMOV,           TCpuFlagSource::Leaf1Edx, 15},
    {"ページ属性テーブル",             &TMorvaneCPUID::PAT,            TCpuFlagSource::Leaf1Edx, 16},
    {"36ビットページサイズ拡張",       &TMorvaneCPUID::PSE36,          TCpuFlagSource::Leaf1Edx, 17},
    {"プロセッサ番号",                 &TMorvaneCPUID::PSN,            TCpuFlagSource::Leaf1Edx, 18},
    {"CLFLUSH命令",                    &TMorvaneCPUID::CLFSH,          TCpuFlagSource::Leaf1Edx, 19},
    {"デバッグトレースストア",         &TMorvaneCPUID::DS,             TCpuFlagSource::Leaf1Edx, 21},
    {"CPUACPIサポート",                &TMorvaneCPUID::ACPI,           TCpuFlagSource::Leaf1Edx, 22},
    {"MMXテクノロジ",                  &TMorvaneCPUID::MMX,            TCpuFlagSource::Leaf1Edx, 23},
    {"FPU/MMX/SSE命令の高速保存&復元", &TMorvaneCPUID::FXSR,           TCpuFlagSource::Leaf1Edx, 24},
    {"SSEテクノロジ",                  &TMorvaneCPUID::SSE,            TCpuFlagSource::Leaf1Edx, 25},
    {"SSE2テクノロジ",                 &TMorvaneCPUID::SSE2,           TCpuFlagSource::Leaf1Edx, 26},
    {"Self-Snoop",                     &TMorvaneCPUID::SS,             TCpuFlagSource::Leaf1Edx, 27},
    {"温度モニタサポート",             &TMorvaneCPUID::TM,             TCpuFlagSource::Leaf1Edx, 29},
    {"拡張MMXテクノロジ",              &TMorvaneCPUID::MMXExt,         TCpuFlagSource::Ext1Edx,  22},
    {"3DNow!テクノロジ",               &TMorvaneCPUID::AMD3DNow,       TCpuFlagSource::Ext1Edx,  31},
    {"拡張3DNow!テクノロジ",           &TMorvaneCPUID::AMD3DNowExt,    TCpuFlagSource::Ext1Edx,  30},
});
// clang-format on
static_assert(kCpuFlagRows.size() == kCpuFlagLineCount);

}  // namespace MorvaneSystem
