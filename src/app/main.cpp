#include "ui/application.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  casavo::CasavoApplication app(argc, argv);
  casavo::TForm1 window;
  window.show();
  return app.exec();
}
