// KeyedList: ordered key=value lines (room names, kinds, colours).

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace casavo {

// An ordered list of key=value lines, keys compared without regard to ASCII
// case. Used for the room names, kinds and colours keyed by room hash.
class KeyedList {
 public:
  // The value stored for key, or the empty text.
  std::string Value(std::string_view key) const;
  // A non-empty value replaces the key's line or appends one at the end; the
  // empty text removes the line.
  void SetValue(std::string_view key, std::string_view value);

  int32_t Count() const { return static_cast<int32_t>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  // Lines in list order, 0-based.
  const std::string& KeyAt(int32_t i) const { return lines_.at(i).first; }
  const std::string& ValueAt(int32_t i) const { return lines_.at(i).second; }
  void Clear();

 private:
  // Looked up by string_view, so that a key already in upper case (a room
  // hash) needs no copy.
  struct KeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
  };

  std::vector<std::pair<std::string, std::string>> lines_;
  std::unordered_map<std::string, size_t, KeyHash, std::equal_to<>>
      index_;  // upper-cased key -> line
};

}  // namespace casavo
