#pragma once
// The log's fixed blocks, spelled out independently of the code that writes
// them.
#include <sstream>
#include <string>

#include "library/debug/cpuid.h"

namespace debug_test {

inline std::string Rule() { return "// " + std::string(74, '=') + "\n"; }

inline std::string HeaderBlock() {
  return Rule() + "// Morvane Game Library 0.80 デバッグ＆プロファイリングシステム出力" +
         std::string(10, ' ') + "\n" + "//" + std::string(62, ' ') + "製作：もるべ \n" + Rule() + "\n";
}

inline std::string TraceBlock() {
  return Rule() + "// プログラムトレース出力" + std::string(52, ' ') + "\n" + "//" + std::string(51, ' ') +
         "Created by TMorvaneDebug\n" + Rule() + "\n";
}

inline std::string ResultsHeading() {
  return Rule() + "// プロファイリング結果出力" + std::string(50, ' ') + "\n" + "//" + std::string(48, ' ') +
         "Created by TMorvaneProfiler\n" + "//" + std::string(54, ' ') + "時間単位はCPUクロック\n" + Rule() +
         "\n" + "回数       全実行時間          平均           関数名                         \n";
}

inline std::string ProcessorBlock(const MorvaneSystem::TMorvaneCPUID& cpu) {
  std::ostringstream out;
  out << cpu << "\n\n\n";
  return out.str();
}

}  // namespace debug_test
