// The error box.

#include "ui/error_box.h"

#include <QApplication>
#include <QMessageBox>

namespace casavo {
namespace {

std::function<void(const QString&)>& Presenter() {
  static std::function<void(const QString&)> presenter;
  return presenter;
}

}  // namespace

void ShowErrorBox(const QString& text) {
  if (Presenter()) {
    Presenter()(text);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Casavo"), text);
}

void SetErrorBoxPresenter(std::function<void(const QString& text)> presenter) {
  Presenter() = std::move(presenter);
}

}  // namespace casavo
