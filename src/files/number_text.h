// Locale-independent number texts of the plan file.

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casavo {

// Number texts of the plan file, independent of the process locale.

// A decimal int32, optionally signed and surrounded by blanks; nullopt for
// anything else, an overflowing number included.
std::optional<int32_t> ParseInt(std::string_view text);

// A real after every "," has become "."; nullopt when it cannot be read.
std::optional<double> ParseReal(std::string_view text);

// General format, at most 15 significant digits, "." as separator.
std::string FormatReal(double value);

// The comma-separated integer list of the line form: a piece that is not an
// integer counts as 0. nullopt for a list of more than 1000 numbers.
std::optional<std::vector<int32_t>> ParseIntList(std::string_view text);

}  // namespace casavo
