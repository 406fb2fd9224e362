// TfmNetEnregistrement: the account dialog.

#pragma once

#include <QDialog>

#include "net/net_dialogs.h"
#include "net/transport.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace casavo {

// "Création d'un compte Casavo": user name, e-mail and password, checked
// before the dialog accepts, and a test of the connection to the service.
class TfmNetEnregistrement : public QDialog {
  Q_OBJECT

 public:
  // Opens filled with the entry's three values; the remember box is always
  // unticked at first, even when a password is stored.
  TfmNetEnregistrement(QWidget* owner, ServiceTransport& transport, const AccountEntry& entry);

  // The values typed and the state of the remember box.
  AccountEntry Entry() const;

  QLabel* Image1;
  QLineEdit* eLogin;
  QLineEdit* eEmail;
  QLineEdit* ePass;
  QCheckBox* cbMemorise;
  QLabel* lMemorise;  // why the box is off when no keyring answers
  QPushButton* bOK;
  QPushButton* bAnnuler;
  QPushButton* Button1;

  // "&OK": accepts only when every field passes its check; otherwise shows
  // the first failure and stays open.
  void bOKClick();
  // "Tester la connexion".
  void Button1Click();

 private:
  QString FirstProblem() const;

  ServiceTransport& transport_;
};

}  // namespace casavo
