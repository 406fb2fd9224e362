// Dotted version numbers: parsing and order.

#include "service/version.h"

#include <algorithm>
#include <charconv>

namespace casavo::service {

std::optional<std::vector<long>> ParseVersion(std::string_view text) {
  std::vector<long> parts;
  while (true) {
    const size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    long value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || error != std::errc() || end != part.data() + part.size() || value < 0)
      return std::nullopt;
    parts.push_back(value);
    if (dot == std::string_view::npos) return parts;
    text.remove_prefix(dot + 1);
  }
}

bool VersionLess(const std::vector<long>& a, const std::vector<long>& b) {
  const size_t size = std::max(a.size(), b.size());
  for (size_t i = 0; i < size; ++i) {
    const long x = i < a.size() ? a[i] : 0;
    const long y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y;
  }
  return false;
}

}  // namespace casavo::service
