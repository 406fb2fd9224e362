// Accounts: users, their passwords and their sessions.

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/database.h"
#include "service/secrets.h"
#include "service/throttle.h"

namespace casavo::service {

// Texts are UTF-8 inside the service.
struct User {
  int64_t id = 0;
  std::string login;
  std::string email;
};

struct AccountSettings {
  int passwordIterations = 600000;          // PBKDF2-HMAC-SHA256 rounds
  int64_t sessionSeconds = 30 * 24 * 3600;  // a session lasts this long
  ThrottleLimits throttle = {};
};

enum class Registration {
  kCreated,
  kSignedIn,  // the account existed with this e-mail and password
  kLoginInvalid,
  kEmailInvalid,
  kPasswordInvalid,
  // The login or the e-mail belongs to an account whose password was not
  // given: one answer for both, so that it does not tell which.
  kTaken,
  kThrottled,
};

struct RegistrationResult {
  Registration outcome;
  std::optional<User> user;  // set for kCreated and kSignedIn
  int64_t waitSeconds = 0;   // for kThrottled
};

struct Authentication {
  std::optional<User> user;  // set when the password is right
  int64_t waitSeconds = 0;   // above 0: refused without looking, wait this long
};

// Login names: 4 to 64 characters, no control character, no "|" (the field
// separator of plan records), no space at either end.
bool IsValidLogin(std::string_view login);
// Something plausible before and after one "@", with a dot in the domain.
bool IsValidEmail(std::string_view email);
// For a new password: 8 to 1024 bytes. Older accounts keep shorter ones.
bool IsValidPassword(std::string_view password);

// Accounts, their hashed passwords and their sessions.
class Accounts {
 public:
  Accounts(Database& database, AccountSettings settings = {});

  // A new account. The account dialog says that someone who already has an
  // account types it in again, so the same login, e-mail and password sign in.
  // Every outcome past the syntax checks costs one password hash, so that
  // its time tells nothing either.
  RegistrationResult Register(std::string_view login, std::string_view email,
                              std::string_view password, const std::string& address = {});

  // The account whose login (exactly) and password match, unless `address`
  // must wait after too many wrong passwords.
  Authentication Authenticate(std::string_view login, std::string_view password,
                              const std::string& address = {});

  // A new random session id for the user; expired sessions are dropped.
  std::string OpenSession(int64_t userId);
  std::optional<User> FindSession(std::string_view sessionId);
  void DropExpiredSessions();
  // Forgets wrong passwords that have aged out.
  void PruneThrottle();

 private:
  // Checks the password against the account, or against nothing at the
  // same cost when there is no account.
  bool VerifyOrSpend(std::string_view password, const std::optional<PasswordHash>& stored) const;

  Database& database_;
  AccountSettings settings_;
  SignInThrottle throttle_;
};

}  // namespace casavo::service
