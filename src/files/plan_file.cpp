// Plan files: enciphered or plain bytes to plan and back.

#include "files/plan_file.h"

#include "files/file_io.h"

namespace casavo {

PlanReadResult ReadPlanFileBytes(TCasaPlan& plan, std::string_view bytes) {
  if (bytes.starts_with("<?xml")) return ReadPlanXml(plan, bytes);
  try {
    return ReadPlanXml(plan, DecipherPlanText(bytes));
  } catch (const PlanFormatError&) {
    // Deciphering a plain line-form text gives noise without zoom factors.
    return ReadPlanXml(plan, bytes);
  }
}

PlanReadResult LoadPlanFile(TCasaPlan& plan, const std::string& path) {
  return ReadPlanFileBytes(plan, ReadWholeFile(path));
}

void SavePlanFile(const TCasaPlan& plan, const std::string& path) {
  SavePlanText(WritePlanXml(plan), path);
}

void SavePlanText(std::string_view text, const std::string& path) {
  // The plan in progress is the user's own, like the settings beside it.
  ReplaceFile(path, text, 0600);
}

}  // namespace casavo
