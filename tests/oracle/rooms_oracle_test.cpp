// Casavo's rooms against an independent planar-geometry library: the rooms of
// a plan are the holes of the union of its wall surfaces (each wall's painted
// hexagon), as GEOS computes them. A room and a hole match when their areas
// agree within 0.5 % and their centres lie within 1 % of the hole's size of
// each other. The differences allowed are the two the model defines: a
// free-standing wall inside a room (a stub's footprint) is an island in its
// hole and counts in neither area, and a plan has at most 1000 rooms (no plan
// drawn here has more).

#include <geos_c.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
};

class Geos {
 public:
  Geos() : context_(GEOS_init_r()) {}
  ~Geos() { GEOS_finish_r(context_); }
  Geos(const Geos&) = delete;
  Geos& operator=(const Geos&) = delete;

  // The holes of the union of the walls' hexagons.
  std::vector<Hole> HolesOf(const TCasaPlan& plan) {
    std::vector<GEOSGeometry*> walls;
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      GEOSGeometry* shape = Polygon(plan.Walls[w].Shape);
      if (shape == nullptr) continue;
      if (!GEOSisValid_r(context_, shape)) {
        GEOSGeometry* valid = GEOSMakeValid_r(context_, shape);
        GEOSGeom_destroy_r(context_, shape);
        shape = valid;
      }
      if (shape != nullptr) walls.push_back(shape);
    }
    std::vector<Hole> holes;
    if (walls.empty()) return holes;
    GEOSGeometry* all = GEOSGeom_createCollection_r(context_, GEOS_GEOMETRYCOLLECTION, walls.data(),
                                                    static_cast<unsigned>(walls.size()));
    GEOSGeometry* merged = GEOSUnaryUnion_r(context_, all);
    GEOSGeom_destroy_r(context_, all);
    for (int i = 0; i < GEOSGetNumGeometries_r(context_, merged); ++i) {
      const GEOSGeometry* part = GEOSGetGeometryN_r(context_, merged, i);
      if (GEOSGeomTypeId_r(context_, part) != GEOS_POLYGON) continue;
      for (int r = 0; r < GEOSGetNumInteriorRings_r(context_, part); ++r) {
        const GEOSGeometry* ring = GEOSGetInteriorRingN_r(context_, part, r);
        GEOSGeometry* face =
            GEOSGeom_createPolygon_r(context_, GEOSGeom_clone_r(context_, ring), nullptr, 0);
        Hole hole;
        GEOSArea_r(context_, face, &hole.area);
        GEOSGeometry* centre = GEOSGetCentroid_r(context_, face);
        GEOSGeomGetX_r(context_, centre, &hole.x);
        GEOSGeomGetY_r(context_, centre, &hole.y);
        GEOSGeom_destroy_r(context_, centre);
        GEOSGeom_destroy_r(context_, face);
        holes.push_back(hole);
      }
    }
    GEOSGeom_destroy_r(context_, merged);
    return holes;
  }

 private:
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

// Rooms and holes matched one to one; false when the counts differ or a room
// has no hole of its area and place.
bool Agree(const TCasaPlan& plan, const std::vector<Hole>& holes) {
  if (static_cast<size_t>(plan.RoomCount) != holes.size()) return false;
  std::vector<bool> used(holes.size(), false);
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TPiece& room = plan.Rooms[r];
    bool found = false;
    for (size_t h = 0; h < holes.size() && !found; ++h) {
      const Hole& hole = holes[h];
      const double size = std::sqrt(hole.area);
      if (!used[h] && std::abs(room.surface - hole.area) <= 0.005 * hole.area &&
          std::hypot(room.Centre.x - hole.x, room.Centre.y - hole.y) <= 0.01 * size + 1) {
        used[h] = true;
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
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
  EXPECT_GE(read.Rate(), 0.98);  // 148 of 150 measured
  EXPECT_EQ(cleaned.agreed, cleaned.plans);
}

// Random sketches: slanted walls with points rounded to the millimetre, mixed
// thicknesses, T and L junctions, overlaps and near misses, as read and after
// the clean-up, which cuts walls lying along each other. The rates are
// reported; sketches where walls cross at sharp angles or many walls meet at
// one corner still disagree.
TEST(RoomsOracle, RandomSketchesAgree) {
  Geos geos;
  Tally read, sound, cleaned;
  for (uint64_t seed = 1; seed <= 400; ++seed) {
    TCasaPlan plan;
    gen::DrawSketch(plan, gen::RandomSketch(seed));
    const gen::SketchFaults faults = gen::FaultsOf(plan);
    const bool agree = Agree(plan, geos.HolesOf(plan));
    ++read.plans;
    read.agreed += agree;
    if (!faults.overlap && !faults.nearMiss && !faults.shortPiece) {
      ++sound.plans;
      sound.agreed += agree;
    }
    gen::CleanUpEveryWall(plan);
    ++cleaned.plans;
    cleaned.agreed += Agree(plan, geos.HolesOf(plan));
  }
  std::printf(
      "random sketches: %d of %d agree as read (%.1f %%), %d of %d after the clean-up "
      "(%.1f %%); without overlaps, near misses and short pieces: %d of %d (%.1f %%)\n",
      read.agreed, read.plans, 100 * read.Rate(), cleaned.agreed, cleaned.plans,
      100 * cleaned.Rate(), sound.agreed, sound.plans, 100 * sound.Rate());
  EXPECT_GE(read.Rate(), 0.48);     // 48.8 % measured
  EXPECT_GE(cleaned.Rate(), 0.53);  // 53.5 % measured
}

}  // namespace
}  // namespace casavo
