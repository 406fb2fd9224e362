// The real, modal account and save dialogs.

#include "net/modal_net_dialogs.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

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
  QMessageBox box(QMessageBox::Information, QStringLiteral("Casavo"), text, QMessageBox::NoButton,
                  owner_);
  QPushButton* yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
  box.setDefaultButton(box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole));
  box.exec();
  return box.clickedButton() == yes;
}

void ModalNetDialogs::OpenUrl(const QUrl& url) {
  QDesktopServices::openUrl(url);
}

}  // namespace casavo
