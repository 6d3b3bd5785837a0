#pragma once
// The command line of a benchmark whose one option sets how long it runs:
// `--frames N` or `--seconds S`, which must be positive, or `--help`.
#include <optional>

namespace bench {

// Nothing when the benchmark should run (frames set); otherwise the status to
// exit with, after the usage on --help or a message on standard error.
// `about` is the text under the usage line.
std::optional<int> ParseFrames(int argc, char** argv, const char* program, const char* about, int& frames);

// The same for `--seconds S`.
std::optional<int> ParseSeconds(int argc, char** argv, const char* program, const char* about,
                                double& seconds);

}  // namespace bench
