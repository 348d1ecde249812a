#pragma once
// The one Qt application of a test program that needs Qt but no widgets, on
// Qt's offscreen platform so no display is needed (fonts and timers need it).
#include <QGuiApplication>

namespace quillet::test {

inline QGuiApplication& OffscreenApp() {
  static int argc = 1;
  static char name[] = "quillet_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  return *app;
}

}  // namespace quillet::test
