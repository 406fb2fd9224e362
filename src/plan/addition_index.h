// AdditionIndex: what BulkAdding keeps to add walls without scanning.

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "plan/geometry.h"

namespace casavo {

class TCasaPlan;

// What a long series of added walls (a plan being read) asks of the plan
// again and again: the first corner at a position, and the walls a new wall
// may cross. Kept in step by the adding operations of TCasaPlan while a
// TCasaPlan::BulkAdding scope lives.
class AdditionIndex {
 public:
  // Indexes the plan's corners and walls as they are.
  explicit AdditionIndex(const TCasaPlan& plan);

  // The first corner (lowest index) at the position, or 0.
  int32_t CornerAt(TPoint p) const;
  // Corner k has just been appended at p.
  void CornerAdded(TPoint p, int32_t k);
  // Corner k has just moved away from `from`.
  void CornerMoved(const TCasaPlan& plan, int32_t k, TPoint from);
  // Corners count+1..oldCount have been taken back.
  void CornersDropped(const TCasaPlan& plan, int32_t count, int32_t oldCount);

  // Wall w has been appended or has a new end.
  void WallMoved(const TCasaPlan& plan, int32_t w);
  // The walls after+1..count that the crossing test with wall a must examine
  // as the plan stands, in increasing order: every wall that may cross it.
  // Nullopt when that cannot be worked out (a wall too long for the index's
  // cells, or walls near the ends of the int32 range): then all must be
  // examined.
  std::optional<std::vector<int32_t>> CrossingCandidates(const TCasaPlan& plan, int32_t a,
                                                         int32_t after, int32_t count) const;
  // The walls 1..count whose body may hold a point within `reach` of p, in
  // increasing order; nullopt as above.
  std::optional<std::vector<int32_t>> WallsNear(TPoint p, int64_t reach, int32_t count) const;
  // The corners that may lie within `reach` of the centre line of wall w, in
  // increasing order: every corner inside its body.
  std::vector<int32_t> CornersNear(const TCasaPlan& plan, int32_t w, int64_t reach) const;
  // Half the thickness of the thickest wall indexed, rounded up.
  int64_t HalfThickest() const { return halfThickest_; }

 private:
  // Bounds in millimetres, inclusive.
  struct Box {
    int64_t left, top, right, bottom;
  };
  struct PointHash {
    size_t operator()(TPoint p) const;
  };

  // A box that holds wall w prolonged at both ends by the crossing test's
  // tolerance.
  static Box ReachOf(const TCasaPlan& plan, int32_t w);
  // False when a crossing point might not fit int32.
  bool Safe() const;
  // The walls after+1..count registered in the cells the box touches, in
  // increasing order; nullopt when the box spans too many cells.
  std::optional<std::vector<int32_t>> WallsIn(const Box& box, int32_t after, int32_t count) const;
  void CornerLeaves(TPoint p, int32_t k);

  std::unordered_map<TPoint, int32_t, PointHash> corners_;
  std::unordered_map<uint64_t, std::vector<int32_t>> cells_;
  std::vector<int32_t> huge_;  // walls over too many cells, always examined
  std::optional<Box> all_;     // holds every box registered
  std::unordered_map<uint64_t, std::vector<int32_t>> cornerCells_;
  int64_t halfThickest_ = 0;
};

}  // namespace casavo
