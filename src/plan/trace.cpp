// Where the picture to trace lies under the plan: its scale, offset and angle, and clicks turned
// into plan points.
#include "plan/trace.h"

#include <cmath>
#include <numbers>

namespace casavo {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// The angle kept in [0, 360) so that the plan text reads the same turn one way.
double Normalised(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360;
  return a >= 360 ? 0 : a;
}

}  // namespace

TracePoint TTrace::PictureToPlan(TracePoint p) const {
  const double s = EffectiveScale();
  const double c = std::cos(angle * kRadiansPerDegree), n = std::sin(angle * kRadiansPerDegree);
  return {x + s * (c * p.x - n * p.y), y + s * (n * p.x + c * p.y)};
}

TracePoint TTrace::PlanToPicture(TracePoint p) const {
  const double s = EffectiveScale();
  const double c = std::cos(angle * kRadiansPerDegree), n = std::sin(angle * kRadiansPerDegree);
  const double dx = p.x - x, dy = p.y - y;
  return {(c * dx + n * dy) / s, (-n * dx + c * dy) / s};
}

bool TTrace::ScaleBetween(TracePoint a, TracePoint b, double distance) {
  const double pixels = std::hypot(b.x - a.x, b.y - a.y);
  if (!(pixels > 0) || !(distance > 0) || !std::isfinite(distance)) return false;
  const TracePoint fixed = PictureToPlan(a);
  scale = distance / pixels;
  // The picture grows or shrinks about the first point.
  const TracePoint moved = PictureToPlan(a);
  Move(fixed.x - moved.x, fixed.y - moved.y);
  return true;
}

void TTrace::TurnAbout(TracePoint pivot, double degrees) {
  const TracePoint onPicture = PlanToPicture(pivot);
  angle = Normalised(angle + degrees);
  const TracePoint moved = PictureToPlan(onPicture);
  Move(pivot.x - moved.x, pivot.y - moved.y);
}

void TTrace::Level(TracePoint a, TracePoint b) {
  const TracePoint pa = PictureToPlan(a), pb = PictureToPlan(b);
  if (pa.x == pb.x && pa.y == pb.y) return;
  double turn = -std::atan2(pb.y - pa.y, pb.x - pa.x) / kRadiansPerDegree;
  // A line is horizontal both ways: clicked right to left, it turns half as far.
  if (turn > 90) turn -= 180;
  if (turn < -90) turn += 180;
  TurnAbout(pa, turn);
}

void TTrace::Move(double dx, double dy) {
  x += dx;
  y += dy;
}

}  // namespace casavo
