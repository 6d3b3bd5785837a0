#pragma once
// Textures of a converted model. The 3D component reads only BMP, so other
// pictures a model names (PNG, JPEG and whatever else the image library
// reads) become BMP files beside the converted model, under safe names.
#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace mv3d {

class TextureConverter {
 public:
  // References are read relative to `sourceFolder`; BMP files are written
  // into `outFolder` only, whatever the references say.
  TextureConverter(std::filesystem::path sourceFolder, std::filesystem::path outFolder);
  ~TextureConverter();
  TextureConverter(const TextureConverter&) = delete;
  TextureConverter& operator=(const TextureConverter&) = delete;

  // A BMP the model names as it is: no converted picture takes its name.
  void Reserve(const std::string& reference);
  // The texture name the model keeps for `reference`: a BMP's as it is,
  // another picture's BMP name, or "" when it is dropped (Warnings() says why).
  std::string Name(const std::string& reference);

  // Writes the BMP files and says on `report` what became what. Throws
  // std::runtime_error when one cannot be written.
  void Write(std::ostream& report) const;
  const std::vector<std::string>& Warnings() const { return FWarnings; }

 private:
  struct Picture;
  std::string FreeName(const std::string& reference) const;

  std::filesystem::path FSourceFolder, FOutFolder;
  std::vector<Picture> FPictures;
  std::set<std::string> FTaken;
  std::set<std::string> FDropped;
  std::vector<std::string> FWarnings;
};

}  // namespace mv3d
