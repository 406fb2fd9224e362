// TfmNetSauverPlan: the online save dialog.

#pragma once

#include <QDialog>
#include <string>

#include "editor/casa.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace casavo {

// "Sauver le plan": the title and sharing level under which a plan is saved.
// Only the plan's creator may change them.
class TfmNetSauverPlan : public QDialog {
  Q_OBJECT

 public:
  // login is the connected user; info is updated only by "&Sauver".
  TfmNetSauverPlan(QWidget* owner, const std::string& login, TPlanInfo& info);

  QLineEdit* eTitre;
  QComboBox* cbPartage;
  QLabel* lExplication;
  QCheckBox* cbNouveau;
  QPushButton* bSauver;
  QPushButton* bAnnuler;

  void eTitreChange();
  void cbPartageChange();
  // Writes the title and sharing level into the plan information and closes.
  void bSauverClick();

 private:
  TPlanInfo& info_;
  QString initialTitle_;
};

}  // namespace casavo
