// main() of the net tests: the casavo:// scheme registered first.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "net/casavo_scheme.h"
#include "ui/application.h"

// The net tests run the real web view: like the program, they register the
// casavo scheme and share OpenGL contexts before the application exists.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  ::testing::InitGoogleTest(&argc, argv);
  casavo::RegisterCasavoScheme();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  casavo::CasavoApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
