// Opening type codes (sorte) and their symbols.

#pragma once

#include <cstdint>

#include "plan/casa_plan.h"
#include "render/surface.h"

namespace casavo {

// Opening type codes (sorte).
enum : int32_t {
  kOpeningPlain = 0,
  kDoorLeft = 1001,
  kDoorRight = 1002,
  kDoorDouble = 1011,
  kWindowCentred = 2001,
  kWindowOffset = 2002,
};

// Shutter codes (volet).
enum : int32_t {
  kNoShutter = 0,
  kShutterRight = 1,
  kShutterLeft = 2,
  kShutterDouble = 3,
};

// Opening n as a white gap in its wall with the symbol of its type and its
// shutters. The symbol is drawn in a frame of millimetres with its origin on
// the opening's first corner, u along the wall and v across it from side A
// (v = 0) to side B (v = thickness).
void DrawOpening(const TCasaPlan& plan, Surface& surface, int32_t n);

// The window frame, 80 mm deep across the whole width: kind 1 centred in the
// wall thickness, 2 in the half towards side A, 3 in the half towards side B.
void DrawWindowFrame(Surface& surface, const Pen& pen, int kind, int32_t width, int32_t thickness);

// The shutter leaves folded open against a face: beyond side B when onSideB,
// otherwise beyond side A.
void DrawShutters(Surface& surface, const Pen& pen, bool onSideB, int32_t width, int32_t thickness,
                  int32_t volet);

// " A " and " B " on green boxes at the two ends of wall w: shown for the
// selected wall and for the wall of the selected opening.
void DrawWallLabels(const TCasaPlan& plan, Surface& surface, int32_t w);

}  // namespace casavo
