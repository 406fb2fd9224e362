// Tests of adding and deleting corners, walls, openings and objects.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/errors.h"
#include "plan/casa_plan.h"

namespace casavo {
namespace {

TPoint CornerOf(const TCasaPlan& plan, int32_t wall, int end) {
  return plan.Corners[end == 1 ? plan.Walls[wall].C1 : plan.Walls[wall].C2];
}

// Walls that use the corner at p, whatever their direction.
int WallsThrough(const TCasaPlan& plan, TPoint p) {
  int count = 0;
  for (int32_t w = 1; w <= plan.WallCount; ++w)
    if (CornerOf(plan, w, 1) == p || CornerOf(plan, w, 2) == p) ++count;
  return count;
}

TEST(AddWall, CrossingWallsAreCutIntoFourAroundOneSharedCorner) {
  TCasaPlan plan;
  EXPECT_EQ(plan.AddWall({5000, 5000}, {6000, 5000}), 1);
  EXPECT_EQ(plan.AddWall({5500, 4500}, {5500, 5500}), 2);
  EXPECT_EQ(plan.WallCount, 4);
  EXPECT_EQ(plan.CornerCount, 5);
  EXPECT_EQ(WallsThrough(plan, {5500, 5000}), 4);
  for (int32_t w = 1; w <= 4; ++w) {
    EXPECT_EQ(plan.Walls[w].epais, 250);
    EXPECT_EQ(plan.WallLength(w), 500);
  }
  // Each wall keeps its far end; the cut pieces run from the crossing back.
  EXPECT_EQ(CornerOf(plan, 1, 2), (TPoint{6000, 5000}));
  EXPECT_EQ(CornerOf(plan, 2, 2), (TPoint{5500, 5500}));
  EXPECT_EQ(CornerOf(plan, 3, 1), (TPoint{5500, 5000}));
  EXPECT_EQ(CornerOf(plan, 3, 2), (TPoint{5500, 4500}));
  EXPECT_EQ(CornerOf(plan, 4, 2), (TPoint{5000, 5000}));
}

TEST(AddWall, TJunctionCutsOnlyTheWallThatIsReached) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {6000, 5000});
  plan.AddWall({5500, 5100}, {5500, 5000});
  EXPECT_EQ(plan.WallCount, 3);
  EXPECT_EQ(plan.CornerCount, 4);
  EXPECT_EQ(WallsThrough(plan, {5500, 5000}), 3);
  EXPECT_EQ(plan.WallLength(2), 100);  // the stem is whole
}

TEST(AddWall, TouchingEndsAndNegativeCrossingsAreLeftAlone) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {6000, 5000});
  plan.AddWall({6000, 5000}, {6000, 6000});
  EXPECT_EQ(plan.WallCount, 2);
  EXPECT_EQ(plan.CornerCount, 3);

  TCasaPlan negative;
  negative.AddWall({-1000, -500}, {1000, -500});
  negative.AddWall({0, -1500}, {0, 500});
  EXPECT_EQ(negative.WallCount, 2);
  EXPECT_EQ(negative.CornerCount, 4);
}

// A wall stopping 1 or 3 mm short of another, inside its body, ends on its
// centre line and cuts it there: no stub is left between the two.
TEST(AddWall, AWallStoppingInsideAnotherJoinsIt) {
  for (const int32_t y : {5001, 5003}) {
    TCasaPlan plan;
    plan.AddWall({5000, 5000}, {7000, 5000});
    plan.AddWall({6000, 7000}, {6000, y});
    EXPECT_EQ(plan.WallCount, 3) << y;
    EXPECT_EQ(plan.CornerCount, 4) << y;
    EXPECT_EQ(WallsThrough(plan, {6000, 5000}), 3) << y;
  }
}

TEST(AddWall, PiecesCutOffAThickWallKeepItsThickness) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {5000, 7000});
  plan.AddWall({6000, 5000}, {6000, 7000});
  plan.DefaultThickness = 400;
  // Crosses both walls: three pieces of the new wall, all 400 thick.
  plan.AddWall({7000, 6000}, {4000, 6000});
  EXPECT_EQ(plan.WallCount, 7);
  int thick = 0;
  for (int32_t w = 1; w <= plan.WallCount; ++w) thick += plan.Walls[w].epais == 400;
  EXPECT_EQ(thick, 3);
}

TEST(AddWall, FullTablesRaiseBeforeWriting) {
  TCasaPlan plan;
  for (int32_t i = 0; i < TCasaPlan::kMaxCorners; ++i) plan.AddCorner({i, 0});
  EXPECT_THROW(plan.AddCorner({-1, -1}), RangeError);
  EXPECT_EQ(plan.CornerCount, TCasaPlan::kMaxCorners);
  // The first end exists, the second would need a corner: nothing is added.
  EXPECT_THROW(plan.AddWall({0, 0}, {5, 5}), RangeError);
  EXPECT_EQ(plan.CornerCount, TCasaPlan::kMaxCorners);
  EXPECT_EQ(plan.WallCount, 0);

  TCasaPlan walls;
  walls.AddCorner({0, 0});
  walls.AddCorner({0, 100});
  for (int32_t i = 0; i < TCasaPlan::kMaxWalls; ++i) walls.AppendWall(1, 2, 200);
  EXPECT_THROW(walls.AddWall({7, 7}, {8, 8}), RangeError);
  EXPECT_EQ(walls.CornerCount, 2);
  EXPECT_THROW(walls.AppendWall(1, 2, 200), RangeError);
  EXPECT_EQ(walls.WallCount, TCasaPlan::kMaxWalls);

  for (int32_t i = 0; i < TCasaPlan::kMaxOpenings; ++i) walls.AddOpening(1, 90, 50, 0, 0, 0);
  EXPECT_THROW(walls.AddOpening(1, 90, 50, 0, 0, 0), RangeError);
  EXPECT_EQ(walls.OpeningCount, TCasaPlan::kMaxOpenings);

  for (int32_t i = 0; i < TCasaPlan::kMaxObjects; ++i) walls.AddObjet(0, 0, 600, 600, 0, 0, "x");
  EXPECT_THROW(walls.AddObjet(0, 0, 600, 600, 0, 0, "x"), RangeError);
  EXPECT_EQ(walls.ObjectCount, TCasaPlan::kMaxObjects);
}

TEST(AddWall, AFullWallTableNeverLeavesAWallShortenedWithoutItsPiece) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {7000, 5000});
  plan.AddCorner({0, 0});
  plan.AddCorner({0, 100});
  while (plan.WallCount < TCasaPlan::kMaxWalls - 1)
    plan.AppendWall(plan.CornerCount - 1, plan.CornerCount, 10);
  // The new wall fits, the piece its crossing would cut off does not.
  EXPECT_THROW(plan.AddWall({6000, 4000}, {6000, 6000}), RangeError);
  EXPECT_EQ(CornerOf(plan, 1, 1), (TPoint{5000, 5000}));
  EXPECT_EQ(CornerOf(plan, 1, 2), (TPoint{7000, 5000}));
}

TEST(Openings, AddRefusesAMissingWallAndDeleteKeepsTheRest) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {8000, 5000});
  EXPECT_EQ(plan.AddOpening(0, 900, 500, 0, 0, 0), 0);
  EXPECT_EQ(plan.AddOpening(2, 900, 500, 0, 0, 0), 0);
  EXPECT_EQ(plan.OpeningCount, 0);
  EXPECT_EQ(plan.AddOpening(1, 900, 500, 1002, 1, 0), 1);
  EXPECT_EQ(plan.AddOpening(1, 800, 1500, 2001, 3, 1), 2);
  EXPECT_EQ(plan.AddOpening(1, 700, 2500, 0, 0, 0), 3);

  plan.SetSelection(1, kSelOpening);
  plan.DeleteOpening(1);
  EXPECT_EQ(plan.OpeningCount, 2);
  EXPECT_EQ(plan.Openings[1].large, 700);  // the last one moved in
  EXPECT_EQ(plan.Openings[2].large, 800);
  EXPECT_EQ(plan.SelKind, kSelOpening);
  EXPECT_EQ(plan.Selected(kSelOpening), 0);

  plan.SetSelection(2, kSelOpening);
  plan.DeleteOpening(1);  // the selected last opening moves into slot 1
  EXPECT_EQ(plan.Selected(kSelOpening), 1);
  EXPECT_EQ(plan.Openings[1].large, 800);
  EXPECT_THROW(plan.DeleteOpening(2), RangeError);
}

// Where an opening is: its centre, and the side its leaves open to, as a
// unit step across its (level or upright) wall.
std::pair<TPoint, TPoint> PlaceOf(const TCasaPlan& plan, const TOpening& opening) {
  const TPoint a = CornerOf(plan, opening.imur, 1), b = CornerOf(plan, opening.imur, 2);
  const int32_t dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
  const int32_t side = opening.cote == 0 ? 1 : -1;
  return {{a.x + dx * opening.dcoin1, a.y + dy * opening.dcoin1}, {-dy * side, dx * side}};
}

// Cutting a wall with openings, by a T junction, a crossing, a corner moved
// onto it or a thicker wall traced over it the other way, leaves every opening where
// it was, opening to the same side.
TEST(Openings, CutsLeaveEveryOpeningInItsPlaceAndSide) {
  using Edit = void (*)(TCasaPlan&);
  const std::pair<const char*, Edit> edits[] = {
      {"T junction",
       [](TCasaPlan& plan) {
         plan.AddWall({8000, 8000}, {8000, 5000});
       }},
      {"crossing",
       [](TCasaPlan& plan) {
         plan.AddWall({12000, 3000}, {12000, 8000});
       }},
      {"corner moved onto it",
       [](TCasaPlan& plan) {
         plan.AddWall({8000, 8000}, {8000, 6000});
         const int32_t end = plan.Walls[plan.WallCount].C2;
         plan.Corners[end] = {8000, 5000};
         plan.CleanUpAfterCornerMove(end);
       }},
      {"traced over the other way",
       [](TCasaPlan& plan) {
         plan.AddWallOfThickness({16000, 5000}, {5000, 5000}, 300);
         plan.CleanUpAfterWallMove(plan.WallCount);
       }},
  };
  for (const auto& [name, edit] : edits) {
    TCasaPlan plan;
    plan.AddWallOfThickness({5000, 5000}, {15000, 5000}, 200);
    plan.AddOpening(1, 900, 1500, 1, 0, 0);
    plan.AddOpening(1, 800, 6000, 1, 0, 1);
    plan.AddOpening(1, 900, 9000, 2, 0, 0);
    std::vector<std::pair<TPoint, TPoint>> before;
    for (int32_t n = 1; n <= plan.OpeningCount; ++n)
      before.push_back(PlaceOf(plan, plan.Openings[n]));
    edit(plan);
    ASSERT_EQ(plan.OpeningCount, 3) << name;
    for (int32_t n = 1; n <= plan.OpeningCount; ++n)
      EXPECT_EQ(PlaceOf(plan, plan.Openings[n]), before[static_cast<size_t>(n - 1)])
          << name << ", opening " << n;
  }
}

TEST(DeleteWall, DeletesItsOpeningsAndRepointsTheMovedWalls) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {8000, 5000});
  plan.AddWall({5000, 6000}, {8000, 6000});
  plan.AddWall({5000, 7000}, {8000, 7000});
  plan.AddOpening(1, 900, 600, 0, 0, 0);
  plan.AddOpening(3, 900, 700, 0, 0, 0);
  plan.AddOpening(1, 900, 800, 0, 0, 0);
  plan.AddOpening(2, 900, 900, 0, 0, 0);
  plan.SetSelection(3, kSelWall);

  plan.DeleteWall(1);
  EXPECT_EQ(plan.WallCount, 2);
  EXPECT_EQ(CornerOf(plan, 1, 1), (TPoint{5000, 7000}));  // wall 3 moved into slot 1
  ASSERT_EQ(plan.OpeningCount, 2);
  for (int32_t n = 1; n <= 2; ++n) {
    const TOpening& o = plan.Openings[n];
    EXPECT_EQ(o.imur, o.dcoin1 == 700 ? 1 : 2) << n;
  }
  EXPECT_EQ(plan.Selected(kSelWall), 1);  // the selection followed the moved wall
  EXPECT_EQ(plan.CornerCount, 6);         // corners stay until the clean-up

  plan.DeleteWall(1);
  EXPECT_EQ(plan.SelKind, kSelWall);
  EXPECT_EQ(plan.Selected(kSelWall), 0);
  EXPECT_EQ(plan.OpeningCount, 1);
  EXPECT_THROW(plan.DeleteWall(2), RangeError);
}

TEST(DeleteCorner, RepointsTheLastCornersWallsAndTakesItsOwnWallsAlong) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {6000, 5000});  // corners 1, 2
  plan.AddCorner({9000, 9000});              // 3, unused
  plan.AddWall({7000, 5000}, {8000, 5000});  // corners 4, 5
  plan.SetSelection(5, kSelCorner);
  plan.DeleteCorner(3);
  EXPECT_EQ(plan.CornerCount, 4);
  EXPECT_EQ(plan.Corners[3], (TPoint{8000, 5000}));
  EXPECT_EQ(plan.Walls[2].C2, 3);
  EXPECT_EQ(plan.Selected(kSelCorner), 3);

  // A corner still in use goes with its walls, so no wall points nowhere.
  plan.AddOpening(1, 500, 500, 0, 0, 0);
  plan.DeleteCorner(1);
  EXPECT_EQ(plan.WallCount, 1);
  EXPECT_EQ(plan.OpeningCount, 0);
  EXPECT_EQ(plan.CornerCount, 3);
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    EXPECT_GE(plan.Walls[w].C1, 1);
    EXPECT_LE(plan.Walls[w].C1, plan.CornerCount);
    EXPECT_GE(plan.Walls[w].C2, 1);
    EXPECT_LE(plan.Walls[w].C2, plan.CornerCount);
  }
  EXPECT_EQ(CornerOf(plan, 1, 1), (TPoint{7000, 5000}));
  EXPECT_EQ(CornerOf(plan, 1, 2), (TPoint{8000, 5000}));
}

TEST(MergeCorners, KeepsTheSelectionOnTheSurvivor) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {6000, 5000});
  plan.AddWall({6000, 5200}, {7000, 5000});
  plan.SetSelection(3, kSelCorner);
  plan.MergeCorners(2, 3);
  EXPECT_EQ(plan.CornerCount, 3);
  EXPECT_EQ(plan.Walls[2].C1, 2);
  EXPECT_EQ(plan.Walls[2].C2, 3);  // the last corner moved into the freed slot
  EXPECT_EQ(plan.Selected(kSelCorner), 2);
  plan.MergeCorners(2, 2);  // nothing to merge
  EXPECT_EQ(plan.CornerCount, 3);
}

TEST(Objects, DeletingTheSelectedObjectClearsTheSelection) {
  TCasaPlan plan;
  EXPECT_EQ(plan.AddObjet(2000, 1000, 600, 400, 90, 0, "Lit"), 1);
  plan.AddObjet(3000, 1000, 600, 400, 0, 2, "Table");
  plan.AddObjet(4000, 1000, 600, 400, 0, 2, "Chaise");
  EXPECT_EQ(plan.ObjetPolygon(1),
            (TQuad{TPoint{2200, 1300}, TPoint{1800, 1300}, TPoint{1800, 700}, TPoint{2200, 700}}));
  plan.SetSelection(3, kSelObject);
  plan.DeleteObjet(1);
  EXPECT_EQ(plan.Objects[1].nom, "Chaise");
  EXPECT_EQ(plan.Selected(kSelObject), 1);
  plan.DeleteObjet(1);
  EXPECT_EQ(plan.SelKind, kSelNothing);
  EXPECT_EQ(plan.SelIndex, 0);
  EXPECT_EQ(plan.ObjectCount, 1);
  EXPECT_EQ(plan.Objects[1].nom, "Table");
}

}  // namespace
}  // namespace casavo
