// The message boxes of the Qt Ui, the input box, the About box, the splash,
// the cool bar and the file dialogs' filters.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QScreen>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "app/window/About.h"
#include "app/window/InputBox.h"
#include "app/window/RealCoolBar.h"
#include "app/window/Splash.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtUi.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

class SmallWindows : public ::testing::Test {
 protected:
  SmallWindows() { App(); }
  QtUi Ui{AskText};
};

QMessageBox* AsBox(QWidget* w) { return qobject_cast<QMessageBox*>(w); }

TEST_F(SmallWindows, TheQuestionIsAConfirmBoxWithYesAndNo) {
  QString title, text;
  QMessageBox::Icon icon{};
  int buttons = 0;
  OnNextModal([&](QWidget* w) {
    QMessageBox* box = AsBox(w);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(Ui.Ask("Replace it?"), Answer::No);
  EXPECT_EQ(title.toStdString(), "Confirm");
  EXPECT_EQ(text.toStdString(), "Replace it?");
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(buttons, 2);

  OnNextModal([](QWidget* w) { AsBox(w)->button(QMessageBox::Yes)->click(); });
  EXPECT_EQ(Ui.Ask("Replace it?"), Answer::Yes);
}

TEST_F(SmallWindows, ClosingTheQuestionWithoutAnAnswerIsDismissed) {
  OnNextModal([](QWidget* w) { w->close(); });
  EXPECT_EQ(Ui.Ask("Replace it?"), Answer::Dismissed);
  OnNextModal([](QWidget* w) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
  });
  EXPECT_EQ(Ui.Ask("Replace it?"), Answer::Dismissed);
}

TEST_F(SmallWindows, TheQuestionWithCancelHasItsOwnTitleAndOnlyYesOrNoAnswer) {
  const auto press = [](QMessageBox::StandardButton b) {
    return [b](QWidget* w) { AsBox(w)->button(b)->click(); };
  };
  const auto escape = [](QWidget* w) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
  };
  const std::pair<std::function<void(QWidget*)>, Answer> rows[] = {
      {press(QMessageBox::Yes), Answer::Yes},         {press(QMessageBox::No), Answer::No},
      {press(QMessageBox::Cancel), Answer::Dismissed}, {escape, Answer::Dismissed},
      {[](QWidget* w) { w->close(); }, Answer::Dismissed},
  };
  for (const auto& [act, answer] : rows) {
    QString title;
    int buttons = 0;
    QMessageBox::StandardButton byDefault{};
    OnNextModal([&](QWidget* w) {
      title = w->windowTitle();
      buttons = static_cast<int>(AsBox(w)->buttons().size());
      byDefault = AsBox(w)->standardButton(AsBox(w)->defaultButton());
      act(w);
    });
    EXPECT_EQ(Ui.AskOrCancel("Save now?", "a.htm - Quillet"), answer);
    EXPECT_EQ(title.toStdString(), "a.htm - Quillet");
    EXPECT_EQ(buttons, 3);
    EXPECT_EQ(byDefault, QMessageBox::Yes);
  }
}

TEST_F(SmallWindows, APlainBoxHasTheApplicationTitleNoIconAndOk) {
  QString title;
  QMessageBox::Icon icon{};
  OnNextModal([&](QWidget* w) {
    title = w->windowTitle();
    icon = AsBox(w)->icon();
    EXPECT_NE(AsBox(w)->button(QMessageBox::Ok), nullptr);
    AsBox(w)->button(QMessageBox::Ok)->click();
  });
  Ui.ShowMessage("There is nothing to save.");
  EXPECT_EQ(title.toStdString(), "Quillet");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
}

TEST_F(SmallWindows, TheErrorBoxAddsAPeriodAfterAWordButNotAfterPunctuation) {
  QString text;
  QMessageBox::Icon icon{};
  OnNextModal([&](QWidget* w) {
    text = AsBox(w)->text();
    icon = AsBox(w)->icon();
    w->close();
  });
  Ui.ShowError("Cannot open file /tmp/a.htm");
  EXPECT_EQ(text.toStdString(), "Cannot open file /tmp/a.htm.");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Really?"), "Really?.");  // '?' is above '.'
  EXPECT_EQ(ErrorBoxText("(no name)"), "(no name)");  // ')' is below '.'
  EXPECT_EQ(ErrorBoxText("caf\xC3\xA9"), "caf\xC3\xA9.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

TEST_F(SmallWindows, TheBusyCursorNests) {
  Ui.BeginBusy();
  Ui.BeginBusy();
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Ui.EndBusy();
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  Ui.EndBusy();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SmallWindows, AskTextReturnsTheTextOnlyAfterOk) {
  QString caption, prompt;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<TfrmInputBox*>(w);
    caption = box->windowTitle();
    prompt = box->lblPrompt->text();
    EXPECT_EQ(box->edtEntry->text().toStdString(), "ann");
    box->edtEntry->setText(QStringLiteral("bob"));
    box->bbtnOK->click();
  });
  EXPECT_EQ(Ui.AskText("Netscape", "User name:", "ann"), "bob");
  EXPECT_EQ(caption.toStdString(), "Netscape");
  EXPECT_EQ(prompt.toStdString(), "User name:");

  OnNextModal([](QWidget* w) { qobject_cast<TfrmInputBox*>(w)->bbtnCancel->click(); });
  EXPECT_EQ(AskText("c", "p", "kept?"), "");
  OnNextModal([](QWidget* w) { w->close(); });
  EXPECT_EQ(AskText("c", "p", "kept?"), "");
  OnNextModal([](QWidget* w) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
  });
  EXPECT_EQ(AskText("c", "p", "kept?"), "");
  OnNextModal([](QWidget* w) {
    auto* box = qobject_cast<TfrmInputBox*>(w);
    box->edtEntry->clear();
    box->bbtnOK->click();
  });
  EXPECT_EQ(AskText("c", "p", "kept?"), "");
}

TEST_F(SmallWindows, TheAboutBoxShowsTheVersionInTheUsersNotation) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(VersionCaption().toStdString(), "Version 2,32");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  TAboutBox box;
  EXPECT_EQ(box.Version->text().toStdString(), "Version 2.32");
  QLocale::setDefault(before);
  EXPECT_EQ(box.windowTitle().toStdString(), "About Quillet");
  EXPECT_EQ(box.size(), QSize(281, 261));
  EXPECT_EQ(box.ProductName->text().toStdString(), "Quillet");
  EXPECT_FALSE(box.Image1->pixmap().isNull());
  EXPECT_TRUE(box.OKButton->isDefault());
  int opened = 0;
  box.OpenProductPage = [&] { ++opened; };
  box.Image1Click();
  box.Image2Click();  // unset: nothing happens
  EXPECT_EQ(opened, 1);
  // Escape closes it as OK does.
  OnNextModal([](QWidget* w) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
  });
  box.exec();
  EXPECT_FALSE(box.isVisible());
}

TEST_F(SmallWindows, TheSplashIsABorderlessFixedWindow) {
  TSplash splash;
  EXPECT_EQ(splash.size(), QSize(342, 185));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash.lineWidth(), 5);
}

TEST_F(SmallWindows, TheCoolBarBlendsItsPictureWithItsColour) {
  const QColor bar(200, 100, 50);
  QImage picture(4, 2, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  picture.setPixel(0, 1, qRgb(10, 20, 30));  // bottom-left: the transparent colour
  picture.setPixel(3, 0, qRgb(10, 20, 30));
  QImage work = BlendBackground(picture, bar);
  EXPECT_EQ(work.pixelColor(0, 1), bar);
  EXPECT_EQ(work.pixelColor(3, 0), bar);
  EXPECT_EQ(work.pixelColor(1, 1), QColor(Qt::blue));

  work = BlendBackground(picture, bar, QColor(Qt::blue));
  EXPECT_EQ(work.pixelColor(1, 1), bar);
  EXPECT_EQ(work.pixelColor(0, 1), QColor(10, 20, 30));

  // A two-colour picture: white is transparent, whatever its corner holds.
  QImage mono(2, 2, QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.fill(1);
  mono.setPixel(1, 0, 0);
  work = BlendBackground(mono, bar);
  EXPECT_EQ(work.pixelColor(1, 0), bar);
  EXPECT_EQ(work.pixelColor(0, 1), QColor(Qt::black));

  // Without a picture the bar paints plainly.
  TRealCoolBar plain;
  plain.resize(60, 45);
  EXPECT_FALSE(plain.grab().isNull());
  EXPECT_TRUE(BlendBackground(QImage(), bar).isNull());
}

TEST_F(SmallWindows, FileFiltersShowTheirPatternsAsWritten) {
  EXPECT_EQ(QtNameFilters("Bookmark files|*.htm;*.html;*.shtml|All files|*").join('|').toStdString(),
            "Bookmark files (*.htm *.html *.shtml)|All files (*)");
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

}  // namespace
}  // namespace quillet::test

namespace quillet::test {
namespace {

// The real dialogs, answered by typing a name as the user would.
class FileDialogs : public SmallWindows {
 protected:
  TempDir Dir;
  QtDialogs Real;
  static void Type(const std::string& name) {
    OnNextModal([name](QWidget* w) {
      auto* dlg = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(dlg, nullptr);
      dlg->selectFile(QString::fromStdString(name));
      QMetaObject::invokeMethod(dlg, "accept");
    });
  }
};

TEST_F(FileDialogs, TheOpenDialogTakesAFileThatDoesNotExist) {
  std::string chosen;
  Type(Dir / "missing.htm");
  ASSERT_TRUE(Real.OpenFileName(FileDialogSetup{"Html files|*.htm", "*.htm", Dir.Path()}, chosen));
  EXPECT_EQ(chosen, Dir / "missing.htm");
}

TEST_F(FileDialogs, TheFolderDialogTakesAFolderThatDoesNotExistWithoutCreatingIt) {
  std::string chosen;
  Type(Dir / "new-folder");
  ASSERT_TRUE(Real.SelectFolder(Dir.Path(), chosen));
  EXPECT_EQ(chosen, Dir / "new-folder");
  EXPECT_FALSE(Exists(Dir / "new-folder"));

  MakeDirs(Dir / "old-folder");
  Type(Dir / "old-folder");
  ASSERT_TRUE(Real.SelectFolder(Dir.Path(), chosen));
  EXPECT_EQ(chosen, Dir / "old-folder");
}

// The window's dialogs: roomy, their filters as the window names them,
// matched in either letter case.
TEST_F(FileDialogs, AreRoomyAndMatchEitherLetterCase) {
  QStringList filters;
  QSize size;
  bool caseSensitive = true;
  OnNextModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QFileDialog*>(w);
    filters = dlg->nameFilters();
    size = dlg->size();
    caseSensitive = dlg->filter().testFlag(QDir::CaseSensitive);
    dlg->reject();
  });
  std::string chosen;
  EXPECT_FALSE(Real.OpenFileName(FileDialogSetup{"Bookmark files|*.htm;*.html;*.shtml|All files|*", "*.htm", Dir.Path()},
                                 chosen));
  EXPECT_EQ(filters.join('|').toStdString(), "Bookmark files (*.htm *.html *.shtml)|All files (*)");
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  EXPECT_GE(size.width(), std::min(720, screen.width() * 9 / 10));
  EXPECT_GE(size.height(), std::min(480, screen.height() * 9 / 10));
  EXPECT_FALSE(caseSensitive);
}

TEST_F(FileDialogs, CancelChangesNothing) {
  std::string chosen = "before";
  OnNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(Real.SaveFileName(FileDialogSetup{}, chosen));
  EXPECT_EQ(chosen, "before");
}

}  // namespace
}  // namespace quillet::test

namespace quillet::test {
namespace {

TEST_F(SmallWindows, AQuestionUnderTheBusyCursorShowsTheArrow) {
  Qt::CursorShape shown = Qt::WaitCursor;
  Ui.BeginBusy();
  OnNextModal([&](QWidget* w) {
    shown = QApplication::overrideCursor()->shape();
    AsBox(w)->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(Ui.Ask("Go on?"), Answer::Yes);
  EXPECT_EQ(shown, Qt::ArrowCursor);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Ui.EndBusy();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace quillet::test
