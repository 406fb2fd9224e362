#include "net/modal_net_dialogs.h"

#include <QDesktopServices>
#include <QMessageBox>

#include "net/fm_net_enregistrement.h"
#include "net/fm_net_sauver_plan.h"

namespace casavo {

bool ModalNetDialogs::Account(AccountEntry& entry) {
  TfmNetEnregistrement dialog(owner_, transport_, entry);
  if (dialog.exec() != QDialog::Accepted) return false;
  entry = dialog.Entry();
  return true;
}

bool ModalNetDialogs::SavePlan(const std::string& login, TPlanInfo& info) {
  TfmNetSauverPlan dialog(owner_, login, info);
  return dialog.exec() == QDialog::Accepted;
}

bool ModalNetDialogs::AskYesNo(const QString& text) {
  return QMessageBox::information(owner_, QStringLiteral("Casavo"), text,
                                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void ModalNetDialogs::OpenUrl(const QUrl& url) {
  QDesktopServices::openUrl(url);
}

}  // namespace casavo
