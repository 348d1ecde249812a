#pragma once
// The one QApplication of a test program that makes widgets, on Qt's
// offscreen platform so no display is needed.
#include <QApplication>
#include <cstdio>

namespace quillet::test {

inline QApplication& WidgetApp() {
  static int argc = 1;
  static char name[] = "quillet_widget_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns of what it cannot do with windows (size
    // hints, raising, grabbing the keyboard for a menu).
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& msg) {
      if (!msg.contains(QLatin1String("propagateSizeHints")) &&
          !msg.startsWith(QLatin1String("This plugin does not support")))
        fprintf(stderr, "%s\n", qPrintable(msg));
    });
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace quillet::test
