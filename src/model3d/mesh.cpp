// Mesh: polygons and triangles with their paint.

#include "model3d/mesh.h"

#include <cmath>

#include "model3d/triangulate.h"

namespace casavo::model3d {

Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, double k) {
  return {a.x * k, a.y * k, a.z * k};
}
double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(Vec3 a) {
  return std::sqrt(Dot(a, a));
}
Vec3 Normalised(Vec3 a) {
  const double l = Length(a);
  return l > 0 ? a * (1 / l) : a;
}

double SignedArea(const std::vector<Vec3>& polygon) {
  double twice = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Vec3 a = polygon[i];
    const Vec3 b = polygon[(i + 1) % polygon.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

double Face::Area() const {
  return Length(Cross(b - a, c - a)) / 2;
}

void Mesh::AddTriangle(Vec3 a, Vec3 b, Vec3 c, Vec3 outward, const Paint& paint) {
  Vec3 n = Cross(b - a, c - a);
  if (Length(n) <= 1e-9) return;
  if (Dot(n, outward) < 0) {
    std::swap(b, c);
    n = n * -1;
  }
  faces.push_back({a, b, c, Normalised(n), paint.rgb, paint.material, paint.kind, paint.index});
}

void Mesh::AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 outward, const Paint& paint) {
  AddTriangle(a, b, c, outward, paint);
  AddTriangle(a, c, d, outward, paint);
}

void Mesh::AddPolygon(const std::vector<Vec3>& corners, Vec3 outward, const Paint& paint) {
  // Flattened onto the plane across the outward direction's largest axis.
  const double ax = std::abs(outward.x), ay = std::abs(outward.y), az = std::abs(outward.z);
  std::vector<Vec2> flat;
  flat.reserve(corners.size());
  for (const Vec3& p : corners) {
    if (az >= ax && az >= ay)
      flat.push_back({p.x, p.y});
    else if (ay >= ax)
      flat.push_back({p.x, p.z});
    else
      flat.push_back({p.y, p.z});
  }
  for (const auto& t : Triangulate(flat))
    AddTriangle(corners[t[0]], corners[t[1]], corners[t[2]], outward, paint);
}

void Mesh::AddPrism(const std::vector<Vec3>& base, double z0, double z1, const Paint& paint) {
  std::vector<Vec3> bottom, top;
  for (const Vec3& p : base) {
    bottom.push_back({p.x, p.y, z0});
    top.push_back({p.x, p.y, z1});
  }
  AddPolygon(bottom, {0, 0, -1}, paint);
  AddPolygon(top, {0, 0, 1}, paint);
  const double turn = SignedArea(base) > 0 ? 1 : -1;
  for (size_t i = 0; i < base.size(); ++i) {
    const size_t j = (i + 1) % base.size();
    const Vec3 out = Cross(bottom[j] - bottom[i], {0, 0, 1}) * turn;
    AddQuad(bottom[i], bottom[j], top[j], top[i], out, paint);
  }
}

void Mesh::AddBox(Vec3 origin, Vec3 u, Vec3 v, Vec3 w, const Paint& paint) {
  const Vec3 far = origin + u + v + w;
  AddQuad(origin, origin + u, origin + u + v, origin + v, w * -1, paint);
  AddQuad(origin + w, origin + w + u, far, origin + w + v, w, paint);
  AddQuad(origin, origin + u, origin + u + w, origin + w, v * -1, paint);
  AddQuad(origin + v, origin + v + u, far, origin + v + w, v, paint);
  AddQuad(origin, origin + v, origin + v + w, origin + w, u * -1, paint);
  AddQuad(origin + u, origin + u + v, far, origin + u + w, u, paint);
}

void Mesh::Append(const Mesh& other) {
  faces.insert(faces.end(), other.faces.begin(), other.faces.end());
}

}  // namespace casavo::model3d
