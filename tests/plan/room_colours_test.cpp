// Tests of the room palette and of the colours given to new rooms.
#include "plan/room_colours.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace casavo {
namespace {

// Three rooms side by side: left, middle, right.
std::unique_ptr<TCasaPlan> ThreeRooms() {
  auto plan = std::make_unique<TCasaPlan>();
  plan->AddWall({5000, 5000}, {14000, 5000});
  plan->AddWall({14000, 5000}, {14000, 8000});
  plan->AddWall({14000, 8000}, {5000, 8000});
  plan->AddWall({5000, 8000}, {5000, 5000});
  plan->AddWall({8000, 5000}, {8000, 8000});
  plan->AddWall({11000, 5000}, {11000, 8000});
  plan->ShowRooms = true;
  plan->RefreshGeometry();
  return plan;
}

int32_t RoomHolding(const TCasaPlan& plan, int32_t x) {
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TPoint c = plan.Rooms[r].Centre;
    if (c.x > x - 1500 && c.x < x + 1500) return r;
  }
  return 0;
}

TEST(RoomColours, NewRoomsDifferFromTheirNeighbours) {
  auto plan = ThreeRooms();
  ASSERT_EQ(plan->RoomCount, 3);
  const int32_t left = RoomHolding(*plan, 6500), middle = RoomHolding(*plan, 9500),
                right = RoomHolding(*plan, 12500);
  const std::string chosen = "F4D3E1";
  plan->RoomColours.SetValue(plan->Rooms[left].hash, chosen);

  // The right room is not new: it keeps having no colour.
  ColourNewRooms(*plan, {plan->Rooms[right].hash});
  EXPECT_EQ(plan->RoomColour(left), chosen);
  EXPECT_EQ(plan->RoomColour(right), "");
  const std::string colour = plan->RoomColour(middle);
  EXPECT_NE(colour, chosen);
  const auto& palette = RoomPalette();
  EXPECT_NE(std::find(palette.begin(), palette.end(), colour), palette.end());

  ColourNewRooms(*plan, {});
  EXPECT_NE(plan->RoomColour(right), "");
  EXPECT_NE(plan->RoomColour(right), colour);
  // Twelve different soft colours: no channel below 176.
  EXPECT_EQ(std::set<std::string>(palette.begin(), palette.end()).size(), 12u);
  for (const char* text : palette)
    for (size_t channel : {0, 2, 4})
      EXPECT_GE(std::stoi(std::string(text).substr(channel, 2), nullptr, 16), 0xB0) << text;
}

}  // namespace
}  // namespace casavo
