// INI rules of the settings file on its bytes: sections, keys, values.

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace casavo {

// The INI rules of the settings file, on the file's bytes. Section names and
// keys compare without regard to ASCII case; values are trimmed, and a value
// in double quotes loses them, so a value with outer blanks is written quoted.

// The value of key in section, or nullopt when there is none.
std::optional<std::string> IniValue(std::string_view content, std::string_view section,
                                    std::string_view key);

// The content with key set to value in section: the key's line is replaced, or
// added at the end of the section, or the section is added at the end. Every
// other line is kept. Raises std::invalid_argument for a key or value that
// cannot be stored on one line.
std::string IniWithValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace casavo
