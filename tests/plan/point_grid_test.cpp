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

}  // namespace
}  // namespace casavo
