// Throttle and ThrottleLimits: how often a client may try.

#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

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
// signs in while others guess.
class SignInThrottle {
 public:
  explicit SignInThrottle(ThrottleLimits limits = {}) : limits_(limits) {}

  // Seconds before this address may try this login; 0 when it may try now.
  int64_t Wait(const std::string& address, std::string_view login, int64_t now);
  void Failed(const std::string& address, std::string_view login, int64_t now);
  // Drops what has aged out of the window.
  void Prune(int64_t now);

 private:
  using Failures = std::deque<int64_t>;  // times, oldest first, at most one limit's worth
  int64_t WaitFor(Failures& failures, int limit, int64_t now) const;
  void Add(Failures& failures, int limit, int64_t now) const;

  ThrottleLimits limits_;
  std::mutex mutex_;
  std::map<std::string, Failures> byAddress_;
  std::map<std::string, Failures> byLogin_;
  std::map<std::string, Failures> byLoginAndAddress_;
};

}  // namespace casavo::service
