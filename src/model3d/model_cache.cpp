// ModelCache: rebuilds only what a change touched.

#include "model3d/model_cache.h"

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
  walls_.resize(keys.size());
  rebuilt_ = 0;
  mesh_.faces.clear();
  for (size_t i = 0; i < keys.size(); ++i) {
    CachedWall& cached = walls_[i];
    if (cached.mesh.faces.empty() || !(cached.key == keys[i])) {
      cached.key = std::move(keys[i]);
      cached.mesh.faces.clear();
      AddWall(cached.mesh, plan, static_cast<int32_t>(i + 1));
      ++rebuilt_;
    }
    mesh_.Append(cached.mesh);
  }
  AddFloors(mesh_, plan);
  AddFurniture(mesh_, plan);
  return mesh_;
}

}  // namespace casavo::model3d
