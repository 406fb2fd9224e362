// ModelCache: the 3D model kept from one change to the next.

#pragma once

#include <array>
#include <vector>

#include "model3d/mesh.h"
#include "plan/casa_plan.h"

namespace casavo::model3d {

// The 3D model kept from one change to the next: a change rebuilds only the
// walls (with their openings) whose outline, openings or height it touched;
// floors and furniture, which are few, are rebuilt every time. Gives the
// same faces as Build3D.
class ModelCache {
 public:
  const Mesh& Update(const TCasaPlan& plan);
  // How many walls the last Update rebuilt.
  int32_t WallsRebuilt() const { return rebuilt_; }

 private:
  // All a wall's solid and its openings' parts are made from.
  struct WallKey {
    std::array<TPoint, 6> shape{};
    TPoint c1, c2;
    int32_t height = 0;
    std::vector<std::array<int32_t, 5>> openings;  // index, dcoin1, large, sorte, cote
    bool operator==(const WallKey&) const = default;
  };
  struct CachedWall {
    WallKey key;
    Mesh mesh;
    size_t offset = 0;  // where its faces lie in mesh_
  };

  // Lays every wall's faces out in mesh_ again, in wall order.
  void PutAllWalls();

  std::vector<CachedWall> walls_;
  Mesh mesh_;
  size_t wallFaces_ = 0;  // the walls' faces, at the start of mesh_
  int32_t rebuilt_ = 0;
};

}  // namespace casavo::model3d
