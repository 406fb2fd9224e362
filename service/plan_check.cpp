// Plan texts checked with the editor's own reader before they are stored.

#include "service/plan_check.h"

#include <exception>
#include <memory>

#include "files/plan_xml.h"

namespace casavo::service {

std::string PlanTextProblem(std::string_view text) {
  // The editor sends the XML form only; the older line form is not stored.
  if (!text.starts_with("<?xml")) return "Le fichier envoyé n'est pas un plan Casavo.";
  // The tables take megabytes: each worker keeps one plan for its reads
  // rather than setting them up for every save. A read refills the tables;
  // the room lists it only adds to are emptied here.
  thread_local const auto plan = std::make_unique<TCasaPlan>();
  plan->RoomNames.Clear();
  plan->RoomKinds.Clear();
  plan->RoomColours.Clear();
  try {
    const PlanReadResult read = ReadPlanXml(*plan, text);
    if (!read.ok) return "Le plan envoyé est illisible : " + read.error + ".";
    if (read.refused > 0)
      return "Le plan envoyé contient " + std::to_string(read.refused) +
             " élément(s) que l'éditeur refuserait (" + read.refusal + ").";
  } catch (const std::exception& error) {
    return std::string("Le plan envoyé est illisible : ") + error.what() + ".";
  }
  return {};
}

}  // namespace casavo::service
