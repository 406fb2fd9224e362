// Web: the service's pages for browsers and its session cookie.

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "service/accounts.h"
#include "service/form.h"
#include "service/pages.h"
#include "service/plans.h"

namespace casavo::service {

// The session cookie: the editor puts the session id of its connection
// there, and the gallery's sign-in form sets it.
constexpr const char* kSessionCookie = "casavo_session";

struct WebRequest {
  std::string method;  // "GET" or "POST"
  std::string path;
  FormFields query;
  FormFields form;            // a POST body
  std::string sessionCookie;  // value of kSessionCookie, or empty
  std::string clientAddress;  // whose wrong passwords count together
};

struct WebResponse {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

// The pages a browser asks for: home, gallery, plan page, previews, help.
class WebSite {
 public:
  WebSite(Accounts& accounts, Plans& plans);
  WebResponse Handle(const WebRequest& request);

 private:
  WebResponse Gallery(const WebRequest& request, const User* visitor, std::string loginError);
  WebResponse SignIn(const WebRequest& request);
  WebResponse PlanView(const WebRequest& request, const User* visitor);
  WebResponse Preview(const std::string& path, const User* visitor);

  Accounts& accounts_;
  Plans& plans_;
};

}  // namespace casavo::service
