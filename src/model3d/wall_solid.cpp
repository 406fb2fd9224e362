// A wall as one closed solid with its holes.

#include "model3d/wall_solid.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace casavo::model3d {
namespace {

// Sorted, disjoint height intervals.
using Spans = std::vector<std::pair<double, double>>;

constexpr double kTiny = 1e-6;

// The heights the holes open over the whole column s0..s1.
Spans Covered(const std::vector<Hole>& holes, double s0, double s1) {
  Spans spans;
  for (const Hole& h : holes)
    if (h.s1 > h.s0 && h.s0 <= s0 + kTiny && h.s1 >= s1 - kTiny) spans.emplace_back(h.z0, h.z1);
  std::sort(spans.begin(), spans.end());
  Spans merged;
  for (const auto& span : spans) {
    if (!merged.empty() && span.first <= merged.back().second)
      merged.back().second = std::max(merged.back().second, span.second);
    else
      merged.push_back(span);
  }
  return merged;
}

// What of a is not in b.
Spans Minus(const Spans& a, const Spans& b) {
  Spans out;
  for (auto [lo, hi] : a) {
    for (const auto& cut : b) {
      if (cut.second <= lo || cut.first >= hi) continue;
      if (cut.first > lo) out.emplace_back(lo, cut.first);
      lo = std::max(lo, cut.second);
    }
    if (hi > lo + kTiny) out.emplace_back(lo, hi);
  }
  return out;
}

// Column edges along the wall: the holes' ends, and the given ends if any.
std::vector<double> Breaks(const std::vector<Hole>& holes, std::vector<double> ends) {
  for (const Hole& h : holes)
    if (h.s1 > h.s0) {
      ends.push_back(h.s0);
      ends.push_back(h.s1);
    }
  std::sort(ends.begin(), ends.end());
  ends.erase(
      std::unique(ends.begin(), ends.end(), [](double a, double b) { return b - a <= kTiny; }),
      ends.end());
  return ends;
}

// One long face of the wall on the floor, between its outline points p and q.
// Rounded outline points leave it a hair off the wall's direction, so points
// on it are taken along the edge itself, the same for the face and the
// reveals that meet it.
class FaceEdge {
 public:
  FaceEdge(const WallFrame& frame, Vec3 p, Vec3 q) : p_(p), q_(q) {
    sp_ = Dot(p - frame.At(0, 0, 0), frame.along);
    sq_ = Dot(q - frame.At(0, 0, 0), frame.along);
  }
  double Min() const { return std::min(sp_, sq_); }
  double Max() const { return std::max(sp_, sq_); }
  Vec3 At(double s, double z) const {
    const double t = sq_ == sp_ ? 0 : (s - sp_) / (sq_ - sp_);
    return p_ + (q_ - p_) * t + Vec3{0, 0, z};
  }

 private:
  Vec3 p_, q_;
  double sp_ = 0, sq_ = 0;
};

// One long face, less the holes.
void AddFace(Mesh& mesh, const FaceEdge& edge, const std::vector<Hole>& holes, double height,
             Vec3 outward, const Paint& paint) {
  const std::vector<double> cuts = Breaks(holes, {edge.Min(), edge.Max()});
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double a = cuts[i], b = cuts[i + 1];
    if (a < edge.Min() - kTiny || b > edge.Max() + kTiny) continue;
    for (const auto& [z0, z1] : Minus({{0, height}}, Covered(holes, a, b)))
      mesh.AddQuad(edge.At(a, z0), edge.At(b, z0), edge.At(b, z1), edge.At(a, z1), outward, paint);
  }
}

// The polygon's part with s (along the wall) within [lo, hi].
std::vector<Vec3> ClipSlab(const std::vector<Vec3>& polygon, const WallFrame& frame, double lo,
                           double hi) {
  std::vector<Vec3> out = polygon;
  const Vec3 origin = frame.At(0, 0, 0);
  for (const double sign : {1.0, -1.0}) {
    const double limit = sign > 0 ? lo : hi;
    // Keep the points where sign * (s - limit) >= 0.
    const auto side = [&](Vec3 p) { return sign * (Dot(p - origin, frame.along) - limit); };
    std::vector<Vec3> kept;
    for (size_t i = 0; i < out.size(); ++i) {
      const Vec3 a = out[i], b = out[(i + 1) % out.size()];
      const double da = side(a), db = side(b);
      if (da >= 0) kept.push_back(a);
      if ((da < 0) != (db < 0)) kept.push_back(a + (b - a) * (da / (da - db)));
    }
    out = std::move(kept);
  }
  return out;
}

// The underside, less the doorways and bays that reach the floor.
void AddUnderside(Mesh& mesh, const WallFrame& frame, const std::vector<Vec3>& outline,
                  const std::vector<Hole>& holes, const Paint& paint) {
  std::vector<Hole> atFloor;
  for (const Hole& h : holes)
    if (h.s1 > h.s0 && h.z0 <= kTiny) atFloor.push_back(h);
  const std::vector<double> cuts = Breaks(atFloor, {-1e12, 1e12});
  for (size_t i = 0; i + 1 < cuts.size(); ++i)
    if (Covered(atFloor, cuts[i], cuts[i + 1]).empty())
      mesh.AddPolygon(ClipSlab(outline, frame, cuts[i], cuts[i + 1]), {0, 0, -1}, paint);
}

// The reveals between the two faces: sills and lintels over each column, and
// jambs where the opened heights change from one column to the next.
void AddReveals(Mesh& mesh, const FaceEdge& faceA, const FaceEdge& faceB,
                const std::vector<Hole>& holes, double height, const Paint& paint) {
  const std::vector<double> cuts = Breaks(holes, {});
  Spans left;
  for (size_t i = 0; i < cuts.size(); ++i) {
    const double s = cuts[i];
    const Spans right = i + 1 < cuts.size() ? Covered(holes, s, cuts[i + 1]) : Spans{};
    const auto jamb = [&](const Spans& spans, Vec3 outward) {
      for (const auto& [z0, z1] : spans)
        mesh.AddQuad(faceA.At(s, z0), faceB.At(s, z0), faceB.At(s, z1), faceA.At(s, z1), outward,
                     paint);
    };
    const Vec3 along = Normalised(faceA.At(1, 0) - faceA.At(0, 0));
    jamb(Minus(left, right), along * -1);
    jamb(Minus(right, left), along);
    if (i + 1 < cuts.size()) {
      const double e = cuts[i + 1];
      for (const auto& [z0, z1] : right) {
        if (z0 > kTiny)
          mesh.AddQuad(faceA.At(s, z0), faceA.At(e, z0), faceB.At(e, z0), faceB.At(s, z0),
                       {0, 0, 1}, paint);
        if (z1 < height - kTiny)
          mesh.AddQuad(faceA.At(s, z1), faceA.At(e, z1), faceB.At(e, z1), faceB.At(s, z1),
                       {0, 0, -1}, paint);
      }
    }
    left = right;
  }
}

}  // namespace

void AddWallSolid(Mesh& mesh, const TCasaPlan& plan, int32_t w, const std::vector<Hole>& holes,
                  double height, const Paint& paint) {
  const TWall& wall = plan.Walls[w];
  if (plan.Corners[wall.C1] == plan.Corners[wall.C2]) return;
  const WallFrame frame(plan, w);
  std::vector<Vec3> outline;
  for (const TPoint& p : wall.Shape)
    outline.push_back({static_cast<double>(p.x), static_cast<double>(p.y), 0});
  if (std::abs(SignedArea(outline)) <= kTiny) return;
  Paint top = paint;
  top.material = Material::WallTop;
  std::vector<Vec3> raised = outline;
  for (Vec3& p : raised) p.z = height;
  AddUnderside(mesh, frame, outline, holes, paint);
  mesh.AddPolygon(raised, {0, 0, 1}, top);

  const double turn = SignedArea(outline) > 0 ? 1 : -1;
  // Shape holds C1, o1, o2, C2, o3, o4: the long faces are o1-o2 (side A)
  // and o3-o4 (side B).
  const FaceEdge faceA(frame, outline[1], outline[2]);
  const FaceEdge faceB(frame, outline[4], outline[5]);
  for (size_t i = 0; i < outline.size(); ++i) {
    const size_t j = (i + 1) % outline.size();
    const Vec3 outward = Cross(outline[j] - outline[i], {0, 0, 1}) * turn;
    if (i == 1 || i == 4)
      AddFace(mesh, i == 1 ? faceA : faceB, holes, height, outward, paint);
    else
      mesh.AddQuad(outline[i], outline[j], raised[j], raised[i], outward, paint);
  }
  AddReveals(mesh, faceA, faceB, holes, height, paint);
}

}  // namespace casavo::model3d
