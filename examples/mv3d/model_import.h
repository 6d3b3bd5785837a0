#pragma once
// Models of other formats (Wavefront OBJ, glTF 2.0 and whatever else the
// import library reads) turned into the library's object chain.
#include <memory>
#include <string>
#include <vector>

#include "library/3d/Mv3dobj.h"
#include "texture_convert.h"

namespace mv3d {

struct ImportResult {
  std::unique_ptr<Morvane3DSystem::TMorvane3DObject> root;
  std::vector<std::string> warnings;
};

struct ImportOptions {
  // Normals made for a mesh without them are averaged only across edges
  // whose faces meet at less than this; sharper edges stay hard.
  float smoothingAngle = 80;
};

// One object per mesh of every node, in the scene's depth-first order, with
// the node's whole transform as the object's local transform (the file keeps
// no hierarchy). Coordinates become left-handed with texture v downwards, as
// the device takes them. Texture names go through `textures`. Throws
// std::runtime_error when nothing can be read.
ImportResult ImportModel(const std::string& fileName, const ImportOptions& options,
                         TextureConverter& textures);

}  // namespace mv3d
