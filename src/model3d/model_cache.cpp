// ModelCache: rebuilds only what a change touched.

#include "model3d/model_cache.h"

#include <algorithm>
#include <cstddef>

#include "model3d/model3d.h"

namespace casavo::model3d {

const Mesh& ModelCache::Update(const TCasaPlan& plan) {
  std::vector<WallKey> keys(static_cast<size_t>(plan.WallCount));
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    WallKey& key = keys[static_cast<size_t>(w - 1)];
    const TWall& wall = plan.Walls[w];
    key.shape = wall.Shape;
    key.c1 = plan.Corners[wall.C1];
    key.c2 = plan.Corners[wall.C2];
    key.height = plan.WallHeight;
  }
  for (int32_t n = 1; n <= plan.OpeningCount; ++n) {
    const TOpening& o = plan.Openings[n];
    if (o.imur >= 1 && o.imur <= plan.WallCount)
      keys[static_cast<size_t>(o.imur - 1)].openings.push_back(
          {n, o.dcoin1, o.large, o.sorte, o.cote});
  }
  // A wall rebuilt with as many faces as before takes their place in the
  // model: the rest of it is not copied again, which at thousands of walls is
  // more than the cache holds.
  bool inPlace = walls_.size() == keys.size();
  walls_.resize(keys.size());
  rebuilt_ = 0;
  std::vector<size_t> changed;
  for (size_t i = 0; i < keys.size(); ++i) {
    CachedWall& cached = walls_[i];
    if (cached.mesh.faces.empty() || !(cached.key == keys[i])) {
      const size_t before = cached.mesh.faces.size();
      cached.key = std::move(keys[i]);
      cached.mesh.faces.clear();
      AddWall(cached.mesh, plan, static_cast<int32_t>(i + 1));
      ++rebuilt_;
      inPlace = inPlace && cached.mesh.faces.size() == before;
      changed.push_back(i);
    }
  }
  if (inPlace) {
    mesh_.faces.resize(wallFaces_);
    for (const size_t i : changed)
      std::copy(walls_[i].mesh.faces.begin(), walls_[i].mesh.faces.end(),
                mesh_.faces.begin() + static_cast<std::ptrdiff_t>(walls_[i].offset));
  } else {
    PutAllWalls();
  }
  AddFloors(mesh_, plan);
  AddFurniture(mesh_, plan);
  return mesh_;
}

void ModelCache::PutAllWalls() {
  mesh_.faces.clear();
  for (CachedWall& cached : walls_) {
    cached.offset = mesh_.faces.size();
    mesh_.Append(cached.mesh);
  }
  wallFaces_ = mesh_.faces.size();
}

}  // namespace casavo::model3d
