#include "service/utf8.h"

#include "common/text.h"

namespace casavo::service {

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
  std::u32string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra;
    char32_t cp;
    char32_t minimum;
    if (lead < 0x80) {
      out += lead;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (pos + extra > text.size()) return std::nullopt;
    for (int i = 0; i < extra; ++i) {
      const auto b = static_cast<unsigned char>(text[pos++]);
      if ((b & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    out += cp;
  }
  return out;
}

std::string BrowserTextToUtf8(std::string_view bytes) {
  if (DecodeUtf8(bytes)) return std::string(bytes);
  return Cp1252ToUtf8(bytes);
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace casavo::service
