#include "support/bench_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace bench {
namespace {

template <class Number, class Read>
std::optional<int> parse(int argc, char** argv, const char* program, const char* about, const char* option,
                         const char* placeholder, Number& value, Read read) {
  const std::string flag = std::string("--") + option;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("usage: %s [%s %s]\n%s\n", program, flag.c_str(), placeholder, about);
      return 0;
    }
    if (flag == argv[i] && i + 1 < argc) {
      value = read(argv[++i]);
    } else {
      std::fprintf(stderr, "%s: unknown option '%s'\n", program, argv[i]);
      return 1;
    }
  }
  if (value <= 0) {
    std::fprintf(stderr, "%s: %s must be positive\n", program, flag.c_str());
    return 1;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> ParseFrames(int argc, char** argv, const char* program, const char* about, int& frames) {
  return parse(argc, argv, program, about, "frames", "N", frames,
               [](const char* text) { return std::atoi(text); });
}

std::optional<int> ParseSeconds(int argc, char** argv, const char* program, const char* about,
                                double& seconds) {
  return parse(argc, argv, program, about, "seconds", "S", seconds,
               [](const char* text) { return std::atof(text); });
}

}  // namespace bench
