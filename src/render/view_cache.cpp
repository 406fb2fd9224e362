// The view's last picture during a drag, and the repaint of only the regions a move changes.
#include "render/view_cache.h"

#include <QRegion>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <tuple>

#include "plan/geometry.h"
#include "render/item_boxes.h"
#include "render/painter.h"
#include "render/surface_qpainter.h"

namespace casavo {
namespace {

using Item = PlanPainter::Item;

// Corners closer than this are marked as problems.
constexpr int32_t kCloseCorners = 250;

bool MarkBefore(const BoundsSurface::Mark& a, const BoundsSurface::Mark& b) {
  return std::make_tuple(a.box.left(), a.box.top(), a.box.width(), a.box.height(), a.tag) <
         std::make_tuple(b.box.left(), b.box.top(), b.box.width(), b.box.height(), b.tag);
}

// Dirty boxes that overlap or nearly do are repainted as one: every pass
// walks the items and repaints the feedback.
std::vector<QRect> Merged(std::vector<QRect> rects) {
  constexpr int64_t kSlack = 128 * 128;
  const auto area = [](const QRect& r) { return int64_t{r.width()} * r.height(); };
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < rects.size() && !merged; ++i) {
      for (size_t j = i + 1; j < rects.size(); ++j) {
        const QRect both = rects[i] | rects[j];
        if (area(both) > area(rects[i]) + area(rects[j]) + kSlack) continue;
        rects[i] = both;
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
        break;
      }
    }
  }
  return rects;
}

}  // namespace

ViewCache::ViewKey ViewCache::KeyOf(const TCasaPlan& plan, QSize image) {
  ViewKey key;
  key.width = image.width();
  key.height = image.height();
  key.x0 = plan.x0;
  key.y0 = plan.y0;
  key.markerSize = plan.MarkerSize;
  key.zx = plan.zx;
  key.zy = plan.zy;
  key.selIndex = plan.SelIndex;
  key.selKind = plan.SelKind;
  key.selectedRun = plan.SelectedRun.Count;
  key.walls = plan.WallCount;
  key.corners = plan.CornerCount;
  key.openings = plan.OpeningCount;
  key.objects = plan.ObjectCount;
  key.rooms = plan.ShowRooms;
  key.dimensions = plan.ShowDimensions;
  key.problems = plan.ShowProblems;
  key.objectsShown = plan.ShowObjects;
  key.names = plan.ShowObjectNames;
  return key;
}

std::vector<BoundsSurface::Mark> ViewCache::FeedbackMarks(TCasaPlan& plan) const {
  BoundsSurface bounds;
  PlanPainter measure(plan, bounds);
  if (itemsKnown_) measure.UseCloseCorners(&closeCorners_);
  measure.DrawFeedback();
  std::vector<BoundsSurface::Mark> marks = bounds.TakeMarks();
  std::sort(marks.begin(), marks.end(), MarkBefore);
  return marks;
}

void ViewCache::RenewCloseCorners(const TCasaPlan& plan, const std::vector<int32_t>& changedWalls) {
  std::vector<int32_t> moved;
  for (const int32_t w : changedWalls) {
    moved.push_back(plan.Walls[w].C1);
    moved.push_back(plan.Walls[w].C2);
  }
  std::sort(moved.begin(), moved.end());
  moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
  const auto isMoved = [&](int32_t c) { return std::binary_search(moved.begin(), moved.end(), c); };
  std::erase_if(closeCorners_,
                [&](const auto& pair) { return isMoved(pair.first) || isMoved(pair.second); });
  for (const int32_t m : moved) {
    const TPoint a = plan.Corners[m];
    for (int32_t j = 1; j <= plan.CornerCount; ++j) {
      const TPoint b = plan.Corners[j];
      // Closer than 250 mm means closer than that on each axis first.
      if (j == m || std::abs(int64_t{a.x} - b.x) >= kCloseCorners ||
          std::abs(int64_t{a.y} - b.y) >= kCloseCorners)
        continue;
      const int32_t d = Distance(a, b);
      if (d > 0 && d < kCloseCorners) closeCorners_.emplace_back(std::min(m, j), std::max(m, j));
    }
  }
  std::sort(closeCorners_.begin(), closeCorners_.end());
  closeCorners_.erase(std::unique(closeCorners_.begin(), closeCorners_.end()), closeCorners_.end());
}

void ViewCache::Invalidate() {
  painted_ = false;
  itemsKnown_ = false;
}

void ViewCache::PaintWhole(TCasaPlan& plan, QImage& image) {
  Invalidate();
  DrawPlan(plan, image);
  feedback_ = FeedbackMarks(plan);
  key_ = KeyOf(plan, image.size());
  painted_ = true;
}

void ViewCache::PrepareChange(TCasaPlan& plan) {
  if (!painted_ || itemsKnown_ || KeyOf(plan, QSize(key_.width, key_.height)) != key_) return;
  boxes_.MeasureAll(plan);
  roomKeys_.assign(boxes_.rooms.size(), std::string());
  for (int32_t k = 1; k <= ShownRooms(plan); ++k)
    roomKeys_[static_cast<size_t>(k)] = plan.Rooms[k].hash;
  closeCorners_ = CloseCornerPairs(plan);
  itemsKnown_ = true;
}

bool ViewCache::PaintChange(TCasaPlan& plan, QImage& image,
                            const std::vector<int32_t>& changedWalls) {
  if (!painted_ || !itemsKnown_ || KeyOf(plan, image.size()) != key_) return false;
  try {
    std::vector<bool> wallChanged(static_cast<size_t>(plan.WallCount) + 1, false);
    for (const int32_t w : changedWalls) wallChanged.at(static_cast<size_t>(w)) = true;

    // The region: where each changed item was and where it is now.
    std::vector<QRect> dirty;
    ItemMeasure measure(plan);
    const auto renew = [&](Item kind, std::vector<QRect>& boxes, int32_t i) {
      QRect& box = boxes[static_cast<size_t>(i)];
      dirty.push_back(box);
      box = measure.BoxOf(kind, i);
      dirty.push_back(box);
    };
    for (const int32_t w : changedWalls) renew(Item::kWall, boxes_.walls, w);
    for (int32_t k = 1; k <= plan.OpeningCount; ++k)
      if (wallChanged.at(static_cast<size_t>(plan.Openings[k].imur)))
        renew(Item::kOpening, boxes_.openings, k);

    // A room is the same while its key is and no point of its border moved.
    const int32_t before = static_cast<int32_t>(boxes_.rooms.size()) - 1, after = ShownRooms(plan);
    for (int32_t k = after + 1; k <= before; ++k) {
      dirty.push_back(boxes_.rooms[static_cast<size_t>(k)]);
      dirty.push_back(boxes_.labels[static_cast<size_t>(k)]);
    }
    boxes_.rooms.resize(static_cast<size_t>(after) + 1);
    boxes_.labels.resize(boxes_.rooms.size());
    roomKeys_.resize(boxes_.rooms.size());
    for (int32_t k = 1; k <= after; ++k) {
      const TPiece& room = plan.Rooms[k];
      bool same = k <= before && roomKeys_[static_cast<size_t>(k)] == room.hash;
      for (int32_t i = 1; same && i <= room.Border.Count; ++i)
        same = !wallChanged.at(static_cast<size_t>((room.Border[i] - 1) / 4));
      if (same) continue;
      renew(Item::kRoom, boxes_.rooms, k);
      renew(Item::kRoomLabel, boxes_.labels, k);
      roomKeys_[static_cast<size_t>(k)] = room.hash;
    }

    // A piece of furniture a moved wall reaches may turn red or back: whole.
    const size_t reached = dirty.size();
    for (size_t i = 1; i < boxes_.objets.size(); ++i)
      if (std::any_of(dirty.begin(), dirty.begin() + static_cast<std::ptrdiff_t>(reached),
                      [&](const QRect& r) { return r.intersects(boxes_.objets[i]); }))
        dirty.push_back(boxes_.objets[i]);

    // Feedback that appeared, went or moved.
    RenewCloseCorners(plan, changedWalls);
    std::vector<BoundsSurface::Mark> feedback = FeedbackMarks(plan);
    std::vector<BoundsSurface::Mark> changed;
    std::set_symmetric_difference(feedback_.begin(), feedback_.end(), feedback.begin(),
                                  feedback.end(), std::back_inserter(changed), MarkBefore);
    for (const auto& mark : changed) dirty.push_back(mark.box);
    feedback_ = std::move(feedback);

    std::vector<QRect> rects;
    for (const QRect& box : dirty)
      if (const QRect r = box & image.rect(); !r.isEmpty()) rects.push_back(r);

    // Each region repainted whole: the background, every item that reaches
    // into it in the order of a whole paint, the feedback.
    for (const QRect& region : Merged(std::move(rects))) {
      QPainterSurface surface(image, QRegion(region));
      boxes_.PaintRegion(plan, surface, closeCorners_, region);
    }
    return true;
  } catch (...) {
    Invalidate();
    throw;
  }
}

}  // namespace casavo
