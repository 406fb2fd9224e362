// TCasaPlan::CutOverlappingWalls: walls along one line share no stretch.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo {
namespace {

// The straight line a wall lies on, exactly: its reduced direction and its
// offset across that direction.
struct LineKey {
  int64_t dx, dy, offset;
  friend bool operator==(const LineKey&, const LineKey&) = default;
};

struct LineKeyHash {
  size_t operator()(const LineKey& k) const {
    const std::hash<int64_t> h;
    return h(k.dx) ^ (h(k.dy) * 0x9E3779B97F4A7C15ull) ^ (h(k.offset) * 0xBF58476D1CE4E5B9ull);
  }
};

// A wall on its line: where its two ends lie along the line, low first.
struct Span {
  int32_t wall;
  int64_t low, high;
  int32_t lowCorner, highCorner;
};

class OverlapFinder {
 public:
  explicit OverlapFinder(const TCasaPlan& plan) : plan_(plan) {}

  // The first pair of walls (in index order) that cover a common stretch of
  // their line, exact duplicates aside, which the duplicate rule handles.
  std::optional<std::pair<Span, Span>> First() const {
    std::unordered_map<LineKey, std::vector<Span>, LineKeyHash> lines;
    for (int32_t w = 1; w <= plan_.WallCount; ++w) {
      const TWall& wall = plan_.Walls[w];
      const TPoint a = plan_.Corners[wall.C1], b = plan_.Corners[wall.C2];
      if (a == b) continue;
      int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
      const int64_t g = std::gcd(dx, dy);
      dx /= g;
      dy /= g;
      if (dx < 0 || (dx == 0 && dy < 0)) {
        dx = -dx;
        dy = -dy;
      }
      const int64_t ta = dx * a.x + dy * a.y, tb = dx * b.x + dy * b.y;
      const Span span =
          ta < tb ? Span{w, ta, tb, wall.C1, wall.C2} : Span{w, tb, ta, wall.C2, wall.C1};
      lines[LineKey{dx, dy, dy * a.x - dx * a.y}].push_back(span);
    }
    std::optional<std::pair<Span, Span>> first;
    std::vector<const Span*> open;
    for (auto& [key, spans] : lines) FirstOnLine(spans, open, first);
    return first;
  }

 private:
  // Lowers `first` to the first overlapping pair of one line's spans. Swept
  // in order along the line, a span can overlap only those still open where
  // it starts: on a line cut into many pieces that is one or none, where a
  // test of every pair grows with the square of the pieces.
  static void FirstOnLine(std::vector<Span>& spans, std::vector<const Span*>& open,
                          std::optional<std::pair<Span, Span>>& first) {
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.low < b.low; });
    open.clear();
    for (const Span& t : spans) {
      std::erase_if(open, [&t](const Span* s) { return s->high <= t.low; });
      for (const Span* s : open) {
        if (s->low == t.low && s->high == t.high) continue;  // duplicates are not cut
        const auto [low, high] = s->wall < t.wall ? std::pair{*s, t} : std::pair{t, *s};
        if (!first || low.wall < first->first.wall ||
            (low.wall == first->first.wall && high.wall < first->second.wall))
          first = {low, high};
      }
      open.push_back(&t);
    }
  }

  const TCasaPlan& plan_;
};

// Distance from the wall's C1 to point p, measured along the wall.
int32_t AlongFromStart(const TCasaPlan& plan, int32_t w, TPoint p) {
  const TPoint a = plan.Corners[plan.Walls[w].C1], b = plan.Corners[plan.Walls[w].C2];
  const long double dx = static_cast<long double>(b.x) - a.x,
                    dy = static_cast<long double>(b.y) - a.y;
  return static_cast<int32_t>(
      std::lround(((p.x - a.x) * dx + (p.y - a.y) * dy) / std::sqrt(dx * dx + dy * dy)));
}

// The centre of opening n.
TPoint OpeningCentre(const TCasaPlan& plan, int32_t n) {
  const TOpening& o = plan.Openings[n];
  const TPoint a = plan.Corners[plan.Walls[o.imur].C1], b = plan.Corners[plan.Walls[o.imur].C2];
  const long double length =
      std::hypot(static_cast<long double>(b.x) - a.x, static_cast<long double>(b.y) - a.y);
  const long double u = o.dcoin1 / length;
  return {static_cast<int32_t>(std::lround(a.x + u * (b.x - a.x))),
          static_cast<int32_t>(std::lround(a.y + u * (b.y - a.y)))};
}

// The openings at `centres` go onto wall w, where they are. On a wall
// running the other way, the same side is the other one.
void MoveOpeningsOnto(TCasaPlan& plan, const std::vector<std::pair<int32_t, TPoint>>& centres,
                      int32_t w, bool reversed) {
  for (const auto& [n, centre] : centres) {
    TOpening& opening = plan.Openings[n];
    opening.imur = w;
    opening.dcoin1 = AlongFromStart(plan, w, centre);
    if (reversed) opening.cote = opening.cote == 0 ? 1 : 0;
  }
}

}  // namespace

// Above the complexity bound; listed in docs/HACKING.md as the next to split.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void TCasaPlan::CutOverlappingWalls() {
  // One pair at a time: each cut changes the walls the next search sees.
  while (const auto pair = OverlapFinder(*this).First()) {
    const auto& [s, t] = *pair;
    // The thicker wall keeps the common stretch; between equals, the earlier.
    const bool sKeeps = Walls[s.wall].epais != Walls[t.wall].epais
                            ? Walls[s.wall].epais > Walls[t.wall].epais
                            : s.wall < t.wall;
    const Span& keep = sKeeps ? s : t;
    const Span& cut = sKeeps ? t : s;
    // The cut wall's openings follow their place along the line.
    std::vector<std::pair<int32_t, TPoint>> centres;
    for (int32_t n = 1; n <= OpeningCount; ++n)
      if (Openings[n].imur == cut.wall) centres.emplace_back(n, OpeningCentre(*this, n));
    const bool before = cut.low < keep.low, after = keep.high < cut.high;
    TWall& wall = Walls[cut.wall];
    const bool forwards = wall.C1 == cut.lowCorner;
    if (!before && !after) {
      MoveOpeningsOnto(*this, centres, keep.wall,
                       (keep.lowCorner == Walls[keep.wall].C1) != forwards);
      DeleteWall(cut.wall);
      continue;
    }
    if (before) {
      // The cut wall keeps its stretch below the kept one; the stretch
      // above, if any, becomes a wall of its own.
      (forwards ? wall.C2 : wall.C1) = keep.lowCorner;
      if (after) {
        const int32_t epais = wall.epais;
        const int32_t piece = forwards ? AppendWall(keep.highCorner, cut.highCorner, epais)
                                       : AppendWall(cut.highCorner, keep.highCorner, epais);
        for (const auto& [n, centre] : centres)
          if (AlongFromStart(*this, cut.wall, centre) > WallLength(cut.wall))
            Openings[n].imur = piece;
      }
    } else {
      (forwards ? wall.C1 : wall.C2) = keep.highCorner;
    }
    for (const auto& [n, centre] : centres)
      Openings[n].dcoin1 = AlongFromStart(*this, Openings[n].imur, centre);
  }
}

}  // namespace casavo
