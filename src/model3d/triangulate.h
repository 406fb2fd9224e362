// Triangulation of a plan polygon (floors, wall faces with holes).

#pragma once

#include <array>
#include <vector>

namespace casavo::model3d {

struct Vec2 {
  double x = 0;
  double y = 0;
};

// The triangles of a simple polygon (either turning order) by ear clipping,
// as index triples into points. Repeated and collinear corners are dropped
// first, so the outlines of walls, whose ends carry a centre point on a
// straight edge, go in as they are.
std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& points);

}  // namespace casavo::model3d
