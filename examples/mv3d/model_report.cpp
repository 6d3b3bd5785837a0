#include "model_report.h"

#include <cstdint>
#include <sstream>

namespace mv3d {

std::string ReportModel(const Morvane3DSystem::TMorvane3DFile& model) {
  std::ostringstream out;
  std::uint64_t objects = 0, vertices = 0, indices = 0, outOfRange = 0;
  for (const auto* o = model.GetRoot(); o; o = o->next.get(), ++objects) {
    const std::uint32_t bad = o->CountOutOfRangeTriangles();
    out << objects << " name=\"" << o->GetName() << "\" vertices=" << o->vertexCount
        << " indices=" << o->indexCount << " envmap=" << int(o->GetEnvironmentMap())
        << " flat=" << int(o->GetFlatShade()) << " alpha=" << int(o->GetAlphaBlend())
        << " multi=" << int(o->GetMultiTexture()) << " texture0=\"" << o->GetTextureName(0)
        << "\" texture1=\"" << o->GetTextureName(1) << "\" out-of-range=" << bad << "\n";
    vertices += o->vertexCount;
    indices += o->indexCount;
    outOfRange += bad;
  }
  out << "total objects=" << objects << " vertices=" << vertices << " indices=" << indices
      << " out-of-range=" << outOfRange << "\n";
  return out.str();
}

}  // namespace mv3d
