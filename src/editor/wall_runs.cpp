// Straight runs of wall pieces, found and moved as one wall.

#include "editor/wall_runs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace casavo {
namespace {

// Rounding to whole millimetres may leave a straight run a hair off its line.
constexpr double kStraightMm = 2.0;

// The piece that goes on straight from `piece` through its corner `at`, or 0.
int32_t StraightOn(const TCasaPlan& plan, int32_t piece, int32_t at) {
  const TWall& wall = plan.Walls[piece];
  const TPoint c = plan.Corners[at];
  const TPoint back = plan.Corners[wall.C1 == at ? wall.C2 : wall.C1];
  const double bx = double(back.x) - c.x, by = double(back.y) - c.y;
  const double backLength = std::hypot(bx, by);
  if (backLength == 0) return 0;
  const TIntList walls = plan.WallsAtCorner(at);
  for (int32_t i = 1; i <= walls.Count; ++i) {
    const int32_t v = walls[i];
    const TWall& next = plan.Walls[v];
    if (v == piece || next.epais != wall.epais) continue;
    const TPoint o = plan.Corners[next.C1 == at ? next.C2 : next.C1];
    const double ox = double(o.x) - c.x, oy = double(o.y) - c.y;
    const bool onLine = std::fabs(ox * by - oy * bx) / backLength <= kStraightMm;
    const bool ahead = ox * bx + oy * by < 0;
    if (onLine && ahead) return v;
  }
  return 0;
}

// Walks from `piece` through `at` as long as the run goes straight on,
// appending the pieces and the corners met.
void Extend(const TCasaPlan& plan, int32_t piece, int32_t at, std::vector<int32_t>& walls,
            std::vector<int32_t>& corners) {
  while (const int32_t next = StraightOn(plan, piece, at)) {
    if (std::find(walls.begin(), walls.end(), next) != walls.end()) break;  // a closed loop
    const TWall& wall = plan.Walls[next];
    at = wall.C1 == at ? wall.C2 : wall.C1;
    walls.push_back(next);
    corners.push_back(at);
    piece = next;
  }
}

}  // namespace

WallRun FindWallRun(const TCasaPlan& plan, int32_t w) {
  const TWall& wall = plan.Walls[w];
  std::vector<int32_t> backWalls, backCorners, aheadWalls{w}, aheadCorners{wall.C1, wall.C2};
  Extend(plan, w, wall.C1, backWalls, backCorners);
  Extend(plan, w, wall.C2, aheadWalls, aheadCorners);
  WallRun run;
  run.walls.assign(backWalls.rbegin(), backWalls.rend());
  run.walls.insert(run.walls.end(), aheadWalls.begin(), aheadWalls.end());
  run.corners.assign(backCorners.rbegin(), backCorners.rend());
  run.corners.insert(run.corners.end(), aheadCorners.begin(), aheadCorners.end());
  return run;
}

}  // namespace casavo
