// The SQLite schema and its upgrades, one version at a time.

#include "service/database.h"

#include <array>
#include <stdexcept>

namespace casavo::service {
namespace {

// Each entry upgrades the schema by one version; PRAGMA user_version records
// how many have been applied. Append, never edit, once released.
constexpr std::array<const char*, 2> kMigrations = {
    R"sql(
CREATE TABLE users (
  id INTEGER PRIMARY KEY,
  login TEXT NOT NULL,
  email TEXT NOT NULL,
  pass_salt BLOB NOT NULL,
  pass_hash BLOB NOT NULL,
  pass_iterations INTEGER NOT NULL,
  created_at INTEGER NOT NULL
);
CREATE UNIQUE INDEX users_login ON users (login COLLATE NOCASE);
CREATE UNIQUE INDEX users_email ON users (email COLLATE NOCASE);

CREATE TABLE sessions (
  token_hash TEXT PRIMARY KEY,
  user_id INTEGER NOT NULL REFERENCES users (id) ON DELETE CASCADE,
  created_at INTEGER NOT NULL,
  expires_at INTEGER NOT NULL
);
CREATE INDEX sessions_expiry ON sessions (expires_at);

CREATE TABLE plans (
  id INTEGER PRIMARY KEY,
  plan_key TEXT NOT NULL UNIQUE,
  owner_id INTEGER NOT NULL REFERENCES users (id),
  title TEXT NOT NULL,
  sharing INTEGER NOT NULL CHECK (sharing BETWEEN 0 AND 3),
  created_at INTEGER NOT NULL,
  modified_at INTEGER NOT NULL,
  revision INTEGER NOT NULL,
  stamp TEXT NOT NULL,
  content BLOB NOT NULL
);
CREATE INDEX plans_owner ON plans (owner_id, modified_at);
CREATE INDEX plans_shared ON plans (sharing, modified_at);

CREATE TABLE previews (
  plan_id INTEGER PRIMARY KEY REFERENCES plans (id) ON DELETE CASCADE,
  png BLOB NOT NULL,
  width INTEGER NOT NULL,
  height INTEGER NOT NULL,
  stored_at INTEGER NOT NULL
);

CREATE TABLE error_reports (
  id INTEGER PRIMARY KEY,
  user_id INTEGER REFERENCES users (id) ON DELETE SET NULL,
  received_at INTEGER NOT NULL,
  message TEXT NOT NULL
);
)sql",
    // Error reports are bounded per sending address and by their total size.
    R"sql(
ALTER TABLE error_reports ADD COLUMN address TEXT NOT NULL DEFAULT '';
ALTER TABLE error_reports ADD COLUMN size INTEGER NOT NULL DEFAULT 0;
UPDATE error_reports SET size = length(CAST(message AS BLOB));
CREATE INDEX error_reports_address ON error_reports (address, received_at);
)sql",
};

int UserVersion(Connection& connection) {
  auto statement = connection.Prepare("PRAGMA user_version");
  return statement.Step() ? static_cast<int>(statement.Int(0)) : 0;
}

void Migrate(Connection& connection) {
  Transaction transaction(connection);
  const int version = UserVersion(connection);
  if (version > Database::SchemaVersion())
    throw std::runtime_error("the database was written by a newer casavo-service (schema " +
                             std::to_string(version) + ")");
  for (int v = version; v < Database::SchemaVersion(); ++v) connection.Exec(kMigrations[v]);
  connection.Exec("PRAGMA user_version = " + std::to_string(Database::SchemaVersion()));
  transaction.Commit();
}

}  // namespace

Database::Lease::Lease(Database& owner, std::unique_ptr<Connection> connection,
                       std::unique_lock<std::mutex> writing)
    : owner_(&owner), connection_(std::move(connection)), writing_(std::move(writing)) {}

Database::Lease::~Lease() {
  if (connection_) owner_->Release(std::move(connection_));
}

Database::Database(std::string path) : path_(std::move(path)) {
  auto first = Open();
  // WAL lets the pages read while a plan is being saved; the mode is stored in
  // the file, so setting it once is enough.
  first->Exec("PRAGMA journal_mode = WAL");
  Migrate(*first);
  idle_.push_back(std::move(first));
}

int Database::SchemaVersion() {
  return static_cast<int>(kMigrations.size());
}

std::unique_ptr<Connection> Database::Open() const {
  auto connection = std::make_unique<Connection>(path_);
  sqlite3_busy_timeout(connection->Handle(), 10000);
  connection->Exec("PRAGMA foreign_keys = ON");
  // A saved plan must survive a power cut once the client was told "OK".
  connection->Exec("PRAGMA synchronous = FULL");
  return connection;
}

std::unique_ptr<Connection> Database::Take() {
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      return connection;
    }
  }
  return Open();
}

Database::Lease Database::Acquire() {
  return Lease(*this, Take());
}

Database::Lease Database::AcquireForWriting() {
  std::unique_lock writing(writeMutex_);
  return Lease(*this, Take(), std::move(writing));
}

void Database::Release(std::unique_ptr<Connection> connection) {
  std::lock_guard lock(mutex_);
  idle_.push_back(std::move(connection));
}

}  // namespace casavo::service
