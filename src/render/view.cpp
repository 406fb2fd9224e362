// The zoom, its label, the zoom about the middle of the view, the scale bar.

#include "render/view.h"

#include <cmath>

#include "common/numeric.h"

namespace casavo {

void SetZoom(TCasaPlan& plan, double zoom) {
  plan.zx = zoom;
  plan.zy = zoom;
}

QString ZoomLabelText(int32_t position) {
  return QStringLiteral("Zoom : %1 %").arg(position);
}

QString ZoomAbout(TCasaPlan& plan, int32_t position) {
  const double oldZx = plan.zx, oldZy = plan.zy;
  const double zoom = position / 1000.0;
  if (!(oldZx > 0 && oldZy > 0 && std::isfinite(oldZx) && std::isfinite(oldZy))) {
    SetZoom(plan, zoom);
    return ZoomLabelText(position);
  }
  const int32_t cx = plan.ViewWidth / 2;
  const int32_t cy = plan.ViewHeight / 2;
  try {
    const int32_t ax = plan.ScreenToPlanX(cx);
    const int32_t ay = plan.ScreenToPlanY(cy);
    SetZoom(plan, zoom);
    const int32_t bx = plan.ScreenToPlanX(cx);
    const int32_t by = plan.ScreenToPlanY(cy);
    const int32_t x0 = plan.PlanToScreenX(CheckedSub(bx, ax));
    const int32_t y0 = plan.PlanToScreenY(CheckedSub(by, ay));
    plan.x0 = x0;
    plan.y0 = y0;
  } catch (...) {
    plan.zx = oldZx;
    plan.zy = oldZy;
    throw;
  }
  return ZoomLabelText(position);
}

void DrawScaleBar(const TCasaPlan& plan, Surface& surface) {
  const Pen pen{kBlack, 1};
  const int32_t h = plan.ViewHeight;
  const int32_t end = RoundToInt(1000.0L * plan.zx + 10);
  surface.DrawLine(pen, 10, h - 10, end, h - 10);
  surface.DrawLine(pen, 10, h - 10, 10, h - 15);
  surface.DrawLine(pen, end, h - 10, end, h - 15);
  DrawTextAt(surface, QStringLiteral("1 m"), 12, RoundToInt(1000.0L * plan.zx + 15), h - 20, kBlack,
             kTransparentWhite);
}

}  // namespace casavo
