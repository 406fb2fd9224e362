// Tests of room detection, areas and room attributes.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/digest.h"
#include "plan/casa_plan.h"
#include "plan_builders.h"

namespace casavo {
namespace {

TEST(Rooms, NoWallOrOneWallGivesNoRoom) {
  TCasaPlan plan;
  plan.ShowRooms = true;
  plan.RoomCount = 3;
  plan.RefreshGeometry();
  EXPECT_EQ(plan.RoomCount, 0);
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.RefreshGeometry();
  EXPECT_EQ(plan.RoomCount, 0);
}

TEST(Rooms, RectangleGivesOneRoomBoundedByTheInnerFaces) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 1);
  const TPiece& room = plan.Rooms[1];
  EXPECT_EQ(room.surface, 10640000.0);
  EXPECT_EQ(room.Border.ToText(), "(5),7,11,15,19,7");
  EXPECT_EQ(room.Centre, (TPoint{7000, 6500}));
  EXPECT_EQ(room.hash, Md5Hex("(5),7,11,15,19,7"));
  EXPECT_EQ(room.hash.size(), 32u);
  EXPECT_TRUE(plan.OpenWalkEnds.empty());  // every face closes

  // The exterior loop runs the other way round.
  TIntList outer;
  for (int32_t e : {5, 17, 13, 9, 5}) outer.Append(e);
  EXPECT_EQ(plan.Area(outer), -13440000.0);
}

TEST(Rooms, DetectionOnlyRunsWithShowRooms) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.ShowRooms = false;
  plan.RefreshGeometry();
  EXPECT_EQ(plan.RoomCount, 0);
  plan.ShowRooms = true;
  plan.RefreshGeometry();
  EXPECT_EQ(plan.RoomCount, 1);
  plan.ShowRooms = false;
  plan.AddWall({7000, 5000}, {7000, 8000});
  plan.RefreshGeometry();
  EXPECT_EQ(plan.RoomCount, 1);  // the last table stays
}

TEST(Rooms, ADividingWallGivesTwoEqualRooms) {
  TCasaPlan plan;
  DrawRectangle(plan);
  DrawWall(plan, {7000, 5000}, {7000, 8000});
  EXPECT_EQ(plan.WallCount, 7);
  ASSERT_EQ(plan.RoomCount, 2);
  EXPECT_EQ(plan.Rooms[1].surface, 5040000.0);
  EXPECT_EQ(plan.Rooms[2].surface, 5040000.0);
  EXPECT_NE(plan.Rooms[1].hash, plan.Rooms[2].hash);
  const int32_t left = plan.Rooms[1].Centre.x < plan.Rooms[2].Centre.x ? 1 : 2;
  EXPECT_EQ(plan.Rooms[left].Centre, (TPoint{6000, 6500}));
  EXPECT_EQ(plan.Rooms[3 - left].Centre, (TPoint{8000, 6500}));
}

TEST(Rooms, AFreeEndInsideTheRoomIsWalkedAround) {
  TCasaPlan plan;
  DrawRectangle(plan);
  DrawWall(plan, {7000, 5000}, {7000, 6000});
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_EQ(plan.Rooms[1].surface, 10460000.0);
  EXPECT_GT(plan.Rooms[1].Border.Count, 5);
}

TEST(Rooms, AFreeStandingWallIsNoRoomAndDoesNotStopTheDetection) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.ShowRooms = true;
  plan.AddWall({6000, 6500}, {8000, 6500});  // wall 1, alone inside the room
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddWall({9000, 5000}, {9000, 8000});
  plan.AddWall({9000, 8000}, {5000, 8000});
  plan.AddWall({5000, 8000}, {5000, 5000});
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 1);
  // The room's area keeps the hole of the free-standing wall: its faces are a
  // separate loop, never part of the room's walk.
  EXPECT_EQ(plan.Rooms[1].surface, 10640000.0);
}

TEST(Rooms, ARoomWhoseFirstWallEndsFreeInsideIsFound) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.ShowRooms = true;
  // Wall 1 runs from a free end inside the room to the top wall: the first
  // start entry lies at that free end.
  plan.AddWall({7000, 6000}, {7000, 5000});
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddWall({9000, 5000}, {9000, 8000});
  plan.AddWall({9000, 8000}, {5000, 8000});
  plan.AddWall({5000, 8000}, {5000, 5000});
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_EQ(plan.Rooms[1].surface, 10460000.0);
}

TEST(Rooms, NameFollowsACornerMoveButNotARedrawnWall) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.RefreshGeometry();
  const std::string key = plan.Rooms[1].hash;
  plan.RoomNames.SetValue(key, "Séjour");
  plan.RoomKinds.SetValue(key, "Salon");
  plan.RoomColours.SetValue(key, "FFE0C0");

  // Drag the corner at (9000,8000) to (9500,8500).
  const int32_t corner = plan.Walls[2].C2;
  plan.Corners[corner] = {9500, 8500};
  plan.CleanUpAfterCornerMove(corner);
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_GT(plan.Rooms[1].surface, 10640000.0);
  EXPECT_EQ(plan.RoomName(1), "Séjour");
  EXPECT_EQ(plan.RoomKind(1), "Salon");
  EXPECT_EQ(plan.RoomColour(1), "FFE0C0");

  TCasaPlan redrawn;
  DrawRectangle(redrawn);
  redrawn.RefreshGeometry();
  redrawn.RoomNames.SetValue(redrawn.Rooms[1].hash, "Séjour");
  redrawn.DeleteWall(2);  // wall 4 moves into slot 2
  DrawWall(redrawn, {9000, 5000}, {9000, 8000});
  ASSERT_EQ(redrawn.RoomCount, 1);
  EXPECT_EQ(redrawn.Rooms[1].Border.ToText(), "(5),7,19,15,11,7");
  EXPECT_EQ(redrawn.Rooms[1].surface, 10640000.0);
  EXPECT_EQ(redrawn.RoomName(1), "");
  EXPECT_EQ(redrawn.RoomNames.Count(), 1);  // the old line stays
}

TEST(Rooms, AHouseWiderThanFortySixMetresKeepsItsRooms) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.ShowRooms = true;
  // 60 m by 50 m, drawn in 10 m lengths: 32-bit shoelace products would
  // overflow.
  for (int32_t x = 5000; x < 65000; x += 10000) plan.AddWall({x, 5000}, {x + 10000, 5000});
  for (int32_t y = 5000; y < 55000; y += 10000) plan.AddWall({65000, y}, {65000, y + 10000});
  for (int32_t x = 65000; x > 5000; x -= 10000) plan.AddWall({x, 55000}, {x - 10000, 55000});
  for (int32_t y = 55000; y > 5000; y -= 10000) plan.AddWall({5000, y}, {5000, y - 10000});
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_EQ(plan.Rooms[1].surface, 59800.0 * 49800.0);
  EXPECT_EQ(plan.Rooms[1].Centre, (TPoint{35000, 30000}));
}

// A room whose walls carry `stems` short partitions on each of its long
// sides, then a small room drawn after it.
TCasaPlan CombRoomThenSmallRoom(int32_t stems) {
  TCasaPlan plan;
  plan.DefaultThickness = 100;
  plan.ShowRooms = true;
  const int32_t right = 5000 + 250 * (stems + 1);
  for (int32_t y : {5000, 9000}) {
    for (int32_t x = 5000; x < right; x += 8000)
      plan.AddWall({x, y}, {std::min(x + 8000, right), y});
  }
  plan.AddWall({5000, 5000}, {5000, 9000});
  plan.AddWall({right, 5000}, {right, 9000});
  for (int32_t k = 1; k <= stems; ++k) {
    plan.AddWall({5000 + 250 * k, 5000}, {5000 + 250 * k, 5500});
    plan.AddWall({5000 + 250 * k, 9000}, {5000 + 250 * k, 8500});
  }
  plan.AddWall({2000, 2000}, {3000, 2000});
  plan.AddWall({3000, 2000}, {3000, 3000});
  plan.AddWall({3000, 3000}, {2000, 3000});
  plan.AddWall({2000, 3000}, {2000, 2000});
  plan.RefreshGeometry();
  return plan;
}

TEST(Rooms, AWalkTooLongForItsListIsDroppedAlone) {
  // About 4 walk items per partition: 100 a side fit in 1000, 130 do not.
  const TCasaPlan fits = CombRoomThenSmallRoom(100);
  EXPECT_EQ(fits.RoomCount, 2);
  const TCasaPlan tooLong = CombRoomThenSmallRoom(130);
  EXPECT_GT(tooLong.WallCount, 500);
  ASSERT_EQ(tooLong.RoomCount, 1);  // the small room drawn after it
  EXPECT_EQ(tooLong.Rooms[1].surface, 900.0 * 900.0);
}

TEST(Rooms, DetectionNeverRaises) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.RefreshGeometry();
  plan.Walls[3].C2 = 99;  // a broken plan
  EXPECT_NO_THROW(plan.DetectRooms());
  EXPECT_EQ(plan.RoomCount, 1);  // the last table stays
}

}  // namespace
}  // namespace casavo
