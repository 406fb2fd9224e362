// The model's exceptions: RangeError (index or capacity) and OverflowError (int32).

#pragma once

#include <stdexcept>

namespace casavo {

// An index outside its table, an append to a full table or list.
class RangeError : public std::runtime_error {
 public:
  RangeError() : std::runtime_error("Range check error") {}
};

// A 32-bit result that does not fit, or a real that cannot become an int32.
class OverflowError : public std::runtime_error {
 public:
  OverflowError() : std::runtime_error("Integer overflow") {}
};

}  // namespace casavo
