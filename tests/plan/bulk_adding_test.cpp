// Tests that BulkAdding gives the same plan as adding one wall at a time.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "plan/casa_plan.h"
#include "support/plan_generator.h"
#include "support/plan_tables.h"
#include "support/random_sketches.h"

namespace casavo {
namespace {

struct Segment {
  TPoint from, to;
  int32_t epais;
};

// Adds the walls one by one, as the plan text reader does, with or without
// the plan's indexes; a wall the plan refuses is noted and the next one
// added. Returns what each add did.
std::string AddAll(TCasaPlan& plan, const std::vector<Segment>& walls, bool indexed) {
  std::string outcomes;
  std::optional<TCasaPlan::BulkAdding> adding;
  if (indexed) adding.emplace(plan);
  for (const Segment& s : walls) {
    try {
      outcomes += std::to_string(plan.AddWallOfThickness(s.from, s.to, s.epais)) + ' ';
    } catch (const std::exception& e) {
      outcomes += std::string(e.what()) + ' ';
    }
  }
  return outcomes;
}

// The walls of a generated plan in table order, as its plan text lists them.
std::vector<Segment> WallsOf(const TCasaPlan& plan) {
  std::vector<Segment> walls;
  for (int32_t w = 1; w <= plan.WallCount; ++w)
    walls.push_back(
        {plan.Corners[plan.Walls[w].C1], plan.Corners[plan.Walls[w].C2], plan.Walls[w].epais});
  return walls;
}

// Walls as they come from a careless hand: long runs along a grid that cross
// and end on each other, diagonals through them, walls that stop up to a
// thousandth of their length short of another, walls drawn twice. With
// `farAfter` walls drawn, long diagonals 300 m away join in.
std::vector<Segment> Scribbles(uint64_t seed, int count, int farAfter) {
  std::mt19937_64 random(seed);
  const auto between = [&random](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(random);
  };
  std::vector<Segment> walls;
  for (int n = 0; n < count; ++n) {
    const int32_t x = 5000 + between(0, 30) * 1000, y = 5000 + between(0, 30) * 1000;
    const int32_t length = between(1, 12) * 1000;
    switch (n % 7) {
      case 0:
      case 1:
        walls.push_back({{x, y}, {x + length, y}, 200});
        break;
      case 2:
      case 3:
        walls.push_back({{x, y + length}, {x, y}, 120});
        break;
      case 4:
        walls.push_back({{x, y}, {x + length, y + between(-length, length)}, 150});
        break;
      case 5: {
        // Stops short of the grid line at x + length by up to 0.1 %.
        const int32_t end = x + length - between(0, length / 1000);
        walls.push_back({{x + between(1, 9) * 100, y + 500}, {end, y + 500}, 100});
        break;
      }
      default: {
        const Segment& again = walls[static_cast<size_t>(between(0, n - 1))];
        walls.push_back({again.to, again.from, again.epais});
      }
    }
    if (n >= farAfter && n % 10 == 0) {
      const int32_t far = 300000 + between(0, 50000);
      walls.push_back({{far, far}, {far + 40000, far - between(20000, 40000)}, 300});
    }
  }
  return walls;
}

// The indexes must give the same corners, walls, cuts and refusals as the
// plain scans, wall for wall.
TEST(BulkAdding, IndexedAddsBuildTheSameTablesAsTheScans) {
  std::vector<std::vector<Segment>> cases;
  for (int32_t target : {1000, 2000}) {
    TCasaPlan generated;
    gen::GeneratePlan(generated, {target, 5});
    cases.push_back(WallsOf(generated));
  }
  cases.push_back(Scribbles(1, 600, 600));  // until the tables are full
  cases.push_back(Scribbles(2, 200, 100));  // far walls
  for (size_t c = 0; c < cases.size(); ++c) {
    TCasaPlan plain, indexed;
    const std::string plainOutcomes = AddAll(plain, cases[c], false);
    const std::string indexedOutcomes = AddAll(indexed, cases[c], true);
    EXPECT_EQ(plainOutcomes, indexedOutcomes) << "case " << c;
    EXPECT_EQ(gen::FirstDifference(plain, indexed), "") << "case " << c;
    EXPECT_GT(plain.WallCount, 400) << "case " << c;
  }
  // Sketches whose ends stop inside other walls' bodies, off their centre
  // lines, and whose walls are traced over others: joined alike.
  for (uint64_t seed = 1; seed <= 300; ++seed) {
    std::vector<Segment> sketch;
    for (const gen::Segment& s : gen::RandomSketch(seed)) sketch.push_back({s.from, s.to, s.epais});
    TCasaPlan plain, indexed;
    EXPECT_EQ(AddAll(plain, sketch, false), AddAll(indexed, sketch, true)) << "sketch " << seed;
    EXPECT_EQ(gen::FirstDifference(plain, indexed), "") << "sketch " << seed;
  }
  // The scribbles meet what they were made for; far walls are cut like the
  // others, without overflow.
  TCasaPlan full, far;
  EXPECT_NE(AddAll(full, cases[2], true).find("Range check error"), std::string::npos);
  EXPECT_EQ(AddAll(far, cases[3], true).find("Integer overflow"), std::string::npos);
}

// Cases where a wall far from another still matters, run both ways.
TEST(BulkAdding, FarWallsCountWhereTheScansMeetThem) {
  const std::vector<std::vector<Segment>> cases = {
      // A wall stopping 3 mm short of another (and joined to it), across a
      // border of the index's cells (multiples of 2048 mm), either drawn first.
      {{{20480, 8000}, {20480, 12000}, 200}, {{16480, 10000}, {20477, 10000}, 200}},
      {{{16480, 10000}, {20477, 10000}, 200}, {{20480, 8000}, {20480, 12000}, 200}},
      // A long diagonal 300 m away cuts the wall it crosses there.
      {{{5000, 5000}, {5500, 5000}, 200},
       {{330000, 323000}, {330000, 327000}, 200},
       {{310000, 310000}, {350000, 340000}, 200}},
  };
  for (size_t c = 0; c < cases.size(); ++c) {
    TCasaPlan plain, indexed;
    EXPECT_EQ(AddAll(plain, cases[c], false), AddAll(indexed, cases[c], true)) << "case " << c;
    EXPECT_EQ(gen::FirstDifference(plain, indexed), "") << "case " << c;
    EXPECT_EQ(plain.WallCount, c < 2 ? 3 : 5) << "case " << c;
  }
}

// A wall refused for want of a second corner takes its first corner back;
// the index forgets it too.
TEST(BulkAdding, ACornerTakenBackIsForgotten) {
  const auto fill = [](TCasaPlan& plan, bool indexed) {
    std::optional<TCasaPlan::BulkAdding> adding;
    if (indexed) adding.emplace(plan);
    while (plan.CornerCount < TCasaPlan::kMaxCorners - 1)
      plan.AddCorner({plan.CornerCount * 10, 0});
    std::string outcomes;
    for (const Segment& s :
         {Segment{{5000, 5000}, {6000, 5000}, 200}, Segment{{5000, 5000}, {0, 0}, 200}}) {
      try {
        outcomes += std::to_string(plan.AddWall(s.from, s.to)) + ' ';
      } catch (const std::exception& e) {
        outcomes += std::string(e.what()) + ' ';
      }
    }
    return outcomes;
  };
  TCasaPlan plain, indexed;
  EXPECT_EQ(fill(plain, false), fill(indexed, true));
  EXPECT_EQ(gen::FirstDifference(plain, indexed), "");
  EXPECT_EQ(plain.WallCount, 1);
}

// A deletion drops the indexes; the adds that follow scan again and agree.
TEST(BulkAdding, ADeletionInTheMeantimeFallsBackToTheScans) {
  TCasaPlan plain, indexed;
  const auto edit = [](TCasaPlan& plan) {
    plan.AddWall({5000, 5000}, {9000, 5000});
    plan.AddWall({50000, 5000}, {54000, 5000});
    plan.DeleteWall(1);  // the far wall moves into slot 1
    plan.AddWall({52000, 3000}, {52000, 7000});
  };
  edit(plain);
  {
    TCasaPlan::BulkAdding adding(indexed);
    edit(indexed);
  }
  EXPECT_EQ(gen::FirstDifference(plain, indexed), "");
  EXPECT_EQ(plain.WallCount, 4);
}

}  // namespace
}  // namespace casavo
