// The rooms of a plan whose corners a drag moves, found again walk by walk.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "plan/casa_plan.h"
#include "plan/corner_index.h"
#include "plan/rooms.h"

namespace casavo {

// Keeps the rooms of a plan as DetectRooms finds them while a gesture moves
// corners and changes nothing else. A detection walks the wall faces from
// each start entry in turn, and each walk depends only on the entries it
// looks at and on which of them the walks before it went through; so after a
// move only the walks that looked at an entry the move changed, and those
// after them that looked at an entry whose visits changed, are made again.
// The rooms keep the order, borders, areas, centres and keys of a whole
// detection.
class LocalRooms : private WalkHistory {
 public:
  explicit LocalRooms(TCasaPlan& plan);
  ~LocalRooms() override;
  LocalRooms(const LocalRooms&) = delete;
  LocalRooms& operator=(const LocalRooms&) = delete;

  // After `corners` moved and the outlines of `walls`, all those they reach,
  // were worked out again. The first call, and any the walks kept cannot
  // answer, detects every room.
  void CornersMoved(const std::vector<int32_t>& corners, const std::vector<int32_t>& walls,
                    const CornerWallIndex& index);

  // How many calls detected every room, and how many made only some walks again.
  int32_t WholeDetections() const { return whole_; }
  int32_t LocalDetections() const { return local_; }

 private:
  using RoomChange = std::pair<int32_t, std::optional<TPiece>>;  // start, the room if it is one

  bool VisitedEarlier(int32_t entry) const override;

  void DetectWhole();
  bool DetectAround(const std::vector<int32_t>& corners, const std::vector<int32_t>& walls,
                    const CornerWallIndex& index);
  void Queue(int32_t start);
  void QueueNearMovedWalls(const std::vector<int32_t>& corners, const CornerWallIndex& index);
  void WalkAgain(int32_t start, std::vector<RoomChange>& changes);
  void Revisit(int32_t start, const RoomWalk& before, const RoomWalk& after);
  void Reread(int32_t start, const RoomWalk& before, const RoomWalk& after);
  bool PutRooms(const std::vector<RoomChange>& changes);
  void MoveRooms(std::vector<int32_t> starts);
  void FindOpenWalkEnds();
  RoomWalk& WalkFrom(int32_t start) { return walks_[static_cast<size_t>(start - 5)]; }

  TCasaPlan& plan_;
  std::unique_ptr<RoomWalks> walker_;  // none until a whole detection succeeds
  std::vector<RoomWalk> walks_;        // by start entry, from 5
  // By entry: the starts of the walks that looked at it, and, ascending,
  // those that went through it; how many walks on a loop went through it.
  std::vector<std::vector<int32_t>> readers_, visitors_;
  std::vector<int32_t> onLoop_;
  std::vector<int32_t> roomStarts_;  // ascending: room r is the walk from roomStarts_[r - 1]
  std::vector<int32_t> anyWall_;     // the walks that depend on every wall
  std::vector<int32_t> stops_;       // by start, from 5: where the walk stopped on no loop, or 0
  std::vector<TPoint> corners_;      // the corners where the walks last saw them
  // The walks to make again, smallest start first, and which are queued.
  std::vector<int32_t> queue_;
  std::vector<bool> queued_;
  int32_t current_ = 0;  // the start of the walk being made again
  TPiece scratch_;
  int32_t whole_ = 0, local_ = 0;
};

}  // namespace casavo
