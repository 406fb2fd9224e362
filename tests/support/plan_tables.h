// The first difference between the tables of two plans.

#pragma once

#include <string>

#include "plan/casa_plan.h"

namespace casavo::gen {

// The first difference between the edited tables of two plans (corners,
// walls with their ends and thickness, openings, objects, selection), as a
// text for a test message; empty when they are the same.
std::string FirstDifference(const TCasaPlan& a, const TCasaPlan& b);

}  // namespace casavo::gen
