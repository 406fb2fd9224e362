// Accounts: creation, password hashing, login, sessions.

#include "service/accounts.h"

#include "service/secrets.h"
#include "service/timefmt.h"
#include "service/utf8.h"

namespace casavo::service {
namespace {

constexpr size_t kSessionBytes = 16;  // 128 bits
constexpr size_t kMaxPasswordBytes = 1024;

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool IsSpace(char32_t c) {
  return c == U' ' || c == 0xA0;
}

struct StoredUser {
  User user;
  PasswordHash password;
};

std::optional<StoredUser> FindByLogin(Db& db, std::string_view login) {
  // No login holds a NUL, and PostgreSQL takes none in a text.
  if (login.find('\0') != std::string_view::npos) return std::nullopt;
  auto query = db.Prepare(
      "SELECT id, login, email, pass_salt, pass_hash, pass_iterations FROM users "
      "WHERE login = ?");
  query.Bind(1, login);
  if (!query.Step()) return std::nullopt;
  return StoredUser{{query.Int(0), query.Text(1), query.Text(2)},
                    {query.Blob(3), query.Blob(4), static_cast<int>(query.Int(5))}};
}

bool LoginExists(Db& db, std::string_view login) {
  auto query = db.Prepare("SELECT 1 FROM users WHERE lower(login) = lower(?)");
  query.Bind(1, login);
  return query.Step();
}

bool EmailExists(Db& db, std::string_view email) {
  auto query = db.Prepare("SELECT 1 FROM users WHERE lower(email) = lower(?)");
  query.Bind(1, email);
  return query.Step();
}

}  // namespace

bool IsValidLogin(std::string_view login) {
  const auto chars = DecodeUtf8(login);
  if (!chars || chars->size() < 4 || chars->size() > 64) return false;
  if (IsSpace(chars->front()) || IsSpace(chars->back())) return false;
  for (char32_t c : *chars)
    if (IsControl(c) || c == U'|') return false;
  return true;
}

bool IsValidEmail(std::string_view email) {
  const auto chars = DecodeUtf8(email);
  if (!chars || chars->size() > 254) return false;
  for (char32_t c : *chars)
    if (IsControl(c) || IsSpace(c) || c == U'|') return false;
  const size_t at = email.find('@');
  if (at == 0 || at == std::string_view::npos || email.find('@', at + 1) != std::string_view::npos)
    return false;
  const std::string_view domain = email.substr(at + 1);
  const size_t dot = domain.find('.');
  return dot != std::string_view::npos && dot > 0 && domain.back() != '.';
}

bool IsValidPassword(std::string_view password) {
  return password.size() >= 8 && password.size() <= kMaxPasswordBytes;
}

Accounts::Accounts(Database& database, AccountSettings settings)
    : database_(database), settings_(settings), throttle_(database, settings.throttle) {}

bool Accounts::VerifyOrSpend(std::string_view password,
                             const std::optional<PasswordHash>& stored) const {
  if (stored) return VerifyPassword(password, *stored);
  VerifyPassword(password, PasswordHash{std::string(16, '\0'), std::string(32, '\0'),
                                        settings_.passwordIterations});
  return false;
}

RegistrationResult Accounts::Register(std::string_view login, std::string_view email,
                                      std::string_view password, const std::string& address) {
  if (!IsValidLogin(login)) return {Registration::kLoginInvalid, std::nullopt};
  if (!IsValidEmail(email)) return {Registration::kEmailInvalid, std::nullopt};
  if (password.size() > kMaxPasswordBytes) return {Registration::kPasswordInvalid, std::nullopt};
  const int64_t now = UnixNow();
  if (const int64_t wait = throttle_.Wait(address, login, now))
    return {Registration::kThrottled, std::nullopt, wait};

  std::optional<StoredUser> existing;
  bool taken = false;
  {
    auto db = database_.Acquire();
    existing = FindByLogin(*db, login);
    taken = existing || LoginExists(*db, login) || EmailExists(*db, email);
  }
  const bool verified =
      VerifyOrSpend(password, existing ? std::optional(existing->password) : std::nullopt);
  if (existing) {
    if (verified && AsciiLower(existing->user.email) == AsciiLower(email))
      return {Registration::kSignedIn, existing->user};
    throttle_.Failed(address, login, now);
  }
  // Checked after the hash: a short password must not answer faster when
  // the login is taken.
  if (!IsValidPassword(password)) return {Registration::kPasswordInvalid, std::nullopt};
  if (taken) return {Registration::kTaken, std::nullopt};

  const PasswordHash hash = HashPassword(password, settings_.passwordIterations);
  auto db = database_.AcquireForWriting();
  int64_t id = 0;
  try {
    auto insert = db->Prepare(
        "INSERT INTO users (login, email, pass_salt, pass_hash, pass_iterations, created_at) "
        "VALUES (?, ?, ?, ?, ?, ?) RETURNING id");
    insert.Bind(1, login).Bind(2, email).BindBlob(3, hash.salt).BindBlob(4, hash.hash);
    insert.Bind(5, int64_t{hash.iterations}).Bind(6, UnixNow());
    if (insert.Step()) id = insert.Int(0);
    insert.Run();
  } catch (const DbError& error) {
    // Someone else took the login or the e-mail since the checks above.
    if (!error.IsConstraint()) throw;
    return {Registration::kTaken, std::nullopt};
  }
  return {Registration::kCreated, User{id, std::string(login), std::string(email)}};
}

Authentication Accounts::Authenticate(std::string_view login, std::string_view password,
                                      const std::string& address) {
  const int64_t now = UnixNow();
  if (const int64_t wait = throttle_.Wait(address, login, now)) return {std::nullopt, wait};
  std::optional<StoredUser> found;
  {
    auto db = database_.Acquire();
    found = FindByLogin(*db, login);
  }
  // An unknown login costs the same time as a real one, so that timing does
  // not tell which logins exist.
  if (VerifyOrSpend(password, found ? std::optional(found->password) : std::nullopt))
    return {found->user};
  throttle_.Failed(address, login, now);
  return {};
}

void Accounts::DropExpiredSessions() {
  auto db = database_.AcquireForWriting();
  db->Prepare("DELETE FROM sessions WHERE expires_at <= ?").Bind(1, UnixNow()).Run();
}

void Accounts::PruneThrottle() {
  throttle_.Prune(UnixNow());
}

std::string Accounts::OpenSession(int64_t userId) {
  std::string sessionId = RandomHex(kSessionBytes);
  const int64_t now = UnixNow();
  DropExpiredSessions();
  auto db = database_.AcquireForWriting();
  // Only a digest is stored: a copy of the database does not hand out sessions.
  db->Prepare(
        "INSERT INTO sessions (token_hash, user_id, created_at, expires_at) "
        "VALUES (?, ?, ?, ?)")
      .Bind(1, Sha256Hex(sessionId))
      .Bind(2, userId)
      .Bind(3, now)
      .Bind(4, now + settings_.sessionSeconds)
      .Run();
  return sessionId;
}

std::optional<User> Accounts::FindSession(std::string_view sessionId) {
  if (sessionId.empty() || sessionId.size() > 128) return std::nullopt;
  auto db = database_.Acquire();
  auto query = db->Prepare(
      "SELECT users.id, users.login, users.email FROM sessions "
      "JOIN users ON users.id = sessions.user_id "
      "WHERE sessions.token_hash = ? AND sessions.expires_at > ?");
  query.Bind(1, Sha256Hex(sessionId)).Bind(2, UnixNow());
  if (!query.Step()) return std::nullopt;
  return User{query.Int(0), query.Text(1), query.Text(2)};
}

}  // namespace casavo::service
