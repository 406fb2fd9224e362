// TWebView and CasavoWebPage: the web view over the editor.

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

#include "net/casavo_scheme.h"
#include "net/page_navigator.h"

namespace casavo {

// A page that asks its owner before every navigation.
class CasavoWebPage : public QWebEnginePage {
  Q_OBJECT

 public:
  // Called with the address and the page that shows now; false cancels.
  using Filter = std::function<bool(const QUrl& address, const QUrl& from, bool mainFrame)>;

  CasavoWebPage(QObject* parent, Filter filter);
  void ClearFilter() { filter_ = nullptr; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  Filter filter_;
};

// The embedded web view: loads the service's pages, tells when a page is
// complete, and turns the service's casavo:// links into editor commands.
class TWebView : public PageNavigator {
 public:
  // Runs a link's command after its navigation was cancelled.
  using LinkHandler = std::function<void(const CasavoLink& link)>;

  explicit TWebView(LinkHandler onLink);
  ~TWebView() override;
  TWebView(const TWebView&) = delete;
  TWebView& operator=(const TWebView&) = delete;

  // The widget; whoever places it in a window owns it from then on.
  QWebEngineView* View() const { return view_; }
  CasavoWebPage* Page() const { return page_; }
  bool PageComplete() const { return pageComplete_; }

  void NavigateTo(const QUrl& address, bool wait) override;

  // The navigation filter: false for every casavo:// address.
  bool BeforeNavigate(const QUrl& address, const QUrl& from, bool mainFrame);
  // Says in French that the service cannot be reached and that the editor
  // still works; shown when a service page fails to connect.
  void ShowOfflinePage();

 private:
  LinkHandler onLink_;
  // Ends the page's notifications to this controller when it goes.
  QObject context_;
  QPointer<QWebEngineView> view_;
  QPointer<CasavoWebPage> page_;
  bool pageComplete_ = false;
};

}  // namespace casavo
