// Colour texts of the plan file: RGB to text and back.

#include <charconv>
#include <cstdio>

#include "files/plan_xml.h"

namespace casavo {
namespace {

constexpr uint32_t kLightGrey = 0xF0F0F0;

}  // namespace

std::string ColourToText(uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

uint32_t TextToColour(std::string_view text) {
  if (text.size() != 6) return kLightGrey;
  uint32_t rgb = 0;
  // from_chars alone would take a sign or stop early; every character must be a digit.
  for (char c : text) {
    uint32_t digit = 0;
    if (std::from_chars(&c, &c + 1, digit, 16).ec != std::errc()) return kLightGrey;
    rgb = rgb << 4 | digit;
  }
  return rgb;
}

}  // namespace casavo
