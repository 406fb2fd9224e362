// Why a plan text cannot be stored, in French.

#pragma once

#include <string>
#include <string_view>

namespace casavo::service {

// Why a plan text cannot be stored, in French: the editor's own plan reader
// must read the whole of it, refusing nothing. Empty text when it can.
std::string PlanTextProblem(std::string_view text);

}  // namespace casavo::service
