// Instance: everything one casavo-service runs over one data folder.

#pragma once

#include <memory>
#include <string>

#include "service/accounts.h"
#include "service/data_lock.h"
#include "service/database.h"
#include "service/error_reports.h"
#include "service/plans.h"
#include "service/protocol.h"
#include "service/server.h"
#include "service/web.h"

namespace casavo::service {

// Everything one casavo-service runs, over one store.
class ServiceInstance {
 public:
  // Opens or creates the store at `database` (see Database), by default the
  // SQLite file of the existing folder `dataDir`. A SQLite store's folder is
  // locked first (throws when another service holds it); PostgreSQL is
  // shared by as many instances as wanted.
  explicit ServiceInstance(const std::string& dataDir, ServerLimits limits = {},
                           const std::string& database = {});

  // See HttpService::Bind.
  int Bind(const std::string& host, int port) { return http_.Bind(host, port); }
  const std::string& BindError() const { return http_.BindError(); }
  // Serves until Stop; false when the server could not run.
  bool Run(ProtocolSettings settings);
  bool IsRunning() const { return http_.IsRunning(); }
  void Stop() { http_.Stop(); }

 private:
  // Expired sessions, aged wrong passwords and reports over their bounds.
  void Tidy();

  std::unique_ptr<DataFolderLock> lock_;
  Database database_;
  Accounts accounts_;
  Plans plans_;
  ErrorReports errors_;
  WebSite site_;
  std::unique_ptr<Protocol> protocol_;
  HttpService http_;
};

}  // namespace casavo::service
