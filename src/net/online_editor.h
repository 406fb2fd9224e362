// OnlineEditor: connection, web view and online plans of the main window.

#pragma once

#include <memory>

#include "net/casa_net.h"
#include "net/net_dialogs.h"
#include "net/online_plans.h"
#include "net/transport.h"
#include "net/web_view.h"
#include "ui/main_window.h"
#include "ui/online_service.h"

namespace casavo {

// The online part of the main window: the connection to the service, the web
// view with its casavo:// links, and the online load and save of plans.
class OnlineEditor : public OnlineService {
 public:
  // The real transport and dialogs.
  explicit OnlineEditor(TForm1& window);
  // For tests, which script the transport and the dialogs.
  OnlineEditor(TForm1& window, std::unique_ptr<ServiceTransport> transport,
               std::unique_ptr<NetDialogs> dialogs);

  QWidget* WebView() override { return web_.View(); }
  void NavigateHome(bool wait) override;
  void LoadPlanCommand() override { plans_.mlChargerPlanClick(); }
  void SavePlanCommand() override { plans_.SauverPlanClick(); }
  QString SignedInUser() const override {
    return net_.Connected ? QString::fromStdString(net_.Login) : QString();
  }

  TWebView& Web() { return web_; }

 private:
  // After each connection: the web view carries the session, so the gallery
  // shows the user's own plans, and the home page greets the user.
  void OnConnect();
  void RunLink(const CasavoLink& link);
  void SetSessionCookie();

  TForm1& window_;
  std::unique_ptr<ServiceTransport> transport_;
  std::unique_ptr<NetDialogs> dialogs_;
  TCasaNet net_;
  TWebView web_;
  OnlinePlans plans_;
};

}  // namespace casavo
