// The outlines of the walls a moved corner reaches, refreshed without a pass over the whole plan.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "plan/casa_plan.h"
#include "plan/corner_index.h"
#include "plan/local_rooms.h"

namespace casavo {

// The derived geometry of a plan while a gesture moves some of its corners
// and changes nothing else: only the outlines those corners can reach are
// worked out again. The plan comes out as RefreshGeometry leaves it.
class LocalRefresh {
 public:
  // Built on the plan's walls and corners as they stand; moving corners
  // keeps it valid, any other change needs a new one.
  explicit LocalRefresh(const TCasaPlan& plan);

  // Whether the plan still has the tables it was built on, by their counts.
  bool Fits(const TCasaPlan& plan) const;

  // The walls whose outlines depend on the corners' positions: the walls at
  // them and every wall that meets one of those at its other end, whose
  // joint looks at it. Ascending, once each.
  std::vector<int32_t> WallsReached(const std::vector<int32_t>& corners) const;

  // After the corners moved: the outlines of WallsReached, then the rooms
  // when they are shown. Returns the walls refreshed.
  std::vector<int32_t> CornersMoved(TCasaPlan& plan, const std::vector<int32_t>& corners);

  // The room detections since it was built, none while rooms are hidden.
  const LocalRooms* Rooms() const { return rooms_ ? &*rooms_ : nullptr; }

 private:
  CornerWallIndex index_;
  // Rooms found walk by walk; dropped while they are hidden, whose moves
  // leave them behind.
  std::optional<LocalRooms> rooms_;
  const TCasaPlan& plan_;
  int32_t walls_ = 0;
  int32_t corners_ = 0;
};

}  // namespace casavo
