// assetgen --out DIR --music DIR [--no-contact]
//   Generates the game's data folder: bmp/, wav/, mid/, res/ and contact/.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/assetgen/generate.h"

namespace {

constexpr const char* kUsage = "usage: assetgen --out DIR --music DIR [--no-contact]\n";

}  // namespace

int main(int argc, char** argv) {
  assetgen::GenerateOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      options.outDir = argv[++i];
    } else if (arg == "--music" && i + 1 < argc) {
      options.musicDir = argv[++i];
    } else if (arg == "--no-contact") {
      options.contactSheets = false;
    } else if (arg == "--help" || arg == "-h") {
      std::printf(
          "%sGenerates the game's data folder (bmp/, wav/, mid/, res/ and contact/) into --out,\n"
          "compiling the MML pieces found in --music. --no-contact skips the contact sheets.\n",
          kUsage);
      return 0;
    } else {
      std::fprintf(stderr, "assetgen: unknown argument '%s'\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  if (options.outDir.empty() || options.musicDir.empty()) {
    std::fprintf(stderr, "assetgen: --out and --music are needed\n%s", kUsage);
    return 2;
  }
  options.progress = [](const std::string& line) {
    std::printf("assetgen: %s\n", line.c_str());
    std::fflush(stdout);
  };
  try {
    assetgen::GenerateAll(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
