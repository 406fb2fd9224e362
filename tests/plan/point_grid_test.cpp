// Tests of PointGrid's coincidence rule.

#include "plan/point_grid.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace casavo {
namespace {

TEST(PointGrid, CoincidenceIsStrictlyUnderFiveMillimetresOnBothAxes) {
  EXPECT_TRUE(Coincide({0, 0}, {4, -4}));
  EXPECT_FALSE(Coincide({0, 0}, {5, 0}));
  EXPECT_FALSE(Coincide({0, 0}, {0, -5}));
  EXPECT_TRUE(Coincide({-2147483647, 0}, {-2147483644, 3}));
  EXPECT_FALSE(Coincide({-2147483647, 0}, {2147483647, 0}));  // no wrap-around
}

// Dense clusters of points straddling cell borders, at negative and positive
// coordinates: the grid must return exactly the scan's first match.
TEST(PointGrid, GivesTheSameFirstMatchAsTheScan) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int32_t> centre(-6, 6), jitter(-6, 6);
  for (int round = 0; round < 20; ++round) {
    std::vector<TPoint> points(400);
    // Each round moves the clusters across other cell borders.
    const int32_t base = round * 61 - 600;
    for (size_t i = 5; i < points.size(); ++i) {
      const int32_t cx = base + centre(random) * 7, cy = base / 2 + centre(random) * 7;
      points[i] = {cx + jitter(random), cy + jitter(random)};
    }
    const int32_t last = static_cast<int32_t>(points.size()) - 1;
    const PointGrid grid(points, 5, last);
    int matches = 0;
    for (int32_t i = 5; i <= last; ++i) {
      const int32_t expected = FirstCoincidentByScan(points, 5, last, i);
      ASSERT_EQ(grid.FirstCoincident(i), expected) << "round " << round << " point " << i;
      matches += expected != 0;
    }
    EXPECT_GT(matches, 150);       // the data really has near points
    EXPECT_LT(matches, last - 4);  // and lone ones
  }
}

// A drag moves some points after the grid was built: searches must find
// them where they are now, and no longer where they were.
TEST(PointGrid, FindsMovedPointsWhereTheyAreNow) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> spot(-20, 20), pick(5, 299);
  std::vector<TPoint> points(300);
  for (size_t i = 5; i < points.size(); ++i) points[i] = {spot(random) * 9, spot(random) * 9};
  const int32_t last = static_cast<int32_t>(points.size()) - 1;
  PointGrid grid(points, 5, last);
  for (int move = 0; move < 40; ++move) {
    // Onto another point, or beside it.
    const int32_t i = pick(random), onto = pick(random);
    points[static_cast<size_t>(i)] = {points[static_cast<size_t>(onto)].x + move % 3,
                                      points[static_cast<size_t>(onto)].y};
    grid.Moved(i);
    for (int32_t j = 5; j <= last; ++j) grid.Refresh(j);
    for (int32_t j = 5; j <= last; ++j) {
      ASSERT_EQ(grid.FirstCoincident(j), FirstCoincidentByScan(points, 5, last, j)) << move;
      const int32_t after = grid.FirstCoincident(j);
      ASSERT_EQ(grid.FirstCoincidentAfter(j, after),
                after == 0 ? 0 : FirstCoincidentByScan(points, after + 1, last, j))
          << move;
    }
  }
}

}  // namespace
}  // namespace casavo
