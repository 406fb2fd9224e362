#pragma once

#include <string>
#include <string_view>

namespace casavo {

// Windows-1252 bytes to UTF-8. Every byte has a character: the five bytes that
// Windows-1252 leaves undefined map to the C1 controls of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. A character without a Windows-1252 form, and a
// malformed UTF-8 sequence, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// True when every character of the UTF-8 text has a Windows-1252 form.
bool FitsCp1252(std::string_view utf8);

// Upper-case ASCII letters; other bytes unchanged. For case-insensitive keys.
std::string AsciiUpper(std::string_view text);

}  // namespace casavo
