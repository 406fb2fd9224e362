// Random sketches: walls as a hasty user draws them.

#pragma once

#include <cstdint>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo::gen {

// One wall as a plan text lists it.
struct Segment {
  TPoint from, to;
  int32_t epais = 200;
};

// A small plan drawn by a hasty hand, of the kind the fast-path tests make:
// up to 40 walls along a 500 mm grid (one at most on each grid line) that
// cross and end on each other, in
// thicknesses of 100 to 250 mm, some diagonal, some drawn backwards, and in
// about a third of the sketches walls traced again over part or all of
// another. The same sketch for the same seed.
std::vector<Segment> RandomSketch(uint64_t seed);

// Adds the walls one by one as the plan text reader does (a wall the plan
// refuses is skipped), with rooms shown, and refreshes the plan.
void DrawSketch(TCasaPlan& plan, const std::vector<Segment>& walls);

// The clean-up of a moved wall for every wall, as `casavo-tool info --clean`
// does; a clean-up that raises ends it. Then the plan is refreshed.
void CleanUpEveryWall(TCasaPlan& plan);

// What in a plan's walls is one of the known geometry faults (the drawings that
// did not work before it): two collinear walls covering a common stretch, a
// wall end inside another wall's body off its centre line, collinear walls of
// different thicknesses joined end to end, a wall shorter than 100 mm, or two
// walls meeting so that a joint point lies far from the corner (a sharp or
// nearly straight corner), or a room found where the walls close nothing (its
// centre inside a wall).
struct SketchFaults {
  bool overlap = false;
  bool nearMiss = false;
  bool thicknessStep = false;
  bool shortPiece = false;
  bool sharpCorner = false;
  bool phantomRoom = false;
};
SketchFaults FaultsOf(const TCasaPlan& plan);

}  // namespace casavo::gen
