#include "service/server.h"

#include <iostream>

namespace casavo::service {
namespace {

// Enough workers for the editor, its web view and a few browsers; each keeps
// its connection alive for a few seconds.
constexpr size_t kWorkerThreads = 16;

// Pages carry no script and load nothing from elsewhere.
constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; img-src 'self'; style-src 'unsafe-inline'; form-action 'self'; "
    "base-uri 'none'; frame-ancestors 'none'";

void SetHtml(httplib::Response& response, const HtmlPage& page) {
  response.status = page.status;
  response.set_content(page.html, "text/html; charset=utf-8");
}

}  // namespace

HttpService::HttpService() {
  server_.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
  server_.set_payload_max_length(kMaxBodyBytes);
  // Replies are small and written in pieces: do not let Nagle hold them back.
  server_.set_tcp_nodelay(true);
  server_.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                               {"Content-Security-Policy", kContentSecurityPolicy},
                               {"Referrer-Policy", "same-origin"}});
  server_.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.body.empty()) SetHtml(response, ErrorPage(response.status));
  });
  server_.set_exception_handler(
      [](const httplib::Request& request, httplib::Response& response, std::exception_ptr error) {
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& e) {
          std::cerr << "casavo-service: " << request.method << " " << request.path << ": "
                    << e.what() << "\n";
        } catch (...) {
          std::cerr << "casavo-service: " << request.method << " " << request.path
                    << ": unknown error\n";
        }
        SetHtml(response, ErrorPage(500));
      });
}

int HttpService::Bind(const std::string& host, int port) {
  if (port == 0) return server_.bind_to_any_port(host);
  return server_.bind_to_port(host, port) ? port : -1;
}

bool HttpService::Run(Protocol& protocol, WebSite& site) {
  protocol_ = &protocol;
  site_ = &site;
  server_.Post("/soft.php", [this](const httplib::Request& request, httplib::Response& response,
                                   const httplib::ContentReader& reader) {
    ServeProtocol(request, response, reader);
  });
  const auto web = [this](const httplib::Request& request, httplib::Response& response) {
    ServeWeb(request, response);
  };
  server_.Get(".*", web);
  server_.Post("/fr/mesplans", web);
  return server_.listen_after_bind();
}

void HttpService::Stop() {
  server_.stop();
}

void HttpService::ServeProtocol(const httplib::Request&, httplib::Response& response,
                                const httplib::ContentReader& reader) {
  std::string body;
  bool tooLarge = false;
  const bool complete = reader([&](const char* data, size_t size) {
    tooLarge = body.size() + size > kMaxBodyBytes;
    if (!tooLarge) body.append(data, size);
    return !tooLarge;
  });
  if (tooLarge || response.status == 413) {
    response.status = 413;
    return;
  }
  if (!complete) {
    response.status = 400;
    return;
  }
  // Every protocol reply is HTTP 200: the editor drops the body of an HTTP
  // error, and the reply's own status tells success from refusal.
  const ProtocolReply reply = protocol_->Handle(FormFields(body));
  response.status = 200;
  response.set_content(reply.Body(), "text/plain; charset=windows-1252");
}

void HttpService::ServeWeb(const httplib::Request& request, httplib::Response& response) {
  WebRequest web;
  web.method = request.method;
  web.path = request.path;
  const size_t question = request.target.find('?');
  if (question != std::string::npos) web.query = FormFields(request.target.substr(question + 1));
  if (request.method == "POST") web.form = FormFields(request.body);
  web.sessionCookie = CookieValue(request.get_header_value("Cookie"), kSessionCookie);

  const WebResponse reply = site_->Handle(web);
  response.status = reply.status;
  for (const auto& [name, value] : reply.headers) response.set_header(name, value);
  response.set_content(reply.body, reply.contentType);
}

}  // namespace casavo::service
