// PNG checks of the previews: their size and whether they decode whole.

#pragma once

#include <optional>
#include <string_view>

namespace casavo::service {

struct PngSize {
  int width = 0;
  int height = 0;
};

// The size in the IHDR chunk of a PNG file, or nullopt when the bytes do not
// begin with the PNG signature and a well-formed IHDR chunk (CRC included).
std::optional<PngSize> ReadPngSize(std::string_view bytes);

// True when libpng decodes every row of the picture and nothing follows its
// end. One row is held at a time, whatever the stated size.
bool DecodesWhole(std::string_view bytes);

}  // namespace casavo::service
