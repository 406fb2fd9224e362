#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/database.h"

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
};

enum class Registration {
  kCreated,
  kSignedIn,  // the account existed with this e-mail and password
  kLoginInvalid,
  kEmailInvalid,
  kPasswordInvalid,
  kLoginTaken,
  kEmailTaken,
};

struct RegistrationResult {
  Registration outcome;
  std::optional<User> user;  // set for kCreated and kSignedIn
};

// Login names: 4 to 64 characters, no control character, no "|" (the field
// separator of plan records), no space at either end.
bool IsValidLogin(std::string_view login);
// Something plausible before and after one "@", with a dot in the domain.
bool IsValidEmail(std::string_view email);
bool IsValidPassword(std::string_view password);

// Accounts, their hashed passwords and their sessions.
class Accounts {
 public:
  Accounts(Database& database, AccountSettings settings = {});

  // A new account. The account dialog says that someone who already has an
  // account types it in again, so the same login, e-mail and password sign in.
  RegistrationResult Register(std::string_view login, std::string_view email,
                              std::string_view password);

  // The account whose login (exactly) and password match.
  std::optional<User> Authenticate(std::string_view login, std::string_view password);

  // A new random session id for the user; expired sessions are dropped.
  std::string OpenSession(int64_t userId);
  std::optional<User> FindSession(std::string_view sessionId);

 private:
  Database& database_;
  AccountSettings settings_;
};

}  // namespace casavo::service
