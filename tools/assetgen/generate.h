#pragma once
// Generating the game's data folder: sounds, music, pictures, contact sheets.
#include <filesystem>
#include <functional>
#include <string>

namespace assetgen {

struct GenerateOptions {
  std::filesystem::path outDir;    // becomes the game's data folder
  std::filesystem::path musicDir;  // holds m0.mml, m1.mml, m2.mml
  bool contactSheets = true;
  std::function<void(const std::string&)> progress;  // one short line per step; may be empty
};

void GenerateSounds(const GenerateOptions& options);
void GenerateMusic(const GenerateOptions& options);
void GenerateImages(const GenerateOptions& options);
void GenerateAll(const GenerateOptions& options);

}  // namespace assetgen
