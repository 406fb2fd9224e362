// The plan text: the XML reader and writer and the older line form.

#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "plan/casa_plan.h"

namespace casavo {

// A plan text in the older line form without readable zoom factors.
class PlanFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a read made of a plan text. Converts to the reader's true/false.
struct PlanReadResult {
  bool ok = true;
  // Why the text was rejected, when ok is false.
  std::string error;
  // Walls, openings and objects that the plan could not take (a full table, a
  // coordinate out of range), and the first reason. Those that fit are kept.
  int32_t refused = 0;
  std::string refusal;

  operator bool() const { return ok; }  // NOLINT: reads like the plain bool it replaces
};

// The plan text: an XML document in ISO-8859-1 bytes with CR LF line ends.
std::string WritePlanXml(const TCasaPlan& plan);

// Refills the plan's corners, walls, openings and objects from a plan text
// (XML, or the older key=value line form) and stores the room attributes.
// Fails (ok false) when an XML text cannot be read; the line form raises
// PlanFormatError instead. Room attribute lists are not cleared first.
PlanReadResult ReadPlanXml(TCasaPlan& plan, std::string_view text);

// Colour text "RRGGBB" <-> 0xRRGGBB; a text that is not six hexadecimal digits
// gives light grey.
std::string ColourToText(uint32_t rgb);
uint32_t TextToColour(std::string_view text);

}  // namespace casavo
