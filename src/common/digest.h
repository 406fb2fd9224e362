// Digests and encodings: MD5, SHA-1 and Base64 of byte strings.

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace casavo {

std::array<uint8_t, 16> Md5(std::string_view bytes);
std::array<uint8_t, 20> Sha1(std::string_view bytes);

// MD5 digest of the bytes as 32 upper-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

// Standard alphabet, "=" padding, no line breaks.
std::string Base64Encode(std::string_view bytes);
// Strict decoding: nullopt for a length that is not a multiple of 4, a
// character outside the alphabet or misplaced padding.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace casavo
