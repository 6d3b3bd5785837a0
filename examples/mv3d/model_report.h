#pragma once
// The text of mv3d info: one line per object of the chain, then the totals.
#include <string>

#include "library/3d/Mv3dobj.h"

namespace mv3d {

std::string ReportModel(const Morvane3DSystem::TMorvane3DFile& model);

}  // namespace mv3d
