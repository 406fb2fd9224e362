// TPoint, TRect, TQuad and the plane geometry of the model.

#pragma once

#include <array>
#include <cstdint>

namespace casavo {

// A point of the plan in millimetres (or a pixel, for the editor's hit tests).
struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// The value that stands for no point.
inline constexpr TPoint kNoPoint{-1, -1};

// The four corners of a thick segment, wall, opening or object. Element 0 is
// point 1 of the model (P1 on side A), 1 is point 2 (P2 on side A), 2 is point 3
// (P2 on side B), 3 is point 4 (P1 on side B).
using TQuad = std::array<TPoint, 4>;

// Direction from p1 to p2 in degrees, [0, 360), +x towards +y.
double Angle(TPoint p1, TPoint p2);
// p turned about c by deg degrees (+x towards +y), rounded.
TPoint Rotate(TPoint p, TPoint c, double deg);
// Rounded length; 2147483647 when the 32-bit squares overflow.
int32_t Distance(TPoint p, TPoint q);
// The same length, but an overflow of the 32-bit squares raises OverflowError.
int32_t CheckedDistance(TPoint p, TPoint q);
// Foot of the perpendicular from p strictly inside segment ab, or kNoPoint.
TPoint ProjectOnSegment(TPoint p, TPoint a, TPoint b);
// Distance from p to its foot on ab, or -1 when there is no foot.
int32_t DistanceToSegment(TPoint p, TPoint a, TPoint b);
// Crossing of segments p1p2 and p3p4 (parameters in [0, 1.001]) as a point on
// p1p2, or kNoPoint.
TPoint SegmentIntersection(TPoint p1, TPoint p2, TPoint p3, TPoint p4);
// Crossing of the infinite lines p1p2 and p3p4, or kNoPoint when parallel.
TPoint LineIntersection(TPoint p1, TPoint p2, TPoint p3, TPoint p4);
// The parameter u of that crossing along p1p2 (the point is p1 + u (p2 - p1)),
// false when the lines are parallel.
bool LineCrossingParameter(TPoint p1, TPoint p2, TPoint p3, TPoint p4, long double& u);
// Integer midpoint, halving towards zero.
TPoint Midpoint(TPoint a, TPoint b);
// The rectangle of thickness e around p1p2 (e/2 to each side).
TQuad ThickSegment(TPoint p1, TPoint p2, int32_t e);

struct TRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace casavo
