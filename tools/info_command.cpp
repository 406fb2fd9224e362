// casavo-tool info FILE [--clean]: the plan as the editor would see it, in JSON.

#include <iostream>

#include "commands.h"
#include "json_writer.h"
#include "tool_support.h"

namespace casavo::tool {
namespace {

void WritePoint(JsonWriter& json, TPoint p) {
  json.BeginArray().Value(p.x).Value(p.y).EndArray();
}

void WriteView(JsonWriter& json, const TCasaPlan& plan) {
  json.Key("view").BeginObject();
  json.Key("x0").Value(plan.x0).Key("y0").Value(plan.y0);
  json.Key("zx").Value(plan.zx).Key("zy").Value(plan.zy);
  json.EndObject();
}

void WriteCorners(JsonWriter& json, const TCasaPlan& plan) {
  json.Key("corners").BeginArray();
  for (int32_t i = 1; i <= plan.CornerCount; ++i) WritePoint(json, plan.Corners[i]);
  json.EndArray();
}

void WriteWalls(JsonWriter& json, const TCasaPlan& plan) {
  json.Key("walls").BeginArray();
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const TWall& wall = plan.Walls[w];
    json.BeginObject().Key("c1").Value(wall.C1).Key("c2").Value(wall.C2);
    json.Key("epais").Value(wall.epais).Key("outline").BeginArray();
    for (int32_t k = 1; k <= 4; ++k) WritePoint(json, plan.Outline[4 * w + k]);
    json.EndArray().Key("joined").BeginArray();
    json.Value(wall.JoinedAtC1).Value(wall.JoinedAtC2).EndArray();
    json.EndObject();
  }
  json.EndArray();
}

void WriteOpenings(JsonWriter& json, const TCasaPlan& plan) {
  json.Key("openings").BeginArray();
  for (int32_t i = 1; i <= plan.OpeningCount; ++i) {
    const TOpening& o = plan.Openings[i];
    json.BeginObject().Key("imur").Value(o.imur).Key("large").Value(o.large);
    json.Key("dcoin1").Value(o.dcoin1).Key("sorte").Value(o.sorte);
    json.Key("volet").Value(o.volet).Key("cote").Value(o.cote).EndObject();
  }
  json.EndArray();
}

void WriteObjects(JsonWriter& json, const TCasaPlan& plan) {
  json.Key("objects").BeginArray();
  for (int32_t i = 1; i <= plan.ObjectCount; ++i) {
    const TObjet& o = plan.Objects[i];
    json.BeginObject().Key("x").Value(o.x).Key("y").Value(o.y);
    json.Key("l").Value(o.l).Key("h").Value(o.h).Key("a").Value(o.a);
    json.Key("groupe").Value(o.groupe).Key("nom").Value(o.nom).EndObject();
  }
  json.EndArray();
}

void WriteRooms(JsonWriter& json, const TCasaPlan& plan) {
  json.Key("rooms").BeginArray();
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TPiece& room = plan.Rooms[r];
    json.BeginObject().Key("surface").Value(room.surface).Key("centre");
    WritePoint(json, room.Centre);
    json.Key("border").Value(room.Border.ToText()).Key("hash").Value(room.hash);
    json.Key("nom").Value(plan.RoomName(r)).Key("sorte").Value(plan.RoomKind(r));
    json.Key("couleur").Value(plan.RoomColour(r)).EndObject();
  }
  json.EndArray();
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, 1, {"--clean"});
  TCasaPlan plan;
  LoadPlan(plan, parsed.files[0]);
  plan.ShowRooms = true;
  if (parsed.flags.contains("--clean")) {
    // The clean-up that follows a moved wall, for every wall still there.
    for (int32_t w = 1; w <= plan.WallCount; ++w) plan.CleanUpAfterWallMove(w);
  }
  plan.RefreshGeometry();

  JsonWriter json(std::cout);
  json.BeginObject();
  WriteView(json, plan);
  WriteCorners(json, plan);
  WriteWalls(json, plan);
  WriteOpenings(json, plan);
  WriteObjects(json, plan);
  WriteRooms(json, plan);
  json.EndObject();
  return 0;
}

}  // namespace casavo::tool
