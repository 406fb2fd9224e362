#include <gtest/gtest.h>

#include "common/digest.h"
#include "plan/casa_plan.h"
#include "plan/rooms.h"
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

TEST(Rooms, AreaAndCentroidOfShortAndDegenerateWalks) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.RefreshGeometry();
  TIntList walk;
  walk.Append(7);
  walk.Append(11);
  EXPECT_EQ(plan.Area(walk), 0);
  EXPECT_EQ(plan.Centroid(walk), (TPoint{0, 0}));
  walk.Append(7);  // there and back: no area
  EXPECT_EQ(plan.Area(walk), 0);
  EXPECT_EQ(plan.Centroid(walk), (TPoint{0, 0}));
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

TEST(Rooms, ScanAndGridFindTheSameRoomsOnTheEdgeCases) {
  for (int variant = 0; variant < 3; ++variant) {
    TCasaPlan plan;
    DrawRectangle(plan);
    if (variant == 1) DrawWall(plan, {7000, 5000}, {7000, 8000});
    if (variant == 2) DrawWall(plan, {7000, 5000}, {7000, 6000});
    plan.RefreshGeometry();
    TCasaPlan scanned = plan;
    DetectRoomsWith(scanned, CoincidentSearch::kScan);
    ASSERT_EQ(scanned.RoomCount, plan.RoomCount) << variant;
    for (int32_t r = 1; r <= plan.RoomCount; ++r)
      EXPECT_EQ(scanned.Rooms[r].Border, plan.Rooms[r].Border) << variant;
  }
}

}  // namespace
}  // namespace casavo
