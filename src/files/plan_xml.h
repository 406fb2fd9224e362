#pragma once

#include <string>
#include <string_view>

#include "plan/casa_plan.h"

namespace casavo {

// The plan text: an XML document in ISO-8859-1 bytes with CR LF line ends.
std::string WritePlanXml(const TCasaPlan& plan);

// Refills the plan's corners, walls, openings and objects from a plan text
// (XML, or the older key=value line form) and stores the room attributes.
// Returns false when an XML text cannot be read; the line form raises
// PlanFormatError instead. Room attribute lists are not cleared first.
bool ReadPlanXml(TCasaPlan& plan, std::string_view text);

// Colour text "RRGGBB" <-> 0xRRGGBB; an unreadable text gives light grey.
std::string ColourToText(uint32_t rgb);
uint32_t TextToColour(std::string_view text);

}  // namespace casavo
