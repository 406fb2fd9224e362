// TCasaPlan: wall ends and corners joined onto walls they stop inside.

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "common/numeric.h"
#include "plan/addition_index.h"
#include "plan/casa_plan.h"
#include "plan/corner_index.h"
#include "plan/point_grid.h"

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

std::optional<Placement> PlacementOf(const Body& body, long double x, long double y) {
  const long double dx = static_cast<long double>(body.b.x) - body.a.x;
  const long double dy = static_cast<long double>(body.b.y) - body.a.y;
  const long double length2 = dx * dx + dy * dy;
  if (length2 == 0) return std::nullopt;
  const long double px = x - body.a.x;
  const long double py = y - body.a.y;
  return Placement{std::abs(px * dy - py * dx) / std::sqrt(length2), (px * dx + py * dy) / length2};
}

std::optional<Placement> PlacementOf(const Body& body, TPoint p) {
  return PlacementOf(body, p.x, p.y);
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

// A wall shorter than this goes in the clean-up.
constexpr long double kShortestKept = 100;

// The foot on the centre line, or the body's end when the foot lies closer
// to it than the shortest wall the clean-up keeps, so that the cut leaves no
// such remnant.
TPoint FootOrNearEnd(const Body& body, TPoint foot) {
  const auto from = [&foot](TPoint end) {
    return std::hypot(static_cast<long double>(foot.x) - end.x,
                      static_cast<long double>(foot.y) - end.y);
  };
  const long double toA = from(body.a), toB = from(body.b);
  if (std::min(toA, toB) >= kShortestKept) return foot;
  return toA <= toB ? body.a : body.b;
}

// Where a wall end arriving at the body joins it: FootOrNearEnd.
std::optional<TPoint> JoinPointOf(const Body& body, TPoint p, TPoint q) {
  auto foot = FootInside(body, p, q);
  if (!foot) {
    // An end on the centre line is cut there, unless that is near an end.
    const auto at = PlacementOf(body, p);
    if (!at || p == body.a || p == body.b || at->across >= kOnTheLine || at->along <= 0 ||
        at->along >= 1 || PlacementOf(body, q)->across <= body.half)
      return std::nullopt;
    foot = p;
  }
  const TPoint at = FootOrNearEnd(body, *foot);
  return at == p ? std::nullopt : std::optional<TPoint>(at);
}

// The point `along` the body's centre line (0 at a, 1 at b), unless a cut
// there would leave a piece shorter than the clean-up keeps.
std::optional<TPoint> FootAwayFromEnds(const Body& body, long double along) {
  const long double dx = static_cast<long double>(body.b.x) - body.a.x;
  const long double dy = static_cast<long double>(body.b.y) - body.a.y;
  const TPoint foot{RoundToInt(body.a.x + along * dx), RoundToInt(body.a.y + along * dy)};
  const auto from = [&foot](TPoint end) {
    return std::hypot(static_cast<long double>(foot.x) - end.x,
                      static_cast<long double>(foot.y) - end.y);
  };
  if (std::min(from(body.a), from(body.b)) < kShortestKept) return std::nullopt;
  return foot;
}

// Where a free wall end at p, of a wall of thickness epais running on from
// q, pokes into the body ahead of it: one corner of its end face lies inside
// the body, the other and p itself outside (a wall stopping just short of a
// slanted one). The end joins the body at its foot on the centre line, as
// an end inside the body does; not near the body's ends, where the cut
// would leave a remnant the clean-up deletes.
std::optional<TPoint> PokePoint(const Body& body, TPoint p, TPoint q, int32_t epais) {
  const auto atP = PlacementOf(body, p);
  if (!atP || (atP->along >= 0 && atP->along <= 1 && atP->across <= body.half)) return std::nullopt;
  const long double dx = static_cast<long double>(p.x) - q.x;
  const long double dy = static_cast<long double>(p.y) - q.y;
  const long double length = std::hypot(dx, dy);
  if (length == 0) return std::nullopt;
  const long double half = epais / 2.0L, nx = -dy / length * half, ny = dx / length * half;
  int inside = 0;
  for (const int side : {1, -1}) {
    const auto at = PlacementOf(body, p.x + side * nx, p.y + side * ny);
    if (at->along > 0 && at->along < 1 && at->across < body.half) ++inside;
  }
  if (inside != 1) return std::nullopt;
  const long double bx = static_cast<long double>(body.b.x) - body.a.x;
  const long double by = static_cast<long double>(body.b.y) - body.a.y;
  const long double turn = dx * by - dy * bx;
  if (turn == 0) return std::nullopt;
  // Ahead: the wall's centre line, carried on past p, meets the body's.
  if (((body.a.x - p.x) * by - (body.a.y - p.y) * bx) / turn <= 0) return std::nullopt;
  if (atP->along <= 0 || atP->along >= 1) return std::nullopt;
  return FootAwayFromEnds(body, atP->along);
}

// Where corner k, outside the body, reaches into it with a point of its
// joint (a sharp corner's mitre tip): the foot of k on the centre line. The
// tip's paint closes the rooms beside it apart, as a poking end's does, and
// the corner joins the body the same way, at its end when the foot lies
// near it (FootOrNearEnd).
std::optional<TPoint> TipPokePoint(const Body& body, TPoint k, const std::array<TPoint, 4>& joint) {
  const auto atK = PlacementOf(body, k);
  if (!atK || atK->along <= 0 || atK->along >= 1 || atK->across <= body.half) return std::nullopt;
  if (std::none_of(joint.begin(), joint.end(), [&body](TPoint p) {
        const auto at = PlacementOf(body, p);
        return at->along > 0 && at->along < 1 && at->across < body.half;
      }))
    return std::nullopt;
  const long double dx = static_cast<long double>(body.b.x) - body.a.x;
  const long double dy = static_cast<long double>(body.b.y) - body.a.y;
  return FootOrNearEnd(
      body, {RoundToInt(body.a.x + atK->along * dx), RoundToInt(body.a.y + atK->along * dy)});
}

// Whether corners `from` and `to` are linked wall by wall through shared
// corners, leaving wall `without` out.
bool Linked(const TCasaPlan& plan, int32_t from, int32_t to, int32_t without) {
  std::vector<int32_t> parent(static_cast<size_t>(plan.CornerCount) + 1);
  for (size_t k = 0; k < parent.size(); ++k) parent[k] = static_cast<int32_t>(k);
  const auto root = [&parent](int32_t k) {
    while (parent[static_cast<size_t>(k)] != k) {
      const int32_t up = parent[static_cast<size_t>(parent[static_cast<size_t>(k)])];
      parent[static_cast<size_t>(k)] = up;
      k = up;
    }
    return k;
  };
  for (int32_t w = 1; w <= plan.WallCount; ++w)
    if (w != without) parent[static_cast<size_t>(root(plan.Walls[w].C1))] = root(plan.Walls[w].C2);
  return root(from) == root(to);
}

}  // namespace

TPoint TCasaPlan::JoinedEnd(TPoint p, TPoint q) const {
  std::optional<TPoint> best;
  long double nearest = 0;
  std::optional<std::vector<int32_t>> near;
  if (bulk_.index) near = bulk_.index->WallsNear(p, bulk_.index->HalfThickest() + 1, WallCount);
  const auto examine = [&](int32_t j) {
    const auto foot = JoinPointOf(BodyOf(*this, j), p, q);
    if (!foot) return;
    const long double d = std::hypot(static_cast<long double>(foot->x) - p.x,
                                     static_cast<long double>(foot->y) - p.y);
    if (!best || d < nearest) {
      best = foot;
      nearest = d;
    }
  };
  // The index gives, in the same order, the walls whose body may hold p.
  if (near) {
    for (const int32_t j : *near) examine(j);
    return best ? *best : p;
  }
  for (int32_t j = 1; j <= WallCount; ++j) examine(j);
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

// Above the complexity bound; listed in docs/HACKING.md as the next to split.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
std::vector<int32_t> TCasaPlan::JoinCornersInside(int32_t w) {
  const Body body = BodyOf(*this, w);
  std::vector<int32_t> moved;
  const auto join = [&](int32_t k) {
    if (k == Walls[w].C1 || k == Walls[w].C2) return;
    const auto foot = FootOf(body, Corners[k]);
    if (!foot) return;
    // The walls at corner k: with the index, those whose cells hold it.
    std::optional<std::vector<int32_t>> atCorner;
    if (bulk_.index) atCorner = bulk_.index->WallsNear(Corners[k], 0, WallCount);
    bool arriving = true;
    const auto check = [&](int32_t i) {
      const TWall& wall = Walls[i];
      if (arriving && i != w && (wall.C1 == k || wall.C2 == k)) {
        // A wall from one of w's ends with its other end in w's body lies
        // along w: joined, the two share that stretch exactly.
        const int32_t far = wall.C1 == k ? wall.C2 : wall.C1;
        arriving = far == Walls[w].C1 || far == Walls[w].C2 ||
                   FootInside(body, Corners[k], Corners[far]).has_value();
      }
    };
    if (atCorner) {
      for (const int32_t i : *atCorner) check(i);
    } else {
      for (int32_t i = 1; i <= WallCount; ++i) check(i);
    }
    if (arriving && !CornerExistsAt(*foot)) {
      MoveCorner(k, *foot);
      moved.push_back(k);
    }
  };
  if (!bulk_.index) {
    for (int32_t k = 1; k <= CornerCount; ++k) join(k);
    return moved;
  }
  // Only corners near the wall can lie in its body; a move only shifts a
  // corner along the way to the centre line, so the list stays good.
  for (const int32_t k : bulk_.index->CornersNear(*this, w, static_cast<int64_t>(body.half) + 1))
    if (k <= CornerCount) join(k);
  return moved;
}

// The room walk goes round a free end, so a wall stopping short of another
// whose body its end face reaches into leaves the rooms on its two sides as
// one, though its paint closes them apart. Joined, the end separates them.
// Where the walls are not linked through others, the join closes no loop
// and changes no room: the end stays as drawn, unless the wall is free at
// both ends and either its other end pokes into a wall linked to the first
// or the first lies on a loop.
std::vector<int32_t> TCasaPlan::JoinPokingEnds(int32_t w) {
  const CornerWallIndex ends(*this);  // corners move below, walls stay on them
  std::vector<int32_t> moved;
  const auto move = [&](int32_t k, TPoint to) {
    MoveCorner(k, to);
    moved.push_back(k);
  };
  // Wall a's end at corner k into wall b, when it pokes into it.
  const auto join = [&](int32_t a, int32_t k, int32_t b) {
    const auto x = PokeInto(a, k, b);
    if (!x) return false;
    const int32_t other = Walls[a].C1 == k ? Walls[a].C2 : Walls[a].C1;
    if (Linked(*this, other, Walls[b].C1, a)) {
      move(k, *x);
      return true;
    }
    if (ends.EndCount(other) != 1) return false;
    if (const auto y = BridgeEnd(a, k, b, *x)) {
      move(k, *x);
      move(other, *y);
      return true;
    }
    // A stub poking into a wall on a loop juts into the room there, whose
    // paint goes round it; the walk leaves a stub standing free out.
    if (!Linked(*this, Walls[b].C1, Walls[b].C2, b)) return false;
    move(k, *x);
    return true;
  };
  const auto freeEnds = [&](int32_t a, const auto& each) {
    if (ends.EndCount(Walls[a].C1) == 1) each(Walls[a].C1);
    if (ends.EndCount(Walls[a].C2) == 1) each(Walls[a].C2);
  };
  // Wall a's end at corner k onto the end of wall b (of any wall for 0),
  // when it stops beside it.
  const auto meet = [&](int32_t a, int32_t k, int32_t b) {
    if (const auto c = b == 0 ? CornerBesideAny(a, k) : CornerBeside(a, k, b)) move(k, Corners[*c]);
  };
  freeEnds(w, [&](int32_t k) {
    for (int32_t b = 1; b <= WallCount; ++b)
      if (join(w, k, b)) return;  // never into w itself
    meet(w, k, 0);
  });
  for (int32_t a = 1; a <= WallCount; ++a)
    if (a != w)
      freeEnds(a, [&](int32_t k) {
        if (!join(a, k, w)) meet(a, k, w);
      });
  return moved;
}

// Where two walls meet at a sharp angle, the joint's mitre tip can reach into
// a wall the corner is not joined to: its paint closes the rooms beside it
// apart, but no loop of wall faces does. Where that closes a loop, the
// corner joins the wall, as a poking end does.
std::vector<int32_t> TCasaPlan::JoinPokingTips(int32_t w) {
  const CornerWallIndex ends(*this);  // corners move below, walls stay on them
  std::vector<int32_t> moved;
  const auto join = [&](int32_t k, int32_t b) {
    const auto x = TipInto(k, b, ends);
    if (!x || !Linked(*this, k, Walls[b].C1, 0)) return false;
    MoveCorner(k, *x);
    moved.push_back(k);
    return true;
  };
  for (const int32_t k : {Walls[w].C1, Walls[w].C2})
    for (int32_t b = 1; b <= WallCount; ++b)
      if (join(k, b)) break;
  for (int32_t a = 1; a <= WallCount; ++a)
    if (a != w)
      for (const int32_t k : {Walls[a].C1, Walls[a].C2}) join(k, w);
  return moved;
}

// Crossing points of slanted walls, rounded to the millimetre one by one, can
// leave two junctions a millimetre or two apart whose paint is one: the walk
// goes round each, and the room between is lost. The end takes the other
// corner, and the merge of coincident corners makes one junction.
std::vector<int32_t> TCasaPlan::JoinCoincidentEnds(int32_t w) {
  std::vector<int32_t> moved;
  for (const int32_t k : {Walls[w].C1, Walls[w].C2}) {
    for (int32_t b = 1; b <= WallCount; ++b) {
      const auto beside = [&](int32_t c) {
        return c != Walls[w].C1 && c != Walls[w].C2 && Corners[c] != Corners[k] &&
               Coincide(Corners[c], Corners[k]);
      };
      const int32_t c = beside(Walls[b].C1) ? Walls[b].C1 : beside(Walls[b].C2) ? Walls[b].C2 : 0;
      if (c == 0) continue;
      MoveCorner(k, Corners[c]);
      moved.push_back(k);
      break;
    }
  }
  return moved;
}

std::optional<TPoint> TCasaPlan::PokeInto(int32_t a, int32_t k, int32_t b) const {
  const TWall& wa = Walls[a];
  const TWall& wb = Walls[b];
  if (b == a || wb.C1 == wa.C1 || wb.C1 == wa.C2 || wb.C2 == wa.C1 || wb.C2 == wa.C2)
    return std::nullopt;
  const int32_t other = wa.C1 == k ? wa.C2 : wa.C1;
  const auto x = PokePoint(BodyOf(*this, b), Corners[k], Corners[other], wa.epais);
  if (!x || CornerExistsAt(*x)) return std::nullopt;
  return x;
}

std::optional<TPoint> TCasaPlan::TipInto(int32_t k, int32_t b, const CornerWallIndex& ends) {
  const auto walls = ends.WallsAt(k);
  if (walls.size() != 2 || Walls[b].C1 == k || Walls[b].C2 == k) return std::nullopt;
  const Body body = BodyOf(*this, b);
  // A joint point lies at most twice the thicker wall's thickness from k.
  const auto at = PlacementOf(body, Corners[k]);
  const int32_t thickest = std::max(Walls[walls[0]].epais, Walls[walls[1]].epais);
  if (!at || at->along <= 0 || at->along >= 1 || at->across > body.half + 2.0L * thickest)
    return std::nullopt;
  std::array<TPoint, 4> joint{};
  for (size_t i = 0; i < 2; ++i) {
    const int32_t w = walls[i];
    const bool atC1 = Walls[w].C1 == k;
    const TPoint far = Corners[atC1 ? Walls[w].C2 : Walls[w].C1];
    if (body.a == far || body.b == far) return std::nullopt;
    UpdateWallOutline(w, ends);  // corners may have moved since the last refresh
    joint[2 * i] = Outline[4 * w + (atC1 ? 1 : 2)];
    joint[2 * i + 1] = Outline[4 * w + (atC1 ? 4 : 3)];
  }
  const auto x = TipPokePoint(body, Corners[k], joint);
  if (!x || (*x != body.a && *x != body.b && CornerExistsAt(*x))) return std::nullopt;
  return x;
}

// A wall free at both ends bridges two linked walls when its other end pokes
// into the second: its paint closes a room there, and joined at both ends,
// so does the walk.
std::optional<TPoint> TCasaPlan::BridgeEnd(int32_t a, int32_t k, int32_t b, TPoint x) const {
  const int32_t other = Walls[a].C1 == k ? Walls[a].C2 : Walls[a].C1;
  for (int32_t c = 1; c <= WallCount; ++c) {
    if (c == b) continue;
    const auto y = PokeInto(a, other, c);
    if (y && *y != x && Linked(*this, Walls[b].C1, Walls[c].C1, a)) return y;
  }
  return std::nullopt;
}

// A free end stopping a few millimetres short of another wall's end, closer
// than half of either thickness, leaves no gap in the paint; the walk goes
// round it all the same. Where the two walls are linked through others,
// the end takes the other's corner, and the merge of coincident corners
// makes the junction.
std::optional<int32_t> TCasaPlan::CornerBeside(int32_t a, int32_t k, int32_t b) const {
  const TWall& wa = Walls[a];
  const TWall& wb = Walls[b];
  const int32_t other = wa.C1 == k ? wa.C2 : wa.C1;
  const long double reach = std::min(wa.epais, wb.epais) / 2.0L;
  for (const int32_t c : {wb.C1, wb.C2}) {
    if (c == wa.C1 || c == wa.C2) continue;
    const long double d = std::hypot(static_cast<long double>(Corners[c].x) - Corners[k].x,
                                     static_cast<long double>(Corners[c].y) - Corners[k].y);
    if (d > 0 && d <= reach && Linked(*this, other, c, a)) return c;
  }
  return std::nullopt;
}

std::optional<int32_t> TCasaPlan::CornerBesideAny(int32_t a, int32_t k) const {
  for (int32_t b = 1; b <= WallCount; ++b)
    if (b != a)
      if (const auto c = CornerBeside(a, k, b)) return c;
  return std::nullopt;
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
