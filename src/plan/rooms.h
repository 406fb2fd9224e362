// How a room walk finds the outline point that continues it.

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo {

// How a room walk finds the outline point that coincides with its last one.
enum class CoincidentSearch {
  kScan,  // every outline entry in index order
  kGrid,  // a hash of 5 mm cells; the same first match, without the quadratic cost
};

// Rebuilds plan.RoomCount and plan.Rooms from plan.Outline, which
// RefreshGeometry has filled. Never raises: an error ends the detection and
// the rooms found until then stay.
void DetectRoomsWith(TCasaPlan& plan, CoincidentSearch search);

class CornerWallIndex;

// What a walk being made again knows of the walks made before it.
class WalkHistory {
 public:
  virtual ~WalkHistory() = default;
  // Whether a walk from an earlier start went through the entry.
  virtual bool VisitedEarlier(int32_t entry) const = 0;
};

// How one walk of a detection ended and what it depended on.
struct RoomWalk {
  int32_t stop = 0;              // where it stopped on no loop; 0 when it did not
  bool onLoop = false;           // its visited entries lie on a loop
  bool room = false;             // the loop is a room
  bool anyWall = false;          // it looked for a point in no wall: it depends on every wall
  TRect box{};                   // when anyWall: the bounds of its border
  std::vector<int32_t> read;     // entries whose point, neighbours or visit it looked at, once each
  std::vector<int32_t> visited;  // entries it went through, once each
};

// The walks of a room detection, kept so that a drag, which moves corners
// and changes nothing else, can make again only those a move can change.
class RoomWalks {
 public:
  explicit RoomWalks(TCasaPlan& plan);
  ~RoomWalks();
  RoomWalks(const RoomWalks&) = delete;
  RoomWalks& operator=(const RoomWalks&) = delete;

  // The rooms as DetectRooms finds them, and walks[s - 5], how the walk from
  // each start s went. False when the detection ended early: an error, or
  // the room table full.
  bool DetectAll(std::vector<RoomWalk>& walks);

  // After the outlines of `walls` were worked out again: their points and
  // faces as they are now. Returns the entries whose walk steps may go
  // differently: theirs, and those that coincide with a moved point before or
  // after the move. Ascending, once each.
  std::vector<int32_t> WallsMoved(const std::vector<int32_t>& walls,
                                  const CornerWallIndex& corners);

  // The walk from start made again in `room`, the walks before it as
  // `history` says. Raises what the walk raises.
  RoomWalk WalkAgain(int32_t start, TPiece& room, const WalkHistory& history);

 private:
  struct Impl;
  static RoomWalk Record(const Impl& impl, int32_t stop, bool onLoop, bool room,
                         const TPiece& piece);
  std::unique_ptr<Impl> impl_;
};

}  // namespace casavo
