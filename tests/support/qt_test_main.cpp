// main() of the widget tests: the offscreen platform by default.

#include <gtest/gtest.h>
#include <QApplication>

// Widget tests never need a screen: default to the offscreen platform so that
// the test binary also runs outside ctest (and during test discovery).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
