// Feeds arbitrary bytes to the plan-file reader, then checks that whatever it
// made of them writes a text that reads back.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "files/plan_file.h"
#include "files/plan_xml.h"

using namespace casavo;

namespace {

// One plan per run of the fuzzer: its tables are large, and a read refills it.
TCasaPlan& Plan() {
  static TCasaPlan* plan = new TCasaPlan;
  return *plan;
}

TCasaPlan& Copy() {
  static TCasaPlan* plan = new TCasaPlan;
  return *plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCasaPlan& plan = Plan();
  plan.Clear();
  try {
    ReadPlanFileBytes(plan, std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const PlanFormatError&) {
    return 0;  // the line form without zoom factors: a clean refusal
  }
  // As the editor would show it; absurd coordinates may overflow here, which
  // the model reports as an error.
  plan.ShowRooms = true;
  try {
    plan.RefreshGeometry();
  } catch (const std::exception&) {
  }
  TCasaPlan& copy = Copy();
  copy.Clear();
  if (!ReadPlanXml(copy, WritePlanXml(plan))) __builtin_trap();
  return 0;
}
