#pragma once

#include <string>
#include <string_view>

#include "plan/casa_plan.h"

namespace casavo {

// The byte-exact plan-file cipher (Blowfish, chained, same length out as in).
std::string EncipherPlanText(std::string_view text);
std::string DecipherPlanText(std::string_view text);

// Reads a plan file (plain or enciphered) into the plan through the plan
// reader. Raises FileError when the file cannot be read.
void LoadPlanFile(TCasaPlan& plan, const std::string& path);
// Writes the plan text, plain. Raises FileError when the file cannot be written.
void SavePlanFile(const TCasaPlan& plan, const std::string& path);

}  // namespace casavo
