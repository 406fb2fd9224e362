// Tests of a plan text whose walls do not fit the tables.

#include <gtest/gtest.h>

#include "files/plan_xml.h"
#include "support/plan_generator.h"

namespace casavo {
namespace {

// A plan text whose last wall crosses dozens of walls when the wall table has
// five slots left: the reader refuses that one wall, and the plan it reads
// writes the same text as without it, byte for byte.
TEST(RefusedWall, LeavesThePlanTextAsItWas) {
  TCasaPlan plan;
  gen::GeneratePlan(plan, {2000, 3});
  const TRect box = plan.GetBounds();
  for (int32_t x = 0; plan.WallCount < TCasaPlan::kMaxWalls - 5; x += 1000)
    plan.AddWall({x, 1000}, {x + 500, 1000});
  const std::string without = WritePlanXml(plan);
  const int32_t across = plan.AppendWall(plan.AddCorner({box.left - 100, box.top + 3333}),
                                         plan.AddCorner({box.right + 100, box.top + 3333}), 200);
  const std::string with = WritePlanXml(plan);
  ASSERT_TRUE(with != without);

  TCasaPlan read;
  const PlanReadResult result = ReadPlanXml(read, with);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.refused, 1);
  EXPECT_NE(result.refusal.find("murs"), std::string::npos) << result.refusal;
  EXPECT_EQ(read.WallCount, across - 1);
  read.RoomNames = plan.RoomNames;
  read.RoomKinds = plan.RoomKinds;
  read.RoomColours = plan.RoomColours;
  TCasaPlan readWithout;
  ReadPlanXml(readWithout, without);
  EXPECT_TRUE(WritePlanXml(read) == WritePlanXml(readWithout));
}

}  // namespace
}  // namespace casavo
