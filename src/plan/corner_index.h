// CornerWallIndex: the walls at each corner, built once per refresh.

#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace casavo {

class TCasaPlan;

// The walls standing on each corner, built in one pass so that the joints and
// the room walk look at a corner's own walls instead of scanning the table.
// WallsAt(k) lists the same walls in the same order as WallsAtCorner(k): wall
// index order, a wall with both ends on k twice.
class CornerWallIndex {
 public:
  explicit CornerWallIndex(const TCasaPlan& plan);

  std::span<const int32_t> WallsAt(int32_t corner) const;
  // Number of wall ends on the corner.
  int32_t EndCount(int32_t corner) const { return static_cast<int32_t>(WallsAt(corner).size()); }

 private:
  std::vector<int32_t> first_;  // first_[k]..first_[k+1] slice walls_ for corner k
  std::vector<int32_t> walls_;
};

}  // namespace casavo
