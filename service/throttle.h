// Throttle and ThrottleLimits: how often a client may try.

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "service/database.h"

namespace casavo::service {

struct ThrottleLimits {
  int addressFailures = 10;  // wrong passwords from one address
  int loginFailures = 20;    // wrong passwords for one login, from every address
  int64_t windowSeconds = 15 * 60;
};

// Counts wrong passwords and says who must wait before trying again. An
// address that guessed too often waits; so does, for a login that many
// addresses guessed, every address that already guessed it wrong. An address
// with no wrong guess for a login is never held back, so that its owner still
// signs in while others guess. The counts live in the store, so that every
// instance of the service holds the same guessers back.
class SignInThrottle {
 public:
  explicit SignInThrottle(Database& database, ThrottleLimits limits = {})
      : database_(database), limits_(limits) {}

  // Seconds before this address may try this login; 0 when it may try now.
  int64_t Wait(const std::string& address, std::string_view login, int64_t now);
  void Failed(const std::string& address, std::string_view login, int64_t now);
  // Drops what has aged out of the window.
  void Prune(int64_t now);

 private:
  // Seconds until fewer than `limit` failures matching `column` = `value`
  // remain in the window.
  int64_t WaitFor(Db& db, const char* column, std::string_view value, int limit, int64_t now) const;

  Database& database_;
  ThrottleLimits limits_;
};

}  // namespace casavo::service
