// NeighboursAt: the walls at a corner nearest in direction to one of them.

#pragma once

#include <algorithm>
#include <cstdint>

#include "plan/casa_plan.h"

namespace casavo {

// Direction in degrees, [0, 360), in which wall w leaves its C2 (atC2) or its
// C1.
inline double Leaving(const TCasaPlan& plan, int32_t w, bool atC2) {
  const TPoint p1 = plan.Corners[plan.Walls[w].C1], p2 = plan.Corners[plan.Walls[w].C2];
  return atC2 ? Angle(p2, p1) : Angle(p1, p2);
}

// A wall at a corner, by which end it stands on it, and the direction in
// which it leaves it.
struct CornerNeighbour {
  int32_t wall = 0;  // 0: none
  bool atC2 = false;
  double angle = 0;
};

// The walls at a corner nearest to a wall's direction turning one way
// (`above`) and the other (`below`), round past 360 degrees when a side has
// none, the first listed on equal directions; and the thickest of the walls
// there.
struct CornerNeighbours {
  CornerNeighbour above, below;
  int32_t thickest = 0;
};

// The neighbours of wall w, which leaves `corner` in direction t0, among the
// walls `candidates` lists in increasing order (those at the corner, or more).
// The choices are kept free of branches on the directions, which no
// predictor learns over a large plan.
template <class Walls>
CornerNeighbours NeighboursAt(const TCasaPlan& plan, const Walls& candidates, int32_t corner,
                              int32_t w, double t0) {
  CornerNeighbour lowest{0, false, 360}, highest{0, false, -1};
  CornerNeighbour above{0, false, 360}, below{0, false, -1};
  int32_t thickest = plan.Walls[w].epais;
  for (const int32_t i : candidates) {
    const TWall& other = plan.Walls[i];
    if (i == w || (other.C1 != corner && other.C2 != corner)) continue;
    thickest = std::max(thickest, other.epais);
    const bool atC2 = other.C2 == corner;
    const CornerNeighbour near{i, atC2, Leaving(plan, i, atC2)};
    const double t = near.angle;
    const auto take = [&near](bool better, CornerNeighbour& best) { best = better ? near : best; };
    take(t < lowest.angle, lowest);
    take(t > highest.angle, highest);
    take(t < above.angle && t > t0, above);
    take(t > below.angle && t < t0, below);
  }
  return {above.wall != 0 ? above : lowest, below.wall != 0 ? below : highest, thickest};
}

}  // namespace casavo
