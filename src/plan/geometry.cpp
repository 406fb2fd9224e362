// Plane geometry on int32 millimetres: angles, crossings, projections.

#include "plan/geometry.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "common/errors.h"
#include "common/numeric.h"

namespace casavo {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// Rotation by a precomputed cosine and sine, so that the four corners of a
// rectangle share one evaluation of the trigonometry.
TPoint RotateBy(TPoint p, TPoint c, long double cosR, long double sinR) {
  const long double dx = CheckedSub(p.x, c.x);
  const long double dy = CheckedSub(p.y, c.y);
  return {RoundToInt(c.x + cosR * dx - sinR * dy), RoundToInt(c.y + sinR * dx + cosR * dy)};
}

long double Radians(double deg) {
  return deg * kPi / 180;
}

struct CosSin {
  long double cos;
  long double sin;
};

CosSin CosSinOf(double deg) {
  const long double r = Radians(deg);
  return {std::cos(r), std::sin(r)};
}

// Most walls run along the axes, and the trigonometry of long doubles is slow:
// the four right angles are worked out once, by the same formula.
CosSin TurnBy(double deg) {
  static const std::array<CosSin, 4> kRightAngles = {CosSinOf(0), CosSinOf(90), CosSinOf(180),
                                                     CosSinOf(270)};
  if (deg == 0 || deg == 90 || deg == 180 || deg == 270)
    return kRightAngles[static_cast<size_t>(deg) / 90];
  return CosSinOf(deg);
}

// Differences of int32 coordinates are exact in 64 bits and their products
// in 128: the crossing and projection terms never overflow, whatever the
// size of the plan. A term that fits 64 bits converts to long double exactly,
// so quotients of such terms are what the 32-bit products gave before.
__extension__ typedef __int128 Wide;  // a GCC and Clang type, not ISO C++

Wide Product(int64_t a, int64_t b) {
  return static_cast<Wide>(a) * b;
}

int64_t Diff(int32_t a, int32_t b) {
  return int64_t{a} - b;
}

// The determinant and the numerator of the parameter along p1p2 shared by
// both intersection routines.
struct Crossing {
  Wide d;
  Wide uaNumerator;
};

Crossing CrossingOf(TPoint p1, TPoint p2, TPoint p3, TPoint p4) {
  const int64_t dx12 = Diff(p2.x, p1.x), dy12 = Diff(p2.y, p1.y);
  const int64_t dx34 = Diff(p4.x, p3.x), dy34 = Diff(p4.y, p3.y);
  const int64_t dx31 = Diff(p1.x, p3.x), dy31 = Diff(p1.y, p3.y);
  return {Product(dy34, dx12) - Product(dx34, dy12), Product(dx34, dy31) - Product(dy34, dx31)};
}

long double Quotient(Wide numerator, Wide denominator) {
  return static_cast<long double>(numerator) / static_cast<long double>(denominator);
}

TPoint PointAlong(TPoint p1, TPoint p2, long double u) {
  return {RoundToInt(p1.x + u * (static_cast<long double>(p2.x) - p1.x)),
          RoundToInt(p1.y + u * (static_cast<long double>(p2.y) - p1.y))};
}

bool WithinTolerance(long double u) {
  return u >= 0 && u <= 1.001L;
}

}  // namespace

double Angle(TPoint p1, TPoint p2) {
  const int32_t dx = CheckedSub(p2.x, p1.x);
  const int32_t dy = CheckedSub(p2.y, p1.y);
  if (dx == 0) return dy > 0 ? 90 : (dy < 0 ? 270 : 0);
  if (dy == 0) return dx > 0 ? 0 : 180;
  double deg =
      std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180 / std::numbers::pi;
  if (deg < 0) deg += 360;
  return deg >= 360 ? 0 : deg;
}

TPoint Rotate(TPoint p, TPoint c, double deg) {
  const CosSin turn = TurnBy(deg);
  return RotateBy(p, c, turn.cos, turn.sin);
}

int32_t CheckedDistance(TPoint p, TPoint q) {
  const int64_t dx = Diff(q.x, p.x);
  const int64_t dy = Diff(q.y, p.y);
  // At most 2^65: exact as an unsigned 128-bit sum, and a long double holds
  // every sum below 2^64 exactly, so lengths that fitted before are the same.
  const Wide sum = Product(dx, dx) + Product(dy, dy);
  return RoundToInt(std::sqrt(static_cast<long double>(sum)));
}

int32_t Distance(TPoint p, TPoint q) {
  try {
    return CheckedDistance(p, q);
  } catch (const OverflowError&) {
    return std::numeric_limits<int32_t>::max();
  }
}

TPoint ProjectOnSegment(TPoint p, TPoint a, TPoint b) {
  const int32_t length = Distance(a, b);
  if (length == 0) return kNoPoint;
  const Wide numerator =
      Product(Diff(p.x, a.x), Diff(b.x, a.x)) + Product(Diff(p.y, a.y), Diff(b.y, a.y));
  const long double u = static_cast<long double>(numerator) /
                        (static_cast<long double>(length) * static_cast<long double>(length));
  if (u <= 0 || u >= 1) return kNoPoint;
  return PointAlong(a, b, u);
}

int32_t DistanceToSegment(TPoint p, TPoint a, TPoint b) {
  const TPoint foot = ProjectOnSegment(p, a, b);
  return foot == kNoPoint ? -1 : Distance(p, foot);
}

TPoint SegmentIntersection(TPoint p1, TPoint p2, TPoint p3, TPoint p4) {
  const Crossing c = CrossingOf(p1, p2, p3, p4);
  if (c.d == 0) return kNoPoint;
  const Wide ubNumerator =
      Product(Diff(p2.x, p1.x), Diff(p1.y, p3.y)) - Product(Diff(p2.y, p1.y), Diff(p1.x, p3.x));
  const long double ua = Quotient(c.uaNumerator, c.d);
  const long double ub = Quotient(ubNumerator, c.d);
  if (!WithinTolerance(ua) || !WithinTolerance(ub)) return kNoPoint;
  return PointAlong(p1, p2, ua);
}

TPoint LineIntersection(TPoint p1, TPoint p2, TPoint p3, TPoint p4) {
  const Crossing c = CrossingOf(p1, p2, p3, p4);
  if (c.d == 0) return kNoPoint;
  return PointAlong(p1, p2, Quotient(c.uaNumerator, c.d));
}

bool LineCrossingParameter(TPoint p1, TPoint p2, TPoint p3, TPoint p4, long double& u) {
  const Crossing c = CrossingOf(p1, p2, p3, p4);
  if (c.d == 0) return false;
  u = Quotient(c.uaNumerator, c.d);
  return true;
}

TPoint Midpoint(TPoint a, TPoint b) {
  return {CheckedAdd(a.x, CheckedSub(b.x, a.x) / 2), CheckedAdd(a.y, CheckedSub(b.y, a.y) / 2)};
}

TQuad ThickSegment(TPoint p1, TPoint p2, int32_t e) {
  const int32_t h = e / 2;
  const auto [cosR, sinR] = TurnBy(Angle(p1, p2));
  return {RotateBy({p1.x, CheckedSub(p1.y, h)}, p1, cosR, sinR),
          RotateBy({p2.x, CheckedSub(p2.y, h)}, p2, cosR, sinR),
          RotateBy({p2.x, CheckedAdd(p2.y, h)}, p2, cosR, sinR),
          RotateBy({p1.x, CheckedAdd(p1.y, h)}, p1, cosR, sinR)};
}

}  // namespace casavo
