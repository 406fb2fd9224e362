// ErrorReports: what the editor reports of its failures.

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/database.h"

namespace casavo::service {

struct ErrorReportLimits {
  int perAddressPerHour = 100;
  int64_t totalBytes = 50 * 1024 * 1024;  // over it the oldest reports go
};

// Load failures the editors report, kept with their time for whoever runs
// the service. Anyone may send them, so they are bounded per address and in
// all, and nothing that looks like a session id is kept.
class ErrorReports {
 public:
  explicit ErrorReports(Database& database, ErrorReportLimits limits = {})
      : database_(database), limits_(limits) {}

  // False when the address sent its hour's worth already; nothing is stored.
  bool Record(std::optional<int64_t> userId, std::string_view message, const std::string& address);
  // Brings reports stored by older versions within the bounds and masks
  // their session ids.
  void Tidy();

 private:
  void DropOldest(Db& db);

  Database& database_;
  ErrorReportLimits limits_;
};

// The message with every run of 32 or more hexadecimal digits (a session id,
// or anything as secret-looking) masked.
std::string MaskSessionIds(std::string_view message);

}  // namespace casavo::service
