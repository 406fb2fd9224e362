// Opening symbols: doors, windows, bays, shutters.

#include "render/symbols.h"

namespace casavo {

namespace {

constexpr double kFrameDepth = 80;  // window frame, across the wall
constexpr double kJambInset = 100;  // window cross lines, from each end
constexpr double kShutterGap = 20;  // between the face and a folded shutter
constexpr double kShutterDepth = 30;

void Arc(Surface& surface, const Pen& pen, double cx, double cy, double radius, double start,
         double sweep) {
  surface.DrawArc(pen, cx - radius, cy - radius, 2 * radius, 2 * radius, start, sweep);
}

// Leaves opening towards side A (v < 0).
void DrawDoorOnSideA(Surface& surface, const Pen& pen, int32_t sorte, int32_t w) {
  const double half = w / 2.0;
  switch (sorte) {
    case kDoorLeft:
      Arc(surface, pen, 0, 0, w, 0, -90);
      surface.DrawLine(pen, 0, 0, 0, -w);
      break;
    case kDoorRight:
      Arc(surface, pen, w, 0, w, 180, 90);
      surface.DrawLine(pen, w, 0, w, -w);
      break;
    case kDoorDouble:
      Arc(surface, pen, 0, 0, half, 0, -90);
      surface.DrawLine(pen, 0, 0, 0, -half);
      Arc(surface, pen, w, 0, half, 180, 90);
      surface.DrawLine(pen, w, 0, w, -half);
      break;
  }
}

// The same leaves turned by 180 degrees about the gap's centre: they open
// towards side B (v > t) and a left door stays a left door seen from there.
void DrawDoorOnSideB(Surface& surface, const Pen& pen, int32_t sorte, int32_t w, int32_t t) {
  const double half = w / 2.0;
  switch (sorte) {
    case kDoorLeft:
      Arc(surface, pen, w, t, w, 180, -90);
      surface.DrawLine(pen, w, t, w, t + static_cast<double>(w));
      break;
    case kDoorRight:
      Arc(surface, pen, 0, t, w, 0, 90);
      surface.DrawLine(pen, 0, t, 0, t + static_cast<double>(w));
      break;
    case kDoorDouble:
      Arc(surface, pen, 0, t, half, 0, 90);
      surface.DrawLine(pen, 0, t, 0, t + half);
      Arc(surface, pen, w, t, half, 180, -90);
      surface.DrawLine(pen, w, t, w, t + half);
      break;
  }
}

void DrawTypeSymbol(Surface& surface, const Pen& pen, const TOpening& opening, int32_t w,
                    int32_t t) {
  switch (opening.sorte) {
    case kDoorLeft:
    case kDoorRight:
    case kDoorDouble:
      if (opening.cote == 0)
        DrawDoorOnSideA(surface, pen, opening.sorte, w);
      else
        DrawDoorOnSideB(surface, pen, opening.sorte, w, t);
      break;
    case kWindowCentred:
      DrawWindowFrame(surface, pen, 1, w, t);
      break;
    case kWindowOffset:
      DrawWindowFrame(surface, pen, opening.cote == 0 ? 2 : 3, w, t);
      break;
  }
}

}  // namespace

void DrawWindowFrame(Surface& surface, const Pen& pen, int kind, int32_t width, int32_t thickness) {
  const double shift = kind == 1 ? kFrameDepth / 2 : kind == 3 ? kFrameDepth : 0;
  const double m = thickness / 2.0;
  const double w = width;
  surface.Translate(0, shift);
  surface.DrawLine(pen, 0, m - kFrameDepth, w, m - kFrameDepth);
  surface.DrawLine(pen, 0, m, w, m);
  surface.DrawLine(pen, kJambInset, m, kJambInset, m - kFrameDepth);
  surface.DrawLine(pen, w - kJambInset, m, w - kJambInset, m - kFrameDepth);
  surface.Translate(0, -shift);
}

void DrawShutters(Surface& surface, const Pen& pen, bool onSideB, int32_t width, int32_t thickness,
                  int32_t volet) {
  // The leaves are drawn in the band v = -50..-20 outside side A; for side B
  // the frame moves across the wall first.
  const double band = -(kShutterGap + kShutterDepth);
  const double acrossWall = thickness + 2 * kShutterGap + kShutterDepth;
  const double w = width;
  if (onSideB) surface.Translate(0, acrossWall);
  if (volet == kShutterDouble) {
    surface.DrawRectangle(pen, -w / 2, band, w / 2, kShutterDepth);
    surface.DrawRectangle(pen, w, band, w / 2, kShutterDepth);
  } else if ((volet == kShutterRight && !onSideB) || (volet == kShutterLeft && onSideB)) {
    surface.DrawRectangle(pen, w, band, w, kShutterDepth);
  } else if ((volet == kShutterLeft && !onSideB) || (volet == kShutterRight && onSideB)) {
    surface.DrawRectangle(pen, -w, band, w, kShutterDepth);
  }
  if (onSideB) surface.Translate(0, -acrossWall);
}

void DrawWallLabels(const TCasaPlan& plan, Surface& surface, int32_t w) {
  const TPoint a = plan.PlanToScreen(plan.Corners[plan.Walls[w].C1]);
  const TPoint b = plan.PlanToScreen(plan.Corners[plan.Walls[w].C2]);
  DrawTextCentred(surface, QStringLiteral(" A "), 12, a.x, a.y, kBlack, kGreen);
  DrawTextCentred(surface, QStringLiteral(" B "), 12, b.x, b.y, kBlack, kGreen);
}

void DrawOpening(const TCasaPlan& plan, Surface& surface, int32_t n) {
  const TOpening& opening = plan.Openings[n];
  const int32_t w = opening.large;
  const int32_t t = plan.Walls[opening.imur].epais;
  const bool selected = plan.Selected(kSelOpening) == n;
  const Pen pen = selected ? Pen{kGreen, 2} : Pen{kBlack, 1};

  const TQuad q = plan.OpeningPolygon(n);
  surface.Translate(plan.PlanToScreenX(q[0].x), plan.PlanToScreenY(q[0].y));
  surface.Rotate(Angle(q[0], q[1]));
  surface.Scale(plan.zx, plan.zy);
  // The white body hides the hatch; its outline closes the wall faces at both ends.
  surface.FillRectangle(Brush::Solid(kWhite), 0, 0, w, t);
  surface.DrawRectangle(pen, 0, 0, w, t);
  DrawTypeSymbol(surface, pen, opening, w, t);
  DrawShutters(surface, pen, opening.cote == 0, w, t, opening.volet);
  surface.ResetTransform();

  if (selected) DrawWallLabels(plan, surface, opening.imur);
}

}  // namespace casavo
