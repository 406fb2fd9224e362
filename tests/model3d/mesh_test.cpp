// Tests of the 3D model: closed solids, holes, floors.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model3d/furniture.h"
#include "model3d/model3d.h"
#include "plan/plan_builders.h"

namespace casavo::model3d {
namespace {

constexpr double kHeight = TCasaPlan::kDefaultWallHeight;

std::vector<Face> FacesOf(const Mesh& mesh, uint8_t kind, int32_t index) {
  std::vector<Face> out;
  for (const Face& f : mesh.faces)
    if (f.kind == kind && f.index == index) out.push_back(f);
  return out;
}

double TotalArea(const std::vector<Face>& faces) {
  double sum = 0;
  for (const Face& f : faces) sum += f.Area();
  return sum;
}

// A closed surface whose faces all point outward has no net vector area, and
// encloses (by the divergence theorem) the volume returned.
double ClosedVolume(const std::vector<Face>& faces) {
  Vec3 vectorArea;
  double volume = 0;
  for (const Face& f : faces) {
    const Vec3 n = Cross(f.b - f.a, f.c - f.a) * 0.5;
    EXPECT_NEAR(Dot(Normalised(n), f.normal), 1, 1e-9);
    vectorArea = vectorArea + n;
    volume += Dot(f.a, n) / 3;
  }
  EXPECT_NEAR(Length(vectorArea), 0, 1e-3 * std::sqrt(TotalArea(faces)));
  return volume;
}

double OutlineArea(const TCasaPlan& plan, int32_t w) {
  std::vector<Vec3> shape;
  for (TPoint p : plan.Walls[w].Shape) shape.push_back({double(p.x), double(p.y), 0});
  return std::abs(SignedArea(shape));
}

double OutlinePerimeter(const TCasaPlan& plan, int32_t w) {
  const auto& s = plan.Walls[w].Shape;
  double sum = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const TPoint a = s[i], b = s[(i + 1) % s.size()];
    sum += std::hypot(double(b.x - a.x), double(b.y - a.y));
  }
  return sum;
}

struct JointCase {
  const char* name;
  std::function<void(TCasaPlan&)> draw;
  int32_t walls;
};

TEST(WallSolids, EveryJointGivesClosedSolidsOfTheOutlineTimesTheHeight) {
  const std::vector<JointCase> cases = {
      {"lone",
       [](TCasaPlan& p) {
         p.AddWall({5000, 5000}, {9000, 5000});
       },
       1},
      {"L",
       [](TCasaPlan& p) {
         p.AddWall({5000, 5000}, {9000, 5000});
         p.AddWall({5000, 5000}, {5000, 8000});
       },
       2},
      {"T",
       [](TCasaPlan& p) {
         p.AddWall({5000, 5000}, {9000, 5000});
         p.AddWall({7000, 5000}, {7000, 8000});
       },
       3},
      {"cross",
       [](TCasaPlan& p) {
         p.AddWall({5000, 6000}, {9000, 6000});
         p.AddWall({7000, 4000}, {7000, 8000});
       },
       4},
      {"slanted L",
       [](TCasaPlan& p) {
         p.AddWall({5000, 5000}, {9000, 7000});
         p.AddWall({5000, 5000}, {5500, 9000});
       },
       2},
  };
  for (const JointCase& c : cases) {
    SCOPED_TRACE(c.name);
    TCasaPlan plan;
    c.draw(plan);
    plan.RefreshGeometry();
    ASSERT_EQ(plan.WallCount, c.walls);
    const Mesh mesh = Build3D(plan);
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      const auto faces = FacesOf(mesh, kSelWall, w);
      const double a = OutlineArea(plan, w);
      EXPECT_NEAR(ClosedVolume(faces), a * kHeight, 1e-6 * a * kHeight) << "wall " << w;
      EXPECT_NEAR(TotalArea(faces), 2 * a + OutlinePerimeter(plan, w) * kHeight, 1) << "wall " << w;
    }
  }
}

// Whether a face of the list holds point p (on its plane, inside its corners).
bool Covers(const std::vector<Face>& faces, Vec3 p) {
  for (const Face& f : faces) {
    if (std::abs(Dot(p - f.a, f.normal)) > 0.01) continue;
    const Vec3 c1 = Cross(f.b - f.a, p - f.a), c2 = Cross(f.c - f.b, p - f.b),
               c3 = Cross(f.a - f.c, p - f.c);
    if (Dot(c1, f.normal) >= 0 && Dot(c2, f.normal) >= 0 && Dot(c3, f.normal) >= 0) return true;
  }
  return false;
}

TEST(WallSolids, DoorsAndWindowsCutHolesOfTheirSizeAtTheirHeights) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddOpening(1, 900, 1000, 1001, 0, 0);   // door: x 5550..6450, 0..2100
  plan.AddOpening(1, 1200, 3000, 2001, 0, 0);  // window: x 7400..8600, 1000..2150
  plan.RefreshGeometry();
  const Mesh mesh = Build3D(plan);
  const auto wall = FacesOf(mesh, kSelWall, 1);

  const double a = OutlineArea(plan, 1);
  const double door = 900 * 2100, window = 1200 * 1150;
  EXPECT_NEAR(ClosedVolume(wall), a * kHeight - (door + window) * 200, 1);
  const double reveals = 200 * (2 * 2100 + 900) + 200 * (2 * 1150 + 2 * 1200);
  const double doorstep = 900 * 200;  // the door opens the underside too
  EXPECT_NEAR(
      TotalArea(wall),
      2 * a - doorstep + OutlinePerimeter(plan, 1) * kHeight - 2 * (door + window) + reveals, 1);

  struct Opening {
    double x0, x1, z0, z1;
  };
  for (const Opening& o : {Opening{5550, 6450, 0, 2100}, Opening{7400, 8600, 1000, 2150}}) {
    for (double y : {4900.0, 5100.0}) {
      SCOPED_TRACE(testing::Message() << "hole at x " << o.x0 << ", face y " << y);
      const double mx = (o.x0 + o.x1) / 2, mz = (o.z0 + o.z1) / 2;
      EXPECT_FALSE(Covers(wall, {o.x0 + 1, y, mz}));
      EXPECT_FALSE(Covers(wall, {o.x1 - 1, y, mz}));
      EXPECT_FALSE(Covers(wall, {mx, y, o.z1 - 1}));
      EXPECT_TRUE(Covers(wall, {o.x0 - 1, y, mz}));
      EXPECT_TRUE(Covers(wall, {o.x1 + 1, y, mz}));
      EXPECT_TRUE(Covers(wall, {mx, y, o.z1 + 1}));
      EXPECT_EQ(Covers(wall, {mx, y, o.z0 - 1}), o.z0 > 0);
      if (o.z0 > 0) {
        EXPECT_FALSE(Covers(wall, {mx, y, o.z0 + 1}));
      }
    }
  }
}

TEST(OpeningParts, ADoorLeafStandsOpenOnItsSwingSideAndAWindowHasGlass) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddOpening(1, 900, 1000, 1001, 0, 0);  // swings to side A (y < 4900), hinged at x 5600
  plan.AddOpening(1, 900, 3000, 1001, 0, 1);  // swings to side B, hinged at the far end
  plan.AddOpening(1, 600, 2000, 2001, 0, 0);
  plan.RefreshGeometry();
  const Mesh mesh = Build3D(plan);
  const auto bounds = [&](int32_t n, Material m) {
    Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (const Face& f : FacesOf(mesh, kSelOpening, n)) {
      if (f.material != m) continue;
      for (Vec3 p : {f.a, f.b, f.c}) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
      }
    }
    return std::pair{lo, hi};
  };
  const auto [leaf1lo, leaf1hi] = bounds(1, Material::DoorLeaf);
  EXPECT_NEAR(leaf1lo.x, 5600, 1e-6);
  EXPECT_NEAR(leaf1hi.y, 4900, 1e-6);
  EXPECT_NEAR(leaf1lo.y, 4900 - 800, 1e-6);  // the leaf is the width inside the frame
  const auto [leaf2lo, leaf2hi] = bounds(2, Material::DoorLeaf);
  EXPECT_NEAR(leaf2hi.x, 8400, 1e-6);
  EXPECT_NEAR(leaf2lo.y, 5100, 1e-6);
  EXPECT_NEAR(leaf2hi.y, 5100 + 800, 1e-6);
  const auto [glassLo, glassHi] = bounds(3, Material::Glass);
  EXPECT_GT(glassLo.z, 1000);
  EXPECT_LT(glassHi.z, 2150);
  EXPECT_TRUE(FacesOf(mesh, kSelOpening, 3).size() > 0);
  const auto [noGlass, noGlassHi] = bounds(1, Material::Glass);
  EXPECT_GT(noGlass.x, noGlassHi.x);  // a door has none
}

TEST(Floors, EachRoomHasAFloorOfItsAreaInItsColour) {
  TCasaPlan plan;
  DrawRectangle(plan);
  // A wall from the top with a free end makes the room's outline concave.
  DrawWall(plan, {7000, 5000}, {7000, 6000});
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 1);
  plan.RoomColours.SetValue(plan.Rooms[1].hash, "336699");
  const Mesh mesh = Build3D(plan);
  const auto floor = FacesOf(mesh, kSelRoom, 1);
  EXPECT_NEAR(TotalArea(floor), 10460000, 1);
  EXPECT_NEAR(TotalArea(floor), plan.Rooms[1].surface, 1);
  for (const Face& f : floor) {
    EXPECT_EQ(f.rgb, 0x336699u);
    EXPECT_GT(f.normal.z, 0.99);
  }
}

TEST(Furniture, BoxesStandOnTheirPlanRectangleAtTheirModelsHeight) {
  TCasaPlan plan;
  plan.AddObjet(7000, 6500, 1200, 600, 30, -1, "Table");
  plan.AddObjet(6000, 6000, 1400, 2000, 0, -1, "Lit double");
  const Mesh mesh = Build3D(plan);
  for (int32_t n = 1; n <= 2; ++n) {
    const auto box = FacesOf(mesh, kSelObject, n);
    const double height = FurnitureHeight(plan.Objects[n].nom);
    EXPECT_NEAR(ClosedVolume(box), 1.0 * plan.Objects[n].l * plan.Objects[n].h * height,
                0.01 * plan.Objects[n].l * plan.Objects[n].h * height);
    for (TPoint corner : plan.ObjetPolygon(n)) {
      EXPECT_TRUE(Covers(box, {double(corner.x), double(corner.y), 0}));
      EXPECT_TRUE(Covers(box, {double(corner.x), double(corner.y), height}));
    }
  }
}

TEST(Furniture, HeightComesFromTheModelNameWithADefault) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"Lit", 550},         {"lit double", 550},    {"Table", 750},
      {"Table basse", 400}, {"ARMOIRE", 2000},      {"Chaise", 900},
      {"étagère", 1800},    {"Objet inconnu", 750}, {"", 750},
  };
  for (const auto& [name, height] : cases) EXPECT_EQ(FurnitureHeight(name), height) << name;
}

TEST(WallSolids, FollowThePlanWallHeight) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.WallHeight = 3100;
  plan.RefreshGeometry();
  const Mesh mesh = Build3D(plan);
  double top = 0;
  for (const Face& f : mesh.faces) top = std::max({top, f.a.z, f.b.z, f.c.z});
  EXPECT_EQ(top, 3100);
}

}  // namespace
}  // namespace casavo::model3d
