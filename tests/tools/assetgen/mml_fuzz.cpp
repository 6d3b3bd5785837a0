// Feeds arbitrary text to the MML compiler and the SMF writer: it must either
// compile or raise its own error, within bounded time and memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/assetgen/mml_compiler.h"
#include "tools/assetgen/smf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  try {
    const assetgen::mml::Song song = assetgen::mml::Compile(source, "fuzz");
    const auto bytes = assetgen::WriteSmf(song);
    if (bytes.size() < 14) __builtin_trap();
  } catch (const assetgen::mml::Error&) {
  }
  return 0;
}
