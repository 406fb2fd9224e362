// The furniture catalogue's models, their standard sizes and their plan symbols.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "render/surface.h"

namespace casavo {

// One piece of the furniture catalogue. Width runs along the object's own x
// axis (l), depth along its y axis (h); the back, the side that goes against
// a wall, is the side towards -y.
struct FurnitureModel {
  const char* key;    // stored as the object's modele
  const char* name;   // shown, and given to the object placed
  const char* group;  // the catalogue group: "Séjour", "Chambre"…
  int32_t width;      // millimetres
  int32_t depth;
};

// Every model, group by group, in the order the catalogue shows them.
const std::vector<FurnitureModel>& FurnitureModels();
// The model of that key, or null.
const FurnitureModel* FindFurnitureModel(std::string_view key);

// The colours of a symbol: its outline and its inner details.
struct SymbolInk {
  Argb outline;
  Argb detail;
};
inline constexpr SymbolInk kFurnitureInk{ArgbColor(40, 40, 40), ArgbColor(110, 110, 110)};

// Draws the model's plan symbol filling the width × depth rectangle centred
// on the world origin, in millimetres (the caller turns and scales the world
// first). Nothing is drawn outside that rectangle. False for a key that is no
// model, and then nothing is drawn.
bool DrawFurnitureSymbol(Surface& surface, std::string_view key, double width, double depth,
                         const SymbolInk& ink);

}  // namespace casavo
