#include "files/plan_file.h"

#include "files/file_io.h"

namespace casavo {

std::string PlanTextOfFile(std::string_view bytes) {
  if (bytes.starts_with("<?xml")) return std::string(bytes);
  return DecipherPlanText(bytes);
}

PlanReadResult LoadPlanFile(TCasaPlan& plan, const std::string& path) {
  return ReadPlanXml(plan, PlanTextOfFile(ReadWholeFile(path)));
}

void SavePlanFile(const TCasaPlan& plan, const std::string& path) {
  // The plan in progress is the user's own, like the settings beside it.
  ReplaceFile(path, WritePlanXml(plan), 0600);
}

}  // namespace casavo
