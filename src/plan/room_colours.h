// The palette of soft room colours, and a colour for a new room that its neighbours do not have.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo {

// Twelve soft colours for rooms, as colour texts ("RRGGBB").
const std::array<const char*, 12>& RoomPalette();

// The keys of the rooms found by the last detection.
std::vector<std::string> RoomHashes(const TCasaPlan& plan);

// Gives every room that is not among known and has no colour of its own a
// colour of the palette that no room sharing a wall with it has, the one
// fewest rooms have first. Reads the rooms of the last detection.
void ColourNewRooms(TCasaPlan& plan, const std::vector<std::string>& known);

}  // namespace casavo
