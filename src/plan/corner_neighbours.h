// NeighboursAt: the walls at a corner nearest in direction to one of them.

#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo {

class CornerWallIndex;

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

// The search for one wall's neighbours, fed the other walls at its corner in
// increasing order. The choices are kept free of branches on the directions,
// which no predictor learns over a large plan.
class NeighbourSearch {
 public:
  NeighbourSearch(int32_t w, double t0, int32_t thickness) : w_(w), t0_(t0), thickest_(thickness) {}

  void Consider(const CornerNeighbour& near, int32_t thickness) {
    if (near.wall == w_) return;
    thickest_ = std::max(thickest_, thickness);
    const double t = near.angle;
    const auto take = [&near](bool better, CornerNeighbour& best) { best = better ? near : best; };
    take(t < lowest_.angle, lowest_);
    take(t > highest_.angle, highest_);
    take(t < above_.angle && t > t0_, above_);
    take(t > below_.angle && t < t0_, below_);
  }

  CornerNeighbours Result() const {
    return {above_.wall != 0 ? above_ : lowest_, below_.wall != 0 ? below_ : highest_, thickest_};
  }

 private:
  int32_t w_;
  double t0_;
  int32_t thickest_;
  CornerNeighbour lowest_{0, false, 360}, highest_{0, false, -1};
  CornerNeighbour above_{0, false, 360}, below_{0, false, -1};
};

// The neighbours of wall w, which leaves `corner` in direction t0, among the
// walls `candidates` lists in increasing order (those at the corner, or more).
template <class Walls>
CornerNeighbours NeighboursAt(const TCasaPlan& plan, const Walls& candidates, int32_t corner,
                              int32_t w, double t0) {
  NeighbourSearch search(w, t0, plan.Walls[w].epais);
  for (const int32_t i : candidates) {
    const TWall& other = plan.Walls[i];
    if (i == w || (other.C1 != corner && other.C2 != corner)) continue;
    const bool atC2 = other.C2 == corner;
    search.Consider({i, atC2, Leaving(plan, i, atC2)}, other.epais);
  }
  return search.Result();
}

// The neighbours of every wall end, at 2w (its C1) and 2w + 1 (its C2), the
// same as NeighboursAt over the index gives, found corner by corner: each
// wall's record and directions are read once for each of its ends, not once
// for every wall end at the same corner.
std::vector<CornerNeighbours> NeighboursOfEveryEnd(const TCasaPlan& plan,
                                                   const CornerWallIndex& index);

}  // namespace casavo
