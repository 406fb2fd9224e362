// Tests of the opening symbols.

#include "render/symbols.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <numbers>

#include "render/render_test_util.h"

namespace casavo {
namespace {

using namespace casavo::testing;

struct Line {
  QPointF from, to;
};

// A wall (5000,5000)-(9000,5000), 200 thick, with one opening 900 wide whose
// centre is 2000 from C1, at 0.1 pixel per millimetre: q1 (6550,4900),
// q2 (7450,4900), q3 (7450,5100), q4 (6550,5100).
class Symbols : public ::testing::Test {
 protected:
  void SetUp() override {
    plan_ = NewPlan();
    plan_->zx = plan_->zy = 0.1;
    plan_->ViewWidth = 1000;
    plan_->ViewHeight = 700;
    Wall(*plan_, {5000, 5000}, {9000, 5000}, 200);
  }

  void Opening(int32_t sorte, int32_t cote, int32_t volet = 0, int32_t large = 900) {
    plan_->OpeningCount = 0;
    plan_->AddOpening(1, large, 2000, sorte, volet, cote);
    ops_ = Paint(*plan_);
    frameOps_.clear();
    for (const RecordedOp& op : ops_)
      if (!op.transform.isIdentity() && op.kind != Kind::kText) frameOps_.push_back(op);
    ASSERT_FALSE(frameOps_.empty());
    frame_ = frameOps_[0].transform;  // the white body, drawn in the bare frame
  }

  // A screen point as plan millimetres.
  QPointF Plan(QPointF screen) const { return screen / plan_->zx; }
  // A point of a primitive in the opening's (u, v) frame.
  QPointF Local(const RecordedOp& op, double x, double y) const {
    return frame_.inverted().map(op.transform.map(QPointF(x, y)));
  }

  std::vector<RecordedOp> FrameOps(Kind kind) const { return OfKind(frameOps_, kind); }

  // Arcs as centre, start and end in plan millimetres.
  std::vector<std::array<QPointF, 3>> ArcsInPlan() const {
    std::vector<std::array<QPointF, 3>> arcs;
    for (const RecordedOp& op : FrameOps(Kind::kArc)) {
      const double r = op.coords[2] / 2;
      const QPointF c(op.coords[0] + r, op.coords[1] + r);
      auto at = [&](double degrees) {
        const double rad = degrees * std::numbers::pi / 180;
        return Plan(op.transform.map(c + r * QPointF(std::cos(rad), std::sin(rad))));
      };
      arcs.push_back(
          {Plan(op.transform.map(c)), at(op.startAngle), at(op.startAngle + op.sweepAngle)});
    }
    return arcs;
  }

  // The frame's lines, mapped to plan millimetres or to the (u, v) frame.
  template <class Map>
  std::vector<Line> Lines(Map map) const {
    std::vector<Line> lines;
    for (const RecordedOp& op : FrameOps(Kind::kLine))
      lines.push_back({map(op, op.coords[0], op.coords[1]), map(op, op.coords[2], op.coords[3])});
    return lines;
  }
  std::vector<Line> LinesInPlan() const {
    return Lines([&](const RecordedOp& op, double x, double y) {
      return Plan(op.transform.map(QPointF(x, y)));
    });
  }
  std::vector<Line> LinesInFrame() const {
    return Lines([&](const RecordedOp& op, double x, double y) { return Local(op, x, y); });
  }

  // Shutter rectangles (every outline after the body's) as x, y, width, height in the frame.
  std::vector<QRectF> ShuttersInFrame() const {
    std::vector<QRectF> rects;
    const auto outlines = FrameOps(Kind::kRectangle);
    for (size_t i = 1; i < outlines.size(); ++i) {
      const RecordedOp& op = outlines[i];
      rects.emplace_back(Local(op, op.coords[0], op.coords[1]),
                         Local(op, op.coords[0] + op.coords[2], op.coords[1] + op.coords[3]));
    }
    return rects;
  }

  std::unique_ptr<TCasaPlan> plan_;
  std::vector<RecordedOp> ops_;
  std::vector<RecordedOp> frameOps_;
  QTransform frame_;
};

void ExpectNear(QPointF actual, QPointF expected, const char* what) {
  EXPECT_NEAR(actual.x(), expected.x(), 1e-6) << what;
  EXPECT_NEAR(actual.y(), expected.y(), 1e-6) << what;
}

TEST_F(Symbols, BodyFillsTheWallUnderTheOpening) {
  Opening(kOpeningPlain, 0);
  const RecordedOp& body = frameOps_[0];
  EXPECT_EQ(body.kind, Kind::kFillRectangle);
  EXPECT_EQ(body.colour, kWhite);
  EXPECT_EQ(body.coords, (std::vector<double>{0, 0, 900, 200}));
  ExpectNear(Plan(frame_.map(QPointF(0, 0))), {6550, 4900}, "q1");
  ExpectNear(Plan(frame_.map(QPointF(900, 0))), {7450, 4900}, "q2");
  ExpectNear(Plan(frame_.map(QPointF(900, 200))), {7450, 5100}, "q3");
  const auto outline = FrameOps(Kind::kRectangle);
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0].coords, body.coords);
  EXPECT_EQ(outline[0].colour, kBlack);
  EXPECT_EQ(outline[0].width, 1);
  EXPECT_TRUE(FrameOps(Kind::kArc).empty());
  EXPECT_TRUE(FrameOps(Kind::kLine).empty());
  // The frame is reset once the opening is drawn.
  EXPECT_TRUE(ops_.back().transform.isIdentity());
}

struct DoorCase {
  int32_t sorte, cote;
  std::vector<std::array<QPointF, 3>> arcs;  // centre, from, to
  std::vector<Line> leaves;
};

TEST_F(Symbols, DoorsSwingOnTheirSide) {
  const std::vector<DoorCase> cases{
      {kDoorLeft,
       0,
       {{{{6550, 4900}, {7450, 4900}, {6550, 4000}}}},
       {{{6550, 4900}, {6550, 4000}}}},
      {kDoorRight,
       0,
       {{{{7450, 4900}, {6550, 4900}, {7450, 4000}}}},
       {{{7450, 4900}, {7450, 4000}}}},
      {kDoorDouble,
       0,
       {{{{6550, 4900}, {7000, 4900}, {6550, 4450}}}, {{{7450, 4900}, {7000, 4900}, {7450, 4450}}}},
       {{{6550, 4900}, {6550, 4450}}, {{7450, 4900}, {7450, 4450}}}},
      {kDoorLeft,
       1,
       {{{{7450, 5100}, {6550, 5100}, {7450, 6000}}}},
       {{{7450, 5100}, {7450, 6000}}}},
      {kDoorRight,
       1,
       {{{{6550, 5100}, {7450, 5100}, {6550, 6000}}}},
       {{{6550, 5100}, {6550, 6000}}}},
      {kDoorDouble,
       1,
       {{{{6550, 5100}, {7000, 5100}, {6550, 5550}}}, {{{7450, 5100}, {7000, 5100}, {7450, 5550}}}},
       {{{6550, 5100}, {6550, 5550}}, {{7450, 5100}, {7450, 5550}}}},
      // Any side other than 0 swings like side 1.
      {kDoorLeft,
       2,
       {{{{7450, 5100}, {6550, 5100}, {7450, 6000}}}},
       {{{7450, 5100}, {7450, 6000}}}},
  };
  for (const DoorCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "sorte " << c.sorte << " cote " << c.cote);
    Opening(c.sorte, c.cote);
    const auto arcs = ArcsInPlan();
    ASSERT_EQ(arcs.size(), c.arcs.size());
    for (size_t i = 0; i < arcs.size(); ++i) {
      ExpectNear(arcs[i][0], c.arcs[i][0], "arc centre");
      ExpectNear(arcs[i][1], c.arcs[i][1], "arc start");
      ExpectNear(arcs[i][2], c.arcs[i][2], "arc end");
    }
    const auto leaves = LinesInPlan();
    ASSERT_EQ(leaves.size(), c.leaves.size());
    for (size_t i = 0; i < leaves.size(); ++i) {
      ExpectNear(leaves[i].from, c.leaves[i].from, "leaf hinge");
      ExpectNear(leaves[i].to, c.leaves[i].to, "leaf end");
    }
    EXPECT_TRUE(ShuttersInFrame().empty());
  }
}

TEST_F(Symbols, DoorOnAVerticalWallOpensOutsideSideA) {
  plan_->WallCount = 0;
  plan_->CornerCount = 0;
  Wall(*plan_, {5000, 5000}, {5000, 9000}, 200);  // side A is towards +x
  Opening(kDoorLeft, 0);
  const auto arcs = ArcsInPlan();
  ASSERT_EQ(arcs.size(), 1u);
  ExpectNear(arcs[0][0], {5100, 6550}, "centre");
  ExpectNear(arcs[0][1], {5100, 7450}, "start");
  ExpectNear(arcs[0][2], {6000, 6550}, "end");
}

void ExpectLines(const std::vector<Line>& actual, const std::vector<Line>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    ExpectNear(actual[i].from, expected[i].from, "line start");
    ExpectNear(actual[i].to, expected[i].to, "line end");
  }
}

TEST_F(Symbols, WindowFramesAcrossTheThickness) {
  Opening(kWindowCentred, 1);
  ExpectLines(LinesInFrame(), {{{0, 60}, {900, 60}},
                               {{0, 140}, {900, 140}},
                               {{100, 140}, {100, 60}},
                               {{800, 140}, {800, 60}}});
  Opening(kWindowOffset, 0);
  ExpectLines(LinesInFrame(), {{{0, 20}, {900, 20}},
                               {{0, 100}, {900, 100}},
                               {{100, 100}, {100, 20}},
                               {{800, 100}, {800, 20}}});
  Opening(kWindowOffset, 1);
  ExpectLines(LinesInFrame(), {{{0, 100}, {900, 100}},
                               {{0, 180}, {900, 180}},
                               {{100, 180}, {100, 100}},
                               {{800, 180}, {800, 100}}});
  // Narrower than both insets: the cross lines are still drawn, crossed over.
  Opening(kWindowCentred, 0, 0, 150);
  const auto narrow = LinesInFrame();
  ASSERT_EQ(narrow.size(), 4u);
  EXPECT_NEAR(narrow[2].from.x(), 100, 1e-6);
  EXPECT_NEAR(narrow[3].from.x(), 50, 1e-6);
}

TEST_F(Symbols, ShuttersFoldAgainstTheFaceOppositeTheSwing) {
  struct Case {
    int32_t volet, cote;
    std::vector<QRectF> rects;
  };
  const std::vector<Case> cases{
      {kShutterDouble, 0, {{-450, 220, 450, 30}, {900, 220, 450, 30}}},
      {kShutterRight, 0, {{-900, 220, 900, 30}}},
      {kShutterLeft, 0, {{900, 220, 900, 30}}},
      {kShutterRight, 1, {{900, -50, 900, 30}}},
      {kShutterLeft, 1, {{-900, -50, 900, 30}}},
      {kShutterDouble, 1, {{-450, -50, 450, 30}, {900, -50, 450, 30}}},
      {kNoShutter, 0, {}},
      {7, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "volet " << c.volet << " cote " << c.cote);
    Opening(kDoorLeft, c.cote, c.volet);
    const auto rects = ShuttersInFrame();
    ASSERT_EQ(rects.size(), c.rects.size());
    for (size_t i = 0; i < rects.size(); ++i) {
      ExpectNear(rects[i].topLeft(), c.rects[i].topLeft(), "top left");
      ExpectNear(rects[i].bottomRight(), c.rects[i].bottomRight(), "bottom right");
    }
    EXPECT_EQ(FrameOps(Kind::kArc).size(), 1u) << "the door is drawn too";
  }
  // A type without a symbol: the body and the shutters only.
  Opening(5, 0, kShutterDouble);
  EXPECT_EQ(ShuttersInFrame().size(), 2u);
  EXPECT_TRUE(FrameOps(Kind::kArc).empty());
  EXPECT_TRUE(FrameOps(Kind::kLine).empty());
}

TEST_F(Symbols, SelectedOpeningIsGreenWithWallEndLabels) {
  plan_->SetSelection(1, kSelOpening);
  Opening(kDoorDouble, 0, kShutterDouble);
  for (const RecordedOp& op : frameOps_) {
    if (op.kind == Kind::kFillRectangle) continue;
    EXPECT_EQ(op.colour, kGreen);
    EXPECT_EQ(op.width, 2);
  }
  const auto a = Texts(ops_, " A ");
  const auto b = Texts(ops_, " B ");
  ASSERT_EQ(a.size(), 1u);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(TextCentre(a[0]), QPointF(500, 500));
  EXPECT_EQ(TextCentre(b[0]), QPointF(900, 500));
  // Black letters on a green box.
  EXPECT_EQ(a[0].colour, kBlack);
  const auto boxes = OfKind(ops_, Kind::kFillRectangle);
  EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                          [](const RecordedOp& op) { return op.colour == kGreen; }),
            2);

  plan_->SetSelection(0, kSelNothing);
  Opening(kDoorDouble, 0);
  EXPECT_TRUE(Texts(ops_, " A ").empty());
  EXPECT_EQ(FrameOps(Kind::kArc)[0].colour, kBlack);
}

TEST_F(Symbols, DoorArcGoesUpOnScreenForSideZero) {
  plan_->AddOpening(1, 900, 2000, kDoorLeft, 0, 0);
  QImage image(1000, 700, QImage::Format_RGB32);
  DrawPlan(*plan_, image);
  auto inked = [&](double x, double y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (qGray(image.pixel(int(x) + dx, int(y) + dy)) < 200) return true;
    return false;
  };
  // The arc about q1 (655, 490) with radius 90, halfway round.
  const double d = 90 / std::numbers::sqrt2;
  EXPECT_TRUE(inked(655 + d, 490 - d));
  EXPECT_FALSE(inked(655 + d, 490 + 20 + d));
  EXPECT_TRUE(inked(655, 430));   // the leaf, standing up from the wall
  EXPECT_FALSE(inked(700, 470));  // inside the swing
  // The gap in the wall is white; the wall beside it is hatched.
  EXPECT_EQ(image.pixel(700, 500), qRgb(255, 255, 255));
  int inkedInWall = 0;
  for (int x = 550; x < 640; ++x) inkedInWall += qGray(image.pixel(x, 500)) < 200;
  EXPECT_GT(inkedInWall, 5);
}

}  // namespace
}  // namespace casavo
