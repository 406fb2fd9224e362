// SavedView: puts back what a paint outside the editor changed.

#pragma once

#include <cstdint>

#include "plan/casa_plan.h"

namespace casavo {

// Puts back, when it goes, what a paint outside the editor changes in the
// plan: the six view fields, the display switches, the selection and the
// guides. Restored whatever happened in between.
class SavedView {
 public:
  explicit SavedView(TCasaPlan& plan)
      : plan_(plan),
        x0_(plan.x0),
        y0_(plan.y0),
        zx_(plan.zx),
        zy_(plan.zy),
        width_(plan.ViewWidth),
        height_(plan.ViewHeight),
        selIndex_(plan.SelIndex),
        selKind_(plan.SelKind),
        guideX_(plan.GuideX),
        guideY_(plan.GuideY),
        switches_{plan.ShowDimensions, plan.ShowProblems, plan.ShowRooms, plan.ShowObjects,
                  plan.ShowObjectNames} {}
  ~SavedView() {
    plan_.x0 = x0_;
    plan_.y0 = y0_;
    plan_.zx = zx_;
    plan_.zy = zy_;
    plan_.ViewWidth = width_;
    plan_.ViewHeight = height_;
    plan_.SelIndex = selIndex_;
    plan_.SelKind = selKind_;
    plan_.GuideX = guideX_;
    plan_.GuideY = guideY_;
    plan_.ShowDimensions = switches_[0];
    plan_.ShowProblems = switches_[1];
    plan_.ShowRooms = switches_[2];
    plan_.ShowObjects = switches_[3];
    plan_.ShowObjectNames = switches_[4];
  }
  SavedView(const SavedView&) = delete;
  SavedView& operator=(const SavedView&) = delete;

 private:
  TCasaPlan& plan_;
  int32_t x0_, y0_;
  double zx_, zy_;
  int32_t width_, height_;
  int32_t selIndex_;
  uint8_t selKind_;
  int32_t guideX_, guideY_;
  bool switches_[5];
};

}  // namespace casavo
