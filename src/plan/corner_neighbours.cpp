// NeighboursOfEveryEnd: the joint rule's neighbours, corner by corner.

#include "plan/corner_neighbours.h"

#include "plan/corner_index.h"

namespace casavo {

std::vector<CornerNeighbours> NeighboursOfEveryEnd(const TCasaPlan& plan,
                                                   const CornerWallIndex& index) {
  std::vector<CornerNeighbours> table(2 * (static_cast<size_t>(plan.WallCount) + 1));
  struct Listed {
    CornerNeighbour wall;
    int32_t thickness;
  };
  std::vector<Listed> listed;
  for (int32_t k = 1; k <= plan.CornerCount; ++k) {
    listed.clear();
    for (const int32_t i : index.WallsAt(k)) {
      const bool atC2 = plan.Walls[i].C2 == k;
      listed.push_back({{i, atC2, Leaving(plan, i, atC2)}, plan.Walls[i].epais});
    }
    for (size_t m = 0; m < listed.size(); ++m) {
      const int32_t w = listed[m].wall.wall;
      // A wall with both ends on the corner is listed twice in a row: its C1
      // first, then its C2.
      const bool atC2 = (m > 0 && listed[m - 1].wall.wall == w) || plan.Walls[w].C1 != k;
      const double t0 = atC2 == listed[m].wall.atC2 ? listed[m].wall.angle : Leaving(plan, w, atC2);
      NeighbourSearch search(w, t0, listed[m].thickness);
      for (const Listed& other : listed) search.Consider(other.wall, other.thickness);
      table[2 * static_cast<size_t>(w) + (atC2 ? 1 : 0)] = search.Result();
    }
  }
  return table;
}

}  // namespace casavo
