// Tests of the plan painter through the recording surface.

#include "render/painter.h"

#include <gtest/gtest.h>

#include <random>

#include "render/render_test_util.h"

namespace casavo {
namespace {

using namespace casavo::testing;

std::vector<double> LineOf(TPoint a, TPoint b) {
  return {double(a.x), double(a.y), double(b.x), double(b.y)};
}

TEST(FormatLength, UnitsAndSeparatorFollowTheLocale) {
  UseFrenchLocale();
  EXPECT_EQ(FormatLength(2500), "2,50 m");
  EXPECT_EQ(FormatLength(1001), "1,00 m");
  EXPECT_EQ(FormatLength(1000), "100,00 cm");
  EXPECT_EQ(FormatLength(101), "10,10 cm");
  EXPECT_EQ(FormatLength(100), "100 mm");
  EXPECT_EQ(FormatLength(0), "0 mm");
  // No thousands separator, as in the plan file.
  EXPECT_EQ(FormatLength(1234567), "1234,57 m");
  EXPECT_EQ(FormatArea(12345678), "12,35m2");
  EXPECT_EQ(FormatArea(1234000000), "1234,00m2");
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(FormatLength(2500), "2.50 m");
}

TEST(Painter, EmptyPlanIsWhiteWithTheScaleBar) {
  auto plan = NewPlan();
  plan->ShowProblems = plan->ShowRooms = plan->ShowDimensions = true;
  const auto ops = Paint(*plan);
  ASSERT_EQ(ops.size(), 7u);
  EXPECT_EQ(ops[0].kind, Kind::kSmoothing);
  EXPECT_TRUE(ops[0].smoothing);
  EXPECT_EQ(ops[1].kind, Kind::kFillRectangle);
  EXPECT_EQ(ops[1].colour, kWhite);
  EXPECT_EQ(ops[1].coords, (std::vector<double>{0, 0, 800, 600}));
  EXPECT_EQ(OfKind(ops, Kind::kLine).size(), 3u);
  EXPECT_EQ(ops.back().text, "1 m");
}

TEST(Painter, LoneWallHexagonCapsAndLengths) {
  UseFrenchLocale();
  auto plan = NewPlan();
  plan->ShowDimensions = true;
  Wall(*plan, {5000, 5000}, {9000, 5000}, 200);
  const auto ops = Paint(*plan);

  const auto fills = OfKind(ops, Kind::kFillPath);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].brushStyle, Brush::Style::kBackwardDiagonal);
  EXPECT_EQ(fills[0].colour, kBlack);
  EXPECT_EQ(fills[0].background, kWhite);
  // S1 (5000,5000) S2 (5000,4900) S3 (9000,4900) S4 (9000,5000) S5 (9000,5100) S6 (5000,5100).
  const std::vector<Segment> hexagon{{250, 250, 250, 245},
                                     {250, 245, 450, 245},
                                     {450, 245, 450, 250},
                                     {450, 250, 450, 255},
                                     {450, 255, 250, 255}};
  EXPECT_EQ(fills[0].segments, hexagon);

  const auto lines = OfKind(ops, Kind::kLine);
  ASSERT_EQ(lines.size(), 4u + 3u);  // faces, caps, then the scale bar
  EXPECT_EQ(lines[0].coords, LineOf({250, 245}, {450, 245}));
  EXPECT_EQ(lines[1].coords, LineOf({450, 255}, {250, 255}));
  EXPECT_EQ(lines[2].coords, LineOf({250, 245}, {250, 255}));
  EXPECT_EQ(lines[3].coords, LineOf({450, 245}, {450, 255}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[i].colour, kBlack);
    EXPECT_EQ(lines[i].width, 1);
  }

  const auto texts = Texts(ops, "4,00 m");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].font.emSize, 10);
  // Side A: centred on plan (7000, 4780), and upright although the face runs
  // right to left: turned about its own centre, it stays above the wall.
  // Side B: centred on plan (7000, 5220), upright.
  EXPECT_EQ(TextCentre(texts[0]), QPointF(350, 239));
  EXPECT_EQ(TextCentre(texts[1]), QPointF(350, 261));
  for (const auto& text : texts) {
    const QPointF along = text.transform.map(QPointF(1, 0)) - text.transform.map(QPointF(0, 0));
    EXPECT_NEAR(along.x(), 1, 1e-12);
    EXPECT_NEAR(along.y(), 0, 1e-12);
  }
  // No box behind lengths: the only filled rectangles are the background and
  // the scale bar's transparent label box.
  EXPECT_EQ(OfKind(ops, Kind::kFillRectangle).size(), 2u);
}

// The colour of wall 1's first face.
Argb FaceColour(int32_t length, double zoom, bool showProblems) {
  auto plan = NewPlan();
  plan->zx = plan->zy = zoom;
  plan->ShowProblems = showProblems;
  Wall(*plan, {5000, 5000}, {5000 + length, 5000}, 200);
  return OfKind(Paint(*plan), Kind::kLine).at(0).colour;
}

TEST(Painter, WallsTooShortForTheZoomAreRed) {
  EXPECT_EQ(FaceColour(10, 0.05, true), kRed);
  EXPECT_EQ(FaceColour(20, 0.05, true), kBlack);
  EXPECT_EQ(FaceColour(10, 0.05, false), kBlack);
  EXPECT_EQ(FaceColour(124, 0.5, true), kRed);
  EXPECT_EQ(FaceColour(125, 0.5, true), kBlack);
}

std::vector<RecordedOp> RedSquares(const std::vector<RecordedOp>& ops) {
  std::vector<RecordedOp> out;
  for (const RecordedOp& op : OfKind(ops, Kind::kFillRectangle))
    if (op.colour == kRed) out.push_back(op);
  return out;
}

TEST(Painter, CornersCloserThan250AreMarked) {
  auto marks = [](TPoint a, TPoint b) {
    auto plan = NewPlan();
    plan->ShowProblems = true;
    plan->AddCorner(a);
    plan->AddCorner(b);
    return RedSquares(Paint(*plan));
  };
  const auto close = marks({5000, 5000}, {5249, 5000});
  ASSERT_EQ(close.size(), 2u);
  EXPECT_EQ(close[0].coords, (std::vector<double>{248, 248, 4, 4}));
  EXPECT_EQ(close[1].coords, (std::vector<double>{260, 248, 4, 4}));  // 262.45 rounds to 262
  EXPECT_TRUE(marks({5000, 5000}, {5250, 5000}).empty());
  EXPECT_TRUE(marks({5000, 5000}, {5000, 5000}).empty());
  EXPECT_EQ(marks({5000, 5000}, {5176, 5176}).size(), 2u);  // 248.9 apart
  EXPECT_TRUE(marks({5000, 5000}, {5177, 5177}).empty());   // 250.3 apart

  auto plan = NewPlan();
  plan->AddCorner({5000, 5000});
  plan->AddCorner({5100, 5000});
  EXPECT_TRUE(RedSquares(Paint(*plan)).empty()) << "problems are off";
}

// Walls traced over each other where a slanted wall joins them, as read:
// the faces there close into no loop, and the places where the room walks
// stop are marked; with rooms not shown, nothing is.
TEST(Painter, FacesThatCannotCloseAreMarked) {
  auto plan = NewPlan();
  plan->ShowProblems = plan->ShowRooms = true;
  struct Drawn {
    TPoint from, to;
    int32_t epais;
  };
  for (const Drawn& d :
       {Drawn{{10000, 17000}, {6000, 17000}, 120}, Drawn{{5500, 15500}, {6500, 17000}, 200},
        Drawn{{10500, 16000}, {10500, 13500}, 100}, Drawn{{6500, 17000}, {8000, 17000}, 120},
        Drawn{{9500, 8000}, {9500, 15000}, 250}, Drawn{{12000, 9500}, {12000, 17000}, 200},
        Drawn{{13000, 8000}, {13000, 11500}, 200}})
    plan->AddWallOfThickness(d.from, d.to, d.epais);
  const auto marks = RedSquares(Paint(*plan));
  ASSERT_FALSE(plan->OpenWalkEnds.empty());
  ASSERT_EQ(marks.size(), plan->OpenWalkEnds.size());
  const TPoint p = plan->PlanToScreen(plan->OpenWalkEnds[0]);
  EXPECT_EQ(marks[0].coords, (std::vector<double>{p.x - 2.0, p.y - 2.0, 4, 4}));
  plan->ShowRooms = false;
  EXPECT_TRUE(RedSquares(Paint(*plan)).empty());
}

TEST(Painter, CloseCornerPairsMatchThePlainPairLoop) {
  std::mt19937 random(7);
  for (int spread : {3000, 20000}) {
    auto plan = NewPlan();
    std::uniform_int_distribution<int32_t> coordinate(-spread / 2, spread / 2);
    for (int i = 0; i < 1500; ++i) plan->AddCorner({coordinate(random), coordinate(random)});
    // Cell edges, negative coordinates and a duplicate.
    for (TPoint p : {TPoint{249, 0}, TPoint{250, 0}, TPoint{-1, -1}, TPoint{0, 0}, TPoint{0, 0},
                     TPoint{-250, 249}, TPoint{-499, 0}})
      plan->AddCorner(p);

    std::vector<std::pair<int32_t, int32_t>> expected;
    for (int32_t i = 1; i <= plan->CornerCount; ++i)
      for (int32_t j = i + 1; j <= plan->CornerCount; ++j) {
        const int32_t d = Distance(plan->Corners[i], plan->Corners[j]);
        if (d > 0 && d < 250) expected.emplace_back(i, j);
      }
    EXPECT_GT(expected.size(), 50u);
    EXPECT_EQ(CloseCornerPairs(*plan), expected) << "spread " << spread;
  }
}

TEST(Painter, SelectedCornerNearAWallMarksTheFoot) {
  auto plan = NewPlan();
  plan->ShowProblems = true;
  Wall(*plan, {5000, 5000}, {9000, 5000}, 200);
  const int32_t near = plan->AddCorner({7000, 5100});
  const int32_t far = plan->AddCorner({7000, 5400});
  plan->SetSelection(near, kSelCorner);
  const auto marks = RedSquares(Paint(*plan));
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].coords, (std::vector<double>{348, 248, 4, 4}));

  plan->SetSelection(far, kSelCorner);
  EXPECT_TRUE(RedSquares(Paint(*plan)).empty());
  plan->SetSelection(1, kSelCorner);  // an end of the wall: no foot strictly inside
  EXPECT_TRUE(RedSquares(Paint(*plan)).empty());
}

TEST(Painter, LengthsOnlyWhenAskedOrSelected) {
  UseFrenchLocale();
  auto plan = NewPlan();
  Wall(*plan, {5000, 5000}, {9000, 5000}, 200);
  Wall(*plan, {9000, 5000}, {9000, 8000}, 200);
  Wall(*plan, {12000, 5000}, {12000, 7000}, 200);
  auto lengthTexts = [&] {
    int count = 0;
    for (const RecordedOp& op : OfKind(Paint(*plan), Kind::kText))
      count += op.text.endsWith(" m") && op.text != "1 m";
    return count;
  };
  EXPECT_EQ(lengthTexts(), 0);
  plan->SetSelection(2, kSelCorner);  // (9000, 5000): the end of walls 1 and 2
  EXPECT_EQ(lengthTexts(), 4);
  plan->SetSelection(3, kSelWall);
  EXPECT_EQ(lengthTexts(), 2);
  plan->ShowDimensions = true;
  EXPECT_EQ(lengthTexts(), 6);

  // At the joined corner the outer face is longer than the inner one.
  plan->SetSelection(0, kSelNothing);
  const auto ops = Paint(*plan);
  EXPECT_EQ(Texts(ops, "4,10 m").size(), 1u);
  EXPECT_EQ(Texts(ops, "3,90 m").size(), 1u);
}

TEST(Painter, SelectedWallIsGreenWithEndLabels) {
  auto plan = NewPlan();
  Wall(*plan, {5000, 5000}, {9000, 5000}, 200);
  plan->SetSelection(1, kSelWall);
  const auto ops = Paint(*plan);
  const auto fill = OfKind(ops, Kind::kFillPath).at(0);
  EXPECT_EQ(fill.colour, kGreen);
  EXPECT_EQ(fill.background, kWhite);
  const auto face = OfKind(ops, Kind::kLine).at(0);
  EXPECT_EQ(face.colour, kGreen);
  EXPECT_EQ(face.width, 2);
  const auto a = Texts(ops, " A ");
  const auto b = Texts(ops, " B ");
  ASSERT_EQ(a.size(), 1u);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(TextCentre(a[0]), QPointF(250, 250));
  EXPECT_EQ(TextCentre(b[0]), QPointF(450, 250));
  EXPECT_EQ(a[0].font.emSize, 12);
  EXPECT_EQ(a[0].colour, kBlack);
}

TEST(Painter, GuidesAndSelectedCorner) {
  auto plan = NewPlan();
  plan->zx = plan->zy = 0.5;
  plan->GuideX = 5;  // 2.5 rounds to 2
  plan->GuideY = 7;  // 3.5 rounds to 4
  const int32_t corner = plan->AddCorner({100, 60});
  plan->SetSelection(corner, kSelCorner);
  const auto ops = Paint(*plan);
  const auto lines = OfKind(ops, Kind::kLine);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].coords, (std::vector<double>{2, 0, 2, 600}));
  EXPECT_EQ(lines[0].colour, kBrightGreen);
  EXPECT_EQ(lines[1].coords, (std::vector<double>{0, 4, 800, 4}));
  const auto squares = OfKind(ops, Kind::kFillRectangle);
  ASSERT_GE(squares.size(), 2u);
  EXPECT_EQ(squares[1].colour, kGreen);
  EXPECT_EQ(squares[1].coords, (std::vector<double>{44, 24, 12, 12}));

  plan->zx = plan->zy = 0.05;
  plan->GuideX = 10;  // 0.5000000000000000277 rounds up
  EXPECT_EQ(OfKind(Paint(*plan), Kind::kLine)[0].coords, (std::vector<double>{1, 0, 1, 600}));
}

class PainterRooms : public ::testing::Test {
 protected:
  void SetUp() override {
    UseFrenchLocale();
    plan_ = NewPlan();
    plan_->ShowRooms = true;
    for (auto [a, b] : {std::pair<TPoint, TPoint>{{5000, 5000}, {9000, 5000}},
                        {{9000, 5000}, {9000, 8000}},
                        {{9000, 8000}, {5000, 8000}},
                        {{5000, 8000}, {5000, 5000}}})
      Wall(*plan_, a, b, 200);
  }
  std::unique_ptr<TCasaPlan> plan_;
};

TEST_F(PainterRooms, UnnamedRoomIsGreyWithItsAreaOnTheCentre) {
  const auto ops = Paint(*plan_);
  ASSERT_EQ(plan_->RoomCount, 1);
  const auto fills = OfKind(ops, Kind::kFillPath);
  ASSERT_EQ(fills.size(), 5u);  // the room, then the four walls over it
  EXPECT_EQ(fills[0].brushStyle, Brush::Style::kSolid);
  EXPECT_EQ(fills[0].colour, ArgbColor(240, 240, 240));
  const TPiece& room = plan_->Rooms[1];
  ASSERT_EQ(fills[0].segments.size(), size_t(room.Border.Count - 1));
  const TPoint first = plan_->PlanToScreen(plan_->Outline[room.Border[1]]);
  EXPECT_EQ(fills[0].segments[0].x1, first.x);
  EXPECT_EQ(fills[0].segments[0].y1, first.y);
  EXPECT_TRUE(OfKind(ops, Kind::kDrawPath).empty());

  const auto area = Texts(ops, "10,64m2");
  ASSERT_EQ(area.size(), 1u);
  EXPECT_EQ(TextCentre(area[0]), QPointF(350, 325));
  EXPECT_EQ(area[0].font.emSize, 10);
  EXPECT_EQ(area[0].colour, kBlack);
}

TEST_F(PainterRooms, NamedSelectedRoomShowsNameAboveAreaBelowInGreen) {
  plan_->RefreshGeometry();
  const std::string hash = plan_->Rooms[1].hash;
  plan_->RoomNames.SetValue(hash, "Séjour");
  plan_->RoomColours.SetValue(hash, "FFCC00");
  plan_->SetSelection(1, kSelRoom);
  const auto ops = Paint(*plan_);

  const auto fill = OfKind(ops, Kind::kFillPath).at(0);
  EXPECT_EQ(fill.colour, ArgbColor(255, 204, 0));
  const auto outline = OfKind(ops, Kind::kDrawPath);
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0].colour, kGreen);
  EXPECT_EQ(outline[0].width, 3);
  EXPECT_EQ(outline[0].segments, fill.segments);

  const auto name = Texts(ops, "Séjour");
  const auto area = Texts(ops, "10,64m2");
  ASSERT_EQ(name.size(), 1u);
  ASSERT_EQ(area.size(), 1u);
  // 120 mm is 6 px at 0.05; the name is 250 mm high, 12.5 px and a little more
  // since 0.05 is slightly above a twentieth as a double: 13 px.
  EXPECT_EQ(TextCentre(name[0]), QPointF(350, 319));
  EXPECT_EQ(name[0].font.emSize, 13);
  EXPECT_EQ(TextCentre(area[0]), QPointF(350, 331));
  EXPECT_EQ(name[0].colour, kGreen);
  EXPECT_EQ(area[0].colour, kGreen);
}

TEST_F(PainterRooms, LayersAreStackedInOrder) {
  plan_->ShowObjects = plan_->ShowProblems = true;
  plan_->AddOpening(1, 900, 2000, 1001, 0, 0);
  plan_->AddObjet(7000, 6500, 600, 400, 0, -1, "Table");
  plan_->AddCorner({7000, 6600});  // two stray corners 100 mm apart
  plan_->AddCorner({7000, 6700});
  const auto ops = Paint(*plan_);
  auto firstIndex = [&](auto match) {
    for (size_t i = 0; i < ops.size(); ++i)
      if (match(ops[i])) return int(i);
    return -1;
  };
  const int room = firstIndex([](const RecordedOp& op) { return op.kind == Kind::kFillPath; });
  const int wall = firstIndex([](const RecordedOp& op) {
    return op.kind == Kind::kFillPath && op.brushStyle == Brush::Style::kBackwardDiagonal;
  });
  const int opening = firstIndex([](const RecordedOp& op) { return op.kind == Kind::kArc; });
  const int objet = firstIndex([](const RecordedOp& op) {
    return op.kind == Kind::kFillRectangle && op.coords == std::vector<double>{-0.5, -0.5, 1, 1};
  });
  const int problem = firstIndex([](const RecordedOp& op) { return op.colour == kRed; });
  const int scale = firstIndex([](const RecordedOp& op) { return op.text == "1 m"; });
  EXPECT_EQ(room, 2);
  EXPECT_LT(room, wall);
  EXPECT_LT(wall, opening);
  EXPECT_LT(opening, objet);
  EXPECT_LT(objet, problem);
  EXPECT_LT(problem, scale);
  EXPECT_EQ(scale, int(ops.size()) - 1);
}

TEST(Painter, ObjectsAndTheirGroup) {
  auto plan = NewPlan();
  plan->ShowObjects = plan->ShowObjectNames = true;
  plan->AddObjet(2000, 1000, 600, 400, 90, 3, "Lit");
  plan->AddObjet(4000, 1000, 600, 600, 0, 3, "Chevet");
  plan->AddObjet(6000, 1000, 600, 600, 0, -1, "Chaise");
  plan->AddObjet(8000, 1000, 600, 600, 0, -1, "Armoire");

  auto outlinePens = [&] {
    std::vector<std::pair<Argb, double>> pens;
    const auto lines = OfKind(Paint(*plan), Kind::kLine);
    for (size_t i = 0; i + 3 < lines.size(); i += 4)
      pens.emplace_back(lines[i].colour, lines[i].width);
    return pens;
  };
  using Pens = std::vector<std::pair<Argb, double>>;
  plan->SetSelection(2, kSelObject);
  EXPECT_EQ(outlinePens(), (Pens{{kGreen, 1}, {kGreen, 2}, {kBlack, 1}, {kBlack, 1}}));
  plan->SetSelection(3, kSelObject);
  EXPECT_EQ(outlinePens(), (Pens{{kBlack, 1}, {kBlack, 1}, {kGreen, 2}, {kBlack, 1}}));

  // The body of the turned bed, its name and its outline (on ObjetPolygon).
  plan->SetSelection(0, kSelNothing);
  const auto ops = Paint(*plan);
  const auto body = OfKind(ops, Kind::kFillRectangle).at(1);
  EXPECT_EQ(body.colour, kWhite);
  const QPointF corner = Screen(body, 0.5, 0.5);
  EXPECT_NEAR(corner.x(), 90, 1e-9);
  EXPECT_NEAR(corner.y(), 65, 1e-9);
  const auto name = Texts(ops, "Lit");
  ASSERT_EQ(name.size(), 1u);
  EXPECT_EQ(TextCentre(name[0]), QPointF(100, 50));
  const auto lines = OfKind(ops, Kind::kLine);
  EXPECT_EQ(lines[0].coords, LineOf({110, 65}, {90, 65}));
  EXPECT_EQ(lines[3].coords, LineOf({110, 35}, {110, 65}));

  plan->ShowObjects = false;
  EXPECT_TRUE(Texts(Paint(*plan), "Lit").empty());
}

}  // namespace
}  // namespace casavo
