// Connection, Statement and Transaction over the SQLite C API.

#include "service/sqlite.h"

namespace casavo::service {
namespace {

[[noreturn]] void Fail(sqlite3* db, int rc) {
  const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw SqliteError(db ? sqlite3_extended_errcode(db) : rc, message);
}

}  // namespace

Connection::Connection(const std::string& path) {
  const int rc =
      sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const SqliteError error(rc, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    sqlite3_close(db_);
    throw error;
  }
  sqlite3_extended_result_codes(db_, 1);
}

Connection::~Connection() {
  sqlite3_close(db_);
}

void Connection::Exec(const std::string& sql) {
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(db_, rc);
}

Statement Connection::Prepare(std::string_view sql) {
  return Statement(*this, sql);
}

int64_t Connection::LastInsertId() const {
  return sqlite3_last_insert_rowid(db_);
}

int Connection::Changes() const {
  return sqlite3_changes(db_);
}

Statement::Statement(Connection& connection, std::string_view sql) : db_(connection.Handle()) {
  Check(sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr));
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
  other.stmt_ = nullptr;
}

void Statement::Check(int rc) const {
  if (rc != SQLITE_OK) Fail(db_, rc);
}

Statement& Statement::Bind(int index, int64_t value) {
  Check(sqlite3_bind_int64(stmt_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  Check(sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
  return *this;
}

Statement& Statement::BindBlob(int index, std::string_view bytes) {
  // A zero-length blob must still be a blob, not NULL.
  static const char kEmpty = 0;
  Check(sqlite3_bind_blob64(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(), bytes.size(),
                            SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::BindNull(int index) {
  Check(sqlite3_bind_null(stmt_, index));
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_, rc);
}

void Statement::Run() {
  while (Step()) {
  }
}

int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text),
                            static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string();
}

std::string Statement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  return data ? std::string(static_cast<const char*>(data),
                            static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string();
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.Exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (!done_) {
    try {
      connection_.Exec("ROLLBACK");
    } catch (const SqliteError&) {
      // The transaction may already be gone (SQLite rolls back on some errors).
    }
  }
}

void Transaction::Commit() {
  connection_.Exec("COMMIT");
  done_ = true;
}

}  // namespace casavo::service
