// KeyedList operations.

#include "plan/keyed_list.h"

#include <algorithm>

#include "common/text.h"

namespace casavo {

namespace {

bool HasLowerAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

std::string KeyedList::Value(std::string_view key) const {
  const auto found = HasLowerAscii(key) ? index_.find(AsciiUpper(key)) : index_.find(key);
  return found == index_.end() ? std::string() : lines_[found->second].second;
}

void KeyedList::SetValue(std::string_view key, std::string_view value) {
  std::string upper = AsciiUpper(key);
  const auto found = index_.find(upper);
  if (found == index_.end()) {
    if (value.empty()) return;
    index_.emplace(std::move(upper), lines_.size());
    lines_.emplace_back(std::string(key), std::string(value));
    return;
  }
  const size_t line = found->second;
  if (!value.empty()) {
    lines_[line].second = std::string(value);
    return;
  }
  // Removing a line shifts the ones after it up by one.
  index_.erase(found);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
  for (auto& [k, position] : index_)
    if (position > line) --position;
}

void KeyedList::Clear() {
  lines_.clear();
  index_.clear();
}

}  // namespace casavo
