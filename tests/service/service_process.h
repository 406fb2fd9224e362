// ServiceProcess: a running casavo-service for a test.

#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace casavo::service::testing {

// A running casavo-service started with the given arguments. The constructor
// waits for its "listening on" line; the destructor stops it.
class ServiceProcess {
 public:
  explicit ServiceProcess(const std::vector<std::string>& args,
                          const std::vector<std::string>& extraEnv = {});
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  const std::string& host() const { return host_; }
  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  // Sends the signal and returns the exit status (-1 when killed or hung).
  int Stop(int signal);

 private:
  pid_t pid_ = -1;
  std::string host_;
  int port_ = 0;
};

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs casavo-service to its end (for option errors and --help).
RunResult RunService(const std::vector<std::string>& args);

}  // namespace casavo::service::testing
