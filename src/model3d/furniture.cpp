// Furniture heights by model name, for the 3D view.

#include "model3d/furniture.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace casavo::model3d {
namespace {

struct ModelHeight {
  std::string_view word;
  int32_t height;
};

// Looked up in order, by a word the name starts with, without regard to case
// (ASCII letters only; names keep their accents).
constexpr std::array<ModelHeight, 22> kHeights{{
    {"armoire", 2000},       {"penderie", 2000},     {"bibliothèque", 1800}, {"étagère", 1800},
    {"réfrigérateur", 1800}, {"frigo", 1800},        {"douche", 2000},       {"lit", 550},
    {"canapé", 800},         {"fauteuil", 850},      {"chaise", 900},        {"tabouret", 650},
    {"table basse", 400},    {"table de nuit", 550}, {"table", 750},         {"bureau", 750},
    {"commode", 900},        {"buffet", 900},        {"baignoire", 550},     {"wc", 400},
    {"lavabo", 850},         {"évier", 900},
}};

constexpr int32_t kDefaultHeight = 750;

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

}  // namespace

int32_t FurnitureHeight(std::string_view name) {
  const std::string lower = Lower(name);
  for (const ModelHeight& m : kHeights)
    if (lower.starts_with(m.word)) return m.height;
  return kDefaultHeight;
}

}  // namespace casavo::model3d
