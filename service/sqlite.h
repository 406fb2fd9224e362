// A thin C++ layer over SQLite: connection, statement, transaction.

#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace casavo::service {

// A failed SQLite call; `code` is the extended result code.
class SqliteError : public std::runtime_error {
 public:
  SqliteError(int rc, const std::string& what) : std::runtime_error(what), code(rc) {}
  bool IsConstraint() const { return (code & 0xFF) == SQLITE_CONSTRAINT; }
  int code;
};

class Statement;

// One open database connection. Not shared between threads at the same time.
class Connection {
 public:
  explicit Connection(const std::string& path);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs SQL without parameters (pragmas, schema, transaction control).
  void Exec(const std::string& sql);
  Statement Prepare(std::string_view sql);
  int64_t LastInsertId() const;
  int Changes() const;
  sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement. Parameters are 1-based, columns 0-based, as in SQLite.
class Statement {
 public:
  Statement(Connection& connection, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  Statement& BindBlob(int index, std::string_view bytes);
  Statement& BindNull(int index);

  // Advances to the next row; false when there is none left.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();

  int64_t Int(int column) const;
  std::string Text(int column) const;
  std::string Blob(int column) const;
  bool IsNull(int column) const;

 private:
  void Check(int rc) const;

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT; rolls back when left without Commit (an exception).
// IMMEDIATE takes the write lock at once, so a read-then-write sequence inside
// it cannot be interleaved with another writer.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

}  // namespace casavo::service
