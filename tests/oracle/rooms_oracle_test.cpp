// Casavo's rooms against an independent planar-geometry library: the rooms of
// a plan are the holes of the union of its wall surfaces (each wall's painted
// hexagon), as GEOS computes them. A room and a hole match when their areas
// agree within 0.5 % (or half a millimetre along the border, for the small
// rooms whose rounded points weigh more) and their centres lie within 1 % of
// the hole's size of each other.
//
// The differences the model allows are named and counted apart: a crack (a
// hole narrower than the 5 mm within which the room walk takes two outline
// points for one, left by joint points rounded to the millimetre), a crack at
// a room (such a crack opening into a room's hole, where faces meeting at a
// sharp angle end at points a millimetre or two apart: the room walk takes
// them for one, and the room is its hole without the crack, its centre
// within those 5 mm of that hole's), a stub (a
// free-standing wall inside a room, an island of its hole, which the room
// may leave out of its area), the table (a plan has at most 1000 rooms),
// and, as read, a mitre tip (a sharp corner's capped mitre point reaching
// into a wall the corner is not joined to: its paint closes a hole, or parts
// two, where no loop of joined wall faces does, and rooms are such loops;
// such a plan agrees with the holes of its paint with each wall's shape cut
// to its body, the rectangle between its corners). The clean-up joins such
// a corner to the wall, so after it a mitre tip is no longer allowed.
// Everything else is a fault: a lost room, merged rooms, a wrong area or a
// phantom room.

#include <geos_c.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "plan/casa_plan.h"
#include "support/plan_generator.h"
#include "support/random_sketches.h"

namespace casavo {
namespace {

struct Hole {
  double area = 0, x = 0, y = 0;
  double perimeter = 0;
  double islands = 0;  // walls standing free inside it
  // The hole without the cracks that open into it: its parts narrower than
  // 5 mm taken off (shrunk by 2.5 mm, then grown back with sharp corners).
  double trimmedArea = 0, trimmedX = 0, trimmedY = 0;
};

class Geos {
 public:
  Geos() : context_(GEOS_init_r()) {}
  ~Geos() { GEOS_finish_r(context_); }
  Geos(const Geos&) = delete;
  Geos& operator=(const Geos&) = delete;

  // The holes of the union of the walls' hexagons, their mitre tips cut off
  // when `tipless`.
  std::vector<Hole> HolesOf(const TCasaPlan& plan, bool tipless = false) {
    std::vector<GEOSGeometry*> walls;
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      GEOSGeometry* shape = Polygon(plan.Walls[w].Shape);
      if (shape == nullptr) continue;
      if (!GEOSisValid_r(context_, shape)) {
        GEOSGeometry* valid = GEOSMakeValid_r(context_, shape);
        GEOSGeom_destroy_r(context_, shape);
        shape = valid;
      }
      if (shape != nullptr && tipless) shape = CutToBody(plan, w, shape);
      if (shape != nullptr) walls.push_back(shape);
    }
    std::vector<Hole> holes;
    if (walls.empty()) return holes;
    GEOSGeometry* all = GEOSGeom_createCollection_r(context_, GEOS_GEOMETRYCOLLECTION, walls.data(),
                                                    static_cast<unsigned>(walls.size()));
    GEOSGeometry* merged = GEOSUnaryUnion_r(context_, all);
    GEOSGeom_destroy_r(context_, all);
    const int parts = GEOSGetNumGeometries_r(context_, merged);
    for (int i = 0; i < parts; ++i) {
      const GEOSGeometry* part = GEOSGetGeometryN_r(context_, merged, i);
      if (GEOSGeomTypeId_r(context_, part) != GEOS_POLYGON) continue;
      for (int r = 0; r < GEOSGetNumInteriorRings_r(context_, part); ++r) {
        const GEOSGeometry* ring = GEOSGetInteriorRingN_r(context_, part, r);
        GEOSGeometry* face =
            GEOSGeom_createPolygon_r(context_, GEOSGeom_clone_r(context_, ring), nullptr, 0);
        Hole hole;
        GEOSLength_r(context_, face, &hole.perimeter);
        for (int j = 0; j < parts; ++j) {
          const GEOSGeometry* other = GEOSGetGeometryN_r(context_, merged, j);
          double area = 0;
          if (j != i && GEOSContains_r(context_, face, other) == 1 &&
              GEOSArea_r(context_, other, &area) == 1)
            hole.islands += area;
        }
        AreaAndCentre(face, hole.area, hole.x, hole.y);
        GEOSGeometry* shrunk = GEOSBufferWithStyle_r(context_, face, -kCrack / 2, 8,
                                                     GEOSBUF_CAP_FLAT, GEOSBUF_JOIN_MITRE, 1e6);
        GEOSGeometry* trimmed = GEOSBufferWithStyle_r(context_, shrunk, kCrack / 2, 8,
                                                      GEOSBUF_CAP_FLAT, GEOSBUF_JOIN_MITRE, 1e6);
        AreaAndCentre(trimmed, hole.trimmedArea, hole.trimmedX, hole.trimmedY);
        GEOSGeom_destroy_r(context_, trimmed);
        GEOSGeom_destroy_r(context_, shrunk);
        GEOSGeom_destroy_r(context_, face);
        holes.push_back(hole);
      }
    }
    GEOSGeom_destroy_r(context_, merged);
    return holes;
  }

 private:
  static constexpr double kCrack = 5;  // the room walk's coincidence, mm

  // Wall w's shape within its body, the rectangle between its corners.
  GEOSGeometry* CutToBody(const TCasaPlan& plan, int32_t w, GEOSGeometry* shape) {
    const TPoint a = plan.Corners[plan.Walls[w].C1], b = plan.Corners[plan.Walls[w].C2];
    if (a == b) return shape;
    GEOSCoordSequence* points = GEOSCoordSeq_create_r(context_, 2, 2);
    GEOSCoordSeq_setXY_r(context_, points, 0, a.x, a.y);
    GEOSCoordSeq_setXY_r(context_, points, 1, b.x, b.y);
    GEOSGeometry* line = GEOSGeom_createLineString_r(context_, points);
    GEOSGeometry* body = GEOSBufferWithStyle_r(context_, line, plan.Walls[w].epais / 2.0, 8,
                                               GEOSBUF_CAP_FLAT, GEOSBUF_JOIN_MITRE, 5);
    GEOSGeometry* cut = GEOSIntersection_r(context_, shape, body);
    GEOSGeom_destroy_r(context_, body);
    GEOSGeom_destroy_r(context_, line);
    GEOSGeom_destroy_r(context_, shape);
    return cut;
  }

  void AreaAndCentre(const GEOSGeometry* g, double& area, double& x, double& y) {
    GEOSArea_r(context_, g, &area);
    if (area == 0) return;
    GEOSGeometry* centre = GEOSGetCentroid_r(context_, g);
    GEOSGeomGetX_r(context_, centre, &x);
    GEOSGeomGetY_r(context_, centre, &y);
    GEOSGeom_destroy_r(context_, centre);
  }

  GEOSGeometry* Polygon(const std::array<TPoint, 6>& shape) {
    GEOSCoordSequence* points = GEOSCoordSeq_create_r(context_, 7, 2);
    for (unsigned k = 0; k <= 6; ++k) {
      const TPoint p = shape[k % 6];
      GEOSCoordSeq_setXY_r(context_, points, k, p.x, p.y);
    }
    GEOSGeometry* ring = GEOSGeom_createLinearRing_r(context_, points);
    return ring == nullptr ? nullptr : GEOSGeom_createPolygon_r(context_, ring, nullptr, 0);
  }

  GEOSContextHandle_t context_;
};

// How a plan's rooms compare with the holes. A hole narrower than the 5 mm
// within which the room walk takes two outline points for one (twice its
// area over its perimeter) is a crack left by the rounding of the joint
// points to the millimetre, not a room. Areas match within 0.5 %, or within
// half a millimetre along the border for small rooms, whose points are
// rounded too.
struct Verdict {
  // Allowed by the model's definitions.
  int cracks = 0;         // holes narrower than the coincidence tolerance
  int cracksAtRooms = 0;  // rooms matching their hole without its cracks
  int stubs = 0;          // rooms whose area leaves out free-standing walls inside
  int table = 0;          // holes past the 1000 rooms the table holds
  int tips = 0;           // 1: agrees only without the mitre tips
  // Faults.
  int lost = 0;     // a hole with no room over it
  int merged = 0;   // a room over two holes or more
  int area = 0;     // a room over one hole, of another area
  int phantom = 0;  // a room over no hole
  bool Agrees() const { return lost + merged + area + phantom == 0; }
};

bool Inside(const TCasaPlan& plan, const TPiece& room, double x, double y) {
  bool inside = false;  // even-odd rule over the room's border
  const TIntList& border = room.Border;
  for (int32_t k = 1; k < border.Count; ++k) {
    const TPoint p = plan.Outline[border[k]], q = plan.Outline[border[k + 1]];
    if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * (q.x - p.x) / (1.0 * q.y - p.y))
      inside = !inside;
  }
  return inside;
}

Verdict Compare(const TCasaPlan& plan, const std::vector<Hole>& holes) {
  Verdict verdict;
  std::vector<const Hole*> open;
  for (const Hole& hole : holes) open.push_back(&hole);
  const auto near = [](double area, double target, double perimeter) {
    return std::abs(area - target) <= std::max(0.005 * target, 0.5 * perimeter);
  };
  std::vector<int32_t> unmatched;
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TPiece& room = plan.Rooms[r];
    const auto match = std::find_if(open.begin(), open.end(), [&](const Hole* hole) {
      const bool at = std::hypot(room.Centre.x - hole->x, room.Centre.y - hole->y) <=
                      0.01 * std::sqrt(hole->area) + 1;
      if (at && near(room.surface, hole->area, hole->perimeter)) return true;
      if (hole->islands > 0 && near(room.surface, hole->area - hole->islands, hole->perimeter)) {
        ++verdict.stubs;
        return true;
      }
      // The walk takes the faces' ends where the crack opens, up to 5 mm
      // apart, for one: the room's centre may lie that much off the hole's.
      const bool trimmedAt =
          std::hypot(room.Centre.x - hole->trimmedX, room.Centre.y - hole->trimmedY) <=
          0.01 * std::sqrt(hole->trimmedArea) + 5;
      if (hole->trimmedArea < hole->area && trimmedAt &&
          near(room.surface, hole->trimmedArea, hole->perimeter)) {
        ++verdict.cracksAtRooms;
        return true;
      }
      return false;
    });
    if (match != open.end())
      open.erase(match);
    else
      unmatched.push_back(r);
  }
  // A crack a room matches counts as that room.
  verdict.cracks = static_cast<int>(
      std::erase_if(open, [](const Hole* hole) { return 2 * hole->area < 5 * hole->perimeter; }));
  if (plan.RoomCount == TCasaPlan::kMaxRooms) {
    verdict.table = static_cast<int>(open.size());
    open.clear();
  }
  std::vector<bool> covered(open.size(), false);
  for (const int32_t r : unmatched) {
    int over = 0;
    for (size_t h = 0; h < open.size(); ++h) {
      if (Inside(plan, plan.Rooms[r], open[h]->x, open[h]->y)) {
        ++over;
        covered[h] = true;
      }
    }
    ++(over == 0 ? verdict.phantom : over == 1 ? verdict.area : verdict.merged);
  }
  verdict.lost = static_cast<int>(std::count(covered.begin(), covered.end(), false));
  return verdict;
}

bool Agree(const TCasaPlan& plan, const std::vector<Hole>& holes) {
  return Compare(plan, holes).Agrees();
}

// How a plan's rooms compare with the holes of its paint, or, where they
// differ, with those of its paint without the mitre tips, when these agree.
Verdict Judge(Geos& geos, const TCasaPlan& plan) {
  const Verdict verdict = Compare(plan, geos.HolesOf(plan));
  if (verdict.Agrees()) return verdict;
  Verdict tipless = Compare(plan, geos.HolesOf(plan, true));
  if (!tipless.Agrees()) return verdict;
  tipless.tips = 1;
  return tipless;
}

struct Tally {
  int agreed = 0, plans = 0;
  double Rate() const { return plans == 0 ? 1 : static_cast<double>(agreed) / plans; }
};

// Every grid of the generator, up to 2000 walls, agrees.
TEST(RoomsOracle, GeneratedGridsAgreeEverywhere) {
  Geos geos;
  Tally tally;
  for (const int32_t walls : {60, 250, 1000, 2000}) {
    for (uint64_t seed = 1; seed <= (walls <= 250 ? 10u : 2u); ++seed) {
      TCasaPlan plan;
      gen::GeneratePlan(plan, {walls, seed, false});
      ++tally.plans;
      const bool agree = Agree(plan, geos.HolesOf(plan));
      tally.agreed += agree;
      EXPECT_TRUE(agree) << walls << " walls, seed " << seed;
    }
  }
  std::printf("generated grids: %d of %d plans agree\n", tally.agreed, tally.plans);
}

// A house: an L or U outline of 200 and 250 mm walls, some sides in two
// pieces of different thicknesses, a corridor wall across, and partitions
// above and below it, some staggered by 40 to 99 mm across the corridor,
// some stopping up to 8 mm off the centre line of the wall they meet, some
// slanted across the corridor (cut there at a rounded point); drawn in
// either direction. With traces, parts of the outline and corridor are
// traced again, in the same or another thickness.
std::vector<gen::Segment> House(uint64_t seed, bool traces) {
  std::mt19937_64 random(seed);
  const auto between = [&random](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(random);
  };
  std::vector<gen::Segment> walls;
  const auto add = [&](TPoint a, TPoint b, int32_t epais) {
    if (between(0, 1) == 0) std::swap(a, b);
    walls.push_back({{5000 + a.x, 5000 + a.y}, {5000 + b.x, 5000 + b.y}, epais});
  };
  const int32_t width = between(8, 14) * 1000, height = between(6, 10) * 1000;
  const bool u = between(0, 1) == 1;
  const int32_t notchFrom = u ? width / 3 / 100 * 100 : 2 * width / 3 / 100 * 100;
  const int32_t notchTo = u ? 2 * width / 3 / 100 * 100 : width, depth = height / 3 / 100 * 100;
  std::vector<TPoint> outline = {{0, 0}, {notchFrom, 0}, {notchFrom, depth}, {notchTo, depth}};
  if (u) outline.insert(outline.end(), {{notchTo, 0}, {width, 0}});
  outline.insert(outline.end(), {{width, height}, {0, height}});
  std::vector<gen::Segment> sides;
  for (size_t i = 0; i < outline.size(); ++i) {
    const TPoint a = outline[i], b = outline[(i + 1) % outline.size()];
    const int32_t epais = between(0, 1) == 0 ? 200 : 250;
    if (between(0, 3) == 0) {
      const TPoint middle{(a.x + b.x) / 2 / 100 * 100, (a.y + b.y) / 2 / 100 * 100};
      add(a, middle, epais);
      add(middle, b, epais == 200 ? 250 : 120);
    } else {
      add(a, b, epais);
    }
    sides.push_back({a, b, epais});
  }
  const int32_t corridor = between(depth / 100 + 10, height / 100 - 10) * 100;
  const int32_t corridorEpais = between(0, 1) == 0 ? 120 : 200;
  add({0, corridor}, {width, corridor}, corridorEpais);
  sides.push_back({{0, corridor}, {width, corridor}, corridorEpais});
  const auto miss = [&]() { return between(0, 2) == 0 ? between(-8, 8) : 0; };
  for (int32_t x = between(8, 14) * 100; x < width - 800; x += between(9, 20) * 100) {
    if (std::abs(x - notchFrom) < 500 || std::abs(x - notchTo) < 500) continue;
    const int32_t top = x > notchFrom && x < notchTo ? depth : 0;
    const int32_t epais = between(0, 1) == 0 ? 100 : 120;
    if (between(0, 3) == 0) {
      add({x, top + miss()}, {x + between(-3, 3) * 100 + between(-50, 50), height + miss()}, epais);
      continue;
    }
    const int32_t stagger = between(0, 1) == 0 ? 0 : between(40, 99);
    add({x, top + miss()}, {x, corridor + miss()}, epais);
    add({x + stagger, corridor + miss()}, {x + stagger, height + miss()}, epais);
  }
  if (traces) {
    for (int n = between(1, 3); n > 0; --n) {
      const gen::Segment& side =
          sides[static_cast<size_t>(between(0, static_cast<int32_t>(sides.size()) - 1))];
      const double a = between(0, 3) / 8.0, b = between(5, 8) / 8.0;
      const auto at = [&side](double t) {
        return TPoint{
            static_cast<int32_t>(std::lround(side.from.x + t * (side.to.x - side.from.x))),
            static_cast<int32_t>(std::lround(side.from.y + t * (side.to.y - side.from.y)))};
      };
      add(at(a), at(b), between(0, 1) == 0 ? side.epais : 100);
    }
  }
  return walls;
}

// Houses as the reader makes them, and with traced walls after the clean-up.
TEST(RoomsOracle, HousesAgree) {
  Geos geos;
  Tally read, cleaned;
  for (uint64_t seed = 1; seed <= 150; ++seed) {
    TCasaPlan plan;
    gen::DrawSketch(plan, House(seed, false));
    ++read.plans;
    read.agreed += Agree(plan, geos.HolesOf(plan));
    gen::DrawSketch(plan, House(seed, true));
    gen::CleanUpEveryWall(plan);
    ++cleaned.plans;
    cleaned.agreed += Agree(plan, geos.HolesOf(plan));
  }
  std::printf(
      "houses: %d of %d agree as read (%.1f %%), %d of %d with traces after the clean-up (%.1f "
      "%%)\n",
      read.agreed, read.plans, 100 * read.Rate(), cleaned.agreed, cleaned.plans,
      100 * cleaned.Rate());
  EXPECT_EQ(read.agreed, read.plans);
  EXPECT_EQ(cleaned.agreed, cleaned.plans);
}

// What the disagreements of a group of plans come to, with the first seeds
// of each, so that a fault can be looked at.
struct Census {
  Tally tally;
  std::map<std::string, std::vector<uint64_t>> seeds;

  void Add(uint64_t seed, const Verdict& v) {
    ++tally.plans;
    tally.agreed += v.Agrees();
    const std::pair<const char*, int> kinds[] = {
        {"crack (allowed)", v.cracks},   {"crack at a room (allowed)", v.cracksAtRooms},
        {"stub (allowed)", v.stubs},     {"table (allowed)", v.table},
        {"mitre tip (allowed)", v.tips}, {"lost room", v.lost},
        {"merged rooms", v.merged},      {"wrong area", v.area},
        {"phantom room", v.phantom}};
    for (const auto& [name, count] : kinds)
      if (count > 0) seeds[name].push_back(seed);
  }
  void Print(const char* what) const {
    std::printf("%s: %d of %d agree (%.1f %%)\n", what, tally.agreed, tally.plans,
                100 * tally.Rate());
    for (const auto& [name, list] : seeds) {
      std::printf("  %-26s %3zu plans:", name.c_str(), list.size());
      for (size_t k = 0; k < list.size() && k < 8; ++k)
        std::printf(" %llu", static_cast<unsigned long long>(list[k]));
      std::printf("\n");
    }
  }
};

// Random sketches: slanted walls with points rounded to the millimetre, mixed
// thicknesses, T and L junctions, overlaps and near misses, as read and after
// the clean-up, which cuts walls lying along each other. Reported per kind of
// sketch (what gen::FaultsOf finds in it as read) and per kind of difference.
TEST(RoomsOracle, RandomSketchesAgree) {
  Geos geos;
  Census read, cleaned;
  std::map<std::string, Tally> byKind;
  for (uint64_t seed = 1; seed <= 400; ++seed) {
    TCasaPlan plan;
    gen::DrawSketch(plan, gen::RandomSketch(seed));
    const gen::SketchFaults f = gen::FaultsOf(plan);
    const Verdict verdict = Judge(geos, plan);
    read.Add(seed, verdict);
    const std::pair<const char*, bool> kinds[] = {
        {"without faults",
         !f.overlap && !f.nearMiss && !f.thicknessStep && !f.shortPiece && !f.sharpCorner},
        {"without overlaps", !f.overlap},
        {"overlaps", f.overlap},
        {"near misses", f.nearMiss},
        {"thickness steps", f.thicknessStep},
        {"short pieces", f.shortPiece},
        {"sharp corners", f.sharpCorner}};
    for (const auto& [name, has] : kinds) {
      if (!has) continue;
      ++byKind[name].plans;
      byKind[name].agreed += verdict.Agrees();
    }
    gen::CleanUpEveryWall(plan);
    cleaned.Add(seed, Compare(plan, geos.HolesOf(plan)));
  }
  read.Print("random sketches as read");
  for (const auto& [name, tally] : byKind)
    std::printf("  %-26s %3d of %3d agree (%.1f %%)\n", name.c_str(), tally.agreed, tally.plans,
                100 * tally.Rate());
  cleaned.Print("random sketches after the clean-up");
  // Measured: 335 and 400 of 400. As read, every sketch without walls lying
  // along each other agrees: merging and cutting those is the clean-up's.
  EXPECT_GE(read.tally.agreed, 335);
  EXPECT_EQ(cleaned.tally.agreed, cleaned.tally.plans);
  EXPECT_EQ(byKind["without overlaps"].agreed, byKind["without overlaps"].plans);
}

}  // namespace
}  // namespace casavo
