// Database: the service's one database file, schema up to date.

#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "service/sqlite.h"

namespace casavo::service {

// The service's one database file, with its schema brought up to date when
// opened, and a pool of connections so that request threads do not share one.
class Database {
 public:
  // A connection borrowed from the pool; it goes back when the lease ends.
  class Lease {
   public:
    Lease(Database& owner, std::unique_ptr<Connection> connection,
          std::unique_lock<std::mutex> writing = {});
    ~Lease();
    Lease(Lease&&) = default;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Connection& operator*() const { return *connection_; }
    Connection* operator->() const { return connection_.get(); }

   private:
    Database* owner_;
    std::unique_ptr<Connection> connection_;
    std::unique_lock<std::mutex> writing_;
  };

  // Opens or creates the file and upgrades its schema. Throws SqliteError, or
  // std::runtime_error for a file written by a newer schema.
  explicit Database(std::string path);

  // A connection for reading.
  Lease Acquire();
  // A connection for writing. Writers of this process take turns on a mutex
  // rather than on SQLite's lock, whose busy handler sleeps and retries and
  // so lets a waiting save starve for seconds under load.
  Lease AcquireForWriting();
  static int SchemaVersion();

 private:
  std::unique_ptr<Connection> Open() const;
  std::unique_ptr<Connection> Take();
  void Release(std::unique_ptr<Connection> connection);

  std::string path_;
  std::mutex writeMutex_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace casavo::service
