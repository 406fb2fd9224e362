// Number texts of the plan file, written and read with '.' whatever the locale.

#include "files/number_text.h"

#include <charconv>

namespace casavo {
namespace {

constexpr size_t kMaxListItems = 1000;

std::string_view TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::optional<int32_t> ParseInt(std::string_view text) {
  text = TrimBlanks(text);
  // from_chars takes "-" but not "+".
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<double> ParseReal(std::string_view text) {
  std::string dotted(TrimBlanks(text));
  for (char& c : dotted)
    if (c == ',') c = '.';
  if (dotted.size() > 1 && dotted.front() == '+' && dotted[1] != '-') dotted.erase(0, 1);
  double value = 0;
  const auto [end, error] = std::from_chars(dotted.data(), dotted.data() + dotted.size(), value);
  if (error != std::errc() || end != dotted.data() + dotted.size() || dotted.empty())
    return std::nullopt;
  return value;
}

std::string FormatReal(double value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr);
}

std::optional<std::vector<int32_t>> ParseIntList(std::string_view text) {
  std::vector<int32_t> items;
  while (true) {
    if (items.size() == kMaxListItems) return std::nullopt;
    const auto comma = text.find(',');
    items.push_back(ParseInt(text.substr(0, comma)).value_or(0));
    if (comma == std::string_view::npos) return items;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace casavo
