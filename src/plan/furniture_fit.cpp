// Furniture against walls: an object that runs into a wall, and the place that rests it against a
// face.
#include "plan/furniture_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "common/numeric.h"

namespace casavo {
namespace {

struct Vec {
  double x = 0, y = 0;
};

Vec Of(TPoint p) {
  return {static_cast<double>(p.x), static_cast<double>(p.y)};
}
Vec Minus(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
double Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y;
}
double Cross(Vec a, Vec b) {
  return a.x * b.y - a.y * b.x;
}

// The object's corners, from its centre, width, depth and angle.
std::array<Vec, 4> Corners(Vec c, double l, double h, double degrees) {
  const double r = degrees * 3.14159265358979323846 / 180;
  const double cs = std::cos(r), sn = std::sin(r);
  std::array<Vec, 4> corners;
  const double us[] = {-l / 2, l / 2, l / 2, -l / 2}, vs[] = {-h / 2, -h / 2, h / 2, h / 2};
  for (int i = 0; i < 4; ++i)
    corners[i] = {c.x + us[i] * cs - vs[i] * sn, c.y + us[i] * sn + vs[i] * cs};
  return corners;
}

bool Inside(const std::vector<Vec>& polygon, Vec p) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Vec a = polygon[i], b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y))
      inside = !inside;
  }
  return inside;
}

bool Cross(Vec a, Vec b, Vec c, Vec d) {
  const double d1 = Cross(Minus(b, a), Minus(c, a)), d2 = Cross(Minus(b, a), Minus(d, a));
  const double d3 = Cross(Minus(d, c), Minus(a, c)), d4 = Cross(Minus(d, c), Minus(b, c));
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 &&
         d4 != 0;
}

bool Overlap(const std::vector<Vec>& a, const std::vector<Vec>& b) {
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b.size(); ++j)
      if (Cross(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()])) return true;
  return Inside(b, a[0]) || Inside(a, b[0]);
}

// Flat contact is no overlap: the object is tested this much smaller.
constexpr double kContactSlack = 3;

}  // namespace

bool ObjetCrossesWall(const TCasaPlan& plan, int32_t k) {
  const TObjet& o = plan.Objects[k];
  const double l = std::max(0.0, o.l - 2 * kContactSlack),
               h = std::max(0.0, o.h - 2 * kContactSlack);
  const auto corners = Corners(Of({o.x, o.y}), l, h, o.a);
  const std::vector<Vec> objet(corners.begin(), corners.end());
  double left = objet[0].x, right = left, top = objet[0].y, bottom = top;
  for (const Vec& p : objet) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  std::vector<Vec> body(6);
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const auto& shape = plan.Walls[w].Shape;
    bool apart = true;
    for (int i = 0; i < 6; ++i) {
      body[i] = Of(shape[i]);
      if (body[i].x >= left && body[i].x <= right && body[i].y >= top && body[i].y <= bottom)
        apart = false;
    }
    if (apart) {
      // Bounding boxes first: most walls are far from the object.
      double wl = body[0].x, wr = wl, wt = body[0].y, wb = wt;
      for (const Vec& p : body) {
        wl = std::min(wl, p.x);
        wr = std::max(wr, p.x);
        wt = std::min(wt, p.y);
        wb = std::max(wb, p.y);
      }
      if (wr < left || wl > right || wb < top || wt > bottom) continue;
    }
    if (Overlap(objet, body)) return true;
  }
  return false;
}

std::optional<WallPlacement> PlaceAgainstWall(const TCasaPlan& plan, TPoint c, int32_t l, int32_t h,
                                              int32_t a, int32_t reach) {
  const Vec centre = Of(c);
  const auto corners = Corners(centre, l, h, a);
  std::optional<WallPlacement> best;
  double bestGap = 0;
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const auto& shape = plan.Walls[w].Shape;
    // Side A runs from outline point 1 to 2, side B from 3 to 4.
    for (const auto& [from, to] : {std::pair{1, 2}, std::pair{4, 5}}) {
      const Vec p = Of(shape[from]), q = Of(shape[to]);
      const Vec along = Minus(q, p);
      const double length = std::hypot(along.x, along.y);
      if (length < 1) continue;
      const Vec t{along.x / length, along.y / length};
      // The normal away from the wall's body: from its centre line to the face.
      Vec n{-t.y, t.x};
      if (Dot(n, Minus(p, Of(shape[0]))) + Dot(n, Minus(q, Of(shape[3]))) < 0) n = {t.y, -t.x};
      const double s = Dot(n, Minus(centre, p));
      const double u = Dot(t, Minus(centre, p));
      if (s <= 0 || u < 0 || u > length) continue;
      double gap = s;
      for (const Vec& corner : corners) gap = std::min(gap, Dot(n, Minus(corner, p)));
      if (gap >= reach || (best && gap >= bestGap)) continue;
      // Turned so that its +y side, its front, points along n.
      double degrees = std::atan2(-n.x, n.y) * 180 / 3.14159265358979323846;
      if (degrees < 0) degrees += 360;
      int32_t angle = RoundToInt(static_cast<long double>(degrees));
      if (angle >= 360) angle -= 360;
      const double lift = h / 2.0 - s;
      best = WallPlacement{{RoundToInt(static_cast<long double>(centre.x + n.x * lift)),
                            RoundToInt(static_cast<long double>(centre.y + n.y * lift))},
                           angle,
                           w};
      bestGap = gap;
    }
  }
  return best;
}

}  // namespace casavo
