// Throttle: failed logins counted per address and per login.

#include "service/throttle.h"

#include <algorithm>

#include "service/utf8.h"

namespace casavo::service {
namespace {

// Logins are unique without regard to case: so are their counts.
std::string LoginKey(std::string_view login) {
  return AsciiLower(login);
}

}  // namespace

int64_t SignInThrottle::WaitFor(Db& db, const char* column, std::string_view value, int limit,
                                int64_t now) const {
  // Wait until the oldest of the last `limit` failures leaves the window.
  auto query = db.Prepare(std::string("SELECT failed_at FROM sign_in_failures WHERE ") + column +
                          " = ? AND failed_at > ? ORDER BY failed_at DESC LIMIT 1 OFFSET ?");
  query.Bind(1, value)
      .Bind(2, now - limits_.windowSeconds)
      .Bind(3, int64_t{std::max(limit, 1) - 1});
  return query.Step() ? query.Int(0) + limits_.windowSeconds - now : 0;
}

int64_t SignInThrottle::Wait(const std::string& address, std::string_view login, int64_t now) {
  const std::string key = LoginKey(login);
  auto db = database_.Acquire();
  int64_t wait = WaitFor(*db, "address", address, limits_.addressFailures, now);
  auto guessed = db->Prepare(
      "SELECT 1 FROM sign_in_failures WHERE login = ? AND address = ? AND failed_at > ?");
  guessed.Bind(1, key).Bind(2, address).Bind(3, now - limits_.windowSeconds);
  if (guessed.Step()) wait = std::max(wait, WaitFor(*db, "login", key, limits_.loginFailures, now));
  return wait;
}

void SignInThrottle::Failed(const std::string& address, std::string_view login, int64_t now) {
  auto db = database_.AcquireForWriting();
  db->Prepare("INSERT INTO sign_in_failures (address, login, failed_at) VALUES (?, ?, ?)")
      .Bind(1, address)
      .Bind(2, LoginKey(login))
      .Bind(3, now)
      .Run();
}

void SignInThrottle::Prune(int64_t now) {
  auto db = database_.AcquireForWriting();
  db->Prepare("DELETE FROM sign_in_failures WHERE failed_at <= ?")
      .Bind(1, now - limits_.windowSeconds)
      .Run();
}

}  // namespace casavo::service
