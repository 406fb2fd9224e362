// Database: the service's one database file, schema up to date.

#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "service/store/sql.h"

namespace casavo::service {

// The service's store, SQLite or PostgreSQL, with its schema brought up to
// date when opened, and a pool of connections so that request threads do not
// share one. Nothing above it knows which store it is.
class Database {
 public:
  // A connection borrowed from the pool; it goes back when the lease ends.
  class Lease {
   public:
    Lease(Database& owner, std::unique_ptr<Db> connection,
          std::unique_lock<std::mutex> writing = {});
    ~Lease();
    Lease(Lease&&) = default;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Db& operator*() const { return *connection_; }
    Db* operator->() const { return connection_.get(); }

   private:
    Database* owner_;
    std::unique_ptr<Db> connection_;
    std::unique_lock<std::mutex> writing_;
  };

  // `location`: "sqlite:PATH", a plain file path, a "postgresql://" URL or a
  // libpq "key=value" connection string. Opens or creates the store and
  // upgrades its schema. Throws DbError, or std::runtime_error for a store
  // written by a newer schema.
  explicit Database(const std::string& location);

  // A connection for reading.
  Lease Acquire();
  // A connection for writing. With SQLite, writers of this process take turns
  // on a mutex rather than on SQLite's lock, whose busy handler sleeps and
  // retries and so lets a waiting save starve for seconds under load.
  Lease AcquireForWriting();
  int SchemaVersion() const { return kind_->SchemaVersion(); }
  const StoreKind& Kind() const { return *kind_; }

 private:
  std::unique_ptr<Db> Take();
  void Release(std::unique_ptr<Db> connection);

  std::unique_ptr<StoreKind> kind_;
  std::mutex writeMutex_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Db>> idle_;
};

// Which store a location names.
std::unique_ptr<StoreKind> StoreFor(const std::string& location);
bool IsPostgresLocation(const std::string& location);

// Copies every account, plan, preview and error report of `from` into the
// empty store `to`, ids and stamps kept. Sessions and wrong-password counts
// are not copied. Throws std::runtime_error when `to` holds accounts already.
struct CopyCounts {
  int64_t users = 0, plans = 0, previews = 0, errorReports = 0;
};
CopyCounts CopyStore(Database& from, Database& to);

}  // namespace casavo::service
