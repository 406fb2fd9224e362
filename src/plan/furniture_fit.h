// Furniture against walls: an object that runs into a wall, and the place that rests it against a
// face.
#pragma once

#include <cstdint>
#include <optional>

#include "plan/casa_plan.h"

namespace casavo {

// Whether object k lies across a wall: its rectangle and a wall's body
// overlap by more than a couple of millimetres (an object flat against a face
// does not). Reads the walls' Shape: the outlines must be fresh.
bool ObjetCrossesWall(const TCasaPlan& plan, int32_t k);

// Where an object is put against a wall: its centre and angle.
struct WallPlacement {
  TPoint centre;
  int32_t angle = 0;
  int32_t wall = 0;
};

// Magnetism of furniture: an object of width l and depth h with its centre
// at c, turned by a, whose rectangle comes within reach (millimetres) of a
// wall face that it stands in front of, is turned to face away from that
// face, its back (its -y side) flat against it. The nearest such face wins;
// nothing when there is none. Reads the walls' Shape.
std::optional<WallPlacement> PlaceAgainstWall(const TCasaPlan& plan, TPoint c, int32_t l, int32_t h,
                                              int32_t a, int32_t reach);

}  // namespace casavo
