// Ray-triangle picking and the walls cut at knee height.

#include "model3d/picking.h"

#include <algorithm>
#include <cmath>

namespace casavo::model3d {
namespace {

// Möller–Trumbore: the distance along the ray to the triangle, if it meets it.
std::optional<double> Meet(const Face& f, Vec3 origin, Vec3 dir) {
  const Vec3 e1 = f.b - f.a, e2 = f.c - f.a;
  const Vec3 p = Cross(dir, e2);
  const double det = Dot(e1, p);
  if (std::abs(det) < 1e-12) return std::nullopt;
  const Vec3 t = origin - f.a;
  const double u = Dot(t, p) / det;
  if (u < 0 || u > 1) return std::nullopt;
  const Vec3 q = Cross(t, e1);
  const double v = Dot(dir, q) / det;
  if (v < 0 || u + v > 1) return std::nullopt;
  const double d = Dot(e2, q) / det;
  return d > 0 ? std::optional(d) : std::nullopt;
}

Vec3 Flat(Vec3 p) {
  return {p.x, p.y, 0};
}

double DistanceToSegment(Vec3 p, Vec3 a, Vec3 b) {
  const Vec3 ab = b - a;
  const double len2 = Dot(ab, ab);
  const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0;
  return Length(p - (a + ab * t));
}

// Whether the step pq passes through the wall piece ab; a step through the
// point where two pieces meet counts too.
bool Crosses(Vec3 p, Vec3 q, Vec3 a, Vec3 b) {
  const auto side = [](Vec3 o, Vec3 s, Vec3 t) {
    return (s.x - o.x) * (t.y - o.y) - (s.y - o.y) * (t.x - o.x);
  };
  return side(p, q, a) * side(p, q, b) <= 0 && side(a, b, p) * side(a, b, q) < 0;
}

}  // namespace

std::optional<Hit> Pick(const Mesh& mesh, Vec3 origin, Vec3 direction) {
  std::optional<Hit> best;
  for (const Face& f : mesh.faces) {
    const auto d = Meet(f, origin, direction);
    if (d && (!best || *d < best->distance)) best = Hit{&f, *d};
  }
  return best;
}

WalkObstacles::WalkObstacles(const Mesh& mesh, double height) {
  for (const Face& f : mesh.faces) {
    if (f.material != Material::Wall || std::abs(f.normal.z) > 1e-6) continue;
    // Where the upright triangle crosses the level: the points on its edges.
    std::vector<Vec3> cut;
    const Vec3 corners[3] = {f.a, f.b, f.c};
    for (int i = 0; i < 3; ++i) {
      const Vec3 p = corners[i], q = corners[(i + 1) % 3];
      if ((p.z - height) * (q.z - height) > 0 || p.z == q.z) continue;
      cut.push_back(Flat(p + (q - p) * ((height - p.z) / (q.z - p.z))));
    }
    if (cut.size() >= 2) segments_.push_back({cut[0], cut[1]});
  }
}

bool WalkObstacles::Blocked(Vec3 from, Vec3 to, double radius) const {
  const Vec3 p = Flat(from), q = Flat(to);
  for (const Segment& s : segments_)
    if (Crosses(p, q, s.a, s.b) || DistanceToSegment(q, s.a, s.b) < radius) return true;
  return false;
}

}  // namespace casavo::model3d
