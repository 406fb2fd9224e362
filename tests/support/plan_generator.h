// GeneratePlan: realistic plans of a given size for tests and benchmarks.

#pragma once

#include <cstdint>

#include "plan/casa_plan.h"

namespace casavo::gen {

// What GeneratePlan builds: about targetWalls walls (the count lands within a
// few percent), the same plan for the same seed.
struct PlanRecipe {
  int32_t targetWalls = 250;
  uint64_t seed = 1;
  bool withObjects = true;
};

// Clears the plan and fills it with detached houses and blocks of flats laid
// out on a site, as a user of the editor would draw them: rooms on a grid with
// shared walls, some partitions left out (larger or L-shaped rooms, walls
// ending free), outer walls drawn in long runs that the partitions cut, doors
// on partitions and windows with shutters on outer walls, a few furniture
// objects. Rooms are then detected (ShowRooms is turned on) and given names,
// kinds and colours under their keys. The view fields are left as they were.
// Returns the number of enclosed areas drawn: the grid cells of every
// building, joined where a partition was left out. Each is one room.
int32_t GeneratePlan(TCasaPlan& plan, const PlanRecipe& recipe);

}  // namespace casavo::gen
