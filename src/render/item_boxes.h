// Where each item of the plan's picture lies, and the paint of a region of it from those boxes.
#pragma once

#include <QRect>
#include <cstdint>
#include <utility>
#include <vector>

#include "plan/casa_plan.h"
#include "render/painter.h"
#include "render/surface_bounds.h"

namespace casavo {

// The box on the picture of each item a whole paint draws in the plan's
// current view, by kind and index (slot 0 unused). Inside a region, painting
// the items whose boxes reach into it, in a whole paint's order, gives the
// whole paint's pixels: the others change none there.
struct ItemBoxes {
  std::vector<QRect> rooms, walls, openings, objets, labels;

  // Measures every item shown.
  void MeasureAll(TCasaPlan& plan);
  // Paints region of the picture through surface as a whole paint does:
  // the background, every item whose box reaches into region, in a whole
  // paint's order, then the feedback, with the plan's close corner pairs.
  void PaintRegion(TCasaPlan& plan, Surface& surface,
                   const std::vector<std::pair<int32_t, int32_t>>& closeCorners,
                   const QRect& region) const;
};

// Measures one item at a time on a surface that paints nothing.
class ItemMeasure {
 public:
  explicit ItemMeasure(TCasaPlan& plan) : painter_(plan, bounds_) {}
  QRect BoxOf(PlanPainter::Item kind, int32_t index);

 private:
  BoundsSurface bounds_;
  PlanPainter painter_;
};

// The rooms and objects a whole paint draws: none when they are hidden.
int32_t ShownRooms(const TCasaPlan& plan);
int32_t ShownObjets(const TCasaPlan& plan);

}  // namespace casavo
