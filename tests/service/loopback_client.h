// LoopbackClient: one TCP connection to the service for the tests.

#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace casavo::service::testing {

// One TCP connection to the service from a chosen loopback address
// (127.0.0.0/8), for the requests an ordinary client would never send.
class LoopbackConnection {
 public:
  LoopbackConnection(const std::string& from, int port);
  ~LoopbackConnection();
  LoopbackConnection(const LoopbackConnection&) = delete;
  LoopbackConnection& operator=(const LoopbackConnection&) = delete;

  bool connected() const { return fd_ >= 0; }
  // Sends what the peer takes within a second; false once it no longer does.
  bool Send(std::string_view bytes);
  // Sends `head`, then `piece` up to `times` times, reading all along; stops
  // as soon as an answer or the end of the connection arrives. Returns what
  // was read.
  std::string SendUntilAnswered(std::string_view head, std::string_view piece, int times);
  // Reads until the peer closes or `timeout` passes.
  std::string Read(std::chrono::milliseconds timeout);
  // True when the peer has closed (or reset) the connection.
  bool ClosedByPeer();

 private:
  int fd_ = -1;
  bool closed_ = false;
};

// A whole POST /soft.php exchange from `from`; the raw response.
// `headers`: extra header lines, each ending in CR LF.
std::string PostFrom(const std::string& from, int port, const std::string& body,
                     const std::string& headers = {});

// The highest resident memory of a process so far, in bytes.
long PeakResidentBytes(int pid);
// The time all threads of a process have spent on a processor so far.
std::chrono::nanoseconds ProcessorTime(int pid);

}  // namespace casavo::service::testing
