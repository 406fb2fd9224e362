// The real key state and yes/no box behind the editor's seams.

#include "editor/editor_seams.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace casavo {

bool SystemKeyState::ShiftHeld() const {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool SystemKeyState::CtrlHeld() const {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool SystemKeyState::AltHeld() const {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

bool MessageBoxDialogs::AskYesNo(const QString& text) {
  return QMessageBox::information(owner_, QStringLiteral("Casavo"), text,
                                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace casavo
