// The outlines of the walls a moved corner reaches, refreshed without a pass over the whole plan.
#include "plan/local_refresh.h"

#include <algorithm>

namespace casavo {

LocalRefresh::LocalRefresh(const TCasaPlan& plan)
    : index_(plan), plan_(plan), walls_(plan.WallCount), corners_(plan.CornerCount) {}

bool LocalRefresh::Fits(const TCasaPlan& plan) const {
  return &plan == &plan_ && plan.WallCount == walls_ && plan.CornerCount == corners_;
}

std::vector<int32_t> LocalRefresh::WallsReached(const std::vector<int32_t>& corners) const {
  // A wall's joint at a corner looks at the walls there and at the far ends
  // of those walls (their directions); so a moved corner reaches the walls at
  // the corners one wall away.
  std::vector<int32_t> near;
  for (const int32_t c : corners) {
    near.push_back(c);
    for (const int32_t w : index_.WallsAt(c)) {
      near.push_back(plan_.Walls[w].C1);
      near.push_back(plan_.Walls[w].C2);
    }
  }
  std::sort(near.begin(), near.end());
  near.erase(std::unique(near.begin(), near.end()), near.end());
  std::vector<int32_t> walls;
  for (const int32_t k : near)
    for (const int32_t w : index_.WallsAt(k)) walls.push_back(w);
  std::sort(walls.begin(), walls.end());
  walls.erase(std::unique(walls.begin(), walls.end()), walls.end());
  return walls;
}

std::vector<int32_t> LocalRefresh::CornersMoved(TCasaPlan& plan,
                                                const std::vector<int32_t>& corners) {
  std::vector<int32_t> walls = WallsReached(corners);
  for (const int32_t w : walls) plan.UpdateWallOutline(w, index_);
  if (!plan.ShowRooms) {
    rooms_.reset();
    return walls;
  }
  if (!rooms_) rooms_.emplace(plan);
  rooms_->CornersMoved(corners, walls, index_);
  return walls;
}

}  // namespace casavo
