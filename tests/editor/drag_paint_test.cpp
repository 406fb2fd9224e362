// A drag repaints only what its moves can change: the picture and the plan
// must stay those of a whole paint at every move.
#include <QImage>
#include <random>
#include <sstream>

#include "editor_fixture.h"
#include "render/painter.h"
#include "support/plan_generator.h"

namespace casavo::testing {
namespace {

// The first derived datum (outline, joint, room, open walk end) that differs.
std::string GeometryDifference(const TCasaPlan& a, const TCasaPlan& b) {
  std::ostringstream out;
  for (int32_t w = 1; w <= a.WallCount; ++w) {
    const TWall &p = a.Walls[w], &q = b.Walls[w];
    if (p.Shape != q.Shape || p.JoinedAtC1 != q.JoinedAtC1 || p.JoinedAtC2 != q.JoinedAtC2)
      return (out << "wall " << w, out.str());
    for (int32_t k = 1; k <= 4; ++k)
      if (a.Outline[4 * w + k] != b.Outline[4 * w + k])
        return (out << "outline entry " << 4 * w + k, out.str());
  }
  if (a.RoomCount != b.RoomCount)
    return (out << "rooms " << a.RoomCount << " / " << b.RoomCount, out.str());
  for (int32_t r = 1; r <= a.RoomCount; ++r) {
    const TPiece &p = a.Rooms[r], &q = b.Rooms[r];
    if (p.hash != q.hash || p.Border.ToText() != q.Border.ToText() || p.surface != q.surface ||
        p.Centre != q.Centre || a.RoomName(r) != b.RoomName(r) || a.RoomKind(r) != b.RoomKind(r) ||
        a.RoomColour(r) != b.RoomColour(r))
      return (out << "room " << r, out.str());
  }
  if (a.OpenWalkEnds != b.OpenWalkEnds) return "open walk ends";
  return {};
}

class DragPaintTest : public EditorTest {
 protected:
  // A press on a random corner, or on the middle of a random wall, in view.
  QPoint PressSomewhere(std::mt19937& random) {
    for (;;) {
      const bool corner = random() % 2 == 0;
      TPoint s;
      if (corner) {
        s = Screen(1 + static_cast<int32_t>(random() % static_cast<uint32_t>(plan().CornerCount)));
      } else {
        const TWall& wall =
            plan().Walls[1 +
                         static_cast<int32_t>(random() % static_cast<uint32_t>(plan().WallCount))];
        const TPoint a = Screen(wall.C1), b = Screen(wall.C2);
        s = {(a.x + b.x) / 2, (a.y + b.y) / 2};
      }
      if (s.x < 100 || s.y < 100 || s.x > 1180 || s.y > 700) continue;
      casa->MouseDown(s.x, s.y);
      return {s.x, s.y};
    }
  }
};

TEST_F(DragPaintTest, RandomDragsPaintAndRefreshAsAWholePaintDoes) {
  casa->resize(1280, 800);
  for (const int32_t walls : {1000, 2000}) {
    SCOPED_TRACE(walls);
    gen::GeneratePlan(plan(), {walls, 5, true});
    plan().ViewWidth = 1280;
    plan().ViewHeight = 800;
    plan().zx = plan().zy = 0.02;
    const TRect b = plan().GetBounds();
    plan().x0 = 640 - static_cast<int32_t>((b.left + b.right) / 2 * 0.02);
    plan().y0 = 400 - static_cast<int32_t>((b.top + b.bottom) / 2 * 0.02);
    plan().ShowRooms = plan().ShowDimensions = plan().ShowProblems = true;
    casa->Paint();

    std::mt19937 random(static_cast<uint32_t>(walls));
    QPoint at;
    int32_t partial = 0, localRooms = 0, lastLocal = 0;
    for (int move = 0; move < 200; ++move) {
      // A new gesture every 20 moves: corners and walls (whole runs) in turn.
      if (move % 20 == 0) {
        if (move > 0) casa->MouseUp(at.x(), at.y());
        at = PressSomewhere(random);
      }
      at += QPoint(static_cast<int>(random() % 31) - 15, static_cast<int>(random() % 31) - 15);
      // A move repaints in place; a whole paint makes a new picture.
      const uchar* before = casa->Picture().constBits();
      casa->MouseMove(at.x(), at.y());
      if (casa->Picture().constBits() == before) ++partial;
      // A move re-detects rooms walk by walk when the gesture's walks say how.
      const LocalRooms* rooms =
          casa->GestureRefresh() != nullptr ? casa->GestureRefresh()->Rooms() : nullptr;
      const int32_t local = rooms != nullptr ? rooms->LocalDetections() : 0;
      if (local > lastLocal) ++localRooms;
      lastLocal = local;

      TCasaPlan whole = plan();
      QImage expected(1280, 800, QImage::Format_ARGB32_Premultiplied);
      DrawPlan(whole, expected);
      ASSERT_EQ(GeometryDifference(plan(), whole), "") << "move " << move;
      ASSERT_TRUE(casa->Picture() == expected) << "move " << move;
    }
    // Most gestures drag corners: their moves must not fall back to whole
    // paints, nor to whole room detections.
    EXPECT_GT(partial, 150);
    EXPECT_GT(localRooms, 150);
    casa->MouseUp(at.x(), at.y());
  }
}

}  // namespace
}  // namespace casavo::testing
