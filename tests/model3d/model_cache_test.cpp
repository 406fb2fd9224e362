// Tests of ModelCache: partial rebuilds give the whole model.

#include "model3d/model_cache.h"

#include <gtest/gtest.h>

#include "model3d/model3d.h"
#include "support/plan_generator.h"

namespace casavo::model3d {
namespace {

double Area(const Mesh& mesh) {
  double sum = 0;
  for (const Face& f : mesh.faces) sum += f.Area();
  return sum;
}

TEST(ModelCache, AChangeRebuildsOnlyTheWallsItTouchedAndGivesTheWholeModel) {
  TCasaPlan plan;
  gen::GeneratePlan(plan, {250, 3, true});
  ModelCache cache;
  cache.Update(plan);
  EXPECT_EQ(cache.WallsRebuilt(), plan.WallCount);
  cache.Update(plan);
  EXPECT_EQ(cache.WallsRebuilt(), 0);

  // A corner moves as a drag moves it: its walls change, and the joints at
  // their far ends, that is the walls at the corners around it.
  const int32_t corner = plan.Walls[plan.WallCount / 2].C1;
  int32_t near = plan.WallsAtCorner(corner).Count;
  const TIntList around = plan.CornersAround(corner);
  for (int32_t i = 1; i <= around.Count; ++i) near += plan.WallsAtCorner(around[i]).Count;
  plan.Corners[corner].x += 40;
  plan.RefreshGeometry();
  const Mesh& updated = cache.Update(plan);
  EXPECT_GE(cache.WallsRebuilt(), 1);
  EXPECT_LE(cache.WallsRebuilt(), near);
  const Mesh whole = Build3D(plan);
  EXPECT_EQ(updated.faces.size(), whole.faces.size());
  EXPECT_NEAR(Area(updated), Area(whole), 1e-6 * Area(whole));

  // So does a new height, for every wall.
  plan.WallHeight = 2700;
  cache.Update(plan);
  EXPECT_EQ(cache.WallsRebuilt(), plan.WallCount);
}

}  // namespace
}  // namespace casavo::model3d
