// Rooms found again walk by walk during a drag must be those a whole
// detection finds, move after move.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "plan/local_refresh.h"
#include "plan_builders.h"
#include "support/plan_generator.h"

namespace casavo {
namespace {

// The first room datum (count, border, key, area, centre, open end) that differs.
std::string RoomDifference(const TCasaPlan& a, const TCasaPlan& b) {
  std::ostringstream out;
  if (a.RoomCount != b.RoomCount)
    return (out << "rooms " << a.RoomCount << " / " << b.RoomCount, out.str());
  for (int32_t r = 1; r <= a.RoomCount; ++r) {
    const TPiece &p = a.Rooms[r], &q = b.Rooms[r];
    if (p.hash != q.hash || !(p.Border == q.Border) || p.surface != q.surface ||
        p.Centre != q.Centre)
      return (out << "room " << r, out.str());
  }
  if (a.OpenWalkEnds != b.OpenWalkEnds) return "open walk ends";
  return {};
}

struct DragCase {
  const char* what;
  int32_t reach;   // the largest step of a move, mm
  bool wholeWall;  // both corners of a wall move together
};

TEST(LocalRooms, DragsFindTheRoomsOfAWholeDetection) {
  // Short steps keep the rooms' shapes; long ones close, open, split and
  // merge rooms and move corners through other walls.
  const DragCase cases[] = {
      {"corner, short steps", 60, false},
      {"corner, long steps", 2500, false},
      {"wall, long steps", 2500, true},
  };
  for (const DragCase& drag : cases) {
    SCOPED_TRACE(drag.what);
    TCasaPlan plan;
    gen::GeneratePlan(plan, {250, 3});
    std::mt19937 random(11);
    std::optional<LocalRefresh> refresh;
    std::vector<int32_t> corners;
    int32_t local = 0, whole = 0;
    for (int move = 0; move < 300; ++move) {
      // A new gesture every 15 moves, on a random corner or wall.
      if (move % 15 == 0) {
        if (refresh && refresh->Rooms() != nullptr) {
          local += refresh->Rooms()->LocalDetections();
          whole += refresh->Rooms()->WholeDetections();
        }
        refresh.emplace(plan);
        const TWall& wall =
            plan.Walls[1 + static_cast<int32_t>(random() % static_cast<uint32_t>(plan.WallCount))];
        corners =
            drag.wholeWall ? std::vector<int32_t>{wall.C1, wall.C2} : std::vector<int32_t>{wall.C1};
      }
      const int32_t dx = static_cast<int32_t>(random() % (2 * drag.reach + 1)) - drag.reach;
      const int32_t dy = static_cast<int32_t>(random() % (2 * drag.reach + 1)) - drag.reach;
      for (const int32_t c : corners)
        plan.Corners[c] = {plan.Corners[c].x + dx, plan.Corners[c].y + dy};
      refresh->CornersMoved(plan, corners);
      TCasaPlan expected = plan;
      expected.RefreshGeometry();
      ASSERT_EQ(RoomDifference(plan, expected), "") << "move " << move;
    }
    // Only each gesture's first move has no walks to go on from.
    EXPECT_EQ(whole, 19);
    EXPECT_EQ(local, 19 * 14);
  }
}

// A move that changes a room whose walls it does not reach.
struct FarCase {
  const char* what;
  TPoint step;  // of both corners of wall 1
};

TEST(LocalRooms, MovesThatChangeRoomsTheirWallsDoNotReach) {
  const FarCase cases[] = {
      // Its end face then shares the room's inner corner point, which the
      // room's walk goes on from.
      {"a free wall brought to a room's inner corner", {4100, 4200}},
      // The small room's walk looked for a point in no wall: there is none now.
      {"a thick wall laid over a small room", {-2750, 0}},
  };
  for (const FarCase& move : cases) {
    SCOPED_TRACE(move.what);
    TCasaPlan plan;
    plan.ShowRooms = true;
    if (move.step.x > 0) {
      plan.AddWallOfThickness({1000, 1000}, {2000, 1000}, 200);
      DrawRectangle(plan);
    } else {
      plan.AddWallOfThickness({3000, -1000}, {3000, 1500}, 800);
      for (const auto& [from, to] : {std::pair<TPoint, TPoint>{{0, 0}, {500, 0}},
                                     {{500, 0}, {500, 500}},
                                     {{500, 500}, {0, 500}},
                                     {{0, 500}, {0, 0}}})
        plan.AddWallOfThickness(from, to, 200);
    }
    plan.RefreshGeometry();
    const std::vector<int32_t> corners{plan.Walls[1].C1, plan.Walls[1].C2};
    LocalRefresh refresh(plan);
    refresh.CornersMoved(plan, corners);
    const TCasaPlan before = plan;
    for (const int32_t c : corners)
      plan.Corners[c] = {plan.Corners[c].x + move.step.x, plan.Corners[c].y + move.step.y};
    refresh.CornersMoved(plan, corners);
    TCasaPlan expected = plan;
    expected.RefreshGeometry();
    EXPECT_NE(RoomDifference(before, expected), "");
    EXPECT_EQ(RoomDifference(plan, expected), "");
    EXPECT_EQ(refresh.Rooms()->LocalDetections(), 1);
  }
}

TEST(LocalRooms, HiddenRoomsAreFoundWholeOnceShownAgain) {
  TCasaPlan plan;
  gen::GeneratePlan(plan, {250, 4});
  LocalRefresh refresh(plan);
  const int32_t corner = plan.Walls[10].C1;
  refresh.CornersMoved(plan, {corner});
  plan.ShowRooms = false;
  plan.Corners[corner].x += 1500;
  refresh.CornersMoved(plan, {corner});
  EXPECT_EQ(refresh.Rooms(), nullptr);
  plan.ShowRooms = true;
  plan.Corners[corner].y += 1500;
  refresh.CornersMoved(plan, {corner});
  ASSERT_NE(refresh.Rooms(), nullptr);
  EXPECT_EQ(refresh.Rooms()->WholeDetections(), 1);
  TCasaPlan expected = plan;
  expected.RefreshGeometry();
  EXPECT_EQ(RoomDifference(plan, expected), "");
}

}  // namespace
}  // namespace casavo
