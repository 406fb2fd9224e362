// Text helpers of the service (the UTF-8 decoder itself is in common/text.h).

#pragma once

#include <string>
#include <string_view>

// DecodeUtf8, the strict reading of names and titles, is the common one.
#include "common/text.h"

namespace casavo::service {

// Browsers send form fields and query strings as UTF-8, but an address typed
// or built elsewhere may carry Windows-1252 bytes: take UTF-8 when it is
// well-formed, else read the bytes as Windows-1252.
std::string BrowserTextToUtf8(std::string_view bytes);

std::string AsciiLower(std::string_view text);

}  // namespace casavo::service
