// Helpers of the render tests: French locale, recorded ops.

#pragma once

#include <QLocale>
#include <QPointF>
#include <memory>
#include <vector>

#include "plan/casa_plan.h"
#include "render/painter.h"
#include "render/surface_recording.h"

namespace casavo::testing {

using Kind = RecordedOp::Kind;

// Numbers shown to the user follow the French locale in these tests.
inline void UseFrenchLocale() {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

// A plan at zoom 0.05 in an 800 x 600 view, allocated once per test (the
// tables are large).
inline std::unique_ptr<TCasaPlan> NewPlan() {
  auto plan = std::make_unique<TCasaPlan>();
  plan->zx = plan->zy = 0.05;
  plan->ViewWidth = 800;
  plan->ViewHeight = 600;
  return plan;
}

// Appends a wall between two new or existing corners, as they are.
inline int32_t Wall(TCasaPlan& plan, TPoint a, TPoint b, int32_t epais) {
  const int32_t c1 = plan.FindOrAddCorner(a);
  const int32_t c2 = plan.FindOrAddCorner(b);
  return plan.AppendWall(c1, c2, epais);
}

inline std::vector<RecordedOp> Paint(TCasaPlan& plan) {
  RecordingSurface surface;
  PlanPainter(plan, surface).Draw();
  return surface.Ops();
}

inline std::vector<RecordedOp> OfKind(const std::vector<RecordedOp>& ops, Kind kind) {
  std::vector<RecordedOp> out;
  for (const RecordedOp& op : ops)
    if (op.kind == kind) out.push_back(op);
  return out;
}

inline std::vector<RecordedOp> Texts(const std::vector<RecordedOp>& ops, const QString& text) {
  std::vector<RecordedOp> out;
  for (const RecordedOp& op : ops)
    if (op.kind == Kind::kText && op.text == text) out.push_back(op);
  return out;
}

// Where a local point of a primitive lands on screen.
inline QPointF Screen(const RecordedOp& op, double x, double y) {
  return op.transform.map(QPointF(x, y));
}

// The screen centre of a text: its box is centred on (0, 0) in its frame for
// rotated texts, or on its origin plus half the box otherwise.
inline QPointF TextCentre(const RecordedOp& op) {
  const double w = op.text.size() * RecordingSurface::kCharWidthEm * op.font.emSize;
  const double h = RecordingSurface::kLineHeightEm * op.font.emSize;
  return Screen(op, op.coords[0] + w / 2, op.coords[1] + h / 2);
}

}  // namespace casavo::testing
