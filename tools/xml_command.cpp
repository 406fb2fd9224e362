// casavo-tool xml FILE: the plan text as the writer produces it.

#include <iostream>

#include "commands.h"
#include "files/plan_xml.h"
#include "tool_support.h"

namespace casavo::tool {

int RunXml(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, 1);
  TCasaPlan plan;
  LoadPlan(plan, parsed.files[0]);
  const std::string text = WritePlanXml(plan);
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  return std::cout.flush() ? 0 : 1;
}

}  // namespace casavo::tool
