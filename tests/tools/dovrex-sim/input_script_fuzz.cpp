// Any bytes as a dovrex-sim input script: either a clear error or events with
// frames from 1 and virtual-key codes 1..255.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/dovrex-sim/sim_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  dovrex::sim::SimError error;
  const auto events = dovrex::sim::ParseInputScript(text, error);
  if (!events) {
    if (error.message.empty()) std::abort();
    return 0;
  }
  for (const auto& e : *events) {
    if (e.frame < 1 || e.virtualKey < 1 || e.virtualKey > 255) std::abort();
  }
  return 0;
}
