// Triangulation of simple polygons by ear clipping.

#include "model3d/triangulate.h"

#include <cmath>
#include <cstddef>

namespace casavo::model3d {
namespace {

double Cross(Vec2 o, Vec2 a, Vec2 b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Below this twice-area (mm²) three corners count as one straight line.
constexpr double kFlat = 1e-6;

bool Inside(Vec2 p, Vec2 a, Vec2 b, Vec2 c, double sign) {
  return sign * Cross(a, b, p) > kFlat && sign * Cross(b, c, p) > kFlat &&
         sign * Cross(c, a, p) > kFlat;
}

// The corners left once repeated and collinear ones are gone.
std::vector<int> Corners(const std::vector<Vec2>& points) {
  std::vector<int> ring;
  ring.reserve(points.size());
  for (int i = 0; i < static_cast<int>(points.size()); ++i) ring.push_back(i);
  bool changed = true;
  while (changed && ring.size() >= 3) {
    changed = false;
    for (size_t k = 0; k < ring.size() && ring.size() >= 3; ++k) {
      const Vec2 prev = points[ring[(k + ring.size() - 1) % ring.size()]];
      const Vec2 next = points[ring[(k + 1) % ring.size()]];
      if (std::abs(Cross(prev, points[ring[k]], next)) <= kFlat) {
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(k));
        changed = true;
      }
    }
  }
  return ring;
}

}  // namespace

std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& points) {
  std::vector<int> ring = Corners(points);
  std::vector<std::array<int, 3>> triangles;
  if (ring.size() < 3) return triangles;
  double area = 0;
  for (size_t k = 0; k < ring.size(); ++k) {
    const Vec2 a = points[ring[k]];
    const Vec2 b = points[ring[(k + 1) % ring.size()]];
    area += a.x * b.y - b.x * a.y;
  }
  const double sign = area > 0 ? 1 : -1;
  size_t k = 0;
  size_t misses = 0;
  while (ring.size() > 3 && misses <= ring.size()) {
    const size_t n = ring.size();
    const int ip = ring[(k + n - 1) % n], i = ring[k % n], in = ring[(k + 1) % n];
    const Vec2 a = points[ip], b = points[i], c = points[in];
    bool ear = sign * Cross(a, b, c) > kFlat;
    for (size_t j = 0; ear && j < n; ++j) {
      const int other = ring[j];
      if (other != ip && other != i && other != in && Inside(points[other], a, b, c, sign))
        ear = false;
    }
    if (ear || std::abs(Cross(a, b, c)) <= kFlat) {
      if (ear) triangles.push_back({ip, i, in});
      ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(k % n));
      misses = 0;
    } else {
      ++k;
      ++misses;
    }
    k %= ring.size();
  }
  if (ring.size() == 3 &&
      std::abs(Cross(points[ring[0]], points[ring[1]], points[ring[2]])) > kFlat)
    triangles.push_back({ring[0], ring[1], ring[2]});
  return triangles;
}

}  // namespace casavo::model3d
