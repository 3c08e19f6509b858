// The one Qt application of the chart_qt test program (offscreen in ctest):
// widget tests need a QApplication, canvas tests only its fonts and palette.
#pragma once

#include <QApplication>

namespace zp::chart::testing {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "chart_qt_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit Qt's own globals (input devices the mouse
  // tests created) would otherwise outlive the application they belong to.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace zp::chart::testing
