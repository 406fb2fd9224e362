// Throttle: failed logins counted per address and per login.

#include "service/throttle.h"

#include "service/utf8.h"

namespace casavo::service {
namespace {

// Logins are unique without regard to case: so are their counts.
std::string LoginKey(std::string_view login) {
  return AsciiLower(login);
}

void DropOld(std::deque<int64_t>& failures, int64_t oldest) {
  while (!failures.empty() && failures.front() <= oldest) failures.pop_front();
}

template <class Map>
void PruneMap(Map& map, int64_t oldest) {
  for (auto it = map.begin(); it != map.end();) {
    DropOld(it->second, oldest);
    it = it->second.empty() ? map.erase(it) : std::next(it);
  }
}

}  // namespace

int64_t SignInThrottle::WaitFor(Failures& failures, int limit, int64_t now) const {
  DropOld(failures, now - limits_.windowSeconds);
  if (static_cast<int>(failures.size()) < limit) return 0;
  // Wait until the oldest counted failure leaves the window.
  return failures.front() + limits_.windowSeconds - now;
}

void SignInThrottle::Add(Failures& failures, int limit, int64_t now) const {
  failures.push_back(now);
  while (static_cast<int>(failures.size()) > limit) failures.pop_front();
}

int64_t SignInThrottle::Wait(const std::string& address, std::string_view login, int64_t now) {
  const std::string key = LoginKey(login);
  std::lock_guard lock(mutex_);
  int64_t wait = 0;
  if (auto it = byAddress_.find(address); it != byAddress_.end())
    wait = WaitFor(it->second, limits_.addressFailures, now);
  const auto pair = byLoginAndAddress_.find(key + '\n' + address);
  const auto byLogin = byLogin_.find(key);
  if (pair != byLoginAndAddress_.end() && byLogin != byLogin_.end() &&
      WaitFor(pair->second, 1, now) > 0)
    wait = std::max(wait, WaitFor(byLogin->second, limits_.loginFailures, now));
  return wait;
}

void SignInThrottle::Failed(const std::string& address, std::string_view login, int64_t now) {
  const std::string key = LoginKey(login);
  std::lock_guard lock(mutex_);
  Add(byAddress_[address], limits_.addressFailures, now);
  Add(byLogin_[key], limits_.loginFailures, now);
  Add(byLoginAndAddress_[key + '\n' + address], 1, now);
}

void SignInThrottle::Prune(int64_t now) {
  std::lock_guard lock(mutex_);
  const int64_t oldest = now - limits_.windowSeconds;
  PruneMap(byAddress_, oldest);
  PruneMap(byLogin_, oldest);
  PruneMap(byLoginAndAddress_, oldest);
}

}  // namespace casavo::service
