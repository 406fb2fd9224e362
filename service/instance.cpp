// Instance: the parts of one running service, wired together.

#include "service/instance.h"

#include <libxml/parser.h>

#include <filesystem>

namespace casavo::service {
namespace {

constexpr std::chrono::minutes kTidyEvery(10);

}  // namespace

ServiceInstance::ServiceInstance(const std::string& dataDir, ServerLimits limits)
    : lock_(dataDir),
      database_((std::filesystem::path(dataDir) / "casavo.sqlite").string()),
      accounts_(database_),
      plans_(database_),
      errors_(database_),
      site_(accounts_, plans_),
      http_(limits) {
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
