// AddWallSolid: wall w as a closed solid of the mesh.

#pragma once

#include <vector>

#include "model3d/mesh.h"
#include "model3d/wall_frame.h"

namespace casavo::model3d {

// Wall w as one closed solid: its outline (with the joints' mitres) from the
// floor to height, the holes cut through both faces and their reveals
// (jambs, sills, lintels) closing the solid around them.
void AddWallSolid(Mesh& mesh, const TCasaPlan& plan, int32_t w, const std::vector<Hole>& holes,
                  double height, const Paint& paint);

}  // namespace casavo::model3d
