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

  // Nudges that keep each wall's face count leave the other walls' faces
  // where they lie: the model is still the whole one, face for face.
  const auto same = [](const Face& f, const Face& g) {
    const auto eq = [](Vec3 u, Vec3 v) { return u.x == v.x && u.y == v.y && u.z == v.z; };
    return eq(f.a, g.a) && eq(f.b, g.b) && eq(f.c, g.c) && eq(f.normal, g.normal) &&
           f.rgb == g.rgb && f.material == g.material && f.kind == g.kind && f.index == g.index;
  };
  for (const int32_t step : {30, -30, 900, -900}) {
    plan.Corners[corner].y += step;
    plan.RefreshGeometry();
    const Mesh& nudged = cache.Update(plan);
    const Mesh rebuilt = Build3D(plan);
    ASSERT_EQ(nudged.faces.size(), rebuilt.faces.size()) << step;
    for (size_t i = 0; i < rebuilt.faces.size(); ++i)
      ASSERT_TRUE(same(nudged.faces[i], rebuilt.faces[i])) << step << " face " << i;
  }

  // So does a new height, for every wall.
  plan.WallHeight = 2700;
  cache.Update(plan);
  EXPECT_EQ(cache.WallsRebuilt(), plan.WallCount);
}

}  // namespace
}  // namespace casavo::model3d
