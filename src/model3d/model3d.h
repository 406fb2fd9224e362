// BuildModel: the 3D mesh of a whole plan.

#pragma once

#include "model3d/mesh.h"
#include "plan/casa_plan.h"

namespace casavo::model3d {

constexpr uint32_t kWallColour = 0xECE6DC;
// Rooms without a colour of their own, as the plan file reads them.
constexpr uint32_t kFloorColour = 0xF0F0F0;
constexpr uint32_t kFurnitureColour = 0x8E9AAF;

// The whole plan in 3D: every wall as a solid of the plan's WallHeight with
// its openings cut through and filled, a floor in each detected room's
// colour and a box for each object. Reads the outlines and rooms as the
// plan's last RefreshGeometry left them.
Mesh Build3D(const TCasaPlan& plan);
// The same into a mesh that is emptied first and keeps its storage: a view
// that rebuilds at every move allocates nothing once it has grown.
void Build3D(const TCasaPlan& plan, Mesh& mesh);

// The parts of Build3D, for callers that need one kind of element.
void AddWalls(Mesh& mesh, const TCasaPlan& plan);
// Wall w's solid with its openings' parts.
void AddWall(Mesh& mesh, const TCasaPlan& plan, int32_t w);
void AddFloors(Mesh& mesh, const TCasaPlan& plan);
void AddFurniture(Mesh& mesh, const TCasaPlan& plan);

}  // namespace casavo::model3d
