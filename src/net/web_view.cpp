// TWebView: the embedded web view and its navigation guard.

#include "net/web_view.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineLoadingInfo>

#include "net/endpoint.h"

namespace casavo {
namespace {

constexpr int kPollMs = 200;
constexpr int kWaitLimitMs = 3000;

// Our own page for a service that cannot be reached, instead of the engine's.
const QUrl kOfflinePage(QStringLiteral("qrc:/net/hors_ligne.html"));

bool ServiceUnreachable(const QWebEngineLoadingInfo& info) {
  return info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
         info.errorDomain() == QWebEngineLoadingInfo::ConnectionErrorDomain &&
         IsServicePage(info.url());
}

}  // namespace

CasavoWebPage::CasavoWebPage(QObject* parent, Filter filter)
    : QWebEnginePage(parent), filter_(std::move(filter)) {}

bool CasavoWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  return !filter_ || filter_(url, this->url(), isMainFrame);
}

TWebView::TWebView(LinkHandler onLink) : onLink_(std::move(onLink)), view_(new QWebEngineView) {
  page_ = new CasavoWebPage(view_, [this](const QUrl& address, const QUrl& from, bool mainFrame) {
    return BeforeNavigate(address, from, mainFrame);
  });
  view_->setPage(page_);
  InstallCasavoSchemeHandler(page_->profile());
  QObject::connect(page_, &QWebEnginePage::loadFinished, &context_,
                   [this](bool) { pageComplete_ = true; });
  QObject::connect(page_, &QWebEnginePage::loadingChanged, &context_,
                   [this](const QWebEngineLoadingInfo& info) {
                     if (ServiceUnreachable(info)) ShowOfflinePage();
                   });
}

void TWebView::ShowOfflinePage() {
  view_->load(kOfflinePage);
}

TWebView::~TWebView() {
  // The window may keep the view a little longer than this controller.
  if (page_) page_->ClearFilter();
  if (view_ && !view_->parent()) delete view_;
}

void TWebView::NavigateTo(const QUrl& address, bool wait) {
  pageComplete_ = false;
  view_->load(address);
  if (!wait) return;
  QElapsedTimer elapsed;
  elapsed.start();
  while (!pageComplete_ && elapsed.elapsed() < kWaitLimitMs) {
    // Waits one poll period with the user interface alive; a completed page
    // ends the wait at once.
    QEventLoop poll;
    QTimer::singleShot(kPollMs, &poll, &QEventLoop::quit);
    const auto done =
        QObject::connect(page_, &QWebEnginePage::loadFinished, &poll, &QEventLoop::quit);
    poll.exec();
    QObject::disconnect(done);
  }
}

bool TWebView::BeforeNavigate(const QUrl& address, const QUrl& from, bool mainFrame) {
  if (!IsCasavoLink(address)) {
    if (mainFrame) pageComplete_ = false;
    return true;
  }
  // Only the service's own pages may drive the editor.
  const auto link = ParseCasavoLink(address);
  if (link && (IsServicePage(from) || from == kOfflinePage)) {
    // The command may wait for the service and open dialogs: it runs once the
    // web engine is done with this navigation request.
    QTimer::singleShot(0, &context_, [this, command = *link] { onLink_(command); });
  }
  return false;
}

}  // namespace casavo
