// The view's last picture during a drag, and the repaint of only the regions a move changes.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "plan/casa_plan.h"
#include "render/item_boxes.h"
#include "render/surface_bounds.h"

namespace casavo {

// The editor's picture of the plan, kept from one pointer move to the next
// while a gesture moves corners: a move repaints only the region its change
// can reach, with everything that lies in that region painted again in the
// order of a whole paint, so that the picture stays the one a whole paint
// gives, pixel for pixel.
class ViewCache {
 public:
  // Paints the whole plan into image (as DrawPlan) and remembers what its
  // feedback shows. Where the items lie is found at the next PrepareChange.
  void PaintWhole(TCasaPlan& plan, QImage& image);
  // Before corners move: finds where each item of the picture lies, unless
  // known already. Does nothing when the plan or its view is no longer the
  // one painted.
  void PrepareChange(TCasaPlan& plan);
  // After corners moved and the outlines of changedWalls (every wall whose
  // outline may differ) and the rooms were refreshed: repaints, in image,
  // which holds the last picture, what the change can have touched. False,
  // with nothing painted, when image, plan or view are not those painted
  // last: only a whole paint will do.
  bool PaintChange(TCasaPlan& plan, QImage& image, const std::vector<int32_t>& changedWalls);
  // The next change needs a whole paint first.
  void Invalidate();

 private:
  // What decides the picture besides the items' geometry.
  struct ViewKey {
    int32_t width = 0, height = 0, x0 = 0, y0 = 0, markerSize = 0;
    double zx = 0, zy = 0;
    int32_t selIndex = 0, selKind = 0, selectedRun = 0;
    int32_t walls = 0, corners = 0, openings = 0, objects = 0;
    bool rooms = false, dimensions = false, problems = false, objectsShown = false, names = false;
    friend bool operator==(const ViewKey&, const ViewKey&) = default;
  };
  static ViewKey KeyOf(const TCasaPlan& plan, QSize image);
  // The marks of the editor's feedback as the plan shows it now.
  std::vector<BoundsSurface::Mark> FeedbackMarks(TCasaPlan& plan) const;
  // The close corner pairs after the corners of changedWalls moved: the
  // pairs of the others stay as they were.
  void RenewCloseCorners(const TCasaPlan& plan, const std::vector<int32_t>& changedWalls);

  bool painted_ = false;
  bool itemsKnown_ = false;
  ViewKey key_;
  std::vector<BoundsSurface::Mark> feedback_;
  // Boxes of the items on the picture, and the key of each room shown.
  ItemBoxes boxes_;
  std::vector<std::string> roomKeys_;
  // CloseCornerPairs of the plan, while items are known.
  std::vector<std::pair<int32_t, int32_t>> closeCorners_;
};

}  // namespace casavo
