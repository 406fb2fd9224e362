// How a room walk finds the outline point that continues it.

#pragma once

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

}  // namespace casavo
