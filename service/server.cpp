// The HTTP server over libmicrohttpd: limits, routing, headers.

#include "service/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <microhttpd.h>
#include <netdb.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "service/worker_pool.h"

namespace casavo::service {
namespace {

using Clock = std::chrono::steady_clock;

// Pages carry no script and load nothing from elsewhere.
constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; img-src 'self'; style-src 'unsafe-inline'; form-action 'self'; "
    "base-uri 'none'; frame-ancestors 'none'";
constexpr const char* kProtocolType = "text/plain; charset=windows-1252";
constexpr const char* kHtmlType = "text/html; charset=utf-8";
constexpr auto kSweepEvery = std::chrono::milliseconds(250);

struct Reply {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  bool close = false;  // the rest of the request is not read: end the connection
};

Reply HtmlReply(const HtmlPage& page, bool close = false) {
  return {page.status, kHtmlType, page.html, {}, close};
}

Reply ProtocolAnswer(const ProtocolReply& reply) {
  // Every protocol reply is HTTP 200: the editor drops the body of an HTTP
  // error, and the reply's own status tells success from refusal.
  return {200, kProtocolType, reply.Body(), {}, false};
}

enum class Route { kProtocol, kPage, kSignIn, kNotFound };

Route RouteOf(std::string_view method, std::string_view path) {
  if (method == "POST") {
    if (path == "/soft.php") return Route::kProtocol;
    if (path == "/fr/mesplans") return Route::kSignIn;
    return Route::kNotFound;
  }
  if (method == "GET" || method == "HEAD") return Route::kPage;
  return Route::kNotFound;
}

// "1.2.3.4" or "::1"; an IPv4 client of an IPv6 socket counts as its IPv4
// address, so that it shares the limits of that address.
std::string AddressText(const sockaddr* address) {
  char text[INET6_ADDRSTRLEN] = "";
  if (address && address->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  } else if (address && address->sa_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr))
      inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text, sizeof text);
    else
      inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
  }
  return text;
}

// One TCP connection, for its deadlines.
struct Peer {
  int fd = -1;
  std::string address;
  std::string uri;  // of the request being read, as sent
  Clock::time_point deadline = Clock::time_point::max();
  Clock::time_point bodyStart;
  size_t bodyBytes = 0;
  bool cut = false;
};

// One HTTP request, from its headers to its reply.
struct Request {
  MHD_Connection* connection = nullptr;
  Peer* peer = nullptr;
  Route route = Route::kNotFound;
  std::string method;
  std::string path;
  std::string uri;
  std::string cookie;
  std::string address;
  std::string body;
  size_t limit = 0;
  size_t held = 0;  // body bytes counted against the budget
  bool dispatched = false;
  std::optional<Reply> reply;
};

}  // namespace

class HttpService::Loop {
 public:
  explicit Loop(ServerLimits limits) : limits_(std::move(limits)) {}
  ~Loop() {
    if (listenFd_ >= 0) close(listenFd_);
  }

  int Bind(const std::string& host, int port);
  bool Run(Protocol& protocol, WebSite& site);
  void Stop() {
    stopping_ = true;
    Wake();
  }

  ServerLimits limits_;
  std::string bindError_;
  std::atomic<bool> running_ = false;
  std::function<void()> housekeeping_;
  std::chrono::seconds housekeepingPeriod_{0};

 private:
  static MHD_Result Access(void* self, MHD_Connection* connection, const char* url,
                           const char* method, const char*, const char* upload, size_t* uploadSize,
                           void** context);
  static void* UriSeen(void* self, const char* uri, MHD_Connection* connection);
  static void Completed(void* self, MHD_Connection*, void** context, MHD_RequestTerminationCode);
  static void PeerEvent(void* self, MHD_Connection* connection, void** context,
                        MHD_ConnectionNotificationCode code);

  MHD_Result Begin(MHD_Connection* connection, const char* url, const char* method, void** context);
  MHD_Result Receive(Request& request, const char* data, size_t size);
  MHD_Result Respond(Request& request, const Reply& reply);
  MHD_Result RefuseMidBody(Request& request, int status);
  void Dispatch(Request& request);
  void Serve(Request& request);
  void HandOverToPasswords(Request& request);
  Reply Answer(Request& request);
  void Finish(Request& request, Reply reply);
  void Wake();
  void ResumeFinished();
  void Sweep();
  void RunHousekeeping(Clock::time_point now);

  int listenFd_ = -1;
  int wakeFd_ = -1;
  MHD_Daemon* daemon_ = nullptr;
  Protocol* protocol_ = nullptr;
  WebSite* site_ = nullptr;
  std::atomic<bool> stopping_ = false;
  std::set<Peer*> peers_;
  std::set<Request*> suspended_;
  size_t bodyBytesHeld_ = 0;
  Clock::time_point nextHousekeeping_;
  std::unique_ptr<WorkerPool> requests_;
  std::unique_ptr<WorkerPool> passwords_;

  std::mutex mutex_;  // guards what the workers share with the loop
  std::vector<Request*> finished_;
  std::map<std::string, int> passwordJobs_;
};

int HttpService::Loop::Bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
    bindError_ = "not a numeric address: " + host;
    return -1;
  }
  const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  // SO_REUSEADDR lets a restart bind while old connections linger. Never
  // SO_REUSEPORT: a second service on the port would split the traffic.
  const int on = 1;
  const bool ok = fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
                  bind(fd, found->ai_addr, found->ai_addrlen) == 0 && listen(fd, 128) == 0;
  freeaddrinfo(found);
  if (!ok) {
    bindError_ = std::strerror(errno);
    if (errno == EADDRINUSE) bindError_ += " (is another casavo-service running?)";
    if (fd >= 0) close(fd);
    return -1;
  }
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
  listenFd_ = fd;
  return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                           : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

bool HttpService::Loop::Run(Protocol& protocol, WebSite& site) {
  if (listenFd_ < 0) return false;
  protocol_ = &protocol;
  site_ = &site;
  daemon_ = MHD_start_daemon(
      MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME, 0, nullptr, nullptr, &Loop::Access, this,
      MHD_OPTION_LISTEN_SOCKET, listenFd_, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
      limits_.connectionMemory, MHD_OPTION_CONNECTION_LIMIT, limits_.connections,
      MHD_OPTION_PER_IP_CONNECTION_LIMIT,
      limits_.trustedProxy.empty() ? limits_.connectionsPerAddress : 0u,
      MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(limits_.idleTime.count()),
      MHD_OPTION_URI_LOG_CALLBACK, &Loop::UriSeen, this, MHD_OPTION_NOTIFY_COMPLETED,
      &Loop::Completed, this, MHD_OPTION_NOTIFY_CONNECTION, &Loop::PeerEvent, this, MHD_OPTION_END);
  if (!daemon_) return false;
  listenFd_ = -1;  // the daemon closes it

  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  const int waitFd = epoll_create1(EPOLL_CLOEXEC);
  const int daemonFd = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_EPOLL_FD)->epoll_fd;
  for (const int fd : {wakeFd_, daemonFd}) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    epoll_ctl(waitFd, EPOLL_CTL_ADD, fd, &event);
  }
  requests_ = std::make_unique<WorkerPool>(limits_.requestWorkers);
  passwords_ = std::make_unique<WorkerPool>(limits_.passwordWorkers);
  nextHousekeeping_ = Clock::now();
  running_ = true;

  auto nextSweep = Clock::now();
  while (!stopping_) {
    MHD_UNSIGNED_LONG_LONG daemonWait = 0;
    long long waitMs = std::chrono::duration_cast<std::chrono::milliseconds>(kSweepEvery).count();
    if (MHD_get_timeout(daemon_, &daemonWait) == MHD_YES)
      waitMs = std::min<long long>(waitMs, static_cast<long long>(daemonWait));
    epoll_event events[2];
    epoll_wait(waitFd, events, 2, static_cast<int>(waitMs));
    uint64_t count = 0;
    while (read(wakeFd_, &count, sizeof count) > 0) {
    }
    ResumeFinished();
    MHD_run(daemon_);
    const auto now = Clock::now();
    if (now >= nextSweep) {
      Sweep();
      RunHousekeeping(now);
      nextSweep = now + kSweepEvery;
    }
  }

  running_ = false;
  // No worker may touch a request once the daemon frees it.
  requests_->Stop();
  passwords_->Stop();
  {
    std::lock_guard lock(mutex_);
    finished_.clear();
  }
  // The daemon ends only connections that are not suspended.
  for (Request* request : suspended_) MHD_resume_connection(request->connection);
  suspended_.clear();
  MHD_stop_daemon(daemon_);
  daemon_ = nullptr;
  close(waitFd);
  close(wakeFd_);
  return true;
}

void* HttpService::Loop::UriSeen(void*, const char* uri, MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
  if (info && info->socket_context) static_cast<Peer*>(info->socket_context)->uri = uri;
  return nullptr;
}

void HttpService::Loop::PeerEvent(void* self, MHD_Connection* connection, void** context,
                                  MHD_ConnectionNotificationCode code) {
  auto& loop = *static_cast<Loop*>(self);
  if (code == MHD_CONNECTION_NOTIFY_STARTED) {
    auto* peer = new Peer;
    peer->fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
    peer->address = AddressText(
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS)->client_addr);
    peer->deadline = Clock::now() + loop.limits_.headerTime;
    loop.peers_.insert(peer);
    *context = peer;
  } else if (*context) {
    auto* peer = static_cast<Peer*>(*context);
    loop.peers_.erase(peer);
    delete peer;
    *context = nullptr;
  }
}

MHD_Result HttpService::Loop::Access(void* self, MHD_Connection* connection, const char* url,
                                     const char* method, const char*, const char* upload,
                                     size_t* uploadSize, void** context) {
  auto& loop = *static_cast<Loop*>(self);
  if (!*context) return loop.Begin(connection, url, method, context);
  auto& request = *static_cast<Request*>(*context);
  if (request.reply) return loop.Respond(request, *request.reply);
  if (*uploadSize > 0) {
    const size_t size = *uploadSize;
    *uploadSize = 0;
    return loop.Receive(request, upload, size);
  }
  loop.Dispatch(request);
  return MHD_YES;
}

MHD_Result HttpService::Loop::Begin(MHD_Connection* connection, const char* url, const char* method,
                                    void** context) {
  auto* request = new Request;
  *context = request;
  request->connection = connection;
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
  request->peer = static_cast<Peer*>(info->socket_context);
  request->method = method;
  request->path = url;
  request->uri = request->peer->uri;
  request->address = request->peer->address;
  if (!limits_.trustedProxy.empty() && request->address == limits_.trustedProxy) {
    const char* client = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Real-IP");
    if (client && *client) request->address = client;
  }
  request->route = RouteOf(request->method, request->path);
  if (const char* cookie = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Cookie"))
    request->cookie = cookie;
  if (request->route == Route::kNotFound) return Respond(*request, HtmlReply(ErrorPage(404), true));

  request->limit = request->route == Route::kProtocol ? limits_.maxBodyBytes : limits_.maxFormBytes;
  if (const char* length =
          MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Content-Length")) {
    const unsigned long long declared = std::strtoull(length, nullptr, 10);
    if (declared > request->limit) return Respond(*request, HtmlReply(ErrorPage(413), true));
  }
  Peer& peer = *request->peer;
  peer.bodyStart = Clock::now();
  peer.bodyBytes = 0;
  peer.deadline = peer.bodyStart + limits_.bodyTime;
  return MHD_YES;
}

MHD_Result HttpService::Loop::Receive(Request& request, const char* data, size_t size) {
  if (request.route == Route::kPage) return MHD_YES;  // a GET body is not read
  if (request.body.size() + size > request.limit) return RefuseMidBody(request, 413);
  if (bodyBytesHeld_ + size > limits_.bodyBudgetBytes) return RefuseMidBody(request, 503);
  request.body.append(data, size);
  request.held += size;
  bodyBytesHeld_ += size;
  Peer& peer = *request.peer;
  peer.bodyBytes += size;
  peer.deadline = peer.bodyStart + limits_.bodyTime +
                  std::chrono::seconds(peer.bodyBytes / limits_.bodyBytesPerSecond);
  return MHD_YES;
}

MHD_Result HttpService::Loop::Respond(Request& request, const Reply& reply) {
  MHD_Response* response = MHD_create_response_from_buffer(
      reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
  if (!response) return MHD_NO;
  MHD_add_response_header(response, "Content-Type", reply.contentType.c_str());
  MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
  MHD_add_response_header(response, "Content-Security-Policy", kContentSecurityPolicy);
  MHD_add_response_header(response, "Referrer-Policy", "same-origin");
  for (const auto& [name, value] : reply.headers)
    MHD_add_response_header(response, name.c_str(), value.c_str());
  if (reply.close) MHD_add_response_header(response, "Connection", "close");
  const MHD_Result queued =
      MHD_queue_response(request.connection, static_cast<unsigned>(reply.status), response);
  MHD_destroy_response(response);
  return queued;
}

MHD_Result HttpService::Loop::RefuseMidBody(Request& request, int status) {
  // The daemon takes a reply only before or after the body, and reading the
  // rest of an endless body is what must not happen: the refusal is written
  // straight to the socket, and the daemon then drops the connection.
  const HtmlPage page = ErrorPage(status);
  const std::string reply =
      "HTTP/1.1 " + std::to_string(status) +
      (status == 413 ? " Payload Too Large" : " Service Unavailable") +
      "\r\nContent-Type: " + kHtmlType +
      "\r\nConnection: close\r\nContent-Length: " + std::to_string(page.html.size()) + "\r\n\r\n" +
      page.html;
  [[maybe_unused]] const auto sent =
      send(request.peer->fd, reply.data(), reply.size(), MSG_NOSIGNAL);
  shutdown(request.peer->fd, SHUT_WR);
  return MHD_NO;
}

void HttpService::Loop::Dispatch(Request& request) {
  if (request.dispatched) return;
  request.dispatched = true;
  // The whole request is in: the time it takes now is the service's own.
  request.peer->deadline = Clock::time_point::max();
  MHD_suspend_connection(request.connection);
  suspended_.insert(&request);
  requests_->Post([this, &request] { Serve(request); });
}

void HttpService::Loop::Serve(Request& request) {
  if (request.route == Route::kSignIn ||
      (request.route == Route::kProtocol && NeedsPasswordHash(FormFields(request.body)))) {
    HandOverToPasswords(request);
    return;
  }
  Finish(request, Answer(request));
}

void HttpService::Loop::HandOverToPasswords(Request& request) {
  {
    std::lock_guard lock(mutex_);
    int& pending = passwordJobs_[request.address];
    if (pending < limits_.passwordJobsPerAddress) {
      ++pending;
      passwords_->Post([this, &request] {
        Reply reply = Answer(request);
        {
          std::lock_guard jobLock(mutex_);  // later, on a password thread
          if (--passwordJobs_[request.address] == 0) passwordJobs_.erase(request.address);
        }
        Finish(request, std::move(reply));
      });
      return;
    }
  }
  if (request.route == Route::kProtocol)
    Finish(request, ProtocolAnswer(ProtocolReply::Text("429", kTooManyAttempts)));
  else
    Finish(request, HtmlReply(ErrorPage(429)));
}

Reply HttpService::Loop::Answer(Request& request) {
  try {
    if (request.route == Route::kProtocol)
      return ProtocolAnswer(protocol_->Handle(FormFields(request.body), request.address));
    WebRequest web;
    web.method = request.method == "HEAD" ? "GET" : request.method;
    web.path = request.path;
    const size_t question = request.uri.find('?');
    if (question != std::string::npos) web.query = FormFields(request.uri.substr(question + 1));
    if (request.method == "POST") web.form = FormFields(request.body);
    web.sessionCookie = CookieValue(request.cookie, kSessionCookie);
    web.clientAddress = request.address;
    WebResponse answer = site_->Handle(web);
    return {answer.status, answer.contentType, std::move(answer.body), std::move(answer.headers),
            false};
  } catch (const std::exception& e) {
    std::cerr << "casavo-service: " << request.method << " " << request.path << ": " << e.what()
              << "\n";
    return HtmlReply(ErrorPage(500));
  }
}

void HttpService::Loop::Finish(Request& request, Reply reply) {
  request.reply = std::move(reply);
  {
    std::lock_guard lock(mutex_);
    finished_.push_back(&request);
  }
  Wake();
}

void HttpService::Loop::Wake() {
  const uint64_t one = 1;
  if (wakeFd_ >= 0) [[maybe_unused]]
    const auto ignored = write(wakeFd_, &one, sizeof one);
}

void HttpService::Loop::ResumeFinished() {
  std::vector<Request*> finished;
  {
    std::lock_guard lock(mutex_);
    finished.swap(finished_);
  }
  for (Request* request : finished) {
    // The reply holds what is kept; the body is no longer needed.
    bodyBytesHeld_ -= request->held;
    request->held = 0;
    std::string().swap(request->body);
    suspended_.erase(request);
    MHD_resume_connection(request->connection);
  }
}

void HttpService::Loop::Completed(void* self, MHD_Connection*, void** context,
                                  MHD_RequestTerminationCode) {
  auto* request = static_cast<Request*>(*context);
  if (!request) return;
  auto& loop = *static_cast<Loop*>(self);
  loop.bodyBytesHeld_ -= request->held;
  // The next request of a kept-alive connection has its own header time.
  if (loop.peers_.count(request->peer))
    request->peer->deadline = Clock::now() + loop.limits_.headerTime;
  delete request;
  *context = nullptr;
}

void HttpService::Loop::Sweep() {
  const auto now = Clock::now();
  for (Peer* peer : peers_) {
    if (peer->cut || now < peer->deadline) continue;
    // Too slow: the daemon sees the connection end and drops it.
    shutdown(peer->fd, SHUT_RDWR);
    peer->cut = true;
  }
}

void HttpService::Loop::RunHousekeeping(Clock::time_point now) {
  if (!housekeeping_ || now < nextHousekeeping_) return;
  nextHousekeeping_ = now + housekeepingPeriod_;
  requests_->Post([job = housekeeping_] {
    try {
      job();
    } catch (const std::exception& e) {
      std::cerr << "casavo-service: housekeeping: " << e.what() << "\n";
    }
  });
}

HttpService::HttpService(ServerLimits limits) : loop_(std::make_unique<Loop>(std::move(limits))) {}

HttpService::~HttpService() = default;

int HttpService::Bind(const std::string& host, int port) {
  return loop_->Bind(host, port);
}

const std::string& HttpService::BindError() const {
  return loop_->bindError_;
}

void HttpService::SetHousekeeping(std::function<void()> job, std::chrono::seconds period) {
  loop_->housekeeping_ = std::move(job);
  loop_->housekeepingPeriod_ = period;
}

bool HttpService::Run(Protocol& protocol, WebSite& site) {
  return loop_->Run(protocol, site);
}

bool HttpService::IsRunning() const {
  return loop_->running_;
}

void HttpService::Stop() {
  loop_->Stop();
}

}  // namespace casavo::service
