// The SQLite store: the embedded default, its schema migrations and the SQL dialect it needs.
#include <array>
#include <filesystem>

#include "service/sqlite.h"
#include "service/store/sql.h"

namespace casavo::service {
namespace {

// Each entry upgrades the schema by one version; PRAGMA user_version records
// how many have been applied. Append, never edit, once released.
constexpr std::array<const char*, 3> kMigrations = {
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
    // Wrong passwords are counted in the store, where every instance sees
    // them; logins and e-mails are compared with lower(), as PostgreSQL does.
    R"sql(
CREATE TABLE sign_in_failures (
  address TEXT NOT NULL,
  login TEXT NOT NULL,
  failed_at INTEGER NOT NULL
);
CREATE INDEX sign_in_failures_address ON sign_in_failures (address, failed_at);
CREATE INDEX sign_in_failures_login ON sign_in_failures (login, failed_at);
CREATE INDEX users_login_lower ON users (lower(login));
CREATE INDEX users_email_lower ON users (lower(email));
)sql",
};

DbError Translate(const SqliteError& error) {
  return DbError(error.what(), error.IsConstraint());
}

class SqliteQuery : public QueryBackend {
 public:
  SqliteQuery(Connection& connection, std::string_view sql) : statement_(Make(connection, sql)) {}

  void Bind(int index, int64_t value) override {
    Wrap([&] { statement_.Bind(index, value); });
  }
  void BindText(int index, std::string_view text) override {
    Wrap([&] { statement_.Bind(index, text); });
  }
  void BindBlob(int index, std::string_view bytes) override {
    Wrap([&] { statement_.BindBlob(index, bytes); });
  }
  void BindNull(int index) override {
    Wrap([&] { statement_.BindNull(index); });
  }
  bool Step() override {
    bool row = false;
    Wrap([&] { row = statement_.Step(); });
    return row;
  }
  int64_t Int(int column) const override { return statement_.Int(column); }
  std::string Text(int column) const override { return statement_.Text(column); }
  std::string Blob(int column) const override { return statement_.Blob(column); }
  bool IsNull(int column) const override { return statement_.IsNull(column); }

 private:
  static Statement Make(Connection& connection, std::string_view sql) {
    try {
      return connection.Prepare(sql);
    } catch (const SqliteError& error) {
      throw Translate(error);
    }
  }
  template <class F>
  static void Wrap(F f) {
    try {
      f();
    } catch (const SqliteError& error) {
      throw Translate(error);
    }
  }

  Statement statement_;
};

class SqliteDb : public Db {
 public:
  explicit SqliteDb(const std::string& path) try : connection_(path) {
  } catch (const SqliteError& error) {
    throw Translate(error);
  }

  void Exec(const std::string& sql) override {
    try {
      connection_.Exec(sql);
    } catch (const SqliteError& error) {
      throw Translate(error);
    }
  }
  Query Prepare(std::string_view sql) override {
    return Query(std::make_unique<SqliteQuery>(connection_, sql));
  }
  // IMMEDIATE takes the write lock at once, so a read-then-write sequence
  // inside it cannot be interleaved with another writer.
  void Begin() override { Exec("BEGIN IMMEDIATE"); }
  bool Reusable() const override { return sqlite3_get_autocommit(connection_.Handle()) != 0; }
  Connection& connection() { return connection_; }

 private:
  Connection connection_;
};

class Sqlite : public StoreKind {
 public:
  explicit Sqlite(std::string path) : path_(std::move(path)) {}

  std::unique_ptr<Db> Open() const override {
    auto db = std::make_unique<SqliteDb>(path_);
    sqlite3_busy_timeout(db->connection().Handle(), 10000);
    db->Exec("PRAGMA foreign_keys = ON");
    // A saved plan must survive a power cut once the client was told "OK".
    db->Exec("PRAGMA synchronous = FULL");
    return db;
  }

  void Migrate(Db& db) const override {
    // WAL lets the pages read while a plan is being saved; the mode is stored
    // in the file, so setting it once is enough.
    db.Exec("PRAGMA journal_mode = WAL");
    DbTransaction transaction(db);
    const int version = StoredSchemaVersion(db);
    if (version > SchemaVersion())
      throw std::runtime_error("the database was written by a newer casavo-service (schema " +
                               std::to_string(version) + ")");
    for (int v = version; v < SchemaVersion(); ++v) db.Exec(kMigrations[v]);
    db.Exec("PRAGMA user_version = " + std::to_string(SchemaVersion()));
    transaction.Commit();
  }

  int SchemaVersion() const override { return static_cast<int>(kMigrations.size()); }
  int StoredSchemaVersion(Db& db) const override {
    auto query = db.Prepare("PRAGMA user_version");
    return query.Step() ? static_cast<int>(query.Int(0)) : 0;
  }
  bool OneWriter() const override { return true; }
  void AfterCopy(Db&) const override {}
  std::string ExclusiveFolder() const override {
    const auto folder = std::filesystem::path(path_).parent_path();
    return folder.empty() ? "." : folder.string();
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<StoreKind> SqliteStore(std::string path) {
  return std::make_unique<Sqlite>(std::move(path));
}

}  // namespace casavo::service
