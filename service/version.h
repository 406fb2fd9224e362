// Dotted version numbers of the editor.

#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace casavo::service {

// "2.2" -> {2, 2}; nullopt unless the text is numbers separated by single dots.
std::optional<std::vector<long>> ParseVersion(std::string_view text);

// Compares part by part, numerically; a missing part counts as 0, so 2.2 and
// 2.2.0 are equal and 2.10 is newer than 2.9.
bool VersionLess(const std::vector<long>& a, const std::vector<long>& b);

}  // namespace casavo::service
