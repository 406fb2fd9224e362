// Instance: the parts of one running service, wired together.

#include "service/instance.h"

#include <libxml/parser.h>

#include <filesystem>

namespace casavo::service {
namespace {

constexpr std::chrono::minutes kTidyEvery(10);

std::string StoreLocation(const std::string& dataDir, const std::string& database) {
  return database.empty() ? (std::filesystem::path(dataDir) / "casavo.sqlite").string() : database;
}

// Two services on one SQLite file would each queue their writers apart.
std::unique_ptr<DataFolderLock> LockFor(const std::string& location) {
  const std::string folder = StoreFor(location)->ExclusiveFolder();
  return folder.empty() ? nullptr : std::make_unique<DataFolderLock>(folder);
}

}  // namespace

ServiceInstance::ServiceInstance(const std::string& dataDir, ServerLimits limits,
                                 const std::string& database)
    : lock_(LockFor(StoreLocation(dataDir, database))),
      database_(StoreLocation(dataDir, database)),
      accounts_(database_),
      plans_(database_),
      errors_(database_),
      site_(accounts_, plans_),
      http_(std::move(limits)) {
  // The plan reader's XML parser is set up once, before the workers share it.
  xmlInitParser();
  http_.SetHousekeeping([this] { Tidy(); }, kTidyEvery);
}

bool ServiceInstance::Run(ProtocolSettings settings) {
  protocol_ = std::make_unique<Protocol>(accounts_, plans_, errors_, std::move(settings));
  return http_.Run(*protocol_, site_);
}

void ServiceInstance::Tidy() {
  accounts_.DropExpiredSessions();
  accounts_.PruneThrottle();
  errors_.Tidy();
}

}  // namespace casavo::service
