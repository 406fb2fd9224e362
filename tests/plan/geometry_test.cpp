// Tests of the plane geometry.

#include "plan/geometry.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace casavo {
namespace {

TEST(Geometry, AngleCoversEveryQuadrantAndTheAxes) {
  EXPECT_EQ(Angle({0, 0}, {0, 10}), 90);
  EXPECT_EQ(Angle({0, 0}, {0, -10}), 270);
  EXPECT_EQ(Angle({0, 0}, {-10, 0}), 180);
  EXPECT_EQ(Angle({0, 0}, {10, 0}), 0);
  EXPECT_EQ(Angle({0, 0}, {0, 0}), 0);
  EXPECT_DOUBLE_EQ(Angle({0, 0}, {10, -10}), 315);
  EXPECT_DOUBLE_EQ(Angle({0, 0}, {-10, 10}), 135);
  EXPECT_DOUBLE_EQ(Angle({0, 0}, {-10, -10}), 225);
  // A direction a hair below +x must stay below 360, never wrap to exactly 360.
  const double nearlyFull = Angle({0, 0}, {2000000000, -1});
  EXPECT_LT(nearlyFull, 360);
  EXPECT_GT(nearlyFull, 359.99);
  EXPECT_THROW(Angle({-2000000000, 0}, {2000000000, 5}), OverflowError);
}

TEST(Geometry, RotateTurnsClockwiseOnScreenAndRounds) {
  EXPECT_EQ(Rotate({10, 0}, {0, 0}, 90), (TPoint{0, 10}));
  EXPECT_EQ(Rotate({110, 50}, {100, 50}, 180), (TPoint{90, 50}));
  EXPECT_EQ(Rotate({1000, 0}, {0, 0}, 45), (TPoint{707, 707}));
  EXPECT_EQ(Rotate({10, 0}, {0, 0}, 270), (TPoint{0, -10}));
}

TEST(Geometry, DistanceGivesTheLargestIntOnlyWhenTheLengthDoesNotFit) {
  EXPECT_EQ(Distance({0, 0}, {3, 4}), 5);
  EXPECT_EQ(Distance({0, 0}, {1, 1}), 1);  // 1.414 rounds down
  EXPECT_EQ(Distance({0, 0}, {50000, 50000}), 70711);
  EXPECT_EQ(CheckedDistance({-9000000, -9000000}, {9000000, 9000000}), 25455844);
  EXPECT_EQ(Distance({-2000000000, 0}, {2000000000, 0}), 2147483647);
  EXPECT_THROW(CheckedDistance({-2000000000, 0}, {2000000000, 0}), OverflowError);
  EXPECT_EQ(CheckedDistance({100, 100}, {103, 104}), 5);
}

TEST(Geometry, ProjectionOnlyStrictlyInsideTheSegment) {
  EXPECT_EQ(ProjectOnSegment({500, 300}, {0, 0}, {1000, 0}), (TPoint{500, 0}));
  EXPECT_EQ(ProjectOnSegment({0, 300}, {0, 0}, {1000, 0}), kNoPoint);
  EXPECT_EQ(ProjectOnSegment({1000, 300}, {0, 0}, {1000, 0}), kNoPoint);
  EXPECT_EQ(ProjectOnSegment({1200, 300}, {0, 0}, {1000, 0}), kNoPoint);
  EXPECT_EQ(ProjectOnSegment({5, 5}, {7, 7}, {7, 7}), kNoPoint);
  EXPECT_EQ(ProjectOnSegment({4000000, 9000000}, {-9000000, -9000000}, {9000000, 9000000}),
            (TPoint{6500000, 6500000}));
  EXPECT_EQ(DistanceToSegment({500, 300}, {0, 0}, {1000, 0}), 300);
  EXPECT_EQ(DistanceToSegment({-5, 300}, {0, 0}, {1000, 0}), -1);
  EXPECT_EQ(DistanceToSegment({0, 1000}, {0, 0}, {1000, 1000}), 707);
}

TEST(Geometry, SegmentIntersectionAcceptsAThousandthBeyondTheEnd) {
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {500, 2000}, {500, 1}), (TPoint{500, 0}));
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {500, 2000}, {500, 3}), kNoPoint);
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {500, -500}, {500, 500}), (TPoint{500, 0}));
  // The point lies on the first segment: here 1 mm past its end.
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {1001, -500}, {1001, 500}), (TPoint{1001, 0}));
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {1002, -500}, {1002, 500}), kNoPoint);
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {200, 0}, {3000, 0}), kNoPoint);  // collinear
  EXPECT_EQ(SegmentIntersection({0, 0}, {1000, 0}, {0, 10}, {1000, 10}), kNoPoint);  // parallel
  // Products far past 32 bits: walls of 18 km across each other.
  EXPECT_EQ(SegmentIntersection({-9000000, 0}, {9000000, 0}, {3, -9000000}, {3, 9000000}),
            (TPoint{3, 0}));
}

TEST(Geometry, LineIntersectionHasNoBounds) {
  EXPECT_EQ(LineIntersection({0, 0}, {10, 0}, {500, 7}, {500, 9}), (TPoint{500, 0}));
  EXPECT_EQ(LineIntersection({0, 0}, {10, 10}, {0, 100}, {1, 99}), (TPoint{50, 50}));
  EXPECT_EQ(LineIntersection({0, 0}, {10, 0}, {0, 5}, {10, 5}), kNoPoint);
  EXPECT_EQ(LineIntersection({0, 0}, {100000, 0}, {0, 0}, {0, 100000}), (TPoint{0, 0}));
  EXPECT_EQ(LineIntersection({-9000000, 1}, {9000000, 1}, {7, -9000000}, {7, 9000000}),
            (TPoint{7, 1}));
  // Nearly parallel lines whose crossing lies beyond the int32 range.
  EXPECT_THROW(LineIntersection({0, 0}, {10000000, 0}, {-10000000, 10000000}, {10000000, 9999999}),
               OverflowError);
}

TEST(Geometry, MidpointHalvesTowardsZero) {
  EXPECT_EQ(Midpoint({0, 0}, {5, -5}), (TPoint{2, -2}));
  EXPECT_EQ(Midpoint({10, 10}, {3, 3}), (TPoint{7, 7}));
}

TEST(Geometry, ThickSegmentPutsSideAOnTheLeftOnScreen) {
  EXPECT_EQ(ThickSegment({0, 0}, {1000, 0}, 250),
            (TQuad{TPoint{0, -125}, TPoint{1000, -125}, TPoint{1000, 125}, TPoint{0, 125}}));
  EXPECT_EQ(ThickSegment({0, 0}, {1000, 0}, 251), ThickSegment({0, 0}, {1000, 0}, 250));
  // Heading down the screen, the left-hand side is +x.
  EXPECT_EQ(ThickSegment({0, 0}, {0, 1000}, 200),
            (TQuad{TPoint{100, 0}, TPoint{100, 1000}, TPoint{-100, 1000}, TPoint{-100, 0}}));
}

}  // namespace
}  // namespace casavo
