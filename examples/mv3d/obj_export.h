#pragma once
// A model file written back out as Wavefront OBJ with its materials.
#include <string>

#include "library/3d/Mv3dobj.h"

namespace mv3d {

// Writes objFileName and, beside it, a material library of the same stem
// with one material per object (colours, power, opacity, texture names).
// Each object's local transform is applied to its vertices; coordinates go
// back to right-handed with texture v upwards, undoing the import.
// Triangles whose indices reach past the vertices are left out. Throws
// std::runtime_error when a file cannot be written.
void ExportObj(const Morvane3DSystem::TMorvane3DFile& model, const std::string& objFileName);

}  // namespace mv3d
