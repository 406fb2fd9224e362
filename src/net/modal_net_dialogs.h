// ModalNetDialogs: NetDialogs shown as modal dialogs.

#pragma once

#include "net/net_dialogs.h"
#include "net/transport.h"

class QWidget;

namespace casavo {

// The real dialogs, modal over the owner window.
class ModalNetDialogs final : public NetDialogs {
 public:
  ModalNetDialogs(QWidget* owner, ServiceTransport& transport)
      : owner_(owner), transport_(transport) {}

  bool Account(AccountEntry& entry) override;
  bool SavePlan(const std::string& login, TPlanInfo& info) override;
  bool AskYesNo(const QString& text) override;
  void OpenUrl(const QUrl& url) override;

 private:
  QWidget* owner_;
  ServiceTransport& transport_;
};

}  // namespace casavo
