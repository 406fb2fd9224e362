// OnlineEditor: the main window's online part.

#include "net/online_editor.h"

#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "files/settings.h"
#include "net/endpoint.h"
#include "net/http_transport.h"
#include "net/modal_net_dialogs.h"

namespace casavo {

OnlineEditor::OnlineEditor(TForm1& window) : OnlineEditor(window, nullptr, nullptr) {}

OnlineEditor::OnlineEditor(TForm1& window, std::unique_ptr<ServiceTransport> transport,
                           std::unique_ptr<NetDialogs> dialogs)
    : window_(window),
      transport_(transport ? std::move(transport) : std::make_unique<HttpTransport>()),
      dialogs_(dialogs ? std::move(dialogs)
                       : std::make_unique<ModalNetDialogs>(&window, *transport_)),
      net_(*transport_, *dialogs_),
      web_([this](const CasavoLink& link) { RunLink(link); }),
      plans_(window, net_, web_) {
  net_.OnConnect = [this] { OnConnect(); };
}

void OnlineEditor::NavigateHome(bool wait) {
  web_.NavigateTo(ServiceUrl(QStringLiteral("/soft.php?action=site_accueil&email=") +
                             QueryValue(ReadSetting("EMail"))),
                  wait);
}

void OnlineEditor::OnConnect() {
  SetSessionCookie();
  NavigateHome(true);
}

void OnlineEditor::SetSessionCookie() {
  QNetworkCookie cookie("casavo_session", QByteArray::fromStdString(net_.UserId));
  cookie.setPath(QStringLiteral("/"));
  cookie.setHttpOnly(true);
  const QUrl service(ServiceEndpoint());
  web_.Page()->profile()->cookieStore()->setCookie(cookie, service);
}

void OnlineEditor::RunLink(const CasavoLink& link) {
  if (link.command == QLatin1String("open")) {
    if (!link.argument.isEmpty()) plans_.OpenLink(link.argument.toStdString());
  } else if (link.command == QLatin1String("editeur")) {
    window_.ShowEditor();
  }
}

}  // namespace casavo
