// What fills an opening's hole in 3D.

#pragma once

#include "model3d/mesh.h"
#include "model3d/wall_frame.h"

namespace casavo::model3d {

// What fills opening n's hole: a frame around it, glass in a window, and a
// door's leaves standing open at a right angle on the side it swings to.
void AddOpeningParts(Mesh& mesh, const TCasaPlan& plan, int32_t n, const Hole& hole);

}  // namespace casavo::model3d
