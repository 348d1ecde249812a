// The main window's document state and commands, driven as the user would:
// menu items triggered, dialogs and questions answered by script.
#include <gtest/gtest.h>

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
#include "app/RealCoolBar.h"
#include "app/StartOptions.h"
#include "platform/Errors.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

const char kSaveQuestion[] = "Html has been changed, Save Html now?";

// Types text at the end of a window's editor, as a keystroke would insert it.
void TypeInto(MainWindow& f, const QString& text) {
  QTextCursor c = f.sourceView->textCursor();
  c.movePosition(QTextCursor::End);
  f.sourceView->setTextCursor(c);
  f.sourceView->textCursor().insertText(text);
}

class Window : public ::testing::Test, public WindowFixture {
 protected:
  void TypeAtEnd(const QString& text) { TypeInto(*Form, text); }
  void ShowSource() {
    if (!Form->Action("viewSourceAction")->isChecked()) Form->Action("viewSourceAction")->trigger();
  }
};

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

TEST_F(Window, MenuItemsCarryTheirCaptionsShortcutsAndVisibility) {
  MainWindow& f = Create();
  struct Row {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool visible;
  };
  const Row rows[] = {
      {"openFileAction", "&Open Html File", "Ctrl+O", true},
      {"saveFileAction", "&Save To File", "Ctrl+S", true},
      {"saveAsAction", "Save &As", "", true},
      {"saveForBrowserImportAction", "Save for Browser &Import...", "", true},
      {"loadNetscapeAction", "&Load Netscape Bookmarks", "", true},
      {"saveNetscapeAction", "Sa&ve Netscape Bookmarks", "", false},
      {"exploreFavoritesAction", "&Explore Favorites", "", true},
      {"openFavoritesAction", "Ope&n Favorites", "", true},
      {"purgeUrlsAction", "&Purge Urls", "", true},
      {"checkBookmarksAction", "Check Bookmarks", "", false},
      {"exitAction", "E&xit", "Ctrl+Q", true},
      {"undoAction", "&Undo", "Ctrl+Z", true},
      {"copyAction", "&Copy", "Ctrl+C", true},
      {"findAction", "&Find...", "Ctrl+F", true},
      {"findNextAction", "Find &Next", "F3", true},
      {"findPreviousAction", "Find &Previous", "Shift+F3", true},
      {"selectAllAction", "Select &All", "Ctrl+A", true},
      {"renderedViewAction", "&Rendered", "Ctrl+1", true},
      {"sourceViewAction", "&Source", "Ctrl+2", true},
      {"zoomOutAction", "Zoom &Out", "Ctrl+-", true},
      {"actualSizeAction", "&Actual Size", "Ctrl+0", true},
      {"backAction", "&Back", "Alt+Left", true},
      {"forwardAction", "&Forward", "Alt+Right", true},
      {"urlsToHtmlAction", "&Urls to Html", "", true},
      {"htmlToUrlsAction", "&Html to Urls", "", true},
      {"urlsToNetscapeAction", "U&rls to Netscape Bookmarks", "", true},
      {"netscapeToUrlsAction", "&Netscape Bookmarks to Urls", "", true},
      {"sortAction", "So&rt", "", true},
      {"stripNetscapeTagsAction", "Strip &Netscape Tags", "", true},
      {"removeDuplicatesFromHtmlAction", "From &Html", "", true},
      {"removeDuplicatesFromNetscapeAction", "From &Netscape Bookmarks", "", true},
      {"removeDuplicatesFromUrlsAction", "From &Urls", "", false},
      {"viewInBrowserAction", "&View In Browser", "", true},
      {"viewSourceAction", "View &Source", "Alt+S", true},
      {"boldDescriptionsAction", "&Bold Descriptions", "Ctrl+B", true},
      {"italicDescriptionsAction", "&Italicize Descriptions", "Ctrl+I", true},
      {"wordWrapAction", "&Word Wrap", "", true},
      {"doubleSpaceLinesAction", "&Double Space Lines", "", true},
      {"indentHtmlAction", "I&ndent Html", "", true},
      {"browserLayoutAction", "&Browser Layout", "", true},
      {"helpContentsAction", "&Contents", "F1", true},
      {"keywordSearchAction", "&Keyword Search", "", true},
      {"productPageAction", "&Quillet Web Page", "", true},
      {"makerHomePageAction", "Varnholt &Home Page", "", true},
      {"emailFeedbackAction", "&E-mail Feedback", "", true},
      {"otherSoftwareAction", "&Other Varnholt Software", "", true},
      {"aboutAction", "&About", "", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    QAction* item = f.Action(r.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text().toStdString(), r.caption);
    EXPECT_EQ(item->shortcut().toString().toStdString(), r.shortcut);
    EXPECT_EQ(item->isVisible(), r.visible);
  }
  // Keys a keyboard reaches in more than one way.
  EXPECT_TRUE(f.Action("redoAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
  EXPECT_TRUE(f.Action("zoomInAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Plus)));
  EXPECT_TRUE(f.Action("zoomInAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)));
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(menus.join(' ').toStdString(), "&File &Edit &View &Convert H&tml &Options - &Help");
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

TEST_F(Window, ToolButtonsShowTheirHintsInOrderWithSeparators) {
  MainWindow& f = Create();
  QStringList hints;
  for (QAction* a : f.toolBar->actions()) hints << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
  EXPECT_EQ(hints.join(',').toStdString(),
            "Load Html File,Save Html File,|,Organize Favorites,Convert Urls To Html,Convert Html To Urls,|,"
            "Sort Links,View Html,|,Help,|,Exit");
  EXPECT_EQ(f.toolIcons.size(), 9);
  for (const QIcon& icon : f.toolIcons) EXPECT_FALSE(icon.pixmap(32, 32).isNull());
  EXPECT_EQ(f.toolBar->widgetForAction(f.Action("openFileButton"))->size(), QSize(39, 38));
  EXPECT_FALSE(f.coolBar->Bitmap().isNull());
  EXPECT_EQ(f.coolBar->height(), 45);
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

TEST_F(Window, OpenLoadsTheFileShowsItsNameAndRemembersItsFolder) {
  WriteBytes(File("in/a.htm"), "<DL><p>\r\n<DT><A HREF=\"http://x/\">X</A>\r\n</DL><p>\r\n");
  Ctx().Config.LastDir = "/start";
  MainWindow& f = Create();
  f.Action("boldDescriptionsAction")->setChecked(true);
  Dialogs.Names = {File("in/a.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, "/start");
  EXPECT_EQ(Ctx().HtmlLines.size(), 3u);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("in/a.htm"));
  EXPECT_EQ(Ctx().Config.LastDir, File("in"));
  EXPECT_EQ(f.StatusText(), File("in/a.htm"));
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(FirstLink(*f.pane), "http://x/");
  EXPECT_EQ(f.windowTitle().toStdString(), "a.htm[*] - Quillet");
  // A clean-up keeps the path and says what it did.
  f.Action("sortAction")->trigger();
  EXPECT_EQ(f.StatusText(), File("in/a.htm"));
  EXPECT_EQ(f.StatusNote(), "Sorted 1 link");
  EXPECT_TRUE(f.isWindowModified());
}

TEST_F(Window, OpenInTheRootFolderKeepsItsDelimiter) {
  MainWindow& f = Create();
  Dialogs.Names = {"/no-such-file-for-quillet.htm"};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(Ctx().Config.LastDir, "/");
}

TEST_F(Window, AFailedOpenLeavesTheDocumentViewsFileFlagAndStatus) {
  WriteBytes(File("a.htm"), "<DL><p>\r\n<DT><H3>Folder</H3>\r\n</DL><p>\r\n");
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  ShowSource();
  TypeAtEnd("x");
  ASSERT_TRUE(f.Modified());
  const QString shown = f.sourceView->toPlainText();
  const TextLines lines = Ctx().HtmlLines;
  f.statusBar()->findChild<QLabel*>()->setText(QStringLiteral("shown"));
  const std::string pane = PaneText(*f.pane);

  UI().Answers = {Answer::No};
  Dialogs.Names = {File("missing.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Cannot open file " + File("missing.htm")});
  EXPECT_EQ(Ctx().HtmlLines, lines);
  EXPECT_EQ(f.sourceView->toPlainText(), shown);
  EXPECT_EQ(PaneText(*f.pane), pane);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("a.htm"));
  EXPECT_TRUE(f.Modified());
  // The status bar shows the file the document still belongs to.
  EXPECT_EQ(f.StatusText(), File("a.htm"));
}

TEST_F(Window, SaveOverwritesAnExistingCurrentFileWithoutADialog) {
  WriteBytes(File("a.htm"), "old");
  MainWindow& f = Create();
  Ctx().Config.CurrentFile = File("a.htm");
  Ctx().HtmlLines = {"one", "two"};
  f.SetModified(true);
  f.Action("saveFileAction")->trigger();
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ReadBytes(File("a.htm")), "one\r\ntwo\r\n");
  EXPECT_FALSE(f.Modified());
  EXPECT_TRUE(UI().Messages.empty());
}

TEST_F(Window, SaveAsAlwaysAsksAndTakesTheNewName) {
  WriteBytes(File("a.htm"), "old");
  Ctx().Config.LastDir = Dir.Path();
  MainWindow& f = Create();
  Ctx().Config.CurrentFile = File("a.htm");
  Ctx().HtmlLines = {"one"};
  Dialogs.Names = {File("b.htm")};
  f.Action("saveAsAction")->trigger();
  EXPECT_EQ(Dialogs.Shown, std::vector<std::string>{"save"});
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, Dir.Path());
  EXPECT_EQ(Ctx().Config.CurrentFile, File("b.htm"));
  EXPECT_EQ(ReadBytes(File("b.htm")), "one\r\n");
  EXPECT_EQ(ReadBytes(File("a.htm")), "old");
}

TEST_F(Window, CancellingTheSaveDialogKeepsTheFlag) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  Dialogs.Names = {""};
  f.Action("saveFileAction")->trigger();
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Ctx().Config.CurrentFile.empty());
}

TEST_F(Window, SavingAnEmptyDocumentSaysSo) {
  MainWindow& f = Create();
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There is nothing to save."});
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(Window, AFailedSaveSaysSoAndKeepsTheFlag) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  Dialogs.Names = {File("no-such-folder/b.htm")};
  f.Action("saveFileAction")->trigger();
  // The fixed text, then why.
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Could not save file.\nCannot create file " +
                                                    File("no-such-folder/b.htm") + ": its folder does not exist"});
  EXPECT_TRUE(f.Modified());
}

TEST_F(Window, SavingTheNetscapeFileAsksAndDoesNothingOnceItIsGone) {
  WriteBytes(File("bookmark.htm"), "old");
  MainWindow& f = Create();
  Ctx().Config.NetscapeFile = Ctx().Config.CurrentFile = File("bookmark.htm");
  Ctx().HtmlLines = {"new"};
  UI().Answers = {Answer::No};
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{"Are you sure you want to replace your Netscape bookmarks?"});
  EXPECT_EQ(ReadBytes(File("bookmark.htm")), "old");

  UI().Answers = {Answer::Yes};
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(ReadBytes(File("bookmark.htm")), "new\r\n");

  std::remove(File("bookmark.htm").c_str());
  UI().Questions.clear();
  f.Action("saveFileAction")->trigger();
  EXPECT_TRUE(UI().Questions.empty());
  EXPECT_TRUE(UI().Messages.empty());
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_FALSE(Exists(File("bookmark.htm")));
}

TEST_F(Window, ViewSourceSwitchesViewsAndKeepsTheFlag) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"};
  f.SetModified(true);
  f.Action("viewSourceAction")->trigger();
  EXPECT_TRUE(f.Action("viewSourceAction")->isChecked());
  EXPECT_TRUE(f.sourceView->isVisible());
  EXPECT_FALSE(f.pane->isVisible());
  EXPECT_EQ(f.sourceView->toPlainText().toStdString(), "<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n</DL><p>");
  EXPECT_TRUE(f.Modified());
  TypeAtEnd("x");
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(Ctx().HtmlLines.back(), "</DL><p>x");
  f.Action("viewSourceAction")->trigger();
  EXPECT_FALSE(f.Action("viewSourceAction")->isChecked());
  EXPECT_TRUE(f.pane->isVisible());
  EXPECT_TRUE(f.Modified());
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

TEST_F(Window, ExitClosesTheWindow) {
  MainWindow& f = Create();
  f.Action("exitAction")->trigger();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(SettingsWrites, 1);
}

TEST_F(Window, OptionsToggleTheirMarksAndTheSettings) {
  Ctx().Config.DoubleSpaceLines = true;
  Ctx().Config.BrowserLayout = true;
  MainWindow& f = Create();
  EXPECT_TRUE(f.Action("doubleSpaceLinesAction")->isChecked());
  EXPECT_TRUE(f.Action("browserLayoutAction")->isChecked());
  f.Action("browserLayoutAction")->trigger();
  EXPECT_FALSE(Ctx().Config.BrowserLayout);
  EXPECT_FALSE(f.Action("browserLayoutAction")->isChecked());
  f.Action("wordWrapAction")->trigger();
  EXPECT_TRUE(Ctx().Config.WordWrap);
  EXPECT_TRUE(f.Action("wordWrapAction")->isChecked());
  EXPECT_EQ(f.sourceView->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  f.Action("wordWrapAction")->trigger();
  EXPECT_FALSE(Ctx().Config.WordWrap);
  EXPECT_FALSE(f.Action("wordWrapAction")->isChecked());
  EXPECT_EQ(f.sourceView->lineWrapMode(), QPlainTextEdit::NoWrap);
  f.Action("doubleSpaceLinesAction")->trigger();
  EXPECT_FALSE(Ctx().Config.DoubleSpaceLines);
  EXPECT_FALSE(f.Action("doubleSpaceLinesAction")->isChecked());
  f.Action("indentHtmlAction")->trigger();
  EXPECT_TRUE(Ctx().Config.IndentHtml);
  EXPECT_TRUE(f.Action("indentHtmlAction")->isChecked());
  // The mark follows the negated mark, not the setting, when the two disagree.
  Ctx().Config.IndentHtml = false;
  f.Action("indentHtmlAction")->trigger();
  EXPECT_FALSE(Ctx().Config.IndentHtml);
  EXPECT_FALSE(f.Action("indentHtmlAction")->isChecked());
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

TEST_F(Window, UrlsToHtmlAsksToSaveBuildsTheDocumentAndSetsTheFlag) {
  WriteBytes(File("Favs/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  MainWindow& f = Create();
  Ctx().Config.CurrentFile = File("old.htm");
  f.folderField->setText(QString::fromStdString(File("Favs")));
  f.SetModified(true);
  UI().Answers = {Answer::No};
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{kSaveQuestion});
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Ctx().Config.CurrentFile.empty());
  EXPECT_EQ(FirstLink(*f.pane), "http://site/");
}

TEST_F(Window, UrlsToHtmlFollowsTheBrowserLayoutMark) {
  WriteBytes(File("Favs/News/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("Favs")));
  f.Action("browserLayoutAction")->trigger();
  f.Action("urlsToHtmlAction")->trigger();
  const TextLines& l = Ctx().HtmlLines;
  ASSERT_GT(l.size(), 9u);
  EXPECT_EQ(l[0], "<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  EXPECT_EQ(l[8].rfind("<DT><H3 ADD_DATE=\"", 0), 0u) << l[8];
  EXPECT_EQ(l[9], "<DL><p>");
}

TEST_F(Window, ASecondBuildKeepsTheLayoutMarksTheSettingsFileDoesNotHoldYet) {
  WriteBytes(File("Favs/News/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  // The build re-reads the settings file, which holds the stored options.
  Ctx().ReloadSettings = [](Context& c) {
    c.Config.BrowserLayout = false;
    c.Config.IndentHtml = false;
    c.Config.BoldHtml = true;
  };
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("Favs")));
  f.Action("browserLayoutAction")->trigger();
  f.Action("indentHtmlAction")->trigger();
  UI().Answers = {Answer::No, Answer::No};
  f.Action("urlsToHtmlAction")->trigger();
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_TRUE(Ctx().Config.BrowserLayout);
  EXPECT_TRUE(Ctx().Config.IndentHtml);
  EXPECT_EQ(Ctx().HtmlLines.at(0), "<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  // The stored emphasis comes back, as before.
  EXPECT_TRUE(Ctx().Config.BoldHtml);
}

TEST_F(Window, UrlsToHtmlFromAMissingFolderKeepsTheViewAndTheFlag) {
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("missing")));
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Directory not found"});
  EXPECT_FALSE(f.Modified());
}

TEST_F(Window, HtmlToUrlsTargetsTheFolderFieldWithTheBusyCursor) {
  MainWindow& f = Create();
  f.folderField->setText(QStringLiteral("/target"));
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.Action("htmlToUrlsAction")->trigger();
  EXPECT_EQ(Ctx().UrlTargetDir, "/target");
  EXPECT_GE(UI().BusyCount, 1);
  EXPECT_EQ(UI().BusyDepth, 0);
  EXPECT_FALSE(f.Modified());
}

TEST_F(Window, CleanUpsDoNothingOnAnEmptyDocument) {
  MainWindow& f = Create();
  for (QAction* a : {f.Action("sortAction"), f.Action("stripNetscapeTagsAction"), f.Action("removeDuplicatesFromHtmlAction")}) a->trigger();
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(UI().BusyCount, 0);
}

TEST_F(Window, CleanUpsRefreshTheViewAndSetTheFlag) {
  MainWindow& f = Create();
  for (QAction* a : {f.Action("sortAction"), f.Action("stripNetscapeTagsAction"), f.Action("removeDuplicatesFromHtmlAction")}) {
    SCOPED_TRACE(a->text().toStdString());
    Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://b/\">B</A>", "</DL><p>"};
    f.SetModified(false);
    UI().BusyCount = 0;
    a->trigger();
    EXPECT_TRUE(f.Modified());
    EXPECT_GE(UI().BusyCount, 1);
    EXPECT_EQ(UI().BusyDepth, 0);
    EXPECT_EQ(FirstLink(*f.pane), "http://b/");
  }
}

TEST_F(Window, ALargeDocumentSortsAndShowsUnderTheBusyCursor) {
  TextLines lines{"<DL><p>"};
  for (int i = 0; i < 100000; ++i)
    lines.push_back("<DT><A HREF=\"http://host/" + std::to_string(i) + "\">Link " + std::to_string(99999 - i) + "</A>");
  lines.push_back("</DL><p>");
  MainWindow& f = Create();
  Ctx().HtmlLines = lines;
  f.Action("sortAction")->trigger();
  EXPECT_GE(UI().BusyCount, 1);
  EXPECT_EQ(UI().BusyDepth, 0);
  EXPECT_EQ(PaneLinks(*f.pane).size(), 100000u);
  f.Action("viewSourceAction")->trigger();
  ASSERT_TRUE(SourceFilled());
  EXPECT_EQ(f.sourceView->document()->blockCount(), 100002);
  // The window paints the result.
  EXPECT_FALSE(f.grab().isNull());
}

TEST_F(Window, EachDocumentCommandIsOneStepThatCtrlZTakesBack) {
  const std::string file = "<DL><p>\r\n<DT><A HREF=\"http://b/\" ADD_DATE=\"1\">B</A>\r\n"
                           "<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n";
  WriteBytes(File("a.htm"), file);
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  const TextLines opened = Ctx().HtmlLines;
  // In the rendered view: two commands, then the window's Ctrl+Z.
  f.Action("sortAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Sorted 3 links");
  f.Action("removeDuplicatesFromHtmlAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Removed 1 duplicate link");
  const TextLines cleaned = Ctx().HtmlLines;
  QAction* undo = f.Action("undoAction");
  QAction* redo = f.Action("redoAction");
  undo->trigger();
  EXPECT_EQ(Ctx().HtmlLines.size(), 5u);  // the duplicate is back
  undo->trigger();
  EXPECT_EQ(Ctx().HtmlLines, opened);
  EXPECT_EQ(FirstLink(*f.pane), "http://b/");
  // Back where the file was opened: nothing to save.
  EXPECT_FALSE(f.Modified());
  redo->trigger();
  redo->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
  EXPECT_TRUE(f.Modified());

  // In the source view typing and commands share the history.
  ShowSource();
  TypeAtEnd("x");
  f.Action("stripNetscapeTagsAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Stripped 1 attribute");
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">A</A>");
  f.Action("boldDescriptionsAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Made 2 descriptions bold");
  f.Action("undoAction")->trigger();
  f.Action("undoAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines.back(), "</DL><p>x");
  f.Action("undoAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
  // Building from a folder is a step too.
  WriteBytes(File("Favs/c.url"), Shortcut("http://c/"));
  f.folderField->setText(QString::fromStdString(File("Favs")));
  UI().Answers = {Answer::No};
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Read 1 link in 1 folder");
  f.Action("undoAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
}

TEST_F(Window, AFileCutShortAtANulIsShownButSavedOnlyUnderANameChosenAgain) {
  WriteBytes(File("nul.htm"), std::string("<DL><p>\r\n\0rest", 14));
  MainWindow& f = Create();
  Dialogs.Names = {File("nul.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(UI().Messages,
            std::vector<std::string>{File("nul.htm") + " holds a NUL byte at offset 9; only the text before it was read."});
  EXPECT_EQ(Ctx().HtmlLines, TextLines{"<DL><p>"});
  EXPECT_EQ(Ctx().Config.CurrentFile, "");
  EXPECT_EQ(f.windowTitle().toStdString(), "Quillet[*]");
  Dialogs.Names = {""};
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(Dialogs.Shown, (std::vector<std::string>{"open", "save"}));
  EXPECT_EQ(ReadBytes(File("nul.htm")), std::string("<DL><p>\r\n\0rest", 14));
}

TEST_F(Window, PurgeWithoutAFolderSaysSo) {
  MainWindow& f = Create();
  f.folderField->clear();
  f.Action("purgeUrlsAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There is no folder to delete Urls in."});
  EXPECT_TRUE(UI().Questions.empty());
}

TEST_F(Window, HelpShowsTheContentsTheIndexAndTopic160) {
  MainWindow& f = Create();
  f.Action("helpContentsAction")->trigger();
  f.Action("keywordSearchAction")->trigger();
  f.Action("otherSoftwareAction")->trigger();
  ASSERT_EQ(HelpShown.size(), 3u);
  EXPECT_EQ(HelpShown[0], Dir.Path() + "/help/index.html");
  EXPECT_EQ(HelpShown[1], Dir.Path() + "/help/keywords.html");
  EXPECT_EQ(HelpShown[2], Dir.Path() + "/help/other-software.html");
  for (const auto& page : HelpShown) EXPECT_NE(ReadBytes(page).find("Quillet"), std::string::npos);
  EXPECT_TRUE(Exists(Dir.Path() + "/help/style.css"));
}

TEST_F(Window, AHelpPageThatCannotBeShownIsReported) {
  MainWindow& f = Create();
  f.ShowHelpPage = [](const std::string&) { return false; };
  f.Action("helpContentsAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Could not launch " + Dir.Path() + "/help/index.html"});
}

TEST_F(Window, NetscapeRemoveDuplicatesLoadsCleansAndSavesOverTheFileLoaded) {
  const std::string bookmarks = Dir.Path() + "/home/.netscape/bookmarks.html";
  const std::string original =
      "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">again</A>\r\n</DL><p>\r\n";
  WriteBytes(bookmarks, original);
  Ctx().HomeDir = Dir.Path() + "/home";
  MainWindow& f = Create();
  UI().Answers = {Answer::Yes};
  f.Action("removeDuplicatesFromNetscapeAction")->trigger();
  EXPECT_EQ(ReadBytes(bookmarks), "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
  EXPECT_EQ(ReadBytes(bookmarks + ".bak"), original);
  EXPECT_EQ(Ctx().Config.NetscapeFile, bookmarks);
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(UI().Questions, std::vector<std::string>{"Are you sure you want to replace your Netscape bookmarks?"});
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(Window, BoldAndItalicWrapDescriptionsAndKeepTheirMarks) {
  MainWindow& f = Create();
  // On an empty document nothing changes, not even the mark.
  f.Action("boldDescriptionsAction")->trigger();
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"};
  f.ShowDocument();
  f.Action("boldDescriptionsAction")->trigger();
  EXPECT_TRUE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\"><B>A</B></A>");
  EXPECT_TRUE(f.Modified());
  f.Action("italicDescriptionsAction")->trigger();
  EXPECT_TRUE(f.Action("italicDescriptionsAction")->isChecked());
  f.Action("boldDescriptionsAction")->trigger();
  f.Action("italicDescriptionsAction")->trigger();
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_FALSE(f.Action("italicDescriptionsAction")->isChecked());
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">A</A>");
}

TEST_F(Window, ShellCommandsGoToTheDesktop) {
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(Dir.Path()));
  f.Action("exploreFavoritesAction")->trigger();
  f.Action("openFavoritesAction")->trigger();
  f.Action("productPageAction")->trigger();
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.Action("viewInBrowserAction")->trigger();
  ASSERT_EQ(T.Shell.Calls.size(), 4u);
  EXPECT_EQ(T.Shell.Calls[0].Kind, "explore");
  EXPECT_EQ(T.Shell.Calls[0].Target, Dir.Path());
  EXPECT_EQ(T.Shell.Calls[2].Target, kProductPage);
  EXPECT_EQ(T.Shell.Calls[3].Target, Dir.Path() + "/quillettemp.htm");
  EXPECT_EQ(ReadBytes(Dir.Path() + "/quillettemp.htm"), "<DL><p>\r\n</DL><p>\r\n");
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(Window, PurgeAsksAndDeletesOnlyOnYes) {
  MainWindow& f = Create();
  WriteBytes(Dir.Path() + "/Fav/a.url", "[InternetShortcut]\r\nURL=x\r\n");
  f.folderField->setText(QString::fromStdString(Dir.Path() + "/Fav"));
  f.Action("purgeUrlsAction")->trigger();
  EXPECT_TRUE(Exists(Dir.Path() + "/Fav/a.url"));
  UI().Answers = {Answer::Yes};
  f.Action("purgeUrlsAction")->trigger();
  EXPECT_FALSE(Exists(Dir.Path() + "/Fav/a.url"));
  EXPECT_EQ(UI().Questions.back(), "Are you sure you want to delete all Urls in " + Dir.Path() + "/Fav?");
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
