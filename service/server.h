// Server and ServerLimits: the HTTP side of casavo-service.

#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "service/protocol.h"
#include "service/web.h"

namespace casavo::service {

constexpr size_t kMaxBodyBytes = 32 * 1024 * 1024;

// What one client can take from the service. Every bound holds before the
// bytes are stored, so that a flood costs the service no more than this.
struct ServerLimits {
  size_t maxBodyBytes = kMaxBodyBytes;        // POST /soft.php
  size_t maxFormBytes = 64 * 1024;            // the gallery's sign-in form
  size_t bodyBudgetBytes = 64 * 1024 * 1024;  // the bodies of all requests held at once
  size_t connectionMemory = 64 * 1024;        // request line and headers of one connection
  unsigned connections = 1000;
  unsigned connectionsPerAddress = 32;  // 0: no limit
  // From the connection, or the end of the previous reply, to the end of the
  // headers; then for the body, one more second for every bodyBytesPerSecond.
  std::chrono::seconds headerTime{10};
  std::chrono::seconds bodyTime{20};
  size_t bodyBytesPerSecond = 8 * 1024;
  std::chrono::seconds idleTime{10};  // a connection that sends and reads nothing
  int requestWorkers = 4;
  // Password hashing runs apart, so that guessers cannot take the workers
  // that everyone else needs.
  int passwordWorkers = 2;
  int passwordJobsPerAddress = 4;
  // A reverse proxy in front (nginx) at this address: its requests carry the
  // client's address in X-Real-IP, and the per-address limits apply to that.
  // The proxy bounds its own connections.
  std::string trustedProxy;
};

// The HTTP side: POST /soft.php goes to the protocol, everything else to the
// web site. One thread waits on every connection; requests run on workers.
class HttpService {
 public:
  explicit HttpService(ServerLimits limits = {});
  ~HttpService();
  HttpService(const HttpService&) = delete;
  HttpService& operator=(const HttpService&) = delete;

  // Binds the listening socket; port 0 picks a free one. Returns the port,
  // or -1 when the address cannot be bound (BindError says why).
  int Bind(const std::string& host, int port);
  const std::string& BindError() const;
  // Runs `job` on a worker when serving starts and then every `period`.
  void SetHousekeeping(std::function<void()> job, std::chrono::seconds period);
  // Serves until Stop; false when the server could not run. The handlers come
  // last because the protocol's download address may name the bound port.
  bool Run(Protocol& protocol, WebSite& site);
  bool IsRunning() const;
  // Safe from another thread.
  void Stop();

 private:
  class Loop;
  std::unique_ptr<Loop> loop_;
};

}  // namespace casavo::service
