#include "obj_export.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace mv3d {

namespace {

using Morvane3DSystem::TMorvane3DMatrix;
using Morvane3DSystem::TMorvane3DObject;

struct Point {
  float x, y, z;
};

// Row vector times matrix; w is 1 for points, 0 for directions.
Point transform(const TMorvane3DMatrix& m, float x, float y, float z, float w) {
  return {x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + w * m.m[3][0],
          x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + w * m.m[3][1],
          x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + w * m.m[3][2]};
}

Point normalised(Point p) {
  const float length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
  if (length > 0) p = {p.x / length, p.y / length, p.z / length};
  return p;
}

// A model built in memory may carry no transform at all: all zeros means identity.
TMorvane3DMatrix effectiveMatrix(const TMorvane3DObject& object) {
  TMorvane3DMatrix m = object.GetLocalMatrix();
  bool zero = true;
  for (const auto& row : m.m) {
    for (float v : row) zero = zero && v == 0.0f;
  }
  if (zero) {
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
  }
  return m;
}

void writeMaterial(std::ofstream& mtl, const TMorvane3DObject& object, std::size_t index) {
  const auto m = object.GetMaterial();
  mtl << "newmtl m" << index << "\n"
      << "Kd " << m.diffuse[0] << ' ' << m.diffuse[1] << ' ' << m.diffuse[2] << "\n"
      << "Ka " << m.ambient[0] << ' ' << m.ambient[1] << ' ' << m.ambient[2] << "\n"
      << "Ks " << m.specular[0] << ' ' << m.specular[1] << ' ' << m.specular[2] << "\n"
      << "Ke " << m.emissive[0] << ' ' << m.emissive[1] << ' ' << m.emissive[2] << "\n"
      << "Ns " << m.power << "\n"
      << "d " << m.diffuse[3] << "\n"
      << "illum 2\n";
  const std::string stage0 = object.GetTextureName(0);
  const std::string stage1 = object.GetTextureName(1);
  if (!stage0.empty()) mtl << "map_Kd " << stage0 << "\n";
  if (!stage1.empty()) mtl << "map_Ka " << stage1 << "\n";
  mtl << "\n";
}

}  // namespace

void ExportObj(const Morvane3DSystem::TMorvane3DFile& model, const std::string& objFileName) {
  const std::filesystem::path objPath(objFileName);
  std::filesystem::path mtlPath = objPath;
  mtlPath.replace_extension(".mtl");

  std::ofstream obj(objPath);
  std::ofstream mtl(mtlPath);
  if (!obj || !mtl) throw std::runtime_error("cannot write " + objFileName);
  obj << "# written by mv3d\nmtllib " << mtlPath.filename().string() << "\n";

  std::size_t index = 0;
  std::size_t base = 1;  // OBJ counts vertices from 1 across the whole file
  for (const TMorvane3DObject* o = model.GetRoot(); o; o = o->next.get(), ++index) {
    writeMaterial(mtl, *o, index);
    const TMorvane3DMatrix m = effectiveMatrix(*o);
    obj << "o " << (o->GetName().empty() ? "object" + std::to_string(index) : o->GetName()) << "\n"
        << "usemtl m" << index << "\n";
    for (std::uint32_t i = 0; i < o->vertexCount; ++i) {
      const auto& v = o->vertices[i];
      const Point p = transform(m, v.x, v.y, v.z, 1);
      const Point n = normalised(transform(m, v.nx, v.ny, v.nz, 0));
      // + 0 keeps a mirrored 0 from printing as -0.
      obj << "v " << p.x << ' ' << p.y << ' ' << -p.z + 0.0f << "\n"
          << "vn " << n.x << ' ' << n.y << ' ' << -n.z + 0.0f << "\n"
          << "vt " << v.tu << ' ' << 1.0f - v.tv << "\n";
    }
    const std::vector<std::uint16_t> triangles = o->DrawableIndices();
    for (std::size_t t = 0; t + 3 <= triangles.size(); t += 3) {
      obj << 'f';
      // Mirroring z turns the winding around; put it back.
      for (int k : {0, 2, 1}) {
        const std::size_t i = base + triangles[t + k];
        obj << ' ' << i << '/' << i << '/' << i;
      }
      obj << "\n";
    }
    base += o->vertexCount;
  }
  obj.flush();
  mtl.flush();
  if (!obj || !mtl) throw std::runtime_error("cannot write " + objFileName);
}

}  // namespace mv3d
