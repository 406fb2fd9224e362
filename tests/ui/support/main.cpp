// main() of the window tests, inside casavo's application object.

#include <gtest/gtest.h>

#include "ui/application.h"

// The window tests run inside casavo's own application object, so that they
// see what it does with an exception that escapes a handler. They never need
// a screen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  casavo::CasavoApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
