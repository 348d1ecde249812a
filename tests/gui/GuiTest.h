#pragma once
// Shared pieces of the window tests: the offscreen application, scripted
// file dialogs, and a window on a temporary program folder.
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTextCursor>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/window/DocumentViews.h"
#include "app/window/MainWindow.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"
#include "tests/support/qt/WidgetApp.h"

namespace quillet::test {

// The one application of the test program, on Qt's offscreen platform so no
// display is needed.
inline QApplication& App() { return WidgetApp(); }

// Runs action on the next modal window once it is shown (the code under test
// then sits in its exec()).
inline void OnNextModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(0);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(w);
    }
  });
  timer->start();
}

inline constexpr char kSaveQuestion[] = "Html has been changed, Save Html now?";

// Types text at the end of a window's editor, as a keystroke would insert it.
inline void TypeInto(MainWindow& f, const QString& text) {
  QTextCursor c = f.sourceView->textCursor();
  c.movePosition(QTextCursor::End);
  f.sourceView->setTextCursor(c);
  f.sourceView->textCursor().insertText(text);
}

// A window on a temporary program folder with the scripted Ui and dialogs.
struct WindowFixture {
  TempDir Dir;
  TestContext T{Dir.Path() + "/"};
  ScriptedDialogs Dialogs;
  std::unique_ptr<MainWindow> Form;
  int SettingsWrites = 0;
  std::vector<std::string> HelpShown;

  WindowFixture() {
    App();
    T.Ctx.Config.Left = 216;
    T.Ctx.Config.Top = 131;
    T.Ctx.Config.Height = 321;
    T.Ctx.Config.Width = 411;
  }
  // Creates the window (its creation handler runs now) and shows it.
  MainWindow& Create() {
    Form = std::make_unique<MainWindow>(T.Ctx, Dialogs);
    Form->WriteSettings = [this](Context&) { ++SettingsWrites; };
    Form->ShowHelpPage = [this](const std::string& file) {
      HelpShown.push_back(file);
      return true;
    };
    Form->show();
    return *Form;
  }
  Context& Ctx() { return T.Ctx; }
  ScriptedUi& UI() { return T.UI; }
  // The window's menu item or tool button of that objectName.
  QAction& Item(const char* name) {
    QAction* a = Form->Action(QString::fromLatin1(name));
    if (!a) throw std::logic_error(std::string("no action ") + name);
    return *a;
  }
  // Lets a big document fill the source view in, piece by piece; false if
  // it never does.
  bool SourceFilled() {
    for (int i = 0; i < 100000 && !Form->Source().Filled(); ++i) QApplication::processEvents();
    return Form->Source().Filled();
  }
  // A key pressed in a widget of the window, made the active one so that
  // the window's shortcuts apply as they do for a user.
  void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QApplication::setActiveWindow(Form.get());
    w->setFocus();
    QTest::keyClick(w, key, modifiers);
  }
  std::string File(const std::string& rel) const { return Dir / rel; }
  void TypeAtEnd(const QString& text) { TypeInto(*Form, text); }
  void ShowSource() {
    if (!Form->Action("viewSourceAction")->isChecked()) Form->Action("viewSourceAction")->trigger();
  }
};

}  // namespace quillet::test
