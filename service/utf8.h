#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace casavo::service {

// The code points of well-formed UTF-8 (no overlongs, surrogates or values
// above U+10FFFF); nullopt otherwise.
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// Browsers send form fields and query strings as UTF-8, but an address typed
// or built elsewhere may carry Windows-1252 bytes: take UTF-8 when it is
// well-formed, else read the bytes as Windows-1252.
std::string BrowserTextToUtf8(std::string_view bytes);

std::string AsciiLower(std::string_view text);

}  // namespace casavo::service
