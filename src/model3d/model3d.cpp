// The 3D model of a plan: walls with holes, openings, floors, furniture.

#include "model3d/model3d.h"

#include <vector>

#include "files/plan_xml.h"
#include "model3d/furniture.h"
#include "model3d/opening_parts.h"
#include "model3d/wall_solid.h"

namespace casavo::model3d {
namespace {

// Floors lie this far above the ground so that the two never fight for a pixel.
constexpr double kFloorLift = 2;

Vec3 Flat(TPoint p, double z) {
  return {static_cast<double>(p.x), static_cast<double>(p.y), z};
}

// Openings are found by their wall, once for all walls or by a scan for one.
void AddWallWith(Mesh& mesh, const TCasaPlan& plan, int32_t w,
                 const std::vector<int32_t>& openings) {
  const double height = plan.WallHeight;
  std::vector<Hole> holes;
  for (int32_t n : openings) {
    holes.push_back(HoleOf(plan, n, height));
    AddOpeningParts(mesh, plan, n, holes.back());
  }
  AddWallSolid(mesh, plan, w, holes, height, {kWallColour, Material::Wall, kSelWall, w});
}

}  // namespace

void AddWall(Mesh& mesh, const TCasaPlan& plan, int32_t w) {
  std::vector<int32_t> openings;
  for (int32_t n = 1; n <= plan.OpeningCount; ++n)
    if (plan.Openings[n].imur == w) openings.push_back(n);
  AddWallWith(mesh, plan, w, openings);
}

void AddWalls(Mesh& mesh, const TCasaPlan& plan) {
  std::vector<std::vector<int32_t>> openingsOf(static_cast<size_t>(plan.WallCount) + 1);
  for (int32_t n = 1; n <= plan.OpeningCount; ++n) {
    const int32_t w = plan.Openings[n].imur;
    if (w >= 1 && w <= plan.WallCount) openingsOf[static_cast<size_t>(w)].push_back(n);
  }
  for (int32_t w = 1; w <= plan.WallCount; ++w)
    AddWallWith(mesh, plan, w, openingsOf[static_cast<size_t>(w)]);
}

void AddFloors(Mesh& mesh, const TCasaPlan& plan) {
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TIntList& border = plan.Rooms[r].Border;
    std::vector<Vec3> corners;
    // The walk repeats its first entry at the end.
    for (int32_t i = 1; i < border.Count; ++i)
      corners.push_back(Flat(plan.Outline[border[i]], kFloorLift));
    const std::string colour = plan.RoomColour(r);
    const uint32_t rgb = colour.empty() ? kFloorColour : TextToColour(colour);
    mesh.AddPolygon(corners, {0, 0, 1}, {rgb, Material::Floor, kSelRoom, r});
  }
}

void AddFurniture(Mesh& mesh, const TCasaPlan& plan) {
  for (int32_t n = 1; n <= plan.ObjectCount; ++n) {
    std::vector<Vec3> base;
    for (const TPoint& p : plan.ObjetPolygon(n)) base.push_back(Flat(p, 0));
    mesh.AddPrism(base, 0, FurnitureHeight(plan.Objects[n].nom),
                  {kFurnitureColour, Material::Furniture, kSelObject, n});
  }
}

void Build3D(const TCasaPlan& plan, Mesh& mesh) {
  mesh.faces.clear();
  AddWalls(mesh, plan);
  AddFloors(mesh, plan);
  AddFurniture(mesh, plan);
}

Mesh Build3D(const TCasaPlan& plan) {
  Mesh mesh;
  Build3D(plan, mesh);
  return mesh;
}

}  // namespace casavo::model3d
