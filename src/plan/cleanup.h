// Indices the clean-up passes use to find duplicates and coincidences.

#pragma once

#include "plan/casa_plan.h"

namespace casavo {

// How the clean-up passes find duplicate walls, coincident corners and
// corners without walls.
enum class CleanUpSearch {
  kScan,     // the nested loops over the tables
  kIndexed,  // tables of the walls by their two end positions, of the corners by
             // position and of the wall ends per corner: the same deletions in the
             // same order, without the quadratic cost
};

// TCasaPlan::RemoveShortAndDuplicateWalls and MergeCoincidentCorners, which use
// the indexed search.
void RemoveShortAndDuplicateWallsWith(TCasaPlan& plan, CleanUpSearch search);
void MergeCoincidentCornersWith(TCasaPlan& plan, CleanUpSearch search);

}  // namespace casavo
