// Tests of the traced picture's element in the plan text: round trip, and plans without it.
#include <gtest/gtest.h>

#include <string>

#include "files/plan_xml.h"

namespace casavo {
namespace {

TTrace Sample() {
  TTrace trace;
  trace.path = "../scans/Agence Dupré – étage.pdf";
  trace.scale = 9.876543210123;
  trace.x = -1234.5678;
  trace.y = 98765.4321;
  trace.angle = 357.25;
  trace.page = 2;
  trace.opacity = 0.35;
  trace.visible = false;
  trace.locked = true;
  return trace;
}

TEST(TraceXml, ThePlacementSurvivesTheTextAndPlansWithoutItReadAsBefore) {
  TCasaPlan plan;
  plan.AddWall({1000, 1000}, {5000, 1000});
  const std::string without = WritePlanXml(plan);
  EXPECT_EQ(without.find("calque"), std::string::npos);

  plan.Trace = Sample();
  const std::string with = WritePlanXml(plan);
  TCasaPlan back;
  ASSERT_TRUE(ReadPlanXml(back, with));
  const TTrace& t = back.Trace;
  const TTrace s = Sample();
  EXPECT_EQ(t.path, s.path);
  EXPECT_DOUBLE_EQ(t.scale, s.scale);
  EXPECT_DOUBLE_EQ(t.x, s.x);
  EXPECT_DOUBLE_EQ(t.y, s.y);
  EXPECT_DOUBLE_EQ(t.angle, s.angle);
  EXPECT_EQ(t.page, s.page);
  EXPECT_DOUBLE_EQ(t.opacity, s.opacity);
  EXPECT_EQ(t.visible, s.visible);
  EXPECT_EQ(t.locked, s.locked);
  EXPECT_EQ(WritePlanXml(back), with);

  // The element comes after everything today's reader knows: the rest of
  // the text is the text of the plan without a picture.
  const auto at = with.find("  <calque ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(with.substr(0, at), without.substr(0, at));

  // A text without the element leaves no picture from the plan read before.
  ASSERT_TRUE(ReadPlanXml(back, without));
  EXPECT_FALSE(back.Trace.Present());
  EXPECT_EQ(WritePlanXml(back), without);
}

TEST(TraceXml, UnreadableValuesFallBackInsteadOfRefusingThePlan) {
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Casavo version=\"2.2\">"
      "<affichage><x0>0</x0><y0>0</y0><zx>0.05</zx><zy>0.05</zy></affichage><plan/>"
      "<calque fichier=\"plan.png\" echelle=\"abc\" x=\"nan\" page=\"-3\" opacite=\"7\"/>"
      "<calque fichier=\"second.png\"/></Casavo>";
  TCasaPlan plan;
  ASSERT_TRUE(ReadPlanXml(plan, text));
  EXPECT_EQ(plan.Trace.path, "plan.png");
  EXPECT_EQ(plan.Trace.scale, 0);
  EXPECT_EQ(plan.Trace.x, 0);
  EXPECT_EQ(plan.Trace.page, 0);
  EXPECT_EQ(plan.Trace.opacity, 1);
  EXPECT_TRUE(plan.Trace.visible);
  EXPECT_FALSE(plan.Trace.locked);
}

}  // namespace
}  // namespace casavo
