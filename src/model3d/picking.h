// Ray picking of the mesh and the walls a walker bumps into.

#pragma once

#include <optional>
#include <vector>

#include "model3d/mesh.h"

namespace casavo::model3d {

// The nearest face a ray from origin along direction meets, and how far along.
struct Hit {
  const Face* face = nullptr;
  double distance = 0;
};
std::optional<Hit> Pick(const Mesh& mesh, Vec3 origin, Vec3 direction);

// The walls a walker meets: the wall faces cut at one height above the floor
// (a knee's), so that doorways let the walker through and window breasts do
// not. Positions are plan millimetres.
class WalkObstacles {
 public:
  WalkObstacles(const Mesh& mesh, double height);

  // Whether a walker of the given radius stepping from one point to the
  // other would touch a wall.
  bool Blocked(Vec3 from, Vec3 to, double radius) const;

 private:
  struct Segment {
    Vec3 a, b;
  };
  std::vector<Segment> segments_;
};

}  // namespace casavo::model3d
