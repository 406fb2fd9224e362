// Tests of the older line form of the plan text.

#include <gtest/gtest.h>

#include "files/plan_xml.h"

namespace casavo {
namespace {

std::string Lines(const std::string& rest) {
  return "x0=10\r\ny0=-20\r\nzx=0,05\r\nzy=0.05\r\n" + rest;
}

TEST(PlanLines, ViewAndKeysWithoutRegardToCase) {
  TCasaPlan plan;
  ASSERT_TRUE(ReadPlanXml(plan, "X0=10\nY0=-20\nZX=0,05\nzY=0.25\nmur1=0,0,1000,0\n"));
  EXPECT_EQ(plan.x0, 10);
  EXPECT_EQ(plan.y0, -20);
  EXPECT_EQ(plan.zx, 0.05);
  EXPECT_EQ(plan.zy, 0.25);
  EXPECT_EQ(plan.WallCount, 1);
}

TEST(PlanLines, WallsByNumberCount) {
  const auto read = [](const std::string& walls) {
    TCasaPlan plan;
    plan.DefaultThickness = 180;
    EXPECT_TRUE(ReadPlanXml(plan, Lines(walls)));
    return plan;
  };
  TCasaPlan plan = read("Mur1=0,0,1000,0\r\n");
  ASSERT_EQ(plan.WallCount, 1);
  EXPECT_EQ(plan.Walls[1].epais, 180);
  EXPECT_EQ(plan.Corners[plan.Walls[1].C2], (TPoint{1000, 0}));

  plan = read("Mur1=0,0,1000,0,200\r\n");
  ASSERT_EQ(plan.WallCount, 1);
  EXPECT_EQ(plan.Walls[1].epais, 200);

  EXPECT_EQ(read("Mur1=0,0,1000\r\n").WallCount, 0);
  EXPECT_EQ(read("Mur1=0,0,1000,0,200,7\r\n").WallCount, 0);

  // A piece that is not an integer counts as 0.
  plan = read("Mur1=abc,0,1000,99999999999\r\n");
  ASSERT_EQ(plan.WallCount, 1);
  EXPECT_EQ(plan.Corners[plan.Walls[1].C1], (TPoint{0, 0}));
  EXPECT_EQ(plan.Corners[plan.Walls[1].C2], (TPoint{1000, 0}));

  // Numbering stops at the first missing or empty key.
  EXPECT_EQ(read("Mur1=0,0,1000,0\r\nMur2=0,500,1000,500\r\nMur4=0,900,1000,900\r\n").WallCount, 2);
  EXPECT_EQ(read("Mur1=0,0,1000,0\r\nMur2=\r\nMur3=0,900,1000,900\r\n").WallCount, 1);
}

TEST(PlanLines, OpeningsAreFilledWithZeros) {
  TCasaPlan plan;
  ASSERT_TRUE(ReadPlanXml(plan, Lines("Mur1=0,0,3000,0\r\nTrou1=1,900\r\nTrou2=1,800,700,2,1,1\r\n"
                                      "Trou3=5,900\r\n")));
  ASSERT_EQ(plan.OpeningCount, 2);
  const TOpening& a = plan.Openings[1];
  EXPECT_EQ(std::tie(a.imur, a.large, a.dcoin1, a.sorte, a.volet, a.cote),
            std::make_tuple(1, 900, 0, 0, 0, 0));
  const TOpening& b = plan.Openings[2];
  EXPECT_EQ(std::tie(b.imur, b.large, b.dcoin1, b.sorte, b.volet, b.cote),
            std::make_tuple(1, 800, 700, 2, 1, 1));
}

TEST(PlanLines, OverlongListsAreRefusedAndTheRestKept) {
  std::string numbers = "0";
  for (int i = 1; i < 1001; ++i) numbers += ",0";
  TCasaPlan plan;
  const PlanReadResult result =
      ReadPlanXml(plan, Lines("Mur1=" + numbers + "\r\nMur2=0,0,1000,0\r\n"));
  ASSERT_TRUE(result);
  EXPECT_EQ(plan.WallCount, 1);
  EXPECT_EQ(result.refused, 1);
  EXPECT_EQ(result.refusal, "Mur1 refusé : plus de 1000 nombres");

  // 1000 numbers is still a list (of the wrong length for a wall).
  const PlanReadResult thousand = ReadPlanXml(plan, Lines("Mur1=" + numbers.substr(2) + "\r\n"));
  EXPECT_TRUE(thousand);
  EXPECT_EQ(thousand.refused, 0);
}

TEST(PlanLines, UnreadableZoomRaises) {
  TCasaPlan plan;
  plan.AddWall({0, 0}, {1000, 0});
  EXPECT_THROW(ReadPlanXml(plan, "x0=5\r\nMur1=0,0,1000,0\r\n"), PlanFormatError);
  EXPECT_EQ(plan.WallCount, 0);
  EXPECT_THROW(ReadPlanXml(plan, "zx=0.05\r\nzy=zéro\r\n"), PlanFormatError);
  EXPECT_THROW(ReadPlanXml(plan, ""), PlanFormatError);
}

}  // namespace
}  // namespace casavo
