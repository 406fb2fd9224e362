// CornerWallIndex: the walls at each corner.

#include "plan/corner_index.h"

#include <utility>

#include "common/errors.h"
#include "plan/casa_plan.h"

namespace casavo {

CornerWallIndex::CornerWallIndex(const TCasaPlan& plan)
    : first_(static_cast<size_t>(plan.CornerCount) + 2, 0),
      walls_(2 * static_cast<size_t>(plan.WallCount)) {
  const auto checked = [&plan](int32_t corner) {
    if (corner < 1 || corner > plan.CornerCount) throw RangeError();
    return static_cast<size_t>(corner);
  };
  // The walls' ends, read once: the wall records are wide, and the fill
  // below reads the ends again in the same order.
  std::vector<std::pair<size_t, size_t>> ends(static_cast<size_t>(plan.WallCount));
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    auto& [c1, c2] = ends[static_cast<size_t>(w) - 1];
    c1 = checked(plan.Walls[w].C1);
    c2 = checked(plan.Walls[w].C2);
    ++first_[c1 + 1];
    ++first_[c2 + 1];
  }
  for (size_t k = 1; k < first_.size(); ++k) first_[k] += first_[k - 1];
  std::vector<int32_t> next(first_.begin(), first_.end() - 1);
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const auto [c1, c2] = ends[static_cast<size_t>(w) - 1];
    walls_[static_cast<size_t>(next[c1]++)] = w;
    walls_[static_cast<size_t>(next[c2]++)] = w;
  }
}

std::span<const int32_t> CornerWallIndex::WallsAt(int32_t corner) const {
  if (corner < 1 || corner + 1 >= static_cast<int32_t>(first_.size())) throw RangeError();
  const auto begin = walls_.begin() + first_[static_cast<size_t>(corner)];
  const auto end = walls_.begin() + first_[static_cast<size_t>(corner) + 1];
  return {begin, end};
}

}  // namespace casavo
