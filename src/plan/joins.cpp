// TCasaPlan: wall ends and corners joined onto walls they stop inside.

#include <cmath>
#include <optional>

#include "common/numeric.h"
#include "plan/addition_index.h"
#include "plan/casa_plan.h"

namespace casavo {
namespace {

// Closer than this to a centre line, a point is on it: crossing points
// rounded to the millimetre lie up to 0.71 mm off.
constexpr long double kOnTheLine = 1;

struct Body {
  TPoint a, b;
  long double half;
};

Body BodyOf(const TCasaPlan& plan, int32_t w) {
  const TWall& wall = plan.Walls[w];
  return {plan.Corners[wall.C1], plan.Corners[wall.C2], wall.epais / 2.0L};
}

// Distance of p from the body's centre line, and where along it its foot is
// (0 at a, 1 at b).
struct Placement {
  long double across, along;
};

std::optional<Placement> PlacementOf(const Body& body, TPoint p) {
  const long double dx = static_cast<long double>(body.b.x) - body.a.x;
  const long double dy = static_cast<long double>(body.b.y) - body.a.y;
  const long double length2 = dx * dx + dy * dy;
  if (length2 == 0) return std::nullopt;
  const long double px = static_cast<long double>(p.x) - body.a.x;
  const long double py = static_cast<long double>(p.y) - body.a.y;
  return Placement{std::abs(px * dy - py * dx) / std::sqrt(length2), (px * dx + py * dy) / length2};
}

// The foot on the body's centre line of a point p inside the body, off the
// line, but not at an end of it.
std::optional<TPoint> FootOf(const Body& body, TPoint p) {
  if (p == body.a || p == body.b) return std::nullopt;
  // Most walls are far away: a box test first.
  const int64_t reach = static_cast<int64_t>(body.half) + 1;
  if (p.x < int64_t{std::min(body.a.x, body.b.x)} - reach ||
      p.x > int64_t{std::max(body.a.x, body.b.x)} + reach ||
      p.y < int64_t{std::min(body.a.y, body.b.y)} - reach ||
      p.y > int64_t{std::max(body.a.y, body.b.y)} + reach)
    return std::nullopt;
  const auto at = PlacementOf(body, p);
  if (!at || at->along < 0 || at->along > 1 || at->across < kOnTheLine || at->across > body.half)
    return std::nullopt;
  return TPoint{RoundToInt(body.a.x + at->along * (static_cast<long double>(body.b.x) - body.a.x)),
                RoundToInt(body.a.y + at->along * (static_cast<long double>(body.b.y) - body.a.y))};
}

// A wall end at p, of a wall running on to q, arrives at the body (rather
// than lying along it) when q lies outside.
std::optional<TPoint> FootInside(const Body& body, TPoint p, TPoint q) {
  const auto foot = FootOf(body, p);
  if (!foot || PlacementOf(body, q)->across <= body.half) return std::nullopt;
  return foot;
}

}  // namespace

TPoint TCasaPlan::JoinedEnd(TPoint p, TPoint q) const {
  std::optional<TPoint> best;
  long double nearest = 0;
  for (int32_t j = 1; j <= WallCount; ++j) {
    const auto foot = FootInside(BodyOf(*this, j), p, q);
    if (!foot) continue;
    const long double d = std::hypot(static_cast<long double>(foot->x) - p.x,
                                     static_cast<long double>(foot->y) - p.y);
    if (!best || d < nearest) {
      best = foot;
      nearest = d;
    }
  }
  return best ? *best : p;
}

void TCasaPlan::JoinCornerToWalls(int32_t corner) {
  for (int32_t w = 1; w <= WallCount; ++w) {
    const TWall& wall = Walls[w];
    if (wall.C1 != corner && wall.C2 != corner) continue;
    const TPoint other = Corners[wall.C1 == corner ? wall.C2 : wall.C1];
    const TPoint joined = JoinedEnd(Corners[corner], other);
    if (joined != Corners[corner]) {
      MoveCorner(corner, joined);
      return;
    }
  }
}

void TCasaPlan::JoinCornersInside(int32_t w) {
  const Body body = BodyOf(*this, w);
  for (int32_t k = 1; k <= CornerCount; ++k) {
    if (k == Walls[w].C1 || k == Walls[w].C2) continue;
    const auto foot = FootOf(body, Corners[k]);
    if (!foot) continue;
    bool arriving = true;
    for (int32_t i = 1; i <= WallCount && arriving; ++i) {
      const TWall& wall = Walls[i];
      if (i != w && (wall.C1 == k || wall.C2 == k))
        arriving =
            FootInside(body, Corners[k], Corners[wall.C1 == k ? wall.C2 : wall.C1]).has_value();
    }
    if (arriving && !CornerExistsAt(*foot)) MoveCorner(k, *foot);
  }
}

bool TCasaPlan::CornerExistsAt(TPoint p) const {
  if (bulk_.index) return bulk_.index->CornerAt(p) != 0;
  for (int32_t k = 1; k <= CornerCount; ++k)
    if (Corners[k] == p) return true;
  return false;
}

void TCasaPlan::MoveCorner(int32_t k, TPoint to) {
  const TPoint from = Corners[k];
  if (bulk_.journal != nullptr) bulk_.journal->movedCorners.emplace_back(k, from);
  Corners[k] = to;
  if (bulk_.index) bulk_.index->CornerMoved(*this, k, from);
}

}  // namespace casavo
