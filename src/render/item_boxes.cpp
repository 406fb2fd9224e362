// Where each item of the plan's picture lies, and the paint of a region of it from those boxes.
#include "render/item_boxes.h"

namespace casavo {

using Item = PlanPainter::Item;

int32_t ShownRooms(const TCasaPlan& plan) {
  return plan.ShowRooms ? plan.RoomCount : 0;
}

int32_t ShownObjets(const TCasaPlan& plan) {
  return plan.ShowObjects ? plan.ObjectCount : 0;
}

QRect ItemMeasure::BoxOf(Item kind, int32_t index) {
  painter_.DrawItem(kind, index);
  return bounds_.TakeUnion();
}

void ItemBoxes::MeasureAll(TCasaPlan& plan) {
  ItemMeasure measure(plan);
  const auto measureAll = [&](Item kind, int32_t count, std::vector<QRect>& boxes) {
    boxes.assign(static_cast<size_t>(count) + 1, QRect());
    for (int32_t i = 1; i <= count; ++i) boxes[static_cast<size_t>(i)] = measure.BoxOf(kind, i);
  };
  measureAll(Item::kRoom, ShownRooms(plan), rooms);
  measureAll(Item::kWall, plan.WallCount, walls);
  measureAll(Item::kOpening, plan.OpeningCount, openings);
  measureAll(Item::kObjet, ShownObjets(plan), objets);
  measureAll(Item::kRoomLabel, ShownRooms(plan), labels);
}

void ItemBoxes::PaintRegion(TCasaPlan& plan, Surface& surface,
                            const std::vector<std::pair<int32_t, int32_t>>& closeCorners,
                            const QRect& region) const {
  PlanPainter painter(plan, surface);
  painter.UseCloseCorners(&closeCorners);
  painter.DrawBackground();
  const auto paintAll = [&](Item kind, const std::vector<QRect>& boxes) {
    for (size_t i = 1; i < boxes.size(); ++i)
      if (boxes[i].intersects(region)) painter.DrawItem(kind, static_cast<int32_t>(i));
  };
  paintAll(Item::kRoom, rooms);
  paintAll(Item::kWall, walls);
  paintAll(Item::kOpening, openings);
  paintAll(Item::kObjet, objets);
  paintAll(Item::kRoomLabel, labels);
  painter.DrawFeedback();
}

}  // namespace casavo
