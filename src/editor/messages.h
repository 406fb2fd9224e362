// Messages: the catalogue of French status, question and undo texts, by key.

#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace casavo {

// The process-wide catalogue of the French texts the editor and the online
// client show: keys without regard to letter case, texts in UTF-8. The main
// window fills it once at start and frees it at the end.
class Messages {
 public:
  using Entry = std::pair<std::string, std::string>;

  // Creates the catalogue with the built-in texts (replacing any earlier one).
  static void Init();
  // Empties the catalogue; lookups then give empty texts.
  static void Free();

  // Sets the text of a key, appending the key when it is new.
  static void Register(std::string_view key, std::string_view text);
  // The registered text, unformatted; empty for a key never registered.
  static std::string Lookup(std::string_view key);

  // Every entry in registration order.
  static const std::vector<Entry>& Entries();
};

// Shorthand for Messages::Lookup.
inline std::string Msg(std::string_view key) {
  return Messages::Lookup(key);
}

}  // namespace casavo
