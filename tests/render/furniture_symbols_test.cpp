// Tests of the furniture symbols: every model draws inside its rectangle at any angle.
#include <gtest/gtest.h>

#include <QPolygonF>
#include <cmath>
#include <string>

#include "render/furniture_symbols.h"
#include "render_test_util.h"

namespace casavo::testing {
namespace {

// The points that bound what a primitive covers: line ends, rectangle and
// arc-box corners, path points.
std::vector<QPointF> Reach(const RecordedOp& op) {
  std::vector<QPointF> points;
  const auto& c = op.coords;
  switch (op.kind) {
    case Kind::kLine:
      points = {Screen(op, c[0], c[1]), Screen(op, c[2], c[3])};
      break;
    case Kind::kRectangle:
    case Kind::kFillRectangle:
    case Kind::kArc:
      for (double dx : {0.0, c[2]})
        for (double dy : {0.0, c[3]}) points.push_back(Screen(op, c[0] + dx, c[1] + dy));
      break;
    case Kind::kFillPath:
    case Kind::kDrawPath:
      for (const Segment& s : op.segments) {
        points.push_back(Screen(op, s.x1, s.y1));
        points.push_back(Screen(op, s.x2, s.y2));
      }
      break;
    default:
      break;
  }
  return points;
}

// Every model at three angles, one of them off the axes: what its symbol
// draws stays inside the object's rectangle on screen, and the symbol has
// more to it than its outline.
TEST(FurnitureSymbols, EveryModelDrawsInsideItsRectangle) {
  auto plan = NewPlan();
  plan->zx = plan->zy = 0.2;
  plan->ShowObjects = true;
  for (const FurnitureModel& model : FurnitureModels()) {
    for (const int32_t angle : {0, 90, 33}) {
      SCOPED_TRACE(std::string(model.key) + " at " + std::to_string(angle));
      plan->ObjectCount = 0;
      const int32_t k = plan->AddObjet(2000, 1500, model.width, model.depth, angle, 0, model.name);
      plan->Objects[k].modele = model.key;
      RecordingSurface surface;
      PlanPainter(*plan, surface).Draw();

      QPolygonF outline;
      for (const TPoint& p : plan->ObjetPolygon(k)) {
        const TPoint s = plan->PlanToScreen(p);
        outline << QPointF(s.x, s.y);
      }
      // Grown by a pixel and a half for the rounding of corners to pixels.
      const QPointF centre = outline.boundingRect().center();
      QPolygonF grown;
      for (const QPointF& p : outline) {
        const QPointF out = p - centre;
        grown << p + out * (1.5 / std::hypot(out.x(), out.y()));
      }
      int drawn = 0;
      for (const RecordedOp& op : surface.Ops()) {
        // The symbol is drawn in millimetres: the world is scaled.
        if (op.transform.isIdentity() || op.kind == Kind::kText) continue;
        ++drawn;
        for (const QPointF& p : Reach(op))
          EXPECT_TRUE(grown.containsPoint(p, Qt::OddEvenFill)) << p.x() << ", " << p.y();
      }
      EXPECT_GE(drawn, 3);  // a fill, the outline and at least one detail
    }
  }
}

TEST(FurnitureSymbols, ObjectWithoutModelIsStillAWhiteBox) {
  auto plan = NewPlan();
  plan->ShowObjects = true;
  plan->AddObjet(2000, 1500, 600, 600, 0, 0, "Objet");
  int bodies = 0;
  for (const RecordedOp& op : OfKind(Paint(*plan), Kind::kFillRectangle))
    if (op.coords == std::vector<double>{-0.5, -0.5, 1, 1} && op.colour == kWhite) ++bodies;
  EXPECT_EQ(bodies, 1);
  EXPECT_EQ(FindFurnitureModel("inconnu"), nullptr);
}

// An object across a wall is red when problems are shown; one flat against
// the wall's face is not.
TEST(FurnitureSymbols, ObjectAcrossAWallIsAProblem) {
  auto plan = NewPlan();
  plan->ShowObjects = plan->ShowProblems = true;
  Wall(*plan, {1000, 3000}, {9000, 3000}, 200);  // faces at y 2900 and 3100
  const int32_t across = plan->AddObjet(3000, 3000, 1400, 1900, 0, 0, "Lit 140");
  const int32_t against = plan->AddObjet(6000, 3100 + 950, 1400, 1900, 0, 0, "Lit 140");
  for (const int32_t k : {across, against}) plan->Objects[k].modele = "lit140";

  const auto ops = Paint(*plan);
  const auto red = [&](int32_t k) {
    const TPoint c = plan->PlanToScreen({plan->Objects[k].x, plan->Objects[k].y});
    for (const RecordedOp& op : OfKind(ops, Kind::kLine)) {
      const QPointF a = Screen(op, op.coords[0], op.coords[1]);
      if (op.colour == kRed && std::abs(a.x() - c.x) < 40) return true;
    }
    return false;
  };
  EXPECT_TRUE(red(across));
  EXPECT_FALSE(red(against));

  plan->ShowProblems = false;
  for (const RecordedOp& op : Paint(*plan)) EXPECT_NE(op.colour, kRed);
}

}  // namespace
}  // namespace casavo::testing
