// CasavoApplication: an exception out of an event becomes an error box.

#include "ui/application.h"

#include <exception>

#include "ui/error_box.h"

namespace casavo {

CasavoApplication::CasavoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CasavoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowErrorBox(QStringLiteral("Erreur inattendue."));
  }
  return true;
}

}  // namespace casavo
