#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "service/database.h"

namespace casavo::service {

// Load failures the editors report, kept with their time for whoever runs
// the service.
class ErrorReports {
 public:
  explicit ErrorReports(Database& database) : database_(database) {}
  void Record(std::optional<int64_t> userId, std::string_view message);

 private:
  Database& database_;
};

}  // namespace casavo::service
