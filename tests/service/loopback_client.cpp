// LoopbackClient: raw HTTP from a chosen loopback address.

#include "loopback_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace casavo::service::testing {

LoopbackConnection::LoopbackConnection(const std::string& from, int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, from.c_str(), &local.sin_addr);
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
  // Loopback only: the source must lie in 127.0.0.0/8.
  if (fd < 0 || (ntohl(local.sin_addr.s_addr) >> 24) != 127 ||
      bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
    if (fd >= 0) close(fd);
    return;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  fd_ = fd;
}

LoopbackConnection::~LoopbackConnection() {
  if (fd_ >= 0) close(fd_);
}

bool LoopbackConnection::Send(std::string_view bytes) {
  while (!bytes.empty() && !closed_) {
    pollfd p{fd_, POLLOUT, 0};
    if (poll(&p, 1, 1000) <= 0) return false;
    const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) {
      closed_ = true;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return !closed_;
}

std::string LoopbackConnection::SendUntilAnswered(std::string_view head, std::string_view piece,
                                                  int times) {
  std::string answer;
  std::string_view pending = head;
  int sent = 0;
  while (!closed_ && answer.empty()) {
    if (pending.empty() && sent < times) {
      pending = piece;
      ++sent;
    }
    pollfd p{fd_, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
    if (poll(&p, 1, 5000) <= 0) break;
    if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
      answer += Read(std::chrono::milliseconds(500));
      break;
    }
    const ssize_t n = send(fd_, pending.data(), pending.size(), MSG_NOSIGNAL);
    if (n <= 0) break;
    pending.remove_prefix(static_cast<size_t>(n));
  }
  return answer + Read(std::chrono::milliseconds(200));
}

std::string LoopbackConnection::Read(std::chrono::milliseconds timeout) {
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!closed_ && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char buffer[65536];
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) {
      closed_ = true;
      break;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

bool LoopbackConnection::ClosedByPeer() {
  Read(std::chrono::milliseconds(0));
  if (closed_) return true;
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, 0) > 0) Read(std::chrono::milliseconds(10));
  return closed_;
}

std::string PostFrom(const std::string& from, int port, const std::string& body,
                     const std::string& headers) {
  LoopbackConnection connection(from, port);
  connection.Send("POST /soft.php HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + headers +
                  "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body);
  return connection.Read(std::chrono::seconds(30));
}

long PeakResidentBytes(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6)) * 1024;
  return -1;
}

}  // namespace casavo::service::testing

namespace casavo::service::testing {

std::chrono::nanoseconds ProcessorTime(int pid) {
  long long total = 0;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream schedstat(task.path() / "schedstat");
    long long onProcessor = 0;
    if (schedstat >> onProcessor) total += onProcessor;
  }
  return std::chrono::nanoseconds(total);
}

}  // namespace casavo::service::testing
