// The SQL layer under the stores: one query and transaction interface over SQLite and
// PostgreSQL, with the dialect differences named in one place.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace casavo::service {

// A failed call to the store. `constraint`: a unique or foreign key refused
// the write, which callers may expect (a login taken meanwhile).
class DbError : public std::runtime_error {
 public:
  DbError(const std::string& what, bool constraint)
      : std::runtime_error(what), constraint_(constraint) {}
  bool IsConstraint() const { return constraint_; }

 private:
  bool constraint_;
};

// What one store does for a prepared statement; Query is its handle.
class QueryBackend {
 public:
  virtual ~QueryBackend() = default;
  virtual void Bind(int index, int64_t value) = 0;
  virtual void BindText(int index, std::string_view text) = 0;
  virtual void BindBlob(int index, std::string_view bytes) = 0;
  virtual void BindNull(int index) = 0;
  virtual bool Step() = 0;
  virtual int64_t Int(int column) const = 0;
  virtual std::string Text(int column) const = 0;
  virtual std::string Blob(int column) const = 0;
  virtual bool IsNull(int column) const = 0;
};

// A statement with "?" parameters, 1-based, and 0-based columns.
class Query {
 public:
  explicit Query(std::unique_ptr<QueryBackend> backend) : backend_(std::move(backend)) {}

  Query& Bind(int index, int64_t value) {
    backend_->Bind(index, value);
    return *this;
  }
  Query& Bind(int index, std::string_view text) {
    backend_->BindText(index, text);
    return *this;
  }
  Query& BindBlob(int index, std::string_view bytes) {
    backend_->BindBlob(index, bytes);
    return *this;
  }
  Query& BindNull(int index) {
    backend_->BindNull(index);
    return *this;
  }

  // Advances to the next row; false when there is none left.
  bool Step() { return backend_->Step(); }
  // Runs a statement whose rows are not wanted.
  void Run() {
    while (Step()) {
    }
  }

  int64_t Int(int column) const { return backend_->Int(column); }
  std::string Text(int column) const { return backend_->Text(column); }
  std::string Blob(int column) const { return backend_->Blob(column); }
  bool IsNull(int column) const { return backend_->IsNull(column); }

 private:
  std::unique_ptr<QueryBackend> backend_;
};

// One connection to a store, used by one thread at a time. The service's SQL
// is written once, in the part of the language SQLite and PostgreSQL share
// (with "?" parameters and RETURNING); only the schemas differ.
class Db {
 public:
  virtual ~Db() = default;
  // Runs SQL without parameters (schema, transaction control).
  virtual void Exec(const std::string& sql) = 0;
  virtual Query Prepare(std::string_view sql) = 0;
  // Starts a transaction that is going to write.
  virtual void Begin() = 0;
  // False when the connection can no longer be lent out (lost, or left in a
  // transaction).
  virtual bool Reusable() const = 0;
};

// Begin ... Commit; rolled back when left without Commit (an exception).
class DbTransaction {
 public:
  explicit DbTransaction(Db& db) : db_(db) { db_.Begin(); }
  ~DbTransaction() {
    if (done_) return;
    try {
      db_.Exec("ROLLBACK");
    } catch (const DbError&) {
      // Already gone: the store rolled it back on the error.
    }
  }
  DbTransaction(const DbTransaction&) = delete;
  DbTransaction& operator=(const DbTransaction&) = delete;
  void Commit() {
    db_.Exec("COMMIT");
    done_ = true;
  }

 private:
  Db& db_;
  bool done_ = false;
};

// One kind of store: how to reach it and bring its schema up to date.
class StoreKind {
 public:
  virtual ~StoreKind() = default;
  virtual std::unique_ptr<Db> Open() const = 0;
  // Applies the missing schema versions; safe when several services start
  // at once. Throws std::runtime_error for a schema newer than this program.
  virtual void Migrate(Db& db) const = 0;
  virtual int SchemaVersion() const = 0;
  virtual int StoredSchemaVersion(Db& db) const = 0;
  // SQLite has one writer at a time: its writers queue in the process rather
  // than on the file lock.
  virtual bool OneWriter() const = 0;
  // After rows were copied in with their ids, new rows must get higher ones.
  virtual void AfterCopy(Db& db) const = 0;
  // The folder two services must not share; empty when they may.
  virtual std::string ExclusiveFolder() const = 0;
};

std::unique_ptr<StoreKind> SqliteStore(std::string path);
std::unique_ptr<StoreKind> PostgresStore(std::string conninfo);

}  // namespace casavo::service
