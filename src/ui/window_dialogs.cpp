#include "ui/window_dialogs.h"

#include <QColorDialog>
#include <QMessageBox>

namespace casavo {

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

}  // namespace casavo
