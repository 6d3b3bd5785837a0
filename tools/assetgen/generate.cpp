#include "tools/assetgen/generate.h"

#include <cstdio>

#include "tools/assetgen/file_io.h"
#include "tools/assetgen/image_set.h"
#include "tools/assetgen/mml_compiler.h"
#include "tools/assetgen/smf_writer.h"
#include "tools/assetgen/sound_table.h"
#include "tools/assetgen/sounds.h"

namespace assetgen {
namespace {

void say(const GenerateOptions& o, const std::string& line) {
  if (o.progress) o.progress(line);
}

}  // namespace

void GenerateSounds(const GenerateOptions& options) {
  for (int n = 1; n <= 9; ++n) {
    const auto bytes = SoundFileBytes(n);
    WriteFileBytes(options.outDir / "wav" / kSoundFiles[n - 1].name, bytes);
  }
  say(options, "wav: 9 sound effects");
}

void GenerateMusic(const GenerateOptions& options) {
  for (const char* name : {"m0", "m1", "m2"}) {
    const auto source = options.musicDir / (std::string(name) + ".mml");
    const mml::Song song = mml::Compile(ReadTextFile(source), source.string());
    WriteFileBytes(options.outDir / "mid" / (std::string(name) + ".mid"), WriteSmf(song));
    const double from = song.loopStart ? mml::SecondsAt(song, *song.loopStart) : 0.0;
    const double to = mml::SecondsAt(song, song.length);
    char line[96];
    std::snprintf(line, sizeof line, "mid: %s.mid, loop %.1f s to %.1f s (%.1f s)", name, from, to,
                  to - from);
    say(options, line);
  }
}

void GenerateImages(const GenerateOptions& options) {
  WriteImageSet(options.outDir, options.contactSheets, options.progress);
}

void GenerateAll(const GenerateOptions& options) {
  GenerateSounds(options);
  GenerateMusic(options);
  GenerateImages(options);
}

}  // namespace assetgen
