// The view of the plan area: the wheel, the keys and "Ajuster" zoom, the middle
// button pans.
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "common/numeric.h"
#include "editor/casa.h"
#include "render/view.h"

namespace casavo {
namespace {

// The zoom slider's range; the wheel and the keys stay within it.
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 0.5;
// "Ajuster" leaves this share of the view around the plan.
constexpr double kFitMargin = 0.9;
constexpr double kWheelStep = 1.15;

}  // namespace

void TCasa::ZoomAt(int32_t x, int32_t y, double factor) {
  const double zoom = std::clamp(Plan->zx * factor, kMinZoom, kMaxZoom);
  if (zoom == Plan->zx) return;
  const long double planX = (static_cast<long double>(x) - Plan->x0) / Plan->zx;
  const long double planY = (static_cast<long double>(y) - Plan->y0) / Plan->zy;
  const int32_t x0 = RoundToInt(x - planX * zoom);
  const int32_t y0 = RoundToInt(y - planY * zoom);
  SetZoom(*Plan, zoom);
  Plan->x0 = x0;
  Plan->y0 = y0;
  Paint();
  emit ZoomChanged(zoom);
}

void TCasa::FitPlan() {
  const TCasaPlan& plan = *Plan;
  if (plan.CornerCount == 0 || width() <= 0 || height() <= 0) return;
  int64_t left = plan.Corners[1].x, right = left, top = plan.Corners[1].y, bottom = top;
  for (int32_t c = 2; c <= plan.CornerCount; ++c) {
    left = std::min<int64_t>(left, plan.Corners[c].x);
    right = std::max<int64_t>(right, plan.Corners[c].x);
    top = std::min<int64_t>(top, plan.Corners[c].y);
    bottom = std::max<int64_t>(bottom, plan.Corners[c].y);
  }
  // Walls are thick: their outer faces lie beyond the corners.
  const int64_t pad = 2 * std::max<int32_t>(plan.DefaultThickness, 1);
  const double across = double(right - left + 2 * pad), down = double(bottom - top + 2 * pad);
  // A plan of one point keeps the zoom; otherwise every corner comes into view,
  // even when that needs a zoom below the slider's.
  const double zoom = std::min(kMaxZoom, kFitMargin * std::min(width() / across, height() / down));
  SetZoom(*Plan, zoom);
  Plan->x0 = RoundToInt(width() / 2.0L - (left + right) / 2.0L * zoom);
  Plan->y0 = RoundToInt(height() / 2.0L - (top + bottom) / 2.0L * zoom);
  Paint();
  emit ZoomChanged(zoom);
}

void TCasa::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) return;
  const QPoint p = event->position().toPoint();
  Guarded([&] { ZoomAt(p.x(), p.y(), std::pow(kWheelStep, steps)); });
  event->accept();
}

void TCasa::StartPan(int32_t x, int32_t y) {
  panning_ = true;
  DownX = x;
  DownY = y;
  DownX0 = Plan->x0;
  DownY0 = Plan->y0;
}

}  // namespace casavo
