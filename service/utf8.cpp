// Browser text to UTF-8; ASCII lower case.

#include "service/utf8.h"

#include "common/text.h"

namespace casavo::service {

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
