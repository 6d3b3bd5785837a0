#include "model_import.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <limits>
#include <stdexcept>
#include <utility>

namespace mv3d {

namespace {

using Morvane3DSystem::TMorvane3DMaterial;
using Morvane3DSystem::TMorvane3DMatrix;
using Morvane3DSystem::TMorvane3DObject;
using Morvane3DSystem::TMorvane3DVertex;

// 16-bit indices: one object holds at most this many vertices.
constexpr unsigned kMaxVertices = std::numeric_limits<std::uint16_t>::max() + 1u;
// The longest name a 32-byte field holds with its NUL.
constexpr std::size_t kMaxNameLength = Morvane3DSystem::ModelLayout::kNameSize - 1;

// Normals are made while the mesh still has the source's handedness and
// winding: assimp runs its steps in its own order, normals after the winding
// flip, and its versions disagree on which way they then point.
constexpr unsigned kReadSteps = aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_GenSmoothNormals |
                                aiProcess_ValidateDataStructure;
// Then the device's convention; vertices are joined only now, so that they
// carry their final normals.
constexpr unsigned kConventionSteps = aiProcess_ConvertToLeftHanded | aiProcess_JoinIdenticalVertices |
                                      aiProcess_SplitLargeMeshes | aiProcess_ValidateDataStructure;

// Assimp's matrices act on column vectors; the file's on row vectors.
TMorvane3DMatrix rowVectorMatrix(const aiMatrix4x4& a) {
  TMorvane3DMatrix m;
  for (unsigned r = 0; r < 4; ++r) {
    for (unsigned c = 0; c < 4; ++c) m.m[r][c] = a[c][r];
  }
  return m;
}

// False when the material has no such colour; `out` then keeps its value.
bool color(const aiMaterial& material, const char* key, unsigned type, unsigned index, float* out,
           float alpha) {
  aiColor4D value(out[0], out[1], out[2], alpha);
  const bool found = material.Get(key, type, index, value) == AI_SUCCESS;
  out[0] = value.r;
  out[1] = value.g;
  out[2] = value.b;
  out[3] = alpha;
  return found;
}

bool black(const float* rgb) { return rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0; }

class Importer {
 public:
  Importer(std::vector<std::string>& warnings, TextureConverter& textures)
      : FWarnings(warnings), FTextures(textures) {}

  void Object(TMorvane3DObject& object, const aiScene& scene, const aiMesh& mesh,
              const aiMatrix4x4& transform, const std::string& name) {
    object.SetName(Fitted(name, "object name"));
    object.SetLocalMatrix(rowVectorMatrix(transform));
    Mesh(object, mesh);
    if (mesh.mMaterialIndex < scene.mNumMaterials) Material(object, *scene.mMaterials[mesh.mMaterialIndex]);
  }

 private:
  std::string Fitted(const std::string& text, const char* what) {
    if (text.size() <= kMaxNameLength) return text;
    FWarnings.push_back(std::string(what) + " \"" + text + "\" cut to " + std::to_string(kMaxNameLength) +
                        " bytes");
    return text.substr(0, kMaxNameLength);
  }

  void Mesh(TMorvane3DObject& object, const aiMesh& mesh) {
    if (mesh.mNumVertices > kMaxVertices) {
      throw std::runtime_error("mesh \"" + std::string(mesh.mName.C_Str()) + "\" has more than " +
                               std::to_string(kMaxVertices) + " vertices");
    }
    std::vector<TMorvane3DVertex> vertices(mesh.mNumVertices);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
      TMorvane3DVertex& v = vertices[i];
      v = {mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z, 0, 0, 0, 0, 0};
      if (mesh.mNormals) {
        v.nx = mesh.mNormals[i].x;
        v.ny = mesh.mNormals[i].y;
        v.nz = mesh.mNormals[i].z;
      }
      if (mesh.mTextureCoords[0]) {
        v.tu = mesh.mTextureCoords[0][i].x;
        v.tv = mesh.mTextureCoords[0][i].y;
      }
    }
    std::vector<std::uint16_t> indices;
    indices.reserve(3u * mesh.mNumFaces);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      for (unsigned k = 0; k < 3; ++k) indices.push_back(static_cast<std::uint16_t>(face.mIndices[k]));
    }
    object.SetMesh(vertices, indices);
  }

  void Material(TMorvane3DObject& object, const aiMaterial& material) {
    float opacity = 1.0f;
    material.Get(AI_MATKEY_OPACITY, opacity);
    TMorvane3DMaterial m = {{1, 1, 1, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};
    color(material, AI_MATKEY_COLOR_DIFFUSE, m.diffuse, opacity);
    // Formats without an ambient colour leave it out or black (OBJ without
    // Ka), which draws the unlit sides black; as Direct3D does, the diffuse
    // colour then stands for it.
    if (!color(material, AI_MATKEY_COLOR_AMBIENT, m.ambient, 1.0f) || black(m.ambient)) {
      std::copy(m.diffuse, m.diffuse + 3, m.ambient);
    }
    color(material, AI_MATKEY_COLOR_SPECULAR, m.specular, 1.0f);
    color(material, AI_MATKEY_COLOR_EMISSIVE, m.emissive, 1.0f);
    material.Get(AI_MATKEY_SHININESS, m.power);
    object.SetMaterial(m);

    int shading = 0;
    if (material.Get(AI_MATKEY_SHADING_MODEL, shading) == AI_SUCCESS && shading == aiShadingMode_Flat) {
      object.SetFlatShade(1);
    }
    int blend = aiBlendMode_Default;
    material.Get(AI_MATKEY_BLEND_FUNC, blend);
    if (blend == aiBlendMode_Additive) {
      object.SetAlphaBlend(Morvane3DSystem::abAdditive);
    } else if (opacity < 1.0f) {
      object.SetAlphaBlend(Morvane3DSystem::abTranslucent);
    }

    const std::string stage0 = Texture(material, aiTextureType_DIFFUSE, 0);
    std::string stage1 = Texture(material, aiTextureType_LIGHTMAP, 0);
    if (stage1.empty()) stage1 = Texture(material, aiTextureType_DIFFUSE, 1);
    object.SetTextureName(0, stage0);
    object.SetTextureName(1, stage1);
    if (!stage1.empty()) object.SetMultiTexture(Morvane3DSystem::mtModulate);
  }

  // A texture file named by the material; textures held inside the model
  // ("*0", "*1", ...) have no file the component could read.
  std::string Texture(const aiMaterial& material, aiTextureType type, unsigned index) {
    aiString path;
    if (material.GetTexture(type, index, &path) != AI_SUCCESS) return "";
    const std::string name = path.C_Str();
    if (!name.empty() && name[0] == '*') {
      FWarnings.push_back("embedded texture " + name + " left out");
      return "";
    }
    return Fitted(FTextures.Name(name), "texture name");
  }

  std::vector<std::string>& FWarnings;
  TextureConverter& FTextures;
};

// The texture slots a material's stages are taken from.
constexpr std::pair<aiTextureType, unsigned> kTextureSlots[] = {
    {aiTextureType_DIFFUSE, 0}, {aiTextureType_DIFFUSE, 1}, {aiTextureType_LIGHTMAP, 0}};

// BMP files the model names keep their names before any picture is converted.
void ReserveBmpNames(const aiScene& scene, TextureConverter& textures) {
  for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
    for (const auto& [type, index] : kTextureSlots) {
      aiString path;
      if (scene.mMaterials[m]->GetTexture(type, index, &path) == AI_SUCCESS) textures.Reserve(path.C_Str());
    }
  }
}

}  // namespace

ImportResult ImportModel(const std::string& fileName, const ImportOptions& options,
                         TextureConverter& textures) {
  Assimp::Importer importer;
  importer.SetPropertyInteger(AI_CONFIG_PP_SLM_VERTEX_LIMIT, static_cast<int>(kMaxVertices - 1));
  importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
  importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, options.smoothingAngle);
  const aiScene* scene = importer.ReadFile(fileName, kReadSteps);
  if (scene) scene = importer.ApplyPostProcessing(kConventionSteps);
  if (!scene || !scene->mRootNode) {
    throw std::runtime_error("cannot import " + fileName + ": " + importer.GetErrorString());
  }

  ReserveBmpNames(*scene, textures);
  ImportResult result;
  Importer convert(result.warnings, textures);
  TMorvane3DObject* last = nullptr;
  // Depth first without recursion: deep scene graphs exist.
  std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending = {{scene->mRootNode, aiMatrix4x4()}};
  while (!pending.empty()) {
    const auto [node, parent] = pending.back();
    pending.pop_back();
    const aiMatrix4x4 transform = parent * node->mTransformation;
    for (unsigned k = 0; k < node->mNumMeshes; ++k) {
      if (node->mMeshes[k] >= scene->mNumMeshes) continue;
      const aiMesh& mesh = *scene->mMeshes[node->mMeshes[k]];
      if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) continue;
      std::string name = node->mName.length ? node->mName.C_Str() : mesh.mName.C_Str();
      if (k > 0) name += "#" + std::to_string(k);
      auto object = std::make_unique<TMorvane3DObject>();
      convert.Object(*object, *scene, mesh, transform, name);
      TMorvane3DObject* added = object.get();
      if (last) {
        last->next = std::move(object);
      } else {
        result.root = std::move(object);
      }
      last = added;
    }
    for (unsigned c = node->mNumChildren; c-- > 0;) pending.emplace_back(node->mChildren[c], transform);
  }
  if (!result.root) throw std::runtime_error("no triangle mesh in " + fileName);
  return result;
}

}  // namespace mv3d
