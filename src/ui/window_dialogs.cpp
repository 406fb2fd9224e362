// The real file and message dialogs of the main window.

#include "ui/window_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace casavo {
namespace {

const QString kPlanFilter = QStringLiteral("Plans Casavo (*.plan)");

QString StartFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

}  // namespace

bool SystemWindowDialogs::AskYesNo(const QString& text) {
  return QMessageBox::information(owner_, QStringLiteral("Casavo"), text,
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::Yes) == QMessageBox::Yes;
}

std::optional<QColor> SystemWindowDialogs::PickColour(const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, owner_);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

SaveChoice SystemWindowDialogs::AskSaveChanges(const QString& name) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Casavo"),
                  QStringLiteral("Enregistrer les modifications de « %1 » ?").arg(name),
                  QMessageBox::NoButton, owner_);
  box.setInformativeText(
      QStringLiteral("Si vous n'enregistrez pas, les modifications seront perdues."));
  QPushButton* save = box.addButton(QStringLiteral("Enregistrer"), QMessageBox::AcceptRole);
  QPushButton* discard =
      box.addButton(QStringLiteral("Ne pas enregistrer"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return SaveChoice::Save;
  if (box.clickedButton() == discard) return SaveChoice::Discard;
  return SaveChoice::Cancel;
}

QString SystemWindowDialogs::AskOpenFileName() {
  return QFileDialog::getOpenFileName(owner_, QStringLiteral("Ouvrir un plan"), StartFolder(),
                                      kPlanFilter);
}

QString SystemWindowDialogs::AskSaveFileName(const QString& suggested) {
  const QString start = suggested.contains(QLatin1Char('/'))
                            ? suggested
                            : StartFolder() + QLatin1Char('/') + suggested;
  return QFileDialog::getSaveFileName(owner_, QStringLiteral("Enregistrer le plan"), start,
                                      kPlanFilter);
}

void SystemWindowDialogs::ShowError(const QString& text) {
  QMessageBox::warning(owner_, QStringLiteral("Casavo"), text);
}

}  // namespace casavo
