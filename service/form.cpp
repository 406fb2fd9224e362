// Form decoding and encoding (application/x-www-form-urlencoded), cookies.

#include "service/form.h"

#include <cctype>

namespace casavo::service {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string FormDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

FormFields::FormFields(std::string_view encoded) {
  while (!encoded.empty()) {
    const size_t end = encoded.find('&');
    const std::string_view pair = encoded.substr(0, end);
    encoded = end == std::string_view::npos ? std::string_view() : encoded.substr(end + 1);
    if (pair.empty()) continue;
    const size_t equals = pair.find('=');
    const std::string name = FormDecode(pair.substr(0, equals));
    const std::string value =
        equals == std::string_view::npos ? std::string() : FormDecode(pair.substr(equals + 1));
    values_.emplace(name, value);
  }
}

std::optional<std::string> FormFields::Get(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string FormFields::GetOr(const std::string& name) const {
  return Get(name).value_or("");
}

std::string CookieValue(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    const size_t end = header.find(';');
    const std::string_view pair = Trim(header.substr(0, end));
    header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
    const size_t equals = pair.find('=');
    if (equals != std::string_view::npos && Trim(pair.substr(0, equals)) == name)
      return std::string(Trim(pair.substr(equals + 1)));
  }
  return {};
}

std::string FormEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if ((std::isalnum(b) && b < 0x80) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string FormBody(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string body;
  for (const auto& [name, value] : fields) {
    if (!body.empty()) body += '&';
    body += name + "=" + FormEncode(value);
  }
  return body;
}

}  // namespace casavo::service
