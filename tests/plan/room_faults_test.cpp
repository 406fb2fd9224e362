// Tests of room detection on faulty drawings.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "plan/casa_plan.h"
#include "plan_builders.h"

namespace casavo {
namespace {

struct Wall {
  TPoint from, to;
  int32_t epais;
};

TCasaPlan Drawn(std::initializer_list<Wall> walls) {
  TCasaPlan plan;
  plan.ShowRooms = true;
  for (const Wall& w : walls) plan.AddWallOfThickness(w.from, w.to, w.epais);
  plan.RefreshGeometry();
  return plan;
}

double Far(TPoint a, TPoint b) {
  return std::hypot(double{1} * b.x - a.x, double{1} * b.y - a.y);
}

// A short wall lying along a longer one at a T junction closes nothing.
TEST(RoomFaults, WallsAlongEachOtherMakeNoPhantomRoom) {
  const TCasaPlan plan = Drawn({{{6000, 8500}, {5500, 8500}, 200},
                                {{7500, 8500}, {5500, 8500}, 200},
                                {{7500, 8500}, {7500, 5000}, 200},
                                {{7500, 8500}, {9000, 8500}, 200}});
  EXPECT_EQ(plan.RoomCount, 0);
}

// One side of a 250 mm rectangle made of a 250 mm and a 100 mm piece: the
// room runs along the step between their inner faces.
TEST(RoomFaults, AStepBetweenThicknessesKeepsTheRoom) {
  const TCasaPlan plan = Drawn({{{5000, 5000}, {7000, 5000}, 250},
                                {{7000, 5000}, {9000, 5000}, 100},
                                {{9000, 5000}, {9000, 8000}, 250},
                                {{9000, 8000}, {5000, 8000}, 250},
                                {{5000, 8000}, {5000, 5000}, 250}});
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_EQ(plan.Rooms[1].surface, 3750.0 * 2750 + 1875.0 * 75);
}

// A thin triangle: the mitre at its sharp corners stops at twice the wall
// thickness from the corner, and the room is still found.
TEST(RoomFaults, SharpCornersAreCutBackAndTheRoomStays) {
  const TCasaPlan plan = Drawn({{{5000, 5000}, {9000, 5000}, 200},
                                {{9000, 5000}, {5000, 6000}, 200},
                                {{5000, 6000}, {5000, 5000}, 200}});
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const auto& shape = plan.Walls[w].Shape;
    for (int k : {1, 5}) EXPECT_LE(Far(shape[0], shape[static_cast<size_t>(k)]), 400.5) << w;
    for (int k : {2, 4}) EXPECT_LE(Far(shape[3], shape[static_cast<size_t>(k)]), 400.5) << w;
  }
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_GT(plan.Rooms[1].surface, 1e6);
  EXPECT_LT(plan.Rooms[1].surface, 2e6);
}

// The 4000 x 3000 rectangle of 200 mm walls with one more wall drawn and
// cleaned up as the editor does.
TCasaPlan RectangleWith(TPoint from, TPoint to, int32_t epais) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.DefaultThickness = epais;
  DrawWall(plan, from, to);
  return plan;
}

int32_t ShortestWall(const TCasaPlan& plan) {
  int32_t shortest = INT32_MAX;
  for (int32_t w = 1; w <= plan.WallCount; ++w) shortest = std::min(shortest, plan.WallLength(w));
  return shortest;
}

// A wall traced again over half of a side, either way, is merged into it (or
// cut out of it when thinner): the side keeps its one wall and the room its
// area and key. A thicker trace takes the stretch over, and the room follows
// its inner face.
TEST(RoomFaults, AWallTracedOverHalfASideKeepsTheRoom) {
  TCasaPlan before;
  DrawRectangle(before);
  before.RefreshGeometry();
  struct Case {
    TPoint from, to;
    int32_t epais;
    int32_t walls;
    double area;
  };
  const double whole = 3800.0 * 2800;
  for (const Case& c : {Case{{5000, 5000}, {7000, 5000}, 200, 4, whole},
                        Case{{7000, 5000}, {5000, 5000}, 200, 4, whole},
                        Case{{6000, 5000}, {10000, 5000}, 200, 5, whole},
                        Case{{8000, 5000}, {6000, 5000}, 100, 4, whole},
                        Case{{5000, 5000}, {7000, 5000}, 300, 5, whole - 1900.0 * 50}}) {
    const TCasaPlan plan = RectangleWith(c.from, c.to, c.epais);
    EXPECT_EQ(plan.WallCount, c.walls) << c.from.x << ' ' << c.epais;
    ASSERT_EQ(plan.RoomCount, 1) << c.from.x << ' ' << c.epais;
    EXPECT_EQ(plan.Rooms[1].surface, c.area) << c.from.x << ' ' << c.epais;
    if (c.walls == 4) {
      EXPECT_EQ(plan.Rooms[1].hash, before.Rooms[1].hash);
    }
  }
}

// A partition whose end stops inside the top or the right wall, a few
// millimetres off its centre line, drawn either way, splits the room in two
// and leaves no short piece behind: in the reader and in the clean-up.
TEST(RoomFaults, EndsInsideAWallAreJoinedToIt) {
  struct Case {
    TPoint from, to;
    double partition;  // the partition's own area between the inner faces
  };
  const double across = 2800 * 200, along = 3800 * 200;
  for (const Case& c :
       {Case{{7000, 5002}, {7000, 8000}, across}, Case{{7000, 8000}, {7000, 5002}, across},
        Case{{7000, 4997}, {7000, 8000}, across}, Case{{5000, 6500}, {8994, 6500}, along},
        Case{{8994, 6500}, {5000, 6500}, along}}) {
    TCasaPlan read;
    DrawRectangle(read);
    read.AddWallOfThickness(c.from, c.to, 200);
    read.RefreshGeometry();
    TCasaPlan cleaned = RectangleWith(c.from, c.to, 200);
    for (const TCasaPlan* plan : {&read, &cleaned}) {
      ASSERT_EQ(plan->RoomCount, 2) << c.from.x << ',' << c.from.y;
      EXPECT_GE(ShortestWall(*plan), 100) << c.from.x << ',' << c.from.y;
      EXPECT_EQ(plan->Rooms[1].surface + plan->Rooms[2].surface, 3800.0 * 2800 - c.partition);
    }
  }
  // The wall drawn first and the other laid over its end later.
  TCasaPlan late;
  late.ShowRooms = true;
  late.DefaultThickness = 200;
  late.AddWall({7000, 5002}, {7000, 8000});
  DrawRectangle(late);
  late.RefreshGeometry();
  EXPECT_EQ(late.RoomCount, 2);
  EXPECT_GE(ShortestWall(late), 100);
}

// Two partitions meet the top wall 62 mm apart from either side: the short
// piece between them has a face turned round, and the walk goes through it.
TEST(RoomFaults, StaggeredPartitionsKeepBothRooms) {
  TCasaPlan plan;
  DrawRectangle(plan);
  DrawWall(plan, {7000, 5000}, {7000, 8000});
  DrawWall(plan, {7062, 5000}, {7062, 3000});
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 2);
  EXPECT_EQ(plan.Rooms[1].surface, 1800.0 * 2800);
  EXPECT_EQ(plan.Rooms[2].surface, 1800.0 * 2800);
}

}  // namespace
}  // namespace casavo
