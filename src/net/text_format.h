// Replaces each "%s" of a pattern with the next value.

#pragma once

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>

namespace casavo {

// Replaces each "%s" of the pattern, left to right, with the next value;
// values are inserted as they are, never read as patterns themselves.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values);

// The same, as the QString the dialogs show.
QString FormatQ(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace casavo
