// The PostgreSQL store: connections through libpq, its schema migrations and the SQL dialect it
// needs.
#include <libpq-fe.h>

#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "service/store/sql.h"

namespace casavo::service {
namespace {

// Each entry upgrades the schema by one version; casavo_schema records how
// many have been applied. Append, never edit, once released.
constexpr std::array<const char*, 1> kMigrations = {
    R"sql(
CREATE TABLE users (
  id BIGSERIAL PRIMARY KEY,
  login TEXT NOT NULL,
  email TEXT NOT NULL,
  pass_salt BYTEA NOT NULL,
  pass_hash BYTEA NOT NULL,
  pass_iterations BIGINT NOT NULL,
  created_at BIGINT NOT NULL
);
CREATE UNIQUE INDEX users_login ON users (lower(login));
CREATE UNIQUE INDEX users_email ON users (lower(email));

CREATE TABLE sessions (
  token_hash TEXT PRIMARY KEY,
  user_id BIGINT NOT NULL REFERENCES users (id) ON DELETE CASCADE,
  created_at BIGINT NOT NULL,
  expires_at BIGINT NOT NULL
);
CREATE INDEX sessions_expiry ON sessions (expires_at);

CREATE TABLE plans (
  id BIGSERIAL PRIMARY KEY,
  plan_key TEXT NOT NULL UNIQUE,
  owner_id BIGINT NOT NULL REFERENCES users (id),
  title TEXT NOT NULL,
  sharing BIGINT NOT NULL CHECK (sharing BETWEEN 0 AND 3),
  created_at BIGINT NOT NULL,
  modified_at BIGINT NOT NULL,
  revision BIGINT NOT NULL,
  stamp TEXT NOT NULL,
  content BYTEA NOT NULL
);
CREATE INDEX plans_owner ON plans (owner_id, modified_at);
CREATE INDEX plans_shared ON plans (sharing, modified_at);

CREATE TABLE previews (
  plan_id BIGINT PRIMARY KEY REFERENCES plans (id) ON DELETE CASCADE,
  png BYTEA NOT NULL,
  width BIGINT NOT NULL,
  height BIGINT NOT NULL,
  stored_at BIGINT NOT NULL
);

CREATE TABLE error_reports (
  id BIGSERIAL PRIMARY KEY,
  user_id BIGINT REFERENCES users (id) ON DELETE SET NULL,
  received_at BIGINT NOT NULL,
  message TEXT NOT NULL,
  address TEXT NOT NULL DEFAULT '',
  size BIGINT NOT NULL DEFAULT 0
);
CREATE INDEX error_reports_address ON error_reports (address, received_at);

CREATE TABLE sign_in_failures (
  address TEXT NOT NULL,
  login TEXT NOT NULL,
  failed_at BIGINT NOT NULL
);
CREATE INDEX sign_in_failures_address ON sign_in_failures (address, failed_at);
CREATE INDEX sign_in_failures_login ON sign_in_failures (login, failed_at);
)sql",
};

// Any number: it names the lock that serialises schema upgrades.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(4242180907)";

// Type oids of the built-in types the service binds and reads.
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25;

[[noreturn]] void Fail(PGconn* conn, const PGresult* result) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  // Class 23: integrity constraint violation.
  const bool constraint = state && std::strncmp(state, "23", 2) == 0;
  std::string message = result ? PQresultErrorMessage(result) : PQerrorMessage(conn);
  while (!message.empty() && message.back() == '\n') message.pop_back();
  throw DbError("PostgreSQL: " + message, constraint);
}

using Result = std::unique_ptr<PGresult, void (*)(PGresult*)>;

Result Check(PGconn* conn, PGresult* raw) {
  Result result(raw, PQclear);
  const auto status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(conn, raw);
  return result;
}

// "?" placeholders become $1, $2, ... (the service's SQL has no "?" inside
// its string literals).
std::string Numbered(std::string_view sql) {
  std::string out;
  int next = 1;
  for (char c : sql) {
    if (c == '?')
      out += "$" + std::to_string(next++);
    else
      out += c;
  }
  return out;
}

uint64_t BigEndian(const char* bytes, int size) {
  uint64_t value = 0;
  for (int i = 0; i < size; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

// Parameters and results travel in binary: texts and bytes as they are,
// integers as 8 big-endian bytes.
class PostgresQuery : public QueryBackend {
 public:
  PostgresQuery(PGconn* conn, std::string_view sql) : conn_(conn), sql_(Numbered(sql)) {}

  void Bind(int index, int64_t value) override {
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i)
      bytes[i] = static_cast<char>((static_cast<uint64_t>(value) >> (56 - 8 * i)) & 0xFF);
    Set(index, kInt8, std::move(bytes));
  }
  void BindText(int index, std::string_view text) override { Set(index, kText, std::string(text)); }
  void BindBlob(int index, std::string_view bytes) override {
    Set(index, kBytea, std::string(bytes));
  }
  void BindNull(int index) override { Set(index, 0, std::nullopt); }

  bool Step() override {
    if (!result_) Execute();
    return ++row_ < PQntuples(result_.get());
  }

  int64_t Int(int column) const override {
    if (IsNull(column)) return 0;
    const char* value = PQgetvalue(result_.get(), row_, column);
    switch (PQftype(result_.get(), column)) {
      case kInt8:
        return static_cast<int64_t>(BigEndian(value, 8));
      case kInt4:
        return static_cast<int32_t>(BigEndian(value, 4));
      case kInt2:
        return static_cast<int16_t>(BigEndian(value, 2));
      case kBool:
        return value[0] != 0;
      default:
        throw DbError("PostgreSQL: column " + std::to_string(column) + " is not an integer", false);
    }
  }
  std::string Text(int column) const override {
    return std::string(PQgetvalue(result_.get(), row_, column),
                       static_cast<size_t>(PQgetlength(result_.get(), row_, column)));
  }
  std::string Blob(int column) const override { return Text(column); }
  bool IsNull(int column) const override { return PQgetisnull(result_.get(), row_, column); }

 private:
  void Set(int index, Oid type, std::optional<std::string> value) {
    const size_t at = static_cast<size_t>(index - 1);
    if (values_.size() <= at) {
      values_.resize(at + 1);
      types_.resize(at + 1, 0);
    }
    values_[at] = std::move(value);
    types_[at] = type;
  }

  void Execute() {
    const size_t count = values_.size();
    std::vector<const char*> pointers(count);
    std::vector<int> lengths(count), formats(count, 1);
    for (size_t i = 0; i < count; ++i) {
      pointers[i] = values_[i] ? values_[i]->data() : nullptr;
      lengths[i] = values_[i] ? static_cast<int>(values_[i]->size()) : 0;
    }
    result_ = Check(conn_, PQexecParams(conn_, sql_.c_str(), static_cast<int>(count), types_.data(),
                                        pointers.data(), lengths.data(), formats.data(), 1));
  }

  PGconn* conn_;
  std::string sql_;
  std::vector<std::optional<std::string>> values_;
  std::vector<Oid> types_;
  Result result_{nullptr, PQclear};
  int row_ = -1;
};

class PostgresDb : public Db {
 public:
  explicit PostgresDb(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
      const std::string message = conn_ ? PQerrorMessage(conn_) : "out of memory";
      PQfinish(conn_);
      throw DbError("cannot connect to PostgreSQL: " + message, false);
    }
    // Texts are UTF-8 inside the service, whatever the server's default.
    PQsetClientEncoding(conn_, "UTF8");
  }
  ~PostgresDb() override { PQfinish(conn_); }
  PostgresDb(const PostgresDb&) = delete;
  PostgresDb& operator=(const PostgresDb&) = delete;

  void Exec(const std::string& sql) override { Check(conn_, PQexec(conn_, sql.c_str())); }
  Query Prepare(std::string_view sql) override {
    return Query(std::make_unique<PostgresQuery>(conn_, sql));
  }
  // Read committed: a conditional UPDATE waits for a concurrent one on the
  // same row and then checks its condition against the row that one left.
  void Begin() override { Exec("BEGIN"); }
  bool Reusable() const override {
    return PQstatus(conn_) == CONNECTION_OK && PQtransactionStatus(conn_) == PQTRANS_IDLE;
  }

 private:
  PGconn* conn_;
};

class Postgres : public StoreKind {
 public:
  explicit Postgres(std::string conninfo) : conninfo_(std::move(conninfo)) {}

  std::unique_ptr<Db> Open() const override { return std::make_unique<PostgresDb>(conninfo_); }

  void Migrate(Db& db) const override {
    DbTransaction transaction(db);
    // Instances that start together take turns; the second finds the work done.
    db.Exec(kMigrationLock);
    db.Exec("CREATE TABLE IF NOT EXISTS casavo_schema (version BIGINT NOT NULL)");
    db.Exec("INSERT INTO casavo_schema SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM casavo_schema)");
    const int version = StoredSchemaVersion(db);
    if (version > SchemaVersion())
      throw std::runtime_error("the database was written by a newer casavo-service (schema " +
                               std::to_string(version) + ")");
    for (int v = version; v < SchemaVersion(); ++v) db.Exec(kMigrations[v]);
    db.Prepare("UPDATE casavo_schema SET version = ?").Bind(1, int64_t{SchemaVersion()}).Run();
    transaction.Commit();
  }

  int SchemaVersion() const override { return static_cast<int>(kMigrations.size()); }
  int StoredSchemaVersion(Db& db) const override {
    auto query = db.Prepare("SELECT version FROM casavo_schema");
    return query.Step() ? static_cast<int>(query.Int(0)) : 0;
  }
  bool OneWriter() const override { return false; }
  void AfterCopy(Db& db) const override {
    for (const char* table : {"users", "plans", "error_reports"})
      db.Exec(std::string("SELECT setval(pg_get_serial_sequence('") + table +
              "', 'id'), COALESCE(MAX(id), 0) + 1, false) FROM " + table);
  }
  std::string ExclusiveFolder() const override { return {}; }

 private:
  std::string conninfo_;
};

}  // namespace

std::unique_ptr<StoreKind> PostgresStore(std::string conninfo) {
  return std::make_unique<Postgres>(std::move(conninfo));
}

}  // namespace casavo::service
