// The main window as a whole: its start, keys, tool bar, layout, modified
// mark, closing and settings, and typing in the source. Each menu's
// commands are in the test of that menu.
#include <gtest/gtest.h>

#include <map>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTest>
#include <QToolBar>

#include "app/Addresses.h"
#include "app/window/RealCoolBar.h"
#include "app/StartOptions.h"
#include "platform/Errors.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

class Window : public ::testing::Test, public WindowFixture {};

TEST_F(Window, StartsWithTheRenderedViewTheFolderFieldAndAnEmptyStatusBar) {
  Ctx().Config.FavoritesDir = "/home/ann/Favorites";
  MainWindow& f = Create();
  EXPECT_TRUE(f.pane->isVisible());
  EXPECT_FALSE(f.sourceView->isVisible());
  EXPECT_FALSE(f.Action("viewSourceAction")->isChecked());
  EXPECT_TRUE(f.Action("renderedViewAction")->isChecked());
  EXPECT_EQ(f.folderField->text().toStdString(), "/home/ann/Favorites");
  EXPECT_EQ(f.StatusText(), "");
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(f.windowTitle().toStdString(), "Quillet[*]");
  EXPECT_FALSE(f.isWindowModified());
  EXPECT_EQ(f.openDialog.Filter, "Bookmark files|*.htm;*.html;*.shtml|All files|*");
  EXPECT_EQ(f.saveDialog.Filter, f.openDialog.Filter);
}

// A key runs one item: none is bound twice. The items not built yet stay
// out of sight.
TEST_F(Window, EachMenuKeyRunsOneItemAndUnbuiltItemsAreHidden) {
  MainWindow& f = Create();
  std::map<std::string, std::string> owner;
  for (const QAction* a : f.findChildren<QAction*>())
    for (const QKeySequence& k : a->shortcuts()) {
      const std::string key = k.toString(QKeySequence::PortableText).toStdString();
      const auto [it, fresh] = owner.emplace(key, a->objectName().toStdString());
      EXPECT_TRUE(fresh) << key << ": " << it->second << " and " << a->objectName().toStdString();
    }
  for (const char* unbuilt : {"saveNetscapeAction"})
    EXPECT_FALSE(f.Action(unbuilt)->isVisible()) << unbuilt;
  // Keys a keyboard reaches in more than one way.
  EXPECT_TRUE(f.Action("redoAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
  EXPECT_TRUE(f.Action("zoomInAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Plus)));
  EXPECT_TRUE(f.Action("zoomInAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)));
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(menus.join(' ').toStdString(), "&File &Edit &View &Organize &Convert H&tml &Options - &Help");
  // Word Wrap's mark is a check mark like the other options'.
  EXPECT_EQ(f.Action("wordWrapAction")->actionGroup(), nullptr);
}

// Every key of the menus is named in quillet --help, the man page and the
// help pages, so none is there for users to find by chance.
TEST_F(Window, EveryMenuKeyIsNamedInTheUsageTheManPageAndTheHelpPages) {
  MainWindow& f = Create();
  QFile page(QStringLiteral(":/help/index.html"));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const std::string help = page.readAll().toStdString(), usage = UsageText();
  std::string man = ReadBytes(std::string(QUILLET_SOURCE_DIR) + "/dist/quillet.1");
  for (size_t at; (at = man.find("\\-")) != std::string::npos;) man.erase(at, 1);  // roff's minus
  int keys = 0;
  for (const QAction* a : f.findChildren<QAction*>()) {
    const std::string key = a->shortcut().toString(QKeySequence::PortableText).toStdString();
    if (key.empty()) continue;
    ++keys;
    EXPECT_NE(usage.find(key), std::string::npos) << key;
    EXPECT_NE(man.find(key), std::string::npos) << key;
    EXPECT_NE(help.find("<kbd>" + key + "</kbd>"), std::string::npos) << key;
  }
  EXPECT_GE(keys, 21);
}

// Every tool button shows a picture and a hint, and fits in the cool bar,
// whose picture is behind them.
TEST_F(Window, ToolButtonsShowPicturesAndHintsInsideTheCoolBar) {
  MainWindow& f = Create();
  int buttons = 0;
  for (QAction* a : f.toolBar->actions()) {
    if (a->isSeparator()) continue;
    ++buttons;
    EXPECT_FALSE(a->toolTip().isEmpty()) << a->objectName().toStdString();
    EXPECT_FALSE(a->icon().pixmap(32, 32).isNull()) << a->objectName().toStdString();
    EXPECT_LE(f.toolBar->widgetForAction(a)->height(), f.coolBar->height()) << a->objectName().toStdString();
  }
  EXPECT_GE(buttons, 9);
  EXPECT_FALSE(f.coolBar->Bitmap().isNull());
}

TEST_F(Window, ToolButtonsRunTheMenuItemsHandlers) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.Action("viewInBrowserButton")->trigger();  // nothing yet, and no failure
  f.Action("helpButton")->trigger();
  ASSERT_EQ(HelpShown.size(), 1u);
  Dialogs.Names = {""};
  f.Action("openFileButton")->trigger();
  EXPECT_EQ(Dialogs.Shown, std::vector<std::string>{"open"});
}

// The view takes whatever room the window gains; the folder field runs up to
// the "..." button, which ends where the view ends.
TEST_F(Window, ResizingGrowsTheViewAndKeepsTheBrowseButtonFlush) {
  MainWindow& f = Create();
  const auto inWindow = [&f](QWidget* w) { return QRect(w->mapTo(&f, QPoint(0, 0)), w->size()); };
  f.resize(500, 400);
  const QRect small = inWindow(f.pane);
  for (const QSize size : {QSize(640, 480), QSize(900, 700)}) {
    SCOPED_TRACE(size.width());
    f.resize(size);
    const QRect view = inWindow(f.pane), field = inWindow(f.folderField), button = inWindow(f.browseButton);
    EXPECT_EQ(view.width() - small.width(), size.width() - 500);
    EXPECT_EQ(view.height() - small.height(), size.height() - 400);
    EXPECT_EQ(view.topLeft(), small.topLeft());
    EXPECT_EQ(button.right(), view.right());
    EXPECT_EQ(field.right() + 1, button.left());
    EXPECT_EQ(field.left(), view.left());
    EXPECT_LT(field.bottom(), view.top());
  }
}

// The mark stays until the text is saved or taken back to what was saved:
// each path below starts from an opened file and ends with Exit, which asks
// while the mark is set and, on Cancel, keeps the window and its changes.
TEST(ModifiedMark, ExitAsksUntilTheTextIsSavedOrBackToWhatWasSaved) {
  using W = WindowFixture;
  const auto sort = [](MainWindow& f) { f.Action("sortAction")->trigger(); };
  const auto viewAndBack = [](MainWindow& f) {
    f.Action("viewSourceAction")->trigger();
    f.Action("viewSourceAction")->trigger();
  };
  const auto build = [](W& w, MainWindow& f) {
    f.folderField->setText(QString::fromStdString(w.File("Favs")));
    f.Action("urlsToHtmlAction")->trigger();
  };
  struct Path {
    const char* name;
    const char* asksTitled;  // the save question's title ("": not checked); none when Exit does not ask
    std::function<void(W&, MainWindow&)> steps;
  };
  const Path paths[] = {
      {"sort, source view and back", "a.htm - Quillet", [&](W&, MainWindow& f) { sort(f); viewAndBack(f); }},
      {"typing, back to the rendered view", "a.htm - Quillet",
       [](W&, MainWindow& f) { f.Action("viewSourceAction")->trigger(); TypeInto(f, "x"); f.Action("viewSourceAction")->trigger(); }},
      {"Urls to Html, save dialog cancelled", "Quillet", [&](W& w, MainWindow& f) { build(w, f); f.Action("saveFileAction")->trigger(); }},
      {"Urls to Html, Yes to the question, save dialog cancelled: nothing opens", "Quillet",
       [&](W& w, MainWindow& f) {
         build(w, f);
         w.UI().Answers = {Answer::Yes};
         f.Action("openFileAction")->trigger();
         EXPECT_EQ(w.Dialogs.Shown, (std::vector<std::string>{"open", "save"}));
       }},
      {"No to the question, open dialog cancelled", "a.htm - Quillet",
       [&](W& w, MainWindow& f) { sort(f); w.UI().Answers = {Answer::No}; f.Action("openFileAction")->trigger(); }},
      {"No to the question, a file that cannot be opened", "a.htm - Quillet",
       [&](W& w, MainWindow& f) {
         sort(f);
         w.UI().Answers = {Answer::No};
         w.Dialogs.Names = {w.File("missing.htm")};
         f.Action("openFileAction")->trigger();
       }},
      {"No to the question, no browser file to load", "a.htm - Quillet",
       [&](W& w, MainWindow& f) { sort(f); w.UI().Answers = {Answer::No}; f.Action("loadNetscapeAction")->trigger(); }},
      // The search for the browser file forgets the current file's name.
      {"No to the question, no browser file to append to", "",
       [&](W& w, MainWindow& f) {
         sort(f);
         w.UI().Answers = {Answer::Yes, Answer::No};
         f.Action("urlsToNetscapeAction")->trigger();
       }},
      {"browser file cleaned, not saved over", "bookmarks.html - Quillet",
       [](W& w, MainWindow& f) {
         WriteBytes(w.File("home/.netscape/bookmarks.html"),
                    "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
         w.Ctx().HomeDir = w.File("home");
         w.UI().Answers = {Answer::No};
         f.Action("removeDuplicatesFromNetscapeAction")->trigger();
       }},
      {"sort, saved", nullptr, [&](W&, MainWindow& f) { sort(f); f.Action("saveFileAction")->trigger(); }},
      {"sort, source view and back, undone", nullptr, [&](W&, MainWindow& f) { sort(f); viewAndBack(f); f.Action("undoAction")->trigger(); }},
      {"typing saved, more typing undone", nullptr,
       [&](W&, MainWindow& f) {
         f.Action("viewSourceAction")->trigger();
         TypeInto(f, "x");
         f.Action("saveFileAction")->trigger();
         TypeInto(f, "y");
         f.Action("viewSourceAction")->trigger();
         f.Action("undoAction")->trigger();
       }},
  };
  for (const Path& p : paths) {
    SCOPED_TRACE(p.name);
    WindowFixture w;
    WriteBytes(w.File("a.htm"),
               "<DL><p>\r\n<DT><A HREF=\"http://b/\">B</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
    WriteBytes(w.File("Favs/c.url"), Shortcut("http://c/"));
    MainWindow& f = w.Create();
    w.Dialogs.Names = {w.File("a.htm")};
    f.Action("openFileAction")->trigger();
    ASSERT_FALSE(f.Modified());
    p.steps(w, f);
    w.UI().Questions.clear();
    w.UI().QuestionTitles.clear();
    w.UI().Answers = {Answer::Dismissed};
    f.Action("exitAction")->trigger();
    if (!p.asksTitled) {
      EXPECT_TRUE(w.UI().Questions.empty());
      EXPECT_FALSE(f.isVisible());
      continue;
    }
    EXPECT_EQ(w.UI().Questions, std::vector<std::string>{kSaveQuestion});
    if (*p.asksTitled) {
      EXPECT_EQ(w.UI().QuestionTitles, std::vector<std::string>{p.asksTitled});
    }
    // Cancel keeps the window and the changes, shown as they will be saved.
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.isWindowModified());
    f.Action("sourceViewAction")->trigger();
    EXPECT_EQ(w.Ctx().HtmlLines.size(), static_cast<size_t>(f.sourceView->document()->blockCount()));
    // The title-bar button asks the same; No lets the window go.
    w.UI().Answers = {Answer::No};
    f.close();
    EXPECT_EQ(w.UI().Questions.size(), 2u);
    EXPECT_FALSE(f.isVisible());
  }
}

TEST_F(Window, UpdateWithAnEmptyDocumentLeavesViewsAndStatus) {
  WriteBytes(File("a.htm"), "<DT><A HREF=\"http://a/\">A</A>\r\n");
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  Ctx().HtmlLines.clear();
  f.ShowDocument();
  EXPECT_EQ(FirstLink(*f.pane), "http://a/");
  EXPECT_EQ(f.StatusText(), File("a.htm"));
}

TEST_F(Window, ClosingWritesTheSettingsWithTheWindowsPlace) {
  MainWindow& f = Create();
  f.move(100, 60);
  f.resize(500, 400);
  f.close();
  EXPECT_EQ(SettingsWrites, 1);
  EXPECT_EQ(Ctx().Config.Left, 100);
  EXPECT_EQ(Ctx().Config.Top, 60);
  EXPECT_EQ(Ctx().Config.Width, 500);
  EXPECT_EQ(Ctx().Config.Height, 400);
}

TEST_F(Window, ClosingWhileMaximizedWritesNoSettings) {
  MainWindow& f = Create();
  f.showMaximized();
  ASSERT_TRUE(f.isMaximized());
  f.close();
  EXPECT_EQ(SettingsWrites, 0);
  EXPECT_EQ(Ctx().Config.Width, 411);
}

TEST_F(Window, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
  MainWindow& f = Create();
  f.WriteSettings = [this](Context&) { throw EWriteError(File("Quillet.Ini")); };
  f.close();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Unable to write to " + File("Quillet.Ini")});
  EXPECT_FALSE(f.isVisible());
}

TEST_F(Window, EscapingTheSaveQuestionBacksOutOfTheCommandThatAsked) {
  WriteBytes(File("kept.htm"), "on disk");
  WriteBytes(File("other.htm"), "<DT><A HREF=\"http://o/\">O</A>\r\n");
  WriteBytes(File("Favs/a.url"), Shortcut("http://a/"));
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("Favs")));
  Ctx().Config.CurrentFile = File("kept.htm");
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://mine/\">Mine</A>", "</DL><p>"};
  f.ShowDocument();
  f.SetModified(true);
  // Closing: the window stays open with its changes, and nothing is saved.
  UI().Answers = {Answer::Dismissed};
  f.close();
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(ReadBytes(File("kept.htm")), "on disk");
  // A replacing command does nothing at all, not even to the Bold mark.
  Dialogs.Names = {File("other.htm")};
  f.Action("boldDescriptionsAction")->setChecked(true);
  for (QAction* a : {f.Action("openFileAction"), f.Action("urlsToHtmlAction"), f.Action("loadNetscapeAction"), f.Action("netscapeToUrlsAction"),
                     f.Action("removeDuplicatesFromNetscapeAction")}) {
    SCOPED_TRACE(a->text().toStdString());
    UI().Answers = {Answer::Dismissed};
    a->trigger();
    EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://mine/\">Mine</A>");
    EXPECT_TRUE(f.Modified());
    EXPECT_TRUE(f.Action("boldDescriptionsAction")->isChecked());
  }
  UI().Answers = {Answer::Yes, Answer::Dismissed};  // append: yes, then back out of saving
  f.Action("urlsToNetscapeAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://mine/\">Mine</A>");
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(Ctx().Config.CurrentFile, File("kept.htm"));
  EXPECT_EQ(ReadBytes(File("kept.htm")), "on disk");
  // Yes still saves, and then the window closes.
  UI().Answers = {Answer::Yes};
  f.close();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(ReadBytes(File("kept.htm")), "<DL><p>\r\n<DT><A HREF=\"http://mine/\">Mine</A>\r\n</DL><p>\r\n");
}

TEST_F(Window, ASaveThatFailsWhileClosingKeepsTheWindowOpen) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  UI().Answers = {Answer::Yes};
  Dialogs.Names = {File("no-such-folder/b.htm")};
  f.close();
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(UI().Messages.size(), 1u);
}

TEST_F(Window, ClosingAModifiedDocumentAnsweredNoSavesNothing) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  UI().Answers = {Answer::No};
  f.close();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{kSaveQuestion});
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(Window, TheFolderFieldAndBrowseSetTheFavoritesFolder) {
  Ctx().Config.FavoritesDir = "/start";
  MainWindow& f = Create();
  f.folderField->setText(QStringLiteral("/typed"));
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/typed");
  Dialogs.Names = {""};
  f.browseButton->click();
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, "/typed");
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/typed");
  Dialogs.Names = {"/chosen/folder"};
  f.browseButton->click();
  EXPECT_EQ(f.folderField->text().toStdString(), "/chosen/folder");
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/chosen/folder");
}

TEST_F(Window, AFolderNameThatIsNotUtf8GoesBackUnchanged) {
  Ctx().Config.FavoritesDir = "/home/ann/Lesezeichen-f\xFCr";
  MainWindow& f = Create();
  f.folderField->setText(f.folderField->text());
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/home/ann/Lesezeichen-f\xFCr");
}

TEST_F(Window, TheRenderedViewShowsTheDocumentAndHandsClickedLinksToTheWindow) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "<DT><H3>Folder</H3>", "<DL><p>", "<DT><A HREF=\"http://a/\">A &amp; B</A>",
                     "</DL><p>", "</DL><p>"};
  f.ShowDocument();
  EXPECT_EQ(PaneText(*f.pane), "Folder\nA & B");
  // The window's handler takes web links to the desktop.
  const QPoint at = PanelPointOf(*f.pane, "A &");
  QTest::mouseClick(f.pane->viewport(), Qt::LeftButton, {}, at);
  ASSERT_EQ(T.Shell.Calls.size(), 1u);
  EXPECT_EQ(T.Shell.Calls[0].Target, "http://a/");
}

// Typing in the source view, saving and reopening gives back the same bytes.
struct Sample {
  const char* name;
  const char* bytes;
};

class SourceRoundTrip : public Window, public ::testing::WithParamInterface<Sample> {};

TEST_P(SourceRoundTrip, AnUneditedOrRestoredDocumentSavesByteForByte) {
  const std::string original = GetParam().bytes;
  WriteBytes(File("a.htm"), original);
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  ShowSource();
  TypeAtEnd("z");
  ASSERT_TRUE(f.Modified());
  f.sourceView->textCursor().deletePreviousChar();
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(ReadBytes(File("a.htm")), original);
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(ReadBytes(File("a.htm")), original);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SourceRoundTrip,
    ::testing::Values(
        Sample{"Windows1252", "<DT><A HREF=\"http://caf\xE9/\">Caf\xE9 \x80 \x81\x8D\x8F\x90\x9D \xA0nbsp</A>\r\n\r\n"},
        Sample{"Utf8", "<DT><A HREF=\"http://x/\">Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x94\x96 \xC2\xA0</A>\r\n"},
        Sample{"ControlsAndLineSeparator", "tab\there\x0B\x0C\x1F\r\nline \xE2\x80\xA8 sep\r\n"},
        Sample{"ParagraphSeparator", "para \xE2\x80\xA9 sep\r\n"}),
    [](const ::testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

TEST_F(Window, TypedCharactersAreWrittenInTheDocumentsEncoding) {
  WriteBytes(File("latin.htm"), "caf\xE9\r\n");
  WriteBytes(File("utf8.htm"), "caf\xC3\xA9\r\n");
  MainWindow& f = Create();
  Dialogs.Names = {File("latin.htm")};
  f.Action("openFileAction")->trigger();
  ShowSource();
  EXPECT_EQ(f.sourceView->toPlainText(), QStringLiteral("caf\u00E9"));
  TypeAtEnd(QStringLiteral("\u00FC\u20AC\u0142"));
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(ReadBytes(File("latin.htm")), "caf\xE9\xFC\x80?\r\n");

  Dialogs.Names = {File("utf8.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(f.sourceView->toPlainText(), QStringLiteral("caf\u00E9"));
  TypeAtEnd(QStringLiteral("\u00FC\u20AC\u0142"));
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(ReadBytes(File("utf8.htm")), "caf\xC3\xA9\xC3\xBC\xE2\x82\xAC\xC5\x82\r\n");
}

TEST_F(Window, EmptyingTheEditorEmptiesTheDocument) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"a", "b"};
  ShowSource();
  f.sourceView->selectAll();
  f.sourceView->textCursor().removeSelectedText();
  EXPECT_TRUE(Ctx().HtmlLines.empty());
}

}  // namespace
}  // namespace quillet::test
