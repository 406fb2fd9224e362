// The plan file: cipher, reading its bytes into a plan, writing a plan out.

#pragma once

#include <string>
#include <string_view>

#include "files/plan_xml.h"
#include "plan/casa_plan.h"

namespace casavo {

// The byte-exact plan-file cipher (Blowfish, chained, same length out as in).
std::string EncipherPlanText(std::string_view text);
std::string DecipherPlanText(std::string_view text);

// Reads the bytes of a plan file into the plan: plain when they begin with
// "<?xml", deciphered otherwise. A line-form text that was saved without the
// cipher is read as it stands.
PlanReadResult ReadPlanFileBytes(TCasaPlan& plan, std::string_view bytes);

// Reads a plan file (plain or enciphered) into the plan through the plan
// reader and returns the reader's result. Raises FileError (files/file_io.h)
// when the file cannot be read, PlanFormatError as the reader does.
PlanReadResult LoadPlanFile(TCasaPlan& plan, const std::string& path);
// Writes the plan text, plain, replacing the file whole. Raises FileError when
// the file cannot be written.
void SavePlanFile(const TCasaPlan& plan, const std::string& path);
// Writes a plan text that the writer produced, plain, the same way.
void SavePlanText(std::string_view text, const std::string& path);

}  // namespace casavo
