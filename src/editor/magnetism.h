// Where magnetism puts a wall end dragged from an anchor.

#pragma once

#include "plan/casa_plan.h"

namespace casavo {

// Where magnetism puts the end of a wall drawn or dragged from anchor to p:
// its direction onto the nearest multiple of 15° when within 2,5° of it, its
// length onto whole centimetres (whole 5 cm below a zoom of 10 %).
struct Magnetised {
  TPoint point;
  bool turned = false;  // the direction was snapped
};
Magnetised Magnetise(TPoint anchor, TPoint p, double zoom);

// The direction from a to b as users read angles: degrees in [0, 360), 0 to
// the right, counter-clockwise on screen (the plan's y grows downwards).
double UserAngle(TPoint a, TPoint b);

// The point at length millimetres from start in the user's direction degrees.
TPoint AlongUserAngle(TPoint start, double length, double degrees);

}  // namespace casavo
