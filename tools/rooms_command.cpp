// casavo-tool rooms FILE [--csv]: the room schedule of a plan, in JSON or as
// CSV for a spreadsheet.

#ifdef CASAVO_TOOL_RENDER

#include <iostream>

#include "commands.h"
#include "json_writer.h"
#include "render/room_schedule.h"
#include "tool_support.h"

namespace casavo::tool {

namespace {

double SquareMetres(int64_t cents) {
  return static_cast<double>(cents) / 100;
}

void WriteJson(const std::vector<RoomRow>& rows) {
  JsonWriter json(std::cout);
  json.BeginObject().Key("rooms").BeginArray();
  for (const RoomRow& row : rows) {
    json.BeginObject().Key("name").Value(row.name.toStdString());
    json.Key("type").Value(row.kind.toStdString()).Key("colour").Value(row.colour.toStdString());
    json.Key("area").Value(SquareMetres(row.areaCents)).Key("centroid");
    json.BeginArray().Value(row.centre.x).Value(row.centre.y).EndArray().EndObject();
  }
  json.EndArray().Key("total").Value(SquareMetres(TotalAreaCents(rows))).EndObject();
  std::cout << '\n';
}

}  // namespace

int RunRooms(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, 1, {"--csv"});
  auto plan = std::make_unique<TCasaPlan>();
  LoadPlan(*plan, parsed.files[0]);
  const std::vector<RoomRow> rows = RoomSchedule(*plan);
  if (parsed.flags.contains("--csv")) {
    const QByteArray csv = ScheduleCsv(rows, QLocale::system());
    std::cout.write(csv.constData(), csv.size());
  } else {
    WriteJson(rows);
  }
  return 0;
}

}  // namespace casavo::tool

#endif  // CASAVO_TOOL_RENDER
