// Web: the browser's requests (pages, login, previews) answered.

#include "service/web.h"

#include <charconv>
#include <optional>

#include "service/utf8.h"

namespace casavo::service {
namespace {

constexpr int kPlansPerPage = 60;
constexpr std::string_view kPreviewPrefix = "/apercu/";
constexpr std::string_view kPreviewSuffix = ".png";

WebResponse Html(const HtmlPage& page) {
  return {page.status, "text/html; charset=utf-8", page.html, {}};
}

std::optional<int64_t> ParseId(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
    return std::nullopt;
  return value;
}

}  // namespace

WebSite::WebSite(Accounts& accounts, Plans& plans) : accounts_(accounts), plans_(plans) {}

WebResponse WebSite::Handle(const WebRequest& request) {
  std::optional<User> visitor;
  if (!request.sessionCookie.empty()) visitor = accounts_.FindSession(request.sessionCookie);
  const User* known = visitor ? &*visitor : nullptr;
  const std::string& path = request.path;

  if (request.method == "POST")
    return path == "/fr/mesplans" ? SignIn(request) : Html(ErrorPage(404));
  if (path == "/" || path == "/soft.php") {
    const std::string action = request.query.GetOr("action");
    if (action == "voir_plan") return PlanView(request, known);
    if (action == "site_accueil" || (path == "/" && action.empty()))
      return Html(HomePage(BrowserTextToUtf8(request.query.GetOr("email"))));
    return Html(ErrorPage(404));
  }
  if (path == "/fr/mesplans") return Gallery(request, known, {});
  if (path == "/fr/aide") return Html(HelpPage());
  if (path == "/fr/telecharger") return Html(DownloadPage());
  if (path.starts_with(kPreviewPrefix)) return Preview(path, known);
  return Html(ErrorPage(404));
}

WebResponse WebSite::Gallery(const WebRequest& request, const User* visitor,
                             std::string loginError) {
  GalleryView view;
  view.visitor = visitor;
  view.loginError = std::move(loginError);
  const auto page = ParseId(request.query.GetOr("page"));
  view.page = page && *page < 100000 ? static_cast<int>(*page) : 0;
  if (visitor) view.own = plans_.OwnedBy(visitor->id);
  // One more than a page tells whether a next page exists.
  view.shared = plans_.SharedByOthers(visitor ? visitor->id : 0, view.page * kPlansPerPage,
                                      kPlansPerPage + 1);
  view.hasNextPage = view.shared.size() > static_cast<size_t>(kPlansPerPage);
  if (view.hasNextPage) view.shared.pop_back();
  return Html(GalleryPage(view));
}

WebResponse WebSite::SignIn(const WebRequest& request) {
  const Authentication signIn =
      accounts_.Authenticate(BrowserTextToUtf8(request.form.GetOr("login")),
                             BrowserTextToUtf8(request.form.GetOr("pass")), request.clientAddress);
  if (signIn.waitSeconds > 0)
    return Gallery(request, nullptr,
                   "Trop de mots de passe erronés. Réessayez dans " +
                       std::to_string((signIn.waitSeconds + 59) / 60) + " minute(s).");
  if (!signIn.user) return Gallery(request, nullptr, "Pseudo ou mot de passe incorrect.");
  const std::string sessionId = accounts_.OpenSession(signIn.user->id);
  // Post, redirect, get: reloading the gallery does not post the form again.
  return {303,
          "text/plain; charset=utf-8",
          "",
          {{"Location", "/fr/mesplans"},
           {"Set-Cookie",
            std::string(kSessionCookie) + "=" + sessionId + "; Path=/; HttpOnly; SameSite=Lax"}}};
}

WebResponse WebSite::PlanView(const WebRequest& request, const User* visitor) {
  const auto id = ParseId(request.query.GetOr("planid"));
  const auto plan = id ? plans_.FindById(*id) : std::nullopt;
  if (!plan || !MayView(*plan, visitor)) return Html(PlanNotFoundPage());
  return Html(PlanPage(*plan, visitor));
}

WebResponse WebSite::Preview(const std::string& path, const User* visitor) {
  if (!path.ends_with(kPreviewSuffix)) return Html(ErrorPage(404));
  const std::string key = path.substr(kPreviewPrefix.size(),
                                      path.size() - kPreviewPrefix.size() - kPreviewSuffix.size());
  const auto plan = plans_.FindByKey(key);
  const auto image = plan && MayView(*plan, visitor) ? plans_.Preview(plan->id) : std::nullopt;
  if (!image) return Html(ErrorPage(404));
  // A new save replaces the picture under the same address.
  return {200, "image/png", image->png, {{"Cache-Control", "no-cache"}}};
}

}  // namespace casavo::service
