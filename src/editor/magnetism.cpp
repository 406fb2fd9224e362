// Magnetism: a dragged wall end held to round lengths and angles.

#include "editor/magnetism.h"

#include <cmath>
#include <numbers>

#include "common/numeric.h"

namespace casavo {
namespace {

constexpr double kStepDegrees = 15;
constexpr double kReachDegrees = 2.5;
constexpr double kFineMm = 10;
constexpr double kCoarseMm = 50;
constexpr double kCoarseBelowZoom = 0.1;

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180;
}

}  // namespace

double UserAngle(TPoint a, TPoint b) {
  const double degrees =
      std::atan2(-(double(b.y) - a.y), double(b.x) - a.x) * 180 / std::numbers::pi;
  return degrees < 0 ? degrees + 360 : degrees;
}

TPoint AlongUserAngle(TPoint start, double length, double degrees) {
  const double r = Radians(degrees);
  return {RoundToInt(start.x + length * std::cos(r)), RoundToInt(start.y - length * std::sin(r))};
}

Magnetised Magnetise(TPoint anchor, TPoint p, double zoom) {
  const double length = std::hypot(double(p.x) - anchor.x, double(p.y) - anchor.y);
  if (length == 0) return {p, false};
  double angle = UserAngle(anchor, p);
  const double nearest = std::round(angle / kStepDegrees) * kStepDegrees;
  const bool turned = std::fabs(angle - nearest) <= kReachDegrees;
  if (turned) angle = nearest;
  const double step = zoom < kCoarseBelowZoom ? kCoarseMm : kFineMm;
  const double snapped = std::max(step, std::round(length / step) * step);
  return {AlongUserAngle(anchor, snapped, angle), turned};
}

}  // namespace casavo
