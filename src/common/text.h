// Text encodings: Windows-1252 <-> UTF-8, the UTF-8 decoder, ASCII case.

#pragma once

#include <cstdint>
#include <optional>
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

// What DecodeUtf8 does with a malformed sequence (a stray or missing
// continuation byte, an overlong form, a surrogate, a value above U+10FFFF).
enum class Utf8Mode : uint8_t {
  Strict,   // the whole text is refused: nullopt
  Lenient,  // each byte that starts no valid sequence becomes U+FFFD
};

// The code points of a UTF-8 text. The one decoder of the program: the
// Windows-1252 converter reads leniently, the service checks names strictly.
std::optional<std::u32string> DecodeUtf8(std::string_view text, Utf8Mode mode = Utf8Mode::Strict);

// Upper-case ASCII letters; other bytes unchanged. For case-insensitive keys.
std::string AsciiUpper(std::string_view text);

}  // namespace casavo
