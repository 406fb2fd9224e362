#pragma once

#include <memory>
#include <string>

#include "service/accounts.h"
#include "service/database.h"
#include "service/error_reports.h"
#include "service/plans.h"
#include "service/protocol.h"
#include "service/server.h"
#include "service/web.h"

namespace casavo::service {

// Everything one casavo-service runs, over the database of one data folder.
class ServiceInstance {
 public:
  // Opens (or creates) the database in the existing folder `dataDir`.
  explicit ServiceInstance(const std::string& dataDir);

  // See HttpService::Bind.
  int Bind(const std::string& host, int port) { return http_.Bind(host, port); }
  // Serves until Stop; false when the server could not run.
  bool Run(ProtocolSettings settings);
  bool IsRunning() const { return http_.IsRunning(); }
  void Stop() { http_.Stop(); }

 private:
  Database database_;
  Accounts accounts_;
  Plans plans_;
  ErrorReports errors_;
  WebSite site_;
  std::unique_ptr<Protocol> protocol_;
  HttpService http_;
};

}  // namespace casavo::service
