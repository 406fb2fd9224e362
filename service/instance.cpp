#include "service/instance.h"

#include <filesystem>

namespace casavo::service {

ServiceInstance::ServiceInstance(const std::string& dataDir)
    : database_((std::filesystem::path(dataDir) / "casavo.sqlite").string()),
      accounts_(database_),
      plans_(database_),
      errors_(database_),
      site_(accounts_, plans_) {}

bool ServiceInstance::Run(ProtocolSettings settings) {
  protocol_ = std::make_unique<Protocol>(accounts_, plans_, errors_, std::move(settings));
  return http_.Run(*protocol_, site_);
}

}  // namespace casavo::service
