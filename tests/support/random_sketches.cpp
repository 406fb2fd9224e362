// Random wall sketches for the model tests.

#include "support/random_sketches.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <random>

namespace casavo::gen {
namespace {

constexpr int32_t kGrid = 500;
constexpr int32_t kShortestWall = 100;

int64_t Cross(TPoint o, TPoint a, TPoint b) {
  return (int64_t{a.x} - o.x) * (int64_t{b.y} - o.y) - (int64_t{a.y} - o.y) * (int64_t{b.x} - o.x);
}

int64_t Dot(TPoint o, TPoint a, TPoint b) {
  return (int64_t{a.x} - o.x) * (int64_t{b.x} - o.x) + (int64_t{a.y} - o.y) * (int64_t{b.y} - o.y);
}

double Length(TPoint a, TPoint b) {
  return std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
}

}  // namespace

std::vector<Segment> RandomSketch(uint64_t seed) {
  std::mt19937_64 random(seed);
  const auto between = [&random](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(random);
  };
  static constexpr int32_t kThicknesses[] = {100, 120, 200, 250};
  constexpr int32_t kLines = 24;
  const int32_t count = between(6, 40);
  const bool traces = between(1, 3) == 1;
  // One wall at most on each grid line, so that only the traced walls lie
  // along another.
  std::vector<bool> rowUsed(kLines + 1, false), columnUsed(kLines + 1, false);
  const auto coordinate = [](int32_t line) { return 5000 + line * kGrid; };
  std::vector<Segment> walls;
  for (int32_t n = 0; n < count; ++n) {
    const int32_t epais = kThicknesses[between(0, 3)];
    const int32_t kind = between(0, 9);
    const int32_t line = between(0, kLines);
    int32_t lo = between(0, kLines - 1), hi = between(0, kLines - 1);
    if (hi < lo) std::swap(lo, hi);
    ++hi;
    Segment s;
    if (kind < 4) {
      if (rowUsed[static_cast<size_t>(line)]) continue;
      rowUsed[static_cast<size_t>(line)] = true;
      s = {{coordinate(lo), coordinate(line)}, {coordinate(hi), coordinate(line)}, epais};
    } else if (kind < 8) {
      if (columnUsed[static_cast<size_t>(line)]) continue;
      columnUsed[static_cast<size_t>(line)] = true;
      s = {{coordinate(line), coordinate(lo)}, {coordinate(line), coordinate(hi)}, epais};
    } else {
      s = {{coordinate(lo), coordinate(line)},
           {coordinate(hi), coordinate(std::clamp(line + between(-8, 8), 0, kLines))},
           epais};
    }
    if (between(0, 1) == 0) std::swap(s.from, s.to);
    walls.push_back(s);
    if (traces && walls.size() > 1 && between(1, 6) == 1) {
      // Part of an earlier axis-aligned wall traced again, in either direction.
      const Segment under =
          walls[static_cast<size_t>(between(0, static_cast<int32_t>(walls.size()) - 2))];
      if (under.from.x == under.to.x || under.from.y == under.to.y) {
        const double a = between(0, 4) / 8.0, b = between(5, 8) / 8.0;
        const auto at = [&under](double t) {
          return TPoint{
              static_cast<int32_t>(std::lround(under.from.x + t * (under.to.x - under.from.x))),
              static_cast<int32_t>(std::lround(under.from.y + t * (under.to.y - under.from.y)))};
        };
        walls.push_back({at(b), at(a), kThicknesses[between(0, 3)]});
      }
    }
  }
  return walls;
}

void DrawSketch(TCasaPlan& plan, const std::vector<Segment>& walls) {
  plan.Clear();
  plan.ShowRooms = true;
  TCasaPlan::BulkAdding adding(plan);
  for (const Segment& s : walls) {
    try {
      plan.AddWallOfThickness(s.from, s.to, s.epais);
    } catch (const std::exception&) {
      // Refused, as the reader does.
    }
  }
  try {
    plan.JoinPokingEndsEverywhere();
  } catch (const std::exception&) {
    // Left as drawn, as the reader does.
  }
  plan.RefreshGeometry();
}

void CleanUpEveryWall(TCasaPlan& plan) {
  try {
    for (int32_t w = 1; w <= plan.WallCount; ++w) plan.CleanUpAfterWallMove(w);
  } catch (const std::exception&) {
  }
  plan.RefreshGeometry();
}

SketchFaults FaultsOf(const TCasaPlan& plan) {
  SketchFaults faults;
  const auto ends = [&plan](int32_t w) {
    return std::pair{plan.Corners[plan.Walls[w].C1], plan.Corners[plan.Walls[w].C2]};
  };
  for (int32_t a = 1; a <= plan.WallCount; ++a) {
    const auto [a1, a2] = ends(a);
    if (Length(a1, a2) < kShortestWall) faults.shortPiece = true;
    for (int32_t b = 1; b <= plan.WallCount; ++b) {
      if (a == b) continue;
      const auto [b1, b2] = ends(b);
      const double lengthB = Length(b1, b2);
      if (lengthB == 0) continue;
      const bool collinear = Cross(b1, b2, a1) == 0 && Cross(b1, b2, a2) == 0;
      if (collinear) {
        // Overlap: the stretch common to both has a length.
        const double t1 = Dot(b1, b2, a1) / (lengthB * lengthB);
        const double t2 = Dot(b1, b2, a2) / (lengthB * lengthB);
        const double lo = std::max(0.0, std::min(t1, t2)), hi = std::min(1.0, std::max(t1, t2));
        if ((hi - lo) * lengthB > 0.5) faults.overlap = true;
        // End to end in a line, with another thickness.
        const bool shared = a1 == b1 || a1 == b2 || a2 == b1 || a2 == b2;
        if (shared && plan.Walls[a].epais != plan.Walls[b].epais) faults.thicknessStep = true;
      }
      for (const TPoint p : {a1, a2}) {
        if (p == b1 || p == b2) continue;
        const double t = Dot(b1, b2, p) / (lengthB * lengthB);
        const double d = std::abs(static_cast<double>(Cross(b1, b2, p))) / lengthB;
        if (t >= 0 && t <= 1 && d > 0 && d <= plan.Walls[b].epais / 2) faults.nearMiss = true;
      }
    }
    // A joint point farther from its corner than twice the thickest wall
    // there: a sharp or nearly straight corner.
    const TWall& wa = plan.Walls[a];
    const auto thickest = [&plan](int32_t corner) {
      int32_t t = 0;
      for (int32_t b = 1; b <= plan.WallCount; ++b)
        if (plan.Walls[b].C1 == corner || plan.Walls[b].C2 == corner)
          t = std::max(t, plan.Walls[b].epais);
      return 2.0 * t;
    };
    const auto& shape = wa.Shape;
    const double at1 = thickest(wa.C1), at2 = thickest(wa.C2);
    if (Length(shape[0], shape[1]) > at1 || Length(shape[0], shape[5]) > at1 ||
        Length(shape[3], shape[2]) > at2 || Length(shape[3], shape[4]) > at2)
      faults.sharpCorner = true;
  }
  // A room none of whose points (on a 16 x 16 grid over it) is free of walls.
  const auto inWall = [&](double x, double y) {
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      const auto [a, b] = ends(w);
      const double length = Length(a, b);
      if (length == 0) continue;
      const double ux = (b.x - a.x) / length, uy = (b.y - a.y) / length;
      const double t = (x - a.x) * ux + (y - a.y) * uy;
      const double d = std::abs((x - a.x) * uy - (y - a.y) * ux);
      if (t > 0 && t < length && d < plan.Walls[w].epais / 2.0) return true;
    }
    return false;
  };
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TIntList& border = plan.Rooms[r].Border;
    const TPoint c = plan.Rooms[r].Centre;
    if (!inWall(c.x, c.y)) continue;
    double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
    for (int32_t i = 1; i <= border.Count; ++i) {
      const TPoint p = plan.Outline[border[i]];
      left = std::min<double>(left, p.x), right = std::max<double>(right, p.x);
      top = std::min<double>(top, p.y), bottom = std::max<double>(bottom, p.y);
    }
    bool free = false;
    for (int i = 0; i < 16 && !free; ++i) {
      for (int j = 0; j < 16 && !free; ++j) {
        const double x = left + (right - left) * (i + 0.5) / 16;
        const double y = top + (bottom - top) * (j + 0.5) / 16;
        bool inside = false;  // even-odd rule over the room's border
        for (int32_t k = 1; k < border.Count; ++k) {
          const TPoint p = plan.Outline[border[k]], q = plan.Outline[border[k + 1]];
          if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y))
            inside = !inside;
        }
        free = inside && !inWall(x, y);
      }
    }
    if (!free) faults.phantomRoom = true;
  }
  return faults;
}

}  // namespace casavo::gen
