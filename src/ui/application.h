// CasavoApplication: the application object of casavo.

#pragma once

#include <QApplication>

namespace casavo {

// The application object of casavo: an exception that escapes an event
// handler is shown in an error box instead of ending the program, and the
// event loop goes on with the next event.
class CasavoApplication : public QApplication {
  Q_OBJECT

 public:
  CasavoApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace casavo
