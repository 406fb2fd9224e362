#pragma once

#include <httplib.h>

#include <string>

#include "service/protocol.h"
#include "service/web.h"

namespace casavo::service {

constexpr size_t kMaxBodyBytes = 32 * 1024 * 1024;

// The HTTP side: POST /soft.php goes to the protocol, everything else to the
// web site.
class HttpService {
 public:
  HttpService();

  // Binds the listening socket; port 0 picks a free one. Returns the port,
  // or -1 when the address cannot be bound.
  int Bind(const std::string& host, int port);
  // Serves until Stop; false when the server could not run. The handlers come
  // last because the protocol's download address may name the bound port.
  bool Run(Protocol& protocol, WebSite& site);
  bool IsRunning() const { return server_.is_running(); }
  // Safe from another thread.
  void Stop();

 private:
  void ServeProtocol(const httplib::Request& request, httplib::Response& response,
                     const httplib::ContentReader& reader);
  void ServeWeb(const httplib::Request& request, httplib::Response& response);

  Protocol* protocol_ = nullptr;
  WebSite* site_ = nullptr;
  httplib::Server server_;
};

}  // namespace casavo::service
