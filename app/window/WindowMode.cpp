#include "app/window/WindowMode.h"

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/window/InputBox.h"
#include "app/window/Splash.h"
#include "app/window/MainWindow.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtUi.h"

namespace quillet {

int RunWindow(Context& ctx, int argc, char** argv, const std::string& openFile, WindowStart start) {
  // Qt aborts the process when it finds no display; say what to do instead.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::cerr << "quillet: there is no display to show the window on (DISPLAY is not set).\n"
                 "Run a batch command instead, for example: quillet urls2html FOLDER FILE.htm"
              << std::endl;
    return 1;
  }
  QApplication app(argc, argv);
  QtUi ui(AskText);
  QtDialogs dialogs;
  Ui* const previousUi = ctx.Services.UI;
  ctx.Services.UI = &ui;

  int status = 0;
  {
    // Shown and painted at once, so it is on screen while the window is built;
    // gone again also when building fails.
    auto splash = std::make_unique<TSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/quillet.png")));
    std::unique_ptr<MainWindow> form;
    try {
      form = std::make_unique<MainWindow>(ctx, dialogs);
    } catch (const std::exception& e) {
      splash.reset();
      ui.ShowError(e.what());
      ctx.Services.UI = previousUi;
      return 1;
    }
    dialogs.SetOwner(form.get());
    splash->hide();
    splash.reset();

    form->show();
    if (!openFile.empty()) form->OpenFromCommandLine(openFile);
    if (start == WindowStart::Organize) form->Action(QStringLiteral("organizeViewAction"))->trigger();
    status = QApplication::exec();
  }
  ctx.Services.UI = previousUi;
  return status;
}

}  // namespace quillet
