// Tests of room detection on faulty drawings.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "plan/casa_plan.h"
#include "plan_builders.h"
#include "support/random_sketches.h"

namespace casavo {
namespace {

struct Wall {
  TPoint from, to;
  int32_t epais;
};

TCasaPlan Drawn(std::initializer_list<Wall> walls) {
  TCasaPlan plan;
  plan.ShowRooms = true;
  for (const Wall& w : walls) plan.AddWallOfThickness(w.from, w.to, w.epais);
  plan.RefreshGeometry();
  return plan;
}

double Far(TPoint a, TPoint b) {
  return std::hypot(double{1} * b.x - a.x, double{1} * b.y - a.y);
}

// The part of room r that lies in no wall's paint, counted on a 1 mm grid:
// its area and centre.
struct Open {
  double area = 0, x = 0, y = 0;
};
Open OpenPart(const TCasaPlan& plan, int32_t r) {
  const auto inside = [](const std::vector<TPoint>& ring, double x, double y) {
    bool in = false;
    for (size_t k = 0; k < ring.size(); ++k) {
      const TPoint p = ring[k], q = ring[(k + 1) % ring.size()];
      if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * (q.x - p.x) / (1.0 * q.y - p.y)) in = !in;
    }
    return in;
  };
  std::vector<TPoint> border;
  for (int32_t i = 1; i < plan.Rooms[r].Border.Count; ++i)
    border.push_back(plan.Outline[plan.Rooms[r].Border[i]]);
  int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
  for (const TPoint p : border) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  Open open;
  for (double x = left + 0.5; x < right; ++x)
    for (double y = top + 0.5; y < bottom; ++y) {
      if (!inside(border, x, y)) continue;
      bool inWall = false;
      for (int32_t w = 1; w <= plan.WallCount && !inWall; ++w) {
        const auto& s = plan.Walls[w].Shape;
        inWall = inside({s.begin(), s.end()}, x, y);
      }
      if (inWall) continue;
      open.area += 1;
      open.x += x;
      open.y += y;
    }
  if (open.area > 0) {
    open.x /= open.area;
    open.y /= open.area;
  }
  return open;
}

double OpenArea(const TCasaPlan& plan, int32_t r) {
  return OpenPart(plan, r).area;
}

// The length of room r's border.
double Perimeter(const TCasaPlan& plan, int32_t r) {
  double length = 0;
  const TIntList& border = plan.Rooms[r].Border;
  for (int32_t i = 1; i < border.Count; ++i)
    length += Far(plan.Outline[border[i]], plan.Outline[border[i + 1]]);
  return length;
}

// A short wall lying along a longer one at a T junction closes nothing.
TEST(RoomFaults, WallsAlongEachOtherMakeNoPhantomRoom) {
  const TCasaPlan plan = Drawn({{{6000, 8500}, {5500, 8500}, 200},
                                {{7500, 8500}, {5500, 8500}, 200},
                                {{7500, 8500}, {7500, 5000}, 200},
                                {{7500, 8500}, {9000, 8500}, 200}});
  EXPECT_EQ(plan.RoomCount, 0);
}

// One side of a 250 mm rectangle made of a 250 mm and a 100 mm piece: the
// room runs along the step between their inner faces.
TEST(RoomFaults, AStepBetweenThicknessesKeepsTheRoom) {
  const TCasaPlan plan = Drawn({{{5000, 5000}, {7000, 5000}, 250},
                                {{7000, 5000}, {9000, 5000}, 100},
                                {{9000, 5000}, {9000, 8000}, 250},
                                {{9000, 8000}, {5000, 8000}, 250},
                                {{5000, 8000}, {5000, 5000}, 250}});
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_EQ(plan.Rooms[1].surface, 3750.0 * 2750 + 1875.0 * 75);
}

// A thin triangle: outside, the mitre at its sharp corners stops at twice
// the wall thickness from the corner; inside, the faces meet where they
// cross, so the room is the triangle of the inner faces, whose inradius is
// the centre lines' less half the thickness.
TEST(RoomFaults, SharpCornersAreCappedOutsideAndTheRoomKeepsItsArea) {
  const TPoint a{5000, 5000}, b{9000, 5000}, c{5000, 6000};
  const TCasaPlan plan = Drawn({{a, b, 200}, {b, c, 200}, {c, a, 200}});
  const auto inside = [&](TPoint p) {
    const auto side = [p](TPoint from, TPoint to) {
      return (1.0 * to.x - from.x) * (p.y - from.y) - (1.0 * to.y - from.y) * (p.x - from.x);
    };
    return side(a, b) > 0 && side(b, c) > 0 && side(c, a) > 0;
  };
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const auto& shape = plan.Walls[w].Shape;
    for (size_t k : {1, 2, 4, 5}) {
      const TPoint corner = shape[k == 1 || k == 5 ? 0 : 3];
      if (!inside(shape[k])) {
        EXPECT_LE(Far(corner, shape[k]), 400.5) << w;
      }
    }
  }
  const double area = 2e6, perimeter = Far(a, b) + Far(b, c) + Far(c, a);
  const double r = 2 * area / perimeter, inner = area * (r - 100) * (r - 100) / (r * r);
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_NEAR(plan.Rooms[1].surface, inner, 0.005 * inner);
}

// A 400 mm wall closes a sliver of a triangle with walls meeting it at 17
// and 11 degrees: the capped mitre at one end carries one of its faces to
// within millimetres of the other end. The joint there still moves that
// face's end along the face, so every outline point stays on its face and
// the paint covers the triangle, whichever wall is drawn first.
TEST(RoomFaults, AFaceCarriedToItsOtherEndKeepsItsLine) {
  const TPoint a{8025, 15587}, b{8419, 15653}, c{8980, 15457};
  const std::vector<Wall> sliver = {{a, b, 100}, {c, a, 200}, {c, b, 250}};
  const std::vector<Wall> around = {{a, {5000, 16000}, 200},  {a, {7500, 15500}, 100},
                                    {b, {6000, 16500}, 250},  {b, {10500, 16000}, 100},
                                    {{11715, 14500}, c, 250}, {{12361, 14996}, c, 200}};
  for (const bool sliverFirst : {true, false}) {
    TCasaPlan plan;
    for (const auto* group :
         sliverFirst ? std::array{&sliver, &around} : std::array{&around, &sliver})
      for (const Wall& w : *group) plan.AddWallOfThickness(w.from, w.to, w.epais);
    plan.RefreshGeometry();
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      const TPoint p = plan.Corners[plan.Walls[w].C1], q = plan.Corners[plan.Walls[w].C2];
      for (int32_t k = 1; k <= 4; ++k) {
        const TPoint o = plan.Outline[4 * w + k];
        const double across =
            std::abs((1.0 * q.x - p.x) * (o.y - p.y) - (1.0 * q.y - p.y) * (o.x - p.x)) / Far(p, q);
        EXPECT_NEAR(across, plan.Walls[w].epais / 2.0, 1.0)
            << sliverFirst << " wall " << w << " point " << k;
      }
    }
  }
}

// The 4000 x 3000 rectangle of 200 mm walls with one more wall drawn and
// cleaned up as the editor does.
TCasaPlan RectangleWith(TPoint from, TPoint to, int32_t epais) {
  TCasaPlan plan;
  DrawRectangle(plan);
  plan.DefaultThickness = epais;
  DrawWall(plan, from, to);
  return plan;
}

int32_t ShortestWall(const TCasaPlan& plan) {
  int32_t shortest = INT32_MAX;
  for (int32_t w = 1; w <= plan.WallCount; ++w) shortest = std::min(shortest, plan.WallLength(w));
  return shortest;
}

// A wall traced again over half of a side, either way, is merged into it (or
// cut out of it when thinner): the side keeps its one wall and the room its
// area and key. A thicker trace takes the stretch over, and the room follows
// its inner face.
TEST(RoomFaults, AWallTracedOverHalfASideKeepsTheRoom) {
  TCasaPlan before;
  DrawRectangle(before);
  before.RefreshGeometry();
  struct Case {
    TPoint from, to;
    int32_t epais;
    int32_t walls;
    double area;
  };
  const double whole = 3800.0 * 2800;
  for (const Case& c : {Case{{5000, 5000}, {7000, 5000}, 200, 4, whole},
                        Case{{7000, 5000}, {5000, 5000}, 200, 4, whole},
                        Case{{6000, 5000}, {10000, 5000}, 200, 5, whole},
                        Case{{8000, 5000}, {6000, 5000}, 100, 4, whole},
                        Case{{5000, 5000}, {7000, 5000}, 300, 5, whole - 1900.0 * 50}}) {
    const TCasaPlan plan = RectangleWith(c.from, c.to, c.epais);
    EXPECT_EQ(plan.WallCount, c.walls) << c.from.x << ' ' << c.epais;
    ASSERT_EQ(plan.RoomCount, 1) << c.from.x << ' ' << c.epais;
    EXPECT_EQ(plan.Rooms[1].surface, c.area) << c.from.x << ' ' << c.epais;
    if (c.walls == 4) {
      EXPECT_EQ(plan.Rooms[1].hash, before.Rooms[1].hash);
    }
  }
}

// A partition whose end stops inside the top or the right wall, a few
// millimetres off its centre line, drawn either way, splits the room in two
// and leaves no short piece behind: in the reader and in the clean-up.
TEST(RoomFaults, EndsInsideAWallAreJoinedToIt) {
  struct Case {
    TPoint from, to;
    double partition;  // the partition's own area between the inner faces
  };
  const double across = 2800 * 200, along = 3800 * 200;
  for (const Case& c :
       {Case{{7000, 5002}, {7000, 8000}, across}, Case{{7000, 8000}, {7000, 5002}, across},
        Case{{7000, 4997}, {7000, 8000}, across}, Case{{5000, 6500}, {8994, 6500}, along},
        Case{{8994, 6500}, {5000, 6500}, along}}) {
    TCasaPlan read;
    DrawRectangle(read);
    read.AddWallOfThickness(c.from, c.to, 200);
    read.RefreshGeometry();
    TCasaPlan cleaned = RectangleWith(c.from, c.to, 200);
    for (const TCasaPlan* plan : {&read, &cleaned}) {
      ASSERT_EQ(plan->RoomCount, 2) << c.from.x << ',' << c.from.y;
      EXPECT_GE(ShortestWall(*plan), 100) << c.from.x << ',' << c.from.y;
      EXPECT_EQ(plan->Rooms[1].surface + plan->Rooms[2].surface, 3800.0 * 2800 - c.partition);
    }
  }
  // The wall drawn first and the other laid over its end later.
  TCasaPlan late;
  late.ShowRooms = true;
  late.DefaultThickness = 200;
  late.AddWall({7000, 5002}, {7000, 8000});
  DrawRectangle(late);
  late.RefreshGeometry();
  EXPECT_EQ(late.RoomCount, 2);
  EXPECT_GE(ShortestWall(late), 100);
}

// A 250 mm wall crosses a small box from side to side near two of its
// corners. At each it overlaps the wall it runs into by more than the room
// it cuts off there: the walk round that room turns back over the overlap,
// yet both rooms stay, each of its open area, whichever way the wall runs.
TEST(RoomFaults, AWallAcrossASmallBoxKeepsTheCornersItCutsOff) {
  const TPoint left{10000, 10833}, right{10500, 10666};
  for (const Wall across : {Wall{left, right, 250}, Wall{right, left, 250}}) {
    const TCasaPlan plan = Drawn({{{10000, 10500}, {10500, 10500}, 250},
                                  {{10500, 11000}, {10000, 11000}, 250},
                                  {{10000, 10500}, {10000, 11000}, 100},
                                  {{10500, 10500}, {10500, 11000}, 120},
                                  across});
    ASSERT_EQ(plan.RoomCount, 2) << across.from.x;
    for (int32_t r = 1; r <= plan.RoomCount; ++r)
      EXPECT_NEAR(plan.Rooms[r].surface, OpenArea(plan, r), 0.5 * Perimeter(plan, r))
          << across.from.x << " room " << r;
  }
}

// Two partitions meet the top wall 62 mm apart from either side: the short
// piece between them has a face turned round, and the walk goes through it.
TEST(RoomFaults, StaggeredPartitionsKeepBothRooms) {
  TCasaPlan plan;
  DrawRectangle(plan);
  DrawWall(plan, {7000, 5000}, {7000, 8000});
  DrawWall(plan, {7062, 5000}, {7062, 3000});
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 2);
  EXPECT_EQ(plan.Rooms[1].surface, 1800.0 * 2800);
  EXPECT_EQ(plan.Rooms[2].surface, 1800.0 * 2800);
}

// A slanted wall crosses a wall's centre line 1 mm (after rounding) from its
// end: the crossing is taken at the end, whichever wall comes first, so no
// 1 mm piece is left to collapse the faces there.
TEST(RoomFaults, ACrossingRoundedNextToAnEndCutsNoSliver) {
  const Wall upright{{12500, 9500}, {12500, 10500}, 250};
  const Wall slanted{{12000, 10500}, {13001, 8500}, 120};
  for (const bool uprightFirst : {true, false}) {
    TCasaPlan plan = uprightFirst ? Drawn({upright, slanted}) : Drawn({slanted, upright});
    EXPECT_EQ(plan.WallCount, 3) << uprightFirst;
    EXPECT_GE(ShortestWall(plan), 100) << uprightFirst;
    int32_t ends = 0;
    for (int32_t w = 1; w <= plan.WallCount; ++w)
      for (const int32_t c : {plan.Walls[w].C1, plan.Walls[w].C2})
        ends += plan.Corners[c] == TPoint{12500, 9500};
    EXPECT_EQ(ends, 3) << uprightFirst;
  }
}

// A partition stops inside a slanted wall at an angle of 4 degrees to it. Its
// end is joined to the centre line at a rounded point, which puts the lines'
// crossing metres away: the slanted wall is cut at the end all the same,
// whichever wall comes first and whichever way the partition runs.
TEST(RoomFaults, AnEndJoinedToANearlyParallelWallCutsIt) {
  const Wall slanted{{16500, 12500}, {6500, 11500}, 120};
  const TPoint end{11000, 12000}, far{13000, 12000};
  for (const bool slantedFirst : {true, false}) {
    for (const bool outwards : {true, false}) {
      const Wall partition = outwards ? Wall{end, far, 100} : Wall{far, end, 100};
      const TCasaPlan plan =
          slantedFirst ? Drawn({slanted, partition}) : Drawn({partition, slanted});
      EXPECT_EQ(plan.WallCount, 3) << slantedFirst << outwards;
      std::vector<int32_t> ends(static_cast<size_t>(plan.CornerCount) + 1, 0);
      for (int32_t w = 1; w <= plan.WallCount; ++w) {
        ++ends[static_cast<size_t>(plan.Walls[w].C1)];
        ++ends[static_cast<size_t>(plan.Walls[w].C2)];
      }
      EXPECT_EQ(std::count(ends.begin(), ends.end(), 3), 1) << slantedFirst << outwards;
    }
  }
}

// A partition drawn almost along a slanted wall, inside its body at one end
// and just out of it at the other: its top face and the slanted wall's are
// capped near the same point, and the room above still runs along the
// partition's face. It loses no more than the partition's own area.
TEST(RoomFaults, APartitionAlongASlantedWallKeepsTheRoomAbove) {
  const auto areaAbove = [](bool withPartition) {
    TCasaPlan plan = Drawn({{{9500, 7000}, {12000, 7000}, 100},
                            {{9500, 7000}, {9500, 10000}, 250},
                            {{12000, 7000}, {12000, 10000}, 250},
                            {{15000, 8500}, {6000, 9500}, 250}});
    if (withPartition) plan.AddWallOfThickness({11000, 9000}, {7000, 9000}, 100);
    plan.RefreshGeometry();
    for (int32_t r = 1; r <= plan.RoomCount; ++r)
      if (plan.Rooms[r].Centre.y < 8500) return plan.Rooms[r].surface;
    return 0.0;
  };
  const double without = areaAbove(false), with = areaAbove(true);
  EXPECT_GT(without, 2300.0 * 1600);
  EXPECT_LE(with, without);
  EXPECT_GT(with, without - 4000.0 * 100);
}

// Short pieces crossing inside a junction can close a loop of their faces
// that lies wholly in wall material: no sketch keeps such a room.
TEST(RoomFaults, NoRoomInsideWallMaterial) {
  for (uint64_t seed = 1; seed <= 400; ++seed) {
    TCasaPlan plan;
    gen::DrawSketch(plan, gen::RandomSketch(seed));
    EXPECT_FALSE(gen::FaultsOf(plan).phantomRoom) << "sketch " << seed;
  }
}

// The right side of the rectangle changes from 200 to 250 mm at y = 6600 and
// a wall crosses the room 100 mm above the step, or ends 6 mm from it: the
// 100 mm piece's inner face shrinks to a point, which the walk goes through,
// and an end that close joins the step's corner instead of leaving a 6 mm
// piece.
TEST(RoomFaults, AStepNextToAJunctionKeepsBothRooms) {
  for (const int32_t y : {6500, 6594}) {
    const TCasaPlan plan = Drawn({{{5000, 5000}, {9000, 5000}, 200},
                                  {{9000, 5000}, {9000, 6600}, 200},
                                  {{9000, 6600}, {9000, 8000}, 250},
                                  {{9000, 8000}, {5000, 8000}, 200},
                                  {{5000, 8000}, {5000, 5000}, 200},
                                  {{5000, y}, {9000, y}, 200}});
    EXPECT_GE(ShortestWall(plan), 100) << y;
    ASSERT_EQ(plan.RoomCount, 2) << y;
    if (y == 6500) {
      EXPECT_EQ(plan.Rooms[1].surface + plan.Rooms[2].surface, 3800.0 * 1300 + 3775.0 * 1300);
    }
  }
}

// Two 100 mm walls fan out from one corner to a 120 mm wall 137 mm long: their
// bodies overlap but for a sliver under 5 mm wide between the faces, which is
// no room. The same fan 400 mm wide leaves a real one.
TEST(RoomFaults, ASliverBetweenFannedWallsIsNoRoom) {
  for (const int32_t top : {14682, 14419}) {
    const TCasaPlan plan = Drawn({{{11000, 14819}, {10500, 14955}, 100},
                                  {{11000, top}, {11000, 14819}, 120},
                                  {{11000, top}, {10500, 14955}, 100}});
    EXPECT_EQ(plan.RoomCount, top == 14682 ? 0 : 1) << top;
  }
}

// Walls meeting at small angles, as a sketch drew them: faces cross before
// their joint points, so the walk's loop twists there. A room's area is what
// lies in no wall inside its border.
TEST(RoomFaults, FacesCrossingBeforeTheirJointsKeepTheRoomsArea) {
  const TCasaPlan plan = Drawn({{{8736, 14438}, {9500, 14227}, 120},
                                {{8563, 14517}, {8736, 14438}, 120},
                                {{8563, 14517}, {9500, 14500}, 120},
                                {{9500, 14500}, {9500, 14227}, 200},
                                {{9500, 14091}, {9500, 14227}, 200},
                                {{8736, 14438}, {9500, 14091}, 100},
                                {{7750, 14500}, {8563, 14517}, 120},
                                {{8202, 14681}, {8563, 14517}, 100},
                                {{8563, 14517}, {9500, 14833}, 120},
                                {{9500, 14500}, {9500, 14833}, 200}});
  ASSERT_GE(plan.RoomCount, 1);
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const double open = OpenArea(plan, r);
    EXPECT_NEAR(plan.Rooms[r].surface, open, 0.01 * open) << r;
  }
}

// One side of a rectangle in a short 100 mm and a 250 mm piece, bent by a
// degree or two at their joint, where a third wall may leave outwards: the
// faces of the two pieces cross metres away, beyond the end of one of them,
// where nothing is painted. They step at the joint, as pieces exactly in line do,
// and the room is what its border holds in no wall.
TEST(RoomFaults, PiecesNearlyInLineStepAtTheirJoint) {
  struct Case {
    int32_t bend;  // of the 250 mm piece's far end, mm
    bool third;
  };
  for (const Case c : {Case{30, false}, Case{-30, false}, Case{30, true}, Case{-30, true}}) {
    TCasaPlan plan = Drawn({{{5000, 5000}, {5300, 5000}, 100},
                            {{5300, 5000}, {6500, 5000 + c.bend}, 250},
                            {{6500, 5000 + c.bend}, {6500, 6000}, 200},
                            {{6500, 6000}, {5000, 6000}, 200},
                            {{5000, 6000}, {5000, 5000}, 200}});
    if (c.third) plan.AddWallOfThickness({5300, 5000}, {5500, 4000}, 100);
    plan.RefreshGeometry();
    ASSERT_EQ(plan.RoomCount, 1) << c.bend << c.third;
    const double open = OpenArea(plan, 1);
    EXPECT_NEAR(plan.Rooms[1].surface, open, 0.002 * open) << c.bend << c.third;
  }
}

// A 100 mm wall leaving a 250 mm one's corner 2,3 degrees apart (a random
// sketch, mirrored and drawn either way): near the corner the thick wall's
// face covers the thin one's, and the room's border follows it to where the
// thin wall's face comes out.
TEST(RoomFaults, AThinWallFanningFromAThickOneKeepsTheRoomsArea) {
  for (const int32_t flip : {1, -1})
    for (const bool reversed : {false, true}) {
      const auto at = [flip](int32_t x, int32_t y) {
        return TPoint{x, 10000 + flip * (y - 10000)};
      };
      const TPoint corner = at(9985, 11000), thinEnd = at(13000, 10134);
      TCasaPlan plan = Drawn({{corner, at(13000, 10000), 250},
                              {corner, at(13000, 11000), 200},
                              {thinEnd, at(13000, 11000), 250},
                              {thinEnd, at(13000, 10000), 250}});
      plan.AddWallOfThickness(reversed ? corner : thinEnd, reversed ? thinEnd : corner, 100);
      plan.RefreshGeometry();
      ASSERT_EQ(plan.RoomCount, 1) << flip << reversed;
      const double open = OpenArea(plan, 1);
      EXPECT_NEAR(plan.Rooms[1].surface, open, 0.002 * open) << flip << reversed;
    }
}

// A wall stopping a few centimetres short of a slanted one, one corner of
// its end face inside the slanted wall's body (three walls of a random
// sketch): the walls' paint closes a triangle, but the room walk went round
// the free end and found no room. The clean-up of a moved wall, either of
// the two, joins the end to the slanted wall. Where the end face misses the
// body, or the slanted wall stands free so that the join would close
// nothing, the end stays where it was drawn.
TEST(RoomFaults, AnEndPokingIntoAWallClosesTheRoom) {
  const Wall left{{14000, 5500}, {14000, 5900}, 120};
  const Wall slanted{{14000, 5900}, {17000, 5000}, 120};
  struct Case {
    const char* what;
    std::vector<Wall> walls;  // the wall stopping short is the first
    int32_t rooms;
  };
  const std::vector<Case> cases = {
      {"poking", {{{15000, 5500}, {14000, 5500}, 120}, left, slanted}, 1},
      {"short of the body", {{{14800, 5500}, {14000, 5500}, 120}, left, slanted}, 0},
      {"into a free wall", {{{15000, 5500}, {14000, 5500}, 120}, slanted}, 0},
  };
  for (const Case& c : cases) {
    for (const int32_t moved : {1, static_cast<int32_t>(c.walls.size())}) {
      TCasaPlan plan;
      plan.ShowRooms = true;
      for (const Wall& w : c.walls) plan.AddWallOfThickness(w.from, w.to, w.epais);
      const int32_t length = plan.WallLength(1);
      plan.CleanUpAfterWallMove(moved);
      ASSERT_EQ(plan.RoomCount, c.rooms) << c.what << ", wall " << moved << " moved";
      if (c.rooms == 0) {
        EXPECT_EQ(plan.WallCount, static_cast<int32_t>(c.walls.size())) << c.what;
        EXPECT_EQ(plan.WallLength(1), length) << c.what;
        continue;
      }
      // The room is the triangle of the joints, its sides moved in by the
      // 60 mm half thickness: its inradius is theirs less 60.
      std::vector<TPoint> joints;
      for (int32_t k = 1; k <= plan.CornerCount; ++k)
        if (plan.WallsAtCorner(k).Count > 1) joints.push_back(plan.Corners[k]);
      ASSERT_EQ(joints.size(), 3u) << c.what;
      const TPoint a = joints[0], b = joints[1], d = joints[2];
      const double area =
          std::abs((1.0 * b.x - a.x) * (d.y - a.y) - (1.0 * b.y - a.y) * (d.x - a.x)) / 2;
      const double perimeter = Far(a, b) + Far(b, d) + Far(d, a), r = 2 * area / perimeter;
      const double inner = area * (r - 60) * (r - 60) / (r * r);
      // Within half a millimetre along the border: the points are rounded.
      EXPECT_NEAR(plan.Rooms[1].surface, inner, perimeter * (r - 60) / r / 2) << c.what;
    }
  }
}

// The walls drawn one by one, then the clean-up of wall `moved` (none for 0).
TCasaPlan CleanedUp(const std::vector<Wall>& walls, int32_t moved) {
  TCasaPlan plan;
  plan.ShowRooms = true;
  for (const Wall& w : walls) plan.AddWallOfThickness(w.from, w.to, w.epais);
  if (moved > 0) plan.CleanUpAfterWallMove(moved);
  plan.RefreshGeometry();
  return plan;
}

// Two walls meeting at a sharp angle whose capped mitre tip reaches into a
// wall they are not joined to: the paint closes the triangle between them,
// the wall and a slanted wall back to it; the clean-up joins the corner.
TEST(RoomFaults, AMitreTipReachingIntoAWallClosesTheRoom) {
  const Wall back{{14150, 6350}, {14000, 6500}, 100};
  const Wall sharp{{14150, 6350}, {14000, 6000}, 250};
  const Wall upright{{14000, 6500}, {14000, 6000}, 120};
  struct Case {
    const char* what;
    std::vector<Wall> walls;  // the wall the tip reaches is the first
    int32_t rooms;
  };
  const std::vector<Case> cases = {
      {"tip inside",
       {{{15000, 5500}, {12500, 5500}, 200},
        {{15000, 5500}, {14150, 6350}, 100},
        back,
        sharp,
        upright},
       1},
      {"tip short of the wall",
       {{{15000, 5300}, {12500, 5300}, 200},
        {{15000, 5300}, {14150, 6350}, 100},
        back,
        sharp,
        upright},
       0},
      {"not linked", {{{15000, 5500}, {12500, 5500}, 200}, back, sharp, upright}, 0},
      // A random sketch: the tip's foot lies 29 mm from the end of a 69 mm
      // wall, too near for a cut; the corner joins that end.
      {"tip by a short wall's end",
       {{{7500, 13681}, {7500, 13750}, 120},
        {{7500, 12000}, {7500, 13681}, 120},
        {{7500, 13750}, {7500, 14500}, 120},
        {{7500, 12000}, {9000, 12000}, 120},
        {{9000, 12000}, {9000, 13000}, 120},
        {{9000, 14227}, {7579, 13710}, 100},
        {{9000, 13000}, {7579, 13710}, 100}},
       1},
  };
  for (const Case& c : cases) {
    for (const int32_t moved : {1, static_cast<int32_t>(c.walls.size())}) {
      const TCasaPlan plan = CleanedUp(c.walls, moved);
      ASSERT_EQ(plan.RoomCount, c.rooms) << c.what << ", wall " << moved << " moved";
      if (c.rooms == 0) {
        EXPECT_EQ(plan.WallCount, static_cast<int32_t>(c.walls.size())) << c.what;
        continue;
      }
      EXPECT_NEAR(plan.Rooms[1].surface, OpenArea(plan, 1), Perimeter(plan, 1) / 2) << c.what;
    }
  }
}

struct BridgeCase {
  const char* what;
  Wall bridge;
  int32_t walls;       // the two it joins cut in two when it closes the room
  double least, most;  // the room's area
};

void ExpectBridged(const BridgeCase& c, int32_t moved) {
  const Wall left{{8500, 14125}, {10000, 16000}, 250};
  const Wall top{{10000, 16000}, {13500, 15500}, 250};
  const Wall right{{13500, 15500}, {15000, 15000}, 250};
  const TCasaPlan plan = CleanedUp({c.bridge, left, top, right}, moved);
  const double area = plan.RoomCount == 1 ? plan.Rooms[1].surface : 0;
  EXPECT_EQ(plan.RoomCount, c.least > 0 ? 1 : 0) << c.what << ", wall " << moved << " moved";
  EXPECT_EQ(plan.WallCount, c.walls) << c.what << ", wall " << moved << " moved";
  EXPECT_GE(area, c.least) << c.what << ", wall " << moved << " moved";
  EXPECT_LE(area, c.most) << c.what << ", wall " << moved << " moved";
}

// A wall free at both ends, each end stopping just short of a slanted wall
// with one corner of its end face inside it (a random sketch): the two
// walls are linked through a third, and the bridge's paint closes a room
// with them that the walk went round. The clean-up of any of the walls joins
// both ends. With one end short of its wall, the bridge closes nothing and
// stays as drawn.
TEST(RoomFaults, AWallPokingIntoTwoLinkedWallsClosesTheRoom) {
  // The centre lines' quadrilateral, 4.0 m², less a band of half the
  // thickness along its 12.2 m of sides: some 2.5 m² and the corners.
  const BridgeCase cases[] = {
      {"bridging", {{9000, 14500}, {14500, 15000}, 250}, 6, 2.4e6, 2.8e6},
      {"bridging, drawn the other way", {{14500, 15000}, {9000, 14500}, 250}, 6, 2.4e6, 2.8e6},
      {"one end short", {{9000, 14500}, {13600, 14900}, 250}, 4, 0, 0},
  };
  for (const BridgeCase& c : cases)
    for (const int32_t moved : {1, 2, 4}) ExpectBridged(c, moved);
}

// A stub free at both ends stops just short of a room's slanted side, one
// corner of its end face inside the side's body (a random sketch): its paint
// juts into the room, which the walk took as if it stood free. Joined, it
// takes its paint off the room. Poking into a wall on no loop, it stays.
TEST(RoomFaults, AStubPokingIntoARoomsWallIsTakenOffTheRoom) {
  const Wall stub{{7000, 8500}, {7500, 8500}, 120};
  const std::vector<Wall> room = {{{7250, 7917}, {6600, 9000}, 120},
                                  {{6600, 9000}, {8500, 9000}, 120},
                                  {{8500, 9000}, {8500, 7917}, 120},
                                  {{8500, 7917}, {7250, 7917}, 120}};
  struct Case {
    const char* what;
    std::vector<Wall> walls;  // the stub is the first
    int32_t rooms;
  };
  const Case cases[] = {
      {"in a room", {stub, room[0], room[1], room[2], room[3]}, 1},
      {"at a free wall", {stub, room[0]}, 0},
  };
  for (const Case& c : cases) {
    const TCasaPlan drawn = CleanedUp(c.walls, 0);
    const TCasaPlan plan = CleanedUp(c.walls, 1);
    ASSERT_EQ(plan.RoomCount, c.rooms) << c.what;
    EXPECT_EQ(plan.WallLength(1) != drawn.WallLength(1), c.rooms == 1) << c.what;
    if (c.rooms == 0) continue;
    // The stub's 500 x 120 mm, and the 30 mm more it now runs to the face.
    EXPECT_NEAR(drawn.Rooms[1].surface - plan.Rooms[1].surface, 530 * 120, 0.05 * 530 * 120)
        << c.what;
  }
}

// A wall stops 7 mm short of the corner where two others meet, in line with
// one of them (a random sketch): their paint leaves no gap, but the walk
// went round the free end and missed the room the walls close. The end takes
// the corner. Farther off, or with nothing else linking the walls, it stays.
TEST(RoomFaults, AnEndBesideAnotherWallsEndTakesItsCorner) {
  const TPoint a{8051, 9387}, c{8472, 9578};
  const std::vector<Wall> others = {{c, {10500, 10500}, 200}, {{10151, 10500}, c, 200}};
  const std::vector<Wall> link = {{a, {8051, 10500}, 200}, {{8051, 10500}, {10151, 10500}, 200}};
  struct Case {
    const char* what;
    TPoint end;
    bool linked;
    int32_t rooms;
  };
  const Case cases[] = {
      {"7 mm short", {8466, 9575}, true, 1},
      {"150 mm short", {8335, 9516}, true, 0},
      {"not linked", {8466, 9575}, false, 0},
  };
  for (const Case& k : cases) {
    std::vector<Wall> walls = {{a, k.end, 200}};
    walls.insert(walls.end(), others.begin(), others.end());
    if (k.linked) walls.insert(walls.end(), link.begin(), link.end());
    const TCasaPlan plan = CleanedUp(walls, 1);
    EXPECT_EQ(plan.RoomCount, k.rooms) << k.what;
    // A wall runs from a to c (the clean-up shifts the origin).
    bool joined = false;
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      const TPoint p = plan.Corners[plan.Walls[w].C1], q = plan.Corners[plan.Walls[w].C2];
      joined = joined || (std::abs(q.x - p.x) == c.x - a.x && std::abs(q.y - p.y) == c.y - a.y);
    }
    EXPECT_EQ(joined, k.rooms == 1) << k.what;
  }
}

// A slanted side of 100 mm walls with a short 250 mm piece in it, the three
// nearly in line (their points rounded to the millimetre; a random sketch
// after the clean-up). Their faces cross far away on either side by chance:
// cut back to twice the thickness, the piece's face ran past its far end
// over the thin wall, and the paint left a wedge the room walk cut off. A
// step between nearly aligned walls keeps its faces' plain ends, so the
// room is what its walls leave free.
TEST(RoomFaults, AShortThickPieceNearlyInLineKeepsTheRoomsArea) {
  struct Case {
    const char* what;
    TPoint from, to;  // the 250 mm piece
  };
  const Case cases[] = {
      {"137 mm piece", {9000, 14399}, {8920, 14511}},
      {"137 mm piece, drawn the other way", {8920, 14511}, {9000, 14399}},
      {"430 mm piece", {9000, 14399}, {8750, 14749}},
  };
  const TPoint start{9000, 14399};
  for (const Case& c : cases) {
    const TPoint end = c.from == start ? c.to : c.from;
    const TCasaPlan plan = Drawn({{start, {9643, 13500}, 100},
                                  {c.from, c.to, 250},
                                  {{8214, 15500}, end, 100},
                                  {{9643, 13500}, {10300, 13500}, 120},
                                  {{10300, 13500}, {10300, 15500}, 120},
                                  {{10300, 15500}, {8214, 15500}, 100}});
    ASSERT_EQ(plan.RoomCount, 1) << c.what;
    // Within half a millimetre along the border: the points are rounded.
    EXPECT_NEAR(plan.Rooms[1].surface, OpenArea(plan, 1), Perimeter(plan, 1) / 2) << c.what;
  }
}

// Rooms the walk lost beside faces a few millimetres long (walls of a random
// sketch after the clean-up). "Shrunk face": a 111 mm piece in a 120 mm
// wall, met by a slanted wall, has an inner face 2 mm long whose both ends
// lie at the point the walk reached it from; the walk went back there
// instead of on along the slanted wall. "Crossing faces": a slanted wall's
// face crosses the face of the wall below it, so the loop winds round the
// room one way and round the walls' overlap the other; the two areas
// nearly cancel, and the loop looked narrower than the coincidence.
TEST(RoomFaults, RoomsBesideFacesAFewMillimetresLong) {
  struct Case {
    const char* what;
    std::vector<Wall> walls;
    int32_t rooms;
  };
  const Case cases[] = {
      {"shrunk face",
       {{{11000, 11000}, {8000, 11000}, 120},
        {{11000, 11000}, {11000, 11111}, 120},
        {{11000, 11111}, {11000, 11500}, 120},
        {{11000, 9500}, {11000, 11000}, 120},
        {{8000, 11778}, {11000, 11111}, 120},
        {{8000, 11778}, {8000, 11000}, 100},
        {{8000, 11000}, {8000, 10500}, 100}},
       1},
      {"crossing faces",
       {{{7500, 11889}, {8000, 11778}, 120},
        {{7500, 12000}, {8000, 12000}, 200},
        {{7500, 11889}, {7500, 12000}, 120},
        {{8000, 11778}, {8000, 12000}, 100},
        {{8000, 11778}, {8000, 11000}, 100},
        {{8000, 12000}, {9500, 12000}, 200},
        {{7500, 12000}, {7000, 12000}, 200},
        {{7500, 11889}, {7500, 9500}, 120}},
       1},
  };
  for (const Case& c : cases) {
    TCasaPlan plan;
    plan.ShowRooms = true;
    for (const Wall& w : c.walls) plan.AddWallOfThickness(w.from, w.to, w.epais);
    plan.RefreshGeometry();
    EXPECT_EQ(plan.RoomCount, c.rooms) << c.what;
    for (int32_t r = 1; r <= plan.RoomCount; ++r)
      EXPECT_NEAR(plan.Rooms[r].surface, OpenArea(plan, r), Perimeter(plan, r) / 2) << c.what;
  }
}

// Two junctions 2 mm apart, linked by a 2 mm wall (a rounded crossing of a
// random sketch): the clean-up deleted the short wall and left the walls at
// its ends apart, though their paint touches, and the room they close was
// lost. Its corners are made one instead, whichever wall the clean-up
// follows.
TEST(RoomFaults, AWallShorterThanItsThicknessJoinsItsEnds) {
  const TPoint p{14012, 9542}, q{14014, 9542};
  const std::vector<Wall> walls = {{p, q, 100},
                                   {{14009, 10000}, p, 100},
                                   {p, {14000, 8500}, 100},
                                   {q, {15000, 9500}, 120},
                                   {q, {15000, 9273}, 100},
                                   {{15000, 10191}, {15000, 9500}, 200},
                                   {{14007, 10285}, {15000, 10191}, 100},
                                   {{14009, 10000}, {14007, 10285}, 100}};
  for (const int32_t moved : {1, 4}) {
    const TCasaPlan plan = CleanedUp(walls, moved);
    ASSERT_EQ(plan.RoomCount, 1) << "wall " << moved << " moved";
    EXPECT_NEAR(plan.Rooms[1].surface, OpenArea(plan, 1), 0.005 * plan.Rooms[1].surface)
        << "wall " << moved << " moved";
  }
}

// A 120 mm wall drawn from the end of a 250 mm one and 0.3 degrees off it,
// so that the thick wall's other end lies in its body (a random sketch): the
// two shared a stretch the overlap rule, for exactly aligned walls only,
// did not see, and the room beside them ran along the thin wall's face,
// inside the thick wall's paint. The end is joined to the thin wall, cut
// there; of the two walls then on the same corners one goes, the other
// taking the greater thickness, whichever wall the clean-up follows.
TEST(RoomFaults, AWallAlongAnotherFromItsEndSharesNoStretch) {
  const std::vector<Wall> walls = {{{12000, 11250}, {12000, 12563}, 250},
                                   {{11992, 13000}, {12000, 11250}, 120},
                                   {{12000, 11250}, {10000, 11250}, 200},
                                   {{10000, 11250}, {10000, 13000}, 200},
                                   {{10000, 13000}, {11992, 13000}, 200}};
  for (const int32_t moved : {1, 2}) {
    const TCasaPlan plan = CleanedUp(walls, moved);
    EXPECT_EQ(plan.WallCount, 5) << "wall " << moved << " moved";
    int32_t thick = 0;  // the shared stretch keeps the thick wall's paint
    for (int32_t w = 1; w <= plan.WallCount; ++w) thick += plan.Walls[w].epais == 250;
    EXPECT_EQ(thick, 1) << "wall " << moved << " moved";
    ASSERT_EQ(plan.RoomCount, 1) << "wall " << moved << " moved";
    EXPECT_NEAR(plan.Rooms[1].surface, OpenArea(plan, 1), Perimeter(plan, 1) / 2)
        << "wall " << moved << " moved";
  }
}

// Two slanted walls meet at one point and two others 2 mm away (their
// crossings rounded apart in a random sketch): the paint is one junction,
// but the walk went round each and lost the room above. The clean-up of
// either wall at the second point joins them; 6 mm away, they stay apart.
TEST(RoomFaults, JunctionsAMillimetreApartBecomeOne) {
  struct Case {
    TPoint second;
    int32_t moved;
    int32_t rooms;
  };
  for (const Case c :
       {Case{{12911, 11177}, 3, 1}, Case{{12911, 11177}, 4, 1}, Case{{12915, 11178}, 3, 0}}) {
    const TPoint first{12909, 11178};
    const TCasaPlan plan = CleanedUp({{first, {11500, 11600}, 250},
                                      {first, {11500, 11818}, 120},
                                      {c.second, {13500, 11000}, 250},
                                      {c.second, {14400, 10500}, 120},
                                      {{14400, 10500}, {11500, 10500}, 100},
                                      {{11500, 11600}, {11500, 10500}, 100}},
                                     c.moved);
    EXPECT_EQ(plan.RoomCount, c.rooms) << c.second.x << ' ' << c.moved;
  }
}

// Two walk faults, each in a few walls of a random sketch, where the room
// is what its border holds in no wall:
// - a small loop of short slanted walls between two partitions, whose faces
//   cross so that the twist takes off nearly all of the open triangle: the
//   loop looked narrower than a crack on balance;
// - a 125 mm piece between a slanted wall's corner and a partition's, whose
//   face under the room shrinks to 2 mm, both ends coinciding with the
//   slanted wall's face end: the walk, entering the piece from there, goes
//   on along the partition at the piece's other end. The slanted wall comes
//   first, so that the first walk starts on its face.
TEST(RoomFaults, SmallLoopsOfSlantedWallsAreRooms) {
  struct Case {
    const char* what;
    std::vector<Wall> walls;
  };
  const Case cases[] = {
      {"narrow on balance",
       {{{14500, 12500}, {14500, 13785}, 250},
        {{14500, 13785}, {14500, 13900}, 250},
        {{14500, 13900}, {14500, 14500}, 250},
        {{14500, 13785}, {15082, 13910}, 120},
        {{15082, 13910}, {14966, 14086}, 120},
        {{14500, 13900}, {14966, 14086}, 200},
        {{14966, 14086}, {16000, 14500}, 200},
        {{15082, 13910}, {15500, 14000}, 120},
        {{15082, 13910}, {17000, 11000}, 120}}},
      {"face shrunk beside the way in",
       {{{13375, 12000}, {13000, 13500}, 100},
        {{13500, 13500}, {13000, 13500}, 100},
        {{13500, 12000}, {13500, 11500}, 200},
        {{13500, 12000}, {16500, 12000}, 200},
        {{13375, 12000}, {13500, 11500}, 100},
        {{13500, 12000}, {13375, 12000}, 200},
        {{13500, 12000}, {13500, 13500}, 200},
        {{11187, 12000}, {13375, 12000}, 200}}},
  };
  for (const Case& c : cases) {
    const TCasaPlan plan = CleanedUp(c.walls, 0);
    EXPECT_EQ(plan.RoomCount, 1) << c.what;
    if (plan.RoomCount != 1) continue;
    const double open = OpenArea(plan, 1);
    EXPECT_NEAR(plan.Rooms[1].surface, open, 0.02 * open) << c.what;
  }
}

// Rooms between faces meeting at a small angle, in a few walls of random
// sketches after the clean-up. The room is the loop of its faces without
// its turned-back pieces, however narrow those are:
// - "twist past a short face": two walls converge and their faces cross
//   before a 98 mm wall joins their ends, or a 214 mm wall's 4 mm face;
// - "ends taken for one": faces converge and cross a few centimetres before
//   their ends, which lie within the 5 mm the walk takes for one point (a
//   sharp corner's joint points rounded apart, or two walls cut back by the
//   same wall);
// - "stub": a short wall with a free end leaves a corner at a sharp angle
//   to a longer one, so that their faces cross past the short wall's end.
//   The long wall's face ran on under the short wall to that crossing; it
//   stops on the short wall's end, and the short wall's face under it
//   shrinks to that end.
TEST(RoomFaults, FacesCrossingNearTheirEndsBoundTheRoom) {
  struct Case {
    const char* what;
    std::vector<Wall> walls;
  };
  const Case cases[] = {
      {"twist past a short face",
       {{{14000, 9886}, {13000, 9841}, 100},
        {{13000, 9987}, {13000, 9841}, 200},
        {{14000, 9984}, {13000, 9987}, 120},
        {{14000, 9984}, {14000, 9886}, 100}}},
      {"twist past a 4 mm face",
       {{{9500, 11714}, {9000, 11786}, 250},
        {{9500, 12000}, {9500, 11714}, 200},
        {{9500, 12000}, {9000, 12000}, 200},
        {{9000, 12000}, {9000, 11786}, 120}}},
      {"ends taken for one at a sharp corner",
       {{{13000, 7137}, {15496, 7023}, 120},
        {{15496, 7023}, {13000, 7000}, 100},
        {{13000, 7137}, {13000, 7000}, 250}}},
      {"ends taken for one, cut back by one wall",
       {{{13500, 13000}, {13500, 13167}, 250},
        {{14500, 13000}, {13500, 13000}, 120},
        {{14500, 13000}, {14500, 13100}, 200},
        {{14500, 13100}, {13500, 13167}, 100}}},
      {"stub: 250 mm between two thinner walls",
       {{{9999, 8500}, {9000, 8750}, 200},
        {{9000, 8167}, {9000, 8750}, 200},
        {{9999, 8500}, {9000, 8167}, 120},
        {{9999, 8500}, {9500, 8500}, 250}}},
      {"stub: 120 mm along a 100 mm wall",
       {{{10928, 12071}, {11000, 11500}, 120},
        {{10953, 10500}, {10928, 12071}, 100},
        {{10953, 10500}, {11500, 10500}, 200},
        {{11500, 12300}, {10928, 12071}, 200},
        {{11500, 12300}, {11500, 10500}, 120}}},
      {"stub: 250 mm at a 100 mm wall's corner",
       {{{8500, 9500}, {8000, 9500}, 250},
        {{10500, 9000}, {8500, 9500}, 100},
        {{7500, 9750}, {8500, 9500}, 100},
        {{7500, 9750}, {7500, 9000}, 120},
        {{10500, 9000}, {7500, 9000}, 100}}},
  };
  for (const Case& c : cases) {
    const TCasaPlan plan = CleanedUp(c.walls, 0);
    ASSERT_EQ(plan.RoomCount, 1) << c.what;
    const Open open = OpenPart(plan, 1);
    EXPECT_NEAR(plan.Rooms[1].surface, open.area, 0.005 * open.area) << c.what;
    EXPECT_NEAR(plan.Rooms[1].Centre.x, open.x, 1) << c.what;
    EXPECT_NEAR(plan.Rooms[1].Centre.y, open.y, 1) << c.what;
  }
}

// Two 250 mm walls of a slanted side nearly in line, 0.03 degrees apart, at
// a corner where a partition meets them (a random sketch after the
// clean-up): the crossing of their faces, from points rounded to the
// millimetre, fell 250 mm along one of them, and the paint left a wedge
// back to the corner that the room walk cut off. The faces go on from
// their plain ends, which meet.
TEST(RoomFaults, WallsNearlyInLineMeetAtTheirPlainEnds) {
  const TCasaPlan plan = CleanedUp({{{11250, 11062}, {12000, 10500}, 250},
                                    {{12000, 10500}, {13533, 10720}, 250},
                                    {{11993, 10951}, {11250, 11062}, 250},
                                    {{13533, 10720}, {11993, 10951}, 250},
                                    {{12000, 13500}, {11993, 10951}, 120}},
                                   0);
  EXPECT_LE(Far(plan.Outline[4 * 3 + 4], plan.Outline[4 * 4 + 3]), 1);
  EXPECT_EQ(plan.RoomCount, 1);
}

// Three walls round a spot smaller than their thickness: the joints carry
// every face past the others' and turn it round, and the loop of those faces
// lies in wall material.
TEST(RoomFaults, TurnedRoundFacesCloseNoRoom) {
  const std::vector<Wall> triangles[] = {
      {{{10000, 11643}, {10250, 11500}, 200},
       {{10250, 11500}, {10000, 11500}, 200},
       {{10000, 11500}, {10000, 11643}, 120}},
      {{{12955, 11962}, {13129, 12063}, 250},
       {{12955, 11962}, {13061, 11970}, 250},
       {{13129, 12063}, {13061, 11970}, 250}},
  };
  for (const auto& walls : triangles) {
    const TCasaPlan plan = CleanedUp(walls, 0);
    EXPECT_EQ(plan.RoomCount, 0) << walls[0].from.x;
  }
}

// Two walls closing in on each other leave a small room where the face of
// one crosses the other's; the walk runs on past the crossing to the joint
// points, out and back along one face line, which makes its loop narrow on
// its whole length though the room itself is not.
TEST(RoomFaults, ARoomWhereFacesCrossKeepsItsWidth) {
  const TCasaPlan plan = CleanedUp({{{9000, 11500}, {9286, 11500}, 100},
                                    {{9230, 11434}, {9000, 11500}, 120},
                                    {{9500, 11500}, {9286, 11500}, 100},
                                    {{9500, 11357}, {9500, 11500}, 120},
                                    {{9500, 11357}, {9230, 11434}, 120},
                                    {{9500, 11357}, {9500, 10500}, 120},
                                    {{9500, 11500}, {10500, 11500}, 100}},
                                   0);
  // The triangle between the faces x = 9440, y = 11450 and the slanted face
  // from (9440, 11437): 13 mm by 47 mm.
  int32_t found = 0;
  for (int32_t r = 1; r <= plan.RoomCount; ++r) found += std::abs(plan.Rooms[r].surface - 305) < 15;
  EXPECT_EQ(found, 1);
}

// Rooms whose walk sets out from a point where faces of other walls meet,
// or passes one, where a face turned round by its joints ends too: each is
// found whole, whichever way the walk goes round it. The junctions are
// those of two random sketches after the clean-up; the areas are those of
// the holes in the union of the walls' paint.
TEST(RoomFaults, FacesTurnedRoundAtAJunctionLeaveTheRoomWhole) {
  struct Case {
    const char* what;
    uint64_t sketch;
    TPoint centre;
    double area;
  };
  const Case cases[] = {
      {"walk set out backwards", 1221, {7464, 15349}, 135326},
      {"turned face first at a junction", 609, {13491, 15574}, 2064545},
      {"every face turned at a junction", 918, {12886, 9859}, 1015547},
  };
  for (const Case& c : cases) {
    TCasaPlan plan;
    gen::DrawSketch(plan, gen::RandomSketch(c.sketch));
    gen::CleanUpEveryWall(plan);
    int32_t found = 0;
    for (int32_t r = 1; r <= plan.RoomCount; ++r) {
      if (Far(plan.Rooms[r].Centre, c.centre) > 20) continue;
      ++found;
      EXPECT_NEAR(plan.Rooms[r].surface, c.area, 0.005 * c.area) << c.what;
    }
    EXPECT_EQ(found, 1) << c.what;
  }
}

// A narrow room between two slanted walls (a random sketch): one of them
// fans at a sharp angle from a third, and the walk runs out along that
// one's face past the room's tip and back. The room is no wider than
// 60 mm, between the points of the grid that looks for free space in it,
// and the run out and back, a spike a fraction of a millimetre wide, must
// not pull its centre off.
TEST(RoomFaults, ANarrowRoomBesideFannedWallsIsFoundWhole) {
  const TCasaPlan plan = CleanedUp({{{9000, 8500}, {9000, 11500}, 100},
                                    {{9500, 8500}, {9000, 8500}, 200},
                                    {{9000, 7900}, {9000, 7500}, 100},
                                    {{9000, 7900}, {7000, 9500}, 200},
                                    {{9000, 8167}, {9000, 8500}, 100},
                                    {{8500, 12000}, {8500, 8500}, 250},
                                    {{6375, 12000}, {7000, 9500}, 100},
                                    {{9500, 7500}, {9000, 7900}, 200},
                                    {{8500, 8500}, {7000, 9500}, 120},
                                    {{9000, 8167}, {9000, 7900}, 100},
                                    {{10000, 7500}, {9000, 8167}, 120},
                                    {{8500, 8500}, {9000, 8167}, 120}},
                                   0);
  // The room lies about (8798, 8209), as the hole of the walls' paint does.
  int32_t found = 0;
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    if (Far(plan.Rooms[r].Centre, {8798, 8209}) > 5) continue;
    ++found;
    // Its tip, a sliver under a millimetre wide, is rounded off.
    const double open = OpenArea(plan, r);
    EXPECT_NEAR(plan.Rooms[r].surface, open, 0.02 * open);
  }
  EXPECT_EQ(found, 1);
}

}  // namespace
}  // namespace casavo
