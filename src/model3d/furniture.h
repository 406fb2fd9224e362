// How tall a piece of furniture stands, by its name.

#pragma once

#include <cstdint>
#include <string_view>

namespace casavo::model3d {

// How tall a piece of furniture stands, by its model's name (a bed, a table,
// a wardrobe…), in millimetres; a name not known gives a table's height.
int32_t FurnitureHeight(std::string_view name);

}  // namespace casavo::model3d
