// The main window's document state and commands, driven as the user would:
// menu items triggered, dialogs and questions answered by script.
#include <gtest/gtest.h>

#include <QAction>
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
#include "platform/Errors.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

const char kSaveQuestion[] = "Html has been changed, Save Html now?";

// Types text at the end of a window's editor, as a keystroke would insert it.
void TypeInto(TForm1& f, const QString& text) {
  QTextCursor c = f.Memo1->textCursor();
  c.movePosition(QTextCursor::End);
  f.Memo1->setTextCursor(c);
  f.Memo1->textCursor().insertText(text);
}

class MainWindow : public ::testing::Test, public WindowFixture {
 protected:
  void TypeAtEnd(const QString& text) { TypeInto(*Form, text); }
  void ShowSource() {
    if (!Form->ViewSource1->isChecked()) Form->ViewSource1->trigger();
  }
};

TEST_F(MainWindow, StartsWithTheRenderedViewTheFolderFieldAndAnEmptyStatusBar) {
  Ctx().Config.FavoritesDir = "/home/ann/Favorites";
  TForm1& f = Create();
  EXPECT_TRUE(f.htmlPane1->isVisible());
  EXPECT_FALSE(f.Memo1->isVisible());
  EXPECT_FALSE(f.ViewSource1->isChecked());
  EXPECT_EQ(f.Edit1->text().toStdString(), "/home/ann/Favorites");
  EXPECT_EQ(f.StatusText(), "");
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(f.windowTitle().toStdString(), "Quillet[*]");
  EXPECT_FALSE(f.isWindowModified());
  EXPECT_EQ(f.pos(), QPoint(216, 131));
  EXPECT_EQ(f.size(), QSize(411, 321));
  EXPECT_EQ(f.OpenDialog1.Filter, "Html files (*.htm)(*.html)|*.HTM;*.HTML");
  EXPECT_EQ(f.SaveDialog1.Filter, f.OpenDialog1.Filter);
}

TEST_F(MainWindow, OpensWithTheDefaultSizeWhenTheSettingsGiveNone) {
  Ctx().Config.Width = 0;
  Ctx().Config.Height = -5;
  TForm1& f = Create();
  EXPECT_EQ(f.size(), QSize(411, 321));
}

TEST_F(MainWindow, MenuItemsCarryTheirCaptionsShortcutsAndVisibility) {
  TForm1& f = Create();
  struct Row {
    QAction* item;
    const char* caption;
    const char* shortcut;
    bool visible;
  };
  const Row rows[] = {
      {f.OpenFile1, "&Open Html File", "Ctrl+O", true},
      {f.SaveHtml1, "&Save To File", "Ctrl+S", true},
      {f.SaveAs1, "Save &As", "", true},
      {f.LoadNetscapeBookmarks1, "&Load Netscape Bookmarks", "", true},
      {f.SaveNetscapeBookmarks1, "Sa&ve Netscape Bookmarks", "", false},
      {f.ExploreFavorites1, "&Explore Favorites", "", true},
      {f.OpeNFavorites1, "Ope&n Favorites", "", true},
      {f.PurgeUrls1, "&Purge Urls", "", true},
      {f.CheckBookmarks1, "Check Bookmarks", "", false},
      {f.Exit1, "E&xit", "", true},
      {f.ConvertUrlsToHtml1, "&Urls to Html", "", true},
      {f.ConvertHtmlToUrls1, "&Html to Urls", "", true},
      {f.ImportUrlsintoNetscape1, "U&rls to Netscape Bookmarks", "", true},
      {f.ConvertNetscapeBookmarkstoUrls1, "&Netscape Bookmarks to Urls", "", true},
      {f.SortHtml1, "So&rt", "", true},
      {f.StripNetscapeTags1, "Strip &Netscape Tags", "", true},
      {f.FromHtml1, "From &Html", "", true},
      {f.FromNetscapeBookmarks1, "From &Netscape Bookmarks", "", true},
      {f.FromUrls1, "From &Urls", "", false},
      {f.ViewPage1, "&View In Browser", "", true},
      {f.ViewSource1, "View &Source", "Alt+S", true},
      {f.BoldDescription1, "&Bold Descriptions", "Ctrl+B", true},
      {f.ItalicDescription1, "&Italicize Descriptions", "Ctrl+I", true},
      {f.WordWrap1, "&Word Wrap", "", true},
      {f.DoubleSpaceLines1, "&Double Space Lines", "", true},
      {f.IndentHtml1, "I&ndent Html", "", true},
      {f.BrowserLayout1, "&Browser Layout", "", true},
      {f.Index1, "&Contents", "F1", true},
      {f.KeywordSearch1, "&Keyword Search", "", true},
      {f.QuilletWebPage1, "&Quillet Web Page", "", true},
      {f.VarnholtHomePage1, "Varnholt &Home Page", "", true},
      {f.EmailVarnholt1, "&E-mail Feedback", "", true},
      {f.OtherVarnholtSoftware1, "&Other Varnholt Software", "", true},
      {f.About1, "&About", "", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.caption);
    EXPECT_EQ(r.item->text().toStdString(), r.caption);
    EXPECT_EQ(r.item->shortcut().toString().toStdString(), r.shortcut);
    EXPECT_EQ(r.item->isVisible(), r.visible);
  }
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(menus.join(' ').toStdString(), "&File &Convert H&tml &Options - &Help");
}

TEST_F(MainWindow, ToolButtonsShowTheirHintsInOrderWithSeparators) {
  TForm1& f = Create();
  QStringList hints;
  for (QAction* a : f.ToolBar2->actions()) hints << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
  EXPECT_EQ(hints.join(',').toStdString(),
            "Load Html File,Save Html File,|,Organize Favorites,Convert Urls To Html,Convert Html To Urls,|,"
            "Sort Links,View Html,|,Help,|,Exit");
  EXPECT_EQ(f.ImageList1.size(), 9);
  for (const QIcon& icon : f.ImageList1) EXPECT_FALSE(icon.pixmap(32, 32).isNull());
  EXPECT_EQ(f.ToolBar2->widgetForAction(f.tbtnLoad)->size(), QSize(39, 38));
  EXPECT_FALSE(f.RealCoolBar1->Bitmap().isNull());
  EXPECT_EQ(f.RealCoolBar1->height(), 45);
}

TEST_F(MainWindow, ToolButtonsRunTheMenuItemsHandlers) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.tbtnTest->trigger();  // nothing yet, and no failure
  f.tbtnHelp->trigger();
  ASSERT_EQ(HelpShown.size(), 1u);
  Dialogs.Names = {""};
  f.tbtnLoad->trigger();
  EXPECT_EQ(Dialogs.Shown, std::vector<std::string>{"open"});
}

TEST_F(MainWindow, ResizingKeepsTheMarginsAndTheBrowseButtonFlush) {
  TForm1& f = Create();
  for (const QSize size : {QSize(411, 321), QSize(640, 480), QSize(900, 300)}) {
    f.resize(size);
    EXPECT_EQ(f.Memo1->width(), size.width() - 26);
    EXPECT_EQ(f.Memo1->height(), size.height() - 152);
    EXPECT_EQ(f.htmlPane1->geometry(), f.Memo1->geometry());
    EXPECT_EQ(f.btnBrowse->geometry().right(), f.Memo1->geometry().right());
    EXPECT_EQ(f.Edit1->width(), f.Memo1->width() - f.btnBrowse->width());
    EXPECT_EQ(f.Memo1->pos(), QPoint(8, 88));
    EXPECT_EQ(f.Edit1->y(), 64);
  }
}

// The mark stays until the text is saved or taken back to what was saved:
// each path below starts from an opened file and ends with Exit, which asks
// while the mark is set and, on Cancel, keeps the window and its changes.
TEST(ModifiedMark, ExitAsksUntilTheTextIsSavedOrBackToWhatWasSaved) {
  using W = WindowFixture;
  const auto sort = [](TForm1& f) { f.SortHtml1->trigger(); };
  const auto viewAndBack = [](TForm1& f) {
    f.ViewSource1->trigger();
    f.ViewSource1->trigger();
  };
  const auto build = [](W& w, TForm1& f) {
    f.Edit1->setText(QString::fromStdString(w.File("Favs")));
    f.ConvertUrlsToHtml1->trigger();
  };
  struct Path {
    const char* name;
    const char* asksTitled;  // the save question's title ("": not checked); none when Exit does not ask
    std::function<void(W&, TForm1&)> steps;
  };
  const Path paths[] = {
      {"sort, source view and back", "a.htm - Quillet", [&](W&, TForm1& f) { sort(f); viewAndBack(f); }},
      {"typing, back to the rendered view", "a.htm - Quillet",
       [](W&, TForm1& f) { f.ViewSource1->trigger(); TypeInto(f, "x"); f.ViewSource1->trigger(); }},
      {"Urls to Html, save dialog cancelled", "Quillet", [&](W& w, TForm1& f) { build(w, f); f.SaveHtml1->trigger(); }},
      {"Urls to Html, Yes to the question, save dialog cancelled: nothing opens", "Quillet",
       [&](W& w, TForm1& f) {
         build(w, f);
         w.UI().Answers = {Answer::Yes};
         f.OpenFile1->trigger();
         EXPECT_EQ(w.Dialogs.Shown, (std::vector<std::string>{"open", "save"}));
       }},
      {"No to the question, open dialog cancelled", "a.htm - Quillet",
       [&](W& w, TForm1& f) { sort(f); w.UI().Answers = {Answer::No}; f.OpenFile1->trigger(); }},
      {"No to the question, a file that cannot be opened", "a.htm - Quillet",
       [&](W& w, TForm1& f) {
         sort(f);
         w.UI().Answers = {Answer::No};
         w.Dialogs.Names = {w.File("missing.htm")};
         f.OpenFile1->trigger();
       }},
      {"No to the question, no browser file to load", "a.htm - Quillet",
       [&](W& w, TForm1& f) { sort(f); w.UI().Answers = {Answer::No}; f.LoadNetscapeBookmarks1->trigger(); }},
      // The search for the browser file forgets the current file's name.
      {"No to the question, no browser file to append to", "",
       [&](W& w, TForm1& f) {
         sort(f);
         w.UI().Answers = {Answer::Yes, Answer::No};
         f.ImportUrlsintoNetscape1->trigger();
       }},
      {"browser file cleaned, not saved over", "bookmarks.html - Quillet",
       [](W& w, TForm1& f) {
         WriteBytes(w.File("home/.netscape/bookmarks.html"),
                    "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
         w.Ctx().HomeDir = w.File("home");
         w.UI().Answers = {Answer::No};
         f.FromNetscapeBookmarks1->trigger();
       }},
      {"sort, saved", nullptr, [&](W&, TForm1& f) { sort(f); f.SaveHtml1->trigger(); }},
      {"sort, source view and back, undone", nullptr, [&](W&, TForm1& f) { sort(f); viewAndBack(f); f.Memo1->undo(); }},
      {"typing saved, more typing undone", nullptr,
       [&](W&, TForm1& f) {
         f.ViewSource1->trigger();
         TypeInto(f, "x");
         f.SaveHtml1->trigger();
         TypeInto(f, "y");
         f.ViewSource1->trigger();
         f.Memo1->undo();
       }},
  };
  for (const Path& p : paths) {
    SCOPED_TRACE(p.name);
    WindowFixture w;
    WriteBytes(w.File("a.htm"),
               "<DL><p>\r\n<DT><A HREF=\"http://b/\">B</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
    WriteBytes(w.File("Favs/c.url"), Shortcut("http://c/"));
    TForm1& f = w.Create();
    w.Dialogs.Names = {w.File("a.htm")};
    f.OpenFile1->trigger();
    ASSERT_FALSE(f.Modified());
    p.steps(w, f);
    w.UI().Questions.clear();
    w.UI().QuestionTitles.clear();
    w.UI().Answers = {Answer::Dismissed};
    f.Exit1->trigger();
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
    EXPECT_EQ(w.Ctx().HtmlLines.size(), static_cast<size_t>(f.Memo1->document()->blockCount()));
    // The title-bar button asks the same; No lets the window go.
    w.UI().Answers = {Answer::No};
    f.close();
    EXPECT_EQ(w.UI().Questions.size(), 2u);
    EXPECT_FALSE(f.isVisible());
  }
}

TEST_F(MainWindow, OpenLoadsTheFileShowsItsNameAndRemembersItsFolder) {
  WriteBytes(File("in/a.htm"), "<DL><p>\r\n<DT><A HREF=\"http://x/\">X</A>\r\n</DL><p>\r\n");
  Ctx().Config.LastDir = "/start";
  TForm1& f = Create();
  f.BoldDescription1->setChecked(true);
  Dialogs.Names = {File("in/a.htm")};
  f.OpenFile1->trigger();
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, "/start");
  EXPECT_EQ(Ctx().HtmlLines.size(), 3u);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("in/a.htm"));
  EXPECT_EQ(Ctx().Config.LastDir, File("in"));
  EXPECT_EQ(f.StatusText(), File("in/a.htm"));
  EXPECT_FALSE(f.BoldDescription1->isChecked());
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(FirstLink(*f.htmlPane1), "http://x/");
  EXPECT_EQ(f.windowTitle().toStdString(), "a.htm[*] - Quillet");
  // A clean-up keeps the path and says what it did.
  f.SortHtml1->trigger();
  EXPECT_EQ(f.StatusText(), File("in/a.htm"));
  EXPECT_EQ(f.StatusNote(), "Sorted 1 link");
  EXPECT_TRUE(f.isWindowModified());
}

TEST_F(MainWindow, OpenInTheRootFolderKeepsItsDelimiter) {
  TForm1& f = Create();
  Dialogs.Names = {"/no-such-file-for-quillet.htm"};
  f.OpenFile1->trigger();
  EXPECT_EQ(Ctx().Config.LastDir, "/");
}

TEST_F(MainWindow, AFailedOpenLeavesTheDocumentViewsFileFlagAndStatus) {
  WriteBytes(File("a.htm"), "<DL><p>\r\n<DT><H3>Folder</H3>\r\n</DL><p>\r\n");
  TForm1& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.OpenFile1->trigger();
  ShowSource();
  TypeAtEnd("x");
  ASSERT_TRUE(f.Modified());
  const QString shown = f.Memo1->toPlainText();
  const TextLines lines = Ctx().HtmlLines;
  f.statusBar()->findChild<QLabel*>()->setText(QStringLiteral("shown"));
  const std::string pane = PaneText(*f.htmlPane1);

  UI().Answers = {Answer::No};
  Dialogs.Names = {File("missing.htm")};
  f.OpenFile1->trigger();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Cannot open file " + File("missing.htm")});
  EXPECT_EQ(Ctx().HtmlLines, lines);
  EXPECT_EQ(f.Memo1->toPlainText(), shown);
  EXPECT_EQ(PaneText(*f.htmlPane1), pane);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("a.htm"));
  EXPECT_TRUE(f.Modified());
  // The status bar shows the file the document still belongs to.
  EXPECT_EQ(f.StatusText(), File("a.htm"));
}

TEST_F(MainWindow, SaveOverwritesAnExistingCurrentFileWithoutADialog) {
  WriteBytes(File("a.htm"), "old");
  TForm1& f = Create();
  Ctx().Config.CurrentFile = File("a.htm");
  Ctx().HtmlLines = {"one", "two"};
  f.SetModified(true);
  f.SaveHtml1->trigger();
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ReadBytes(File("a.htm")), "one\r\ntwo\r\n");
  EXPECT_FALSE(f.Modified());
  EXPECT_TRUE(UI().Messages.empty());
}

TEST_F(MainWindow, SaveAsAlwaysAsksAndTakesTheNewName) {
  WriteBytes(File("a.htm"), "old");
  Ctx().Config.LastDir = Dir.Path();
  TForm1& f = Create();
  Ctx().Config.CurrentFile = File("a.htm");
  Ctx().HtmlLines = {"one"};
  Dialogs.Names = {File("b.htm")};
  f.SaveAs1->trigger();
  EXPECT_EQ(Dialogs.Shown, std::vector<std::string>{"save"});
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, Dir.Path());
  EXPECT_EQ(Ctx().Config.CurrentFile, File("b.htm"));
  EXPECT_EQ(ReadBytes(File("b.htm")), "one\r\n");
  EXPECT_EQ(ReadBytes(File("a.htm")), "old");
}

TEST_F(MainWindow, CancellingTheSaveDialogKeepsTheFlag) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  Dialogs.Names = {""};
  f.SaveHtml1->trigger();
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Ctx().Config.CurrentFile.empty());
}

TEST_F(MainWindow, SavingAnEmptyDocumentSaysSo) {
  TForm1& f = Create();
  f.SaveHtml1->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There is nothing to save."});
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(MainWindow, AFailedSaveSaysSoAndKeepsTheFlag) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  Dialogs.Names = {File("no-such-folder/b.htm")};
  f.SaveHtml1->trigger();
  // The fixed text, then why.
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Could not save file.\nCannot create file " +
                                                    File("no-such-folder/b.htm") + ": its folder does not exist"});
  EXPECT_TRUE(f.Modified());
}

TEST_F(MainWindow, SavingTheNetscapeFileAsksAndDoesNothingOnceItIsGone) {
  WriteBytes(File("bookmark.htm"), "old");
  TForm1& f = Create();
  Ctx().Config.NetscapeFile = Ctx().Config.CurrentFile = File("bookmark.htm");
  Ctx().HtmlLines = {"new"};
  UI().Answers = {Answer::No};
  f.SaveHtml1->trigger();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{"Are you sure you want to replace your Netscape bookmarks?"});
  EXPECT_EQ(ReadBytes(File("bookmark.htm")), "old");

  UI().Answers = {Answer::Yes};
  f.SaveHtml1->trigger();
  EXPECT_EQ(ReadBytes(File("bookmark.htm")), "new\r\n");

  std::remove(File("bookmark.htm").c_str());
  UI().Questions.clear();
  f.SaveHtml1->trigger();
  EXPECT_TRUE(UI().Questions.empty());
  EXPECT_TRUE(UI().Messages.empty());
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_FALSE(Exists(File("bookmark.htm")));
}

TEST_F(MainWindow, ViewSourceSwitchesViewsAndKeepsTheFlag) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"};
  f.SetModified(true);
  f.ViewSource1->trigger();
  EXPECT_TRUE(f.ViewSource1->isChecked());
  EXPECT_TRUE(f.Memo1->isVisible());
  EXPECT_FALSE(f.htmlPane1->isVisible());
  EXPECT_EQ(f.Memo1->toPlainText().toStdString(), "<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n</DL><p>");
  EXPECT_TRUE(f.Modified());
  TypeAtEnd("x");
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(Ctx().HtmlLines.back(), "</DL><p>x");
  f.ViewSource1->trigger();
  EXPECT_FALSE(f.ViewSource1->isChecked());
  EXPECT_TRUE(f.htmlPane1->isVisible());
  EXPECT_TRUE(f.Modified());
}

TEST_F(MainWindow, UpdateWithAnEmptyDocumentLeavesViewsAndStatus) {
  WriteBytes(File("a.htm"), "<DT><A HREF=\"http://a/\">A</A>\r\n");
  TForm1& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.OpenFile1->trigger();
  Ctx().HtmlLines.clear();
  f.UpdateHTML();
  EXPECT_EQ(FirstLink(*f.htmlPane1), "http://a/");
  EXPECT_EQ(f.StatusText(), File("a.htm"));
}

TEST_F(MainWindow, ClosingWritesTheSettingsWithTheWindowsPlace) {
  TForm1& f = Create();
  f.move(100, 60);
  f.resize(500, 400);
  f.close();
  EXPECT_EQ(SettingsWrites, 1);
  EXPECT_EQ(Ctx().Config.Left, 100);
  EXPECT_EQ(Ctx().Config.Top, 60);
  EXPECT_EQ(Ctx().Config.Width, 500);
  EXPECT_EQ(Ctx().Config.Height, 400);
}

TEST_F(MainWindow, ClosingWhileMaximizedWritesNoSettings) {
  TForm1& f = Create();
  f.showMaximized();
  ASSERT_TRUE(f.isMaximized());
  f.close();
  EXPECT_EQ(SettingsWrites, 0);
  EXPECT_EQ(Ctx().Config.Width, 411);
}

TEST_F(MainWindow, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
  TForm1& f = Create();
  f.WriteSettings = [this](Context&) { throw EWriteError(File("Quillet.Ini")); };
  f.close();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Unable to write to " + File("Quillet.Ini")});
  EXPECT_FALSE(f.isVisible());
}

TEST_F(MainWindow, EscapingTheSaveQuestionBacksOutOfTheCommandThatAsked) {
  WriteBytes(File("kept.htm"), "on disk");
  WriteBytes(File("other.htm"), "<DT><A HREF=\"http://o/\">O</A>\r\n");
  WriteBytes(File("Favs/a.url"), Shortcut("http://a/"));
  TForm1& f = Create();
  f.Edit1->setText(QString::fromStdString(File("Favs")));
  Ctx().Config.CurrentFile = File("kept.htm");
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://mine/\">Mine</A>", "</DL><p>"};
  f.UpdateHTML();
  f.SetModified(true);
  // Closing: the window stays open with its changes, and nothing is saved.
  UI().Answers = {Answer::Dismissed};
  f.close();
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(ReadBytes(File("kept.htm")), "on disk");
  // A replacing command does nothing at all.
  Dialogs.Names = {File("other.htm")};
  for (QAction* a : {f.OpenFile1, f.ConvertUrlsToHtml1, f.LoadNetscapeBookmarks1, f.ConvertNetscapeBookmarkstoUrls1,
                     f.FromNetscapeBookmarks1}) {
    SCOPED_TRACE(a->text().toStdString());
    UI().Answers = {Answer::Dismissed};
    a->trigger();
    EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://mine/\">Mine</A>");
    EXPECT_TRUE(f.Modified());
  }
  UI().Answers = {Answer::Yes, Answer::Dismissed};  // append: yes, then back out of saving
  f.ImportUrlsintoNetscape1->trigger();
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

TEST_F(MainWindow, ASaveThatFailsWhileClosingKeepsTheWindowOpen) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  UI().Answers = {Answer::Yes};
  Dialogs.Names = {File("no-such-folder/b.htm")};
  f.close();
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(UI().Messages.size(), 1u);
}

TEST_F(MainWindow, ClosingAModifiedDocumentAnsweredNoSavesNothing) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  UI().Answers = {Answer::No};
  f.close();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{kSaveQuestion});
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(MainWindow, ExitClosesTheWindow) {
  TForm1& f = Create();
  f.Exit1->trigger();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(SettingsWrites, 1);
}

TEST_F(MainWindow, OptionsToggleTheirMarksAndTheSettings) {
  Ctx().Config.DoubleSpaceLines = true;
  Ctx().Config.BrowserLayout = true;
  TForm1& f = Create();
  EXPECT_TRUE(f.DoubleSpaceLines1->isChecked());
  EXPECT_TRUE(f.BrowserLayout1->isChecked());
  f.BrowserLayout1->trigger();
  EXPECT_FALSE(Ctx().Config.BrowserLayout);
  EXPECT_FALSE(f.BrowserLayout1->isChecked());
  f.WordWrap1->trigger();
  EXPECT_TRUE(Ctx().Config.WordWrap);
  EXPECT_TRUE(f.WordWrap1->isChecked());
  EXPECT_EQ(f.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  f.WordWrap1->trigger();
  EXPECT_FALSE(Ctx().Config.WordWrap);
  EXPECT_FALSE(f.WordWrap1->isChecked());
  EXPECT_EQ(f.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  f.DoubleSpaceLines1->trigger();
  EXPECT_FALSE(Ctx().Config.DoubleSpaceLines);
  EXPECT_FALSE(f.DoubleSpaceLines1->isChecked());
  f.IndentHtml1->trigger();
  EXPECT_TRUE(Ctx().Config.IndentHtml);
  EXPECT_TRUE(f.IndentHtml1->isChecked());
  // The mark follows the negated mark, not the setting, when the two disagree.
  Ctx().Config.IndentHtml = false;
  f.IndentHtml1->trigger();
  EXPECT_FALSE(Ctx().Config.IndentHtml);
  EXPECT_FALSE(f.IndentHtml1->isChecked());
}

TEST_F(MainWindow, TheFolderFieldAndBrowseSetTheFavoritesFolder) {
  Ctx().Config.FavoritesDir = "/start";
  TForm1& f = Create();
  f.Edit1->setText(QStringLiteral("/typed"));
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/typed");
  Dialogs.Names = {""};
  f.btnBrowse->click();
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, "/typed");
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/typed");
  Dialogs.Names = {"/chosen/folder"};
  f.btnBrowse->click();
  EXPECT_EQ(f.Edit1->text().toStdString(), "/chosen/folder");
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/chosen/folder");
}

TEST_F(MainWindow, AFolderNameThatIsNotUtf8GoesBackUnchanged) {
  Ctx().Config.FavoritesDir = "/home/ann/Lesezeichen-f\xFCr";
  TForm1& f = Create();
  f.Edit1->setText(f.Edit1->text());
  EXPECT_EQ(Ctx().Config.FavoritesDir, "/home/ann/Lesezeichen-f\xFCr");
}

TEST_F(MainWindow, UrlsToHtmlAsksToSaveBuildsTheDocumentAndSetsTheFlag) {
  WriteBytes(File("Favs/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  TForm1& f = Create();
  Ctx().Config.CurrentFile = File("old.htm");
  f.Edit1->setText(QString::fromStdString(File("Favs")));
  f.SetModified(true);
  UI().Answers = {Answer::No};
  f.ConvertUrlsToHtml1->trigger();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{kSaveQuestion});
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Ctx().Config.CurrentFile.empty());
  EXPECT_EQ(FirstLink(*f.htmlPane1), "http://site/");
}

TEST_F(MainWindow, UrlsToHtmlFollowsTheBrowserLayoutMark) {
  WriteBytes(File("Favs/News/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  TForm1& f = Create();
  f.Edit1->setText(QString::fromStdString(File("Favs")));
  f.BrowserLayout1->trigger();
  f.ConvertUrlsToHtml1->trigger();
  const TextLines& l = Ctx().HtmlLines;
  ASSERT_GT(l.size(), 9u);
  EXPECT_EQ(l[0], "<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  EXPECT_EQ(l[8].rfind("<DT><H3 ADD_DATE=\"", 0), 0u) << l[8];
  EXPECT_EQ(l[9], "<DL><p>");
}

TEST_F(MainWindow, ASecondBuildKeepsTheLayoutMarksTheSettingsFileDoesNotHoldYet) {
  WriteBytes(File("Favs/News/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  // The build re-reads the settings file, which holds the stored options.
  Ctx().ReloadSettings = [](Context& c) {
    c.Config.BrowserLayout = false;
    c.Config.IndentHtml = false;
    c.Config.BoldHtml = true;
  };
  TForm1& f = Create();
  f.Edit1->setText(QString::fromStdString(File("Favs")));
  f.BrowserLayout1->trigger();
  f.IndentHtml1->trigger();
  UI().Answers = {Answer::No, Answer::No};
  f.ConvertUrlsToHtml1->trigger();
  f.ConvertUrlsToHtml1->trigger();
  EXPECT_TRUE(Ctx().Config.BrowserLayout);
  EXPECT_TRUE(Ctx().Config.IndentHtml);
  EXPECT_EQ(Ctx().HtmlLines.at(0), "<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  // The stored emphasis comes back, as before.
  EXPECT_TRUE(Ctx().Config.BoldHtml);
}

TEST_F(MainWindow, UrlsToHtmlFromAMissingFolderKeepsTheViewAndTheFlag) {
  TForm1& f = Create();
  f.Edit1->setText(QString::fromStdString(File("missing")));
  f.ConvertUrlsToHtml1->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Directory not found"});
  EXPECT_FALSE(f.Modified());
}

TEST_F(MainWindow, HtmlToUrlsTargetsTheFolderFieldWithTheBusyCursor) {
  TForm1& f = Create();
  f.Edit1->setText(QStringLiteral("/target"));
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.ConvertHtmlToUrls1->trigger();
  EXPECT_EQ(Ctx().UrlTargetDir, "/target");
  EXPECT_GE(UI().BusyCount, 1);
  EXPECT_EQ(UI().BusyDepth, 0);
  EXPECT_FALSE(f.Modified());
}

TEST_F(MainWindow, CleanUpsDoNothingOnAnEmptyDocument) {
  TForm1& f = Create();
  for (QAction* a : {f.SortHtml1, f.StripNetscapeTags1, f.FromHtml1}) a->trigger();
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(UI().BusyCount, 0);
}

TEST_F(MainWindow, CleanUpsRefreshTheViewAndSetTheFlag) {
  TForm1& f = Create();
  for (QAction* a : {f.SortHtml1, f.StripNetscapeTags1, f.FromHtml1}) {
    SCOPED_TRACE(a->text().toStdString());
    Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://b/\">B</A>", "</DL><p>"};
    f.SetModified(false);
    UI().BusyCount = 0;
    a->trigger();
    EXPECT_TRUE(f.Modified());
    EXPECT_GE(UI().BusyCount, 1);
    EXPECT_EQ(UI().BusyDepth, 0);
    EXPECT_EQ(FirstLink(*f.htmlPane1), "http://b/");
  }
}

TEST_F(MainWindow, ALargeDocumentSortsAndShowsUnderTheBusyCursor) {
  TextLines lines{"<DL><p>"};
  for (int i = 0; i < 100000; ++i)
    lines.push_back("<DT><A HREF=\"http://host/" + std::to_string(i) + "\">Link " + std::to_string(99999 - i) + "</A>");
  lines.push_back("</DL><p>");
  TForm1& f = Create();
  Ctx().HtmlLines = lines;
  f.SortHtml1->trigger();
  EXPECT_GE(UI().BusyCount, 1);
  EXPECT_EQ(UI().BusyDepth, 0);
  EXPECT_EQ(PaneLinks(*f.htmlPane1).size(), 100000u);
  f.ViewSource1->trigger();
  EXPECT_EQ(f.Memo1->document()->blockCount(), 100002);
  // The window paints the result.
  EXPECT_FALSE(f.grab().isNull());
}

TEST_F(MainWindow, EachDocumentCommandIsOneStepThatCtrlZTakesBack) {
  const std::string file = "<DL><p>\r\n<DT><A HREF=\"http://b/\" ADD_DATE=\"1\">B</A>\r\n"
                           "<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n";
  WriteBytes(File("a.htm"), file);
  TForm1& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.OpenFile1->trigger();
  const TextLines opened = Ctx().HtmlLines;
  // In the rendered view: two commands, then the view's own Ctrl+Z.
  f.SortHtml1->trigger();
  EXPECT_EQ(f.StatusNote(), "Sorted 3 links");
  f.FromHtml1->trigger();
  EXPECT_EQ(f.StatusNote(), "Removed 1 duplicate link");
  const TextLines cleaned = Ctx().HtmlLines;
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  for (QAction* a : f.htmlPane1->actions()) {
    if (a->shortcut() == QKeySequence(QKeySequence::Undo)) undo = a;
    if (a->shortcut() == QKeySequence(QKeySequence::Redo)) redo = a;
  }
  ASSERT_TRUE(undo && redo);
  EXPECT_EQ(undo->shortcutContext(), Qt::WidgetWithChildrenShortcut);
  undo->trigger();
  EXPECT_EQ(Ctx().HtmlLines.size(), 5u);  // the duplicate is back
  undo->trigger();
  EXPECT_EQ(Ctx().HtmlLines, opened);
  EXPECT_EQ(FirstLink(*f.htmlPane1), "http://b/");
  // Back where the file was opened: nothing to save.
  EXPECT_FALSE(f.Modified());
  redo->trigger();
  redo->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
  EXPECT_TRUE(f.Modified());

  // In the source view typing and commands share the history.
  ShowSource();
  TypeAtEnd("x");
  f.StripNetscapeTags1->trigger();
  EXPECT_EQ(f.StatusNote(), "Stripped 1 attribute");
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">A</A>");
  f.BoldDescription1->trigger();
  EXPECT_EQ(f.StatusNote(), "Made 2 descriptions bold");
  f.Memo1->undo();
  f.Memo1->undo();
  EXPECT_EQ(Ctx().HtmlLines.back(), "</DL><p>x");
  f.Memo1->undo();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
  // Building from a folder is a step too.
  WriteBytes(File("Favs/c.url"), Shortcut("http://c/"));
  f.Edit1->setText(QString::fromStdString(File("Favs")));
  UI().Answers = {Answer::No};
  f.ConvertUrlsToHtml1->trigger();
  EXPECT_EQ(f.StatusNote(), "Read 1 link in 1 folder");
  f.Memo1->undo();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
}

TEST_F(MainWindow, AFileCutShortAtANulIsShownButSavedOnlyUnderANameChosenAgain) {
  WriteBytes(File("nul.htm"), std::string("<DL><p>\r\n\0rest", 14));
  TForm1& f = Create();
  Dialogs.Names = {File("nul.htm")};
  f.OpenFile1->trigger();
  EXPECT_EQ(UI().Messages,
            std::vector<std::string>{File("nul.htm") + " holds a NUL byte at offset 9; only the text before it was read."});
  EXPECT_EQ(Ctx().HtmlLines, TextLines{"<DL><p>"});
  EXPECT_EQ(Ctx().Config.CurrentFile, "");
  EXPECT_EQ(f.windowTitle().toStdString(), "Quillet[*]");
  Dialogs.Names = {""};
  f.SaveHtml1->trigger();
  EXPECT_EQ(Dialogs.Shown, (std::vector<std::string>{"open", "save"}));
  EXPECT_EQ(ReadBytes(File("nul.htm")), std::string("<DL><p>\r\n\0rest", 14));
}

TEST_F(MainWindow, PurgeWithoutAFolderSaysSo) {
  TForm1& f = Create();
  f.Edit1->clear();
  f.PurgeUrls1->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There is no folder to delete Urls in."});
  EXPECT_TRUE(UI().Questions.empty());
}

TEST_F(MainWindow, HelpShowsTheContentsTheIndexAndTopic160) {
  TForm1& f = Create();
  f.Index1->trigger();
  f.KeywordSearch1->trigger();
  f.OtherVarnholtSoftware1->trigger();
  ASSERT_EQ(HelpShown.size(), 3u);
  EXPECT_EQ(HelpShown[0], Dir.Path() + "/help/index.html");
  EXPECT_EQ(HelpShown[1], Dir.Path() + "/help/keywords.html");
  EXPECT_EQ(HelpShown[2], Dir.Path() + "/help/other-software.html");
  for (const auto& page : HelpShown) EXPECT_NE(ReadBytes(page).find("Quillet"), std::string::npos);
  EXPECT_TRUE(Exists(Dir.Path() + "/help/style.css"));
}

TEST_F(MainWindow, AHelpPageThatCannotBeShownIsReported) {
  TForm1& f = Create();
  f.ShowHelpPage = [](const std::string&) { return false; };
  f.Index1->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Could not launch " + Dir.Path() + "/help/index.html"});
}

TEST_F(MainWindow, NetscapeRemoveDuplicatesLoadsCleansAndSavesOverTheFileLoaded) {
  const std::string bookmarks = Dir.Path() + "/home/.netscape/bookmarks.html";
  const std::string original =
      "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">again</A>\r\n</DL><p>\r\n";
  WriteBytes(bookmarks, original);
  Ctx().HomeDir = Dir.Path() + "/home";
  TForm1& f = Create();
  UI().Answers = {Answer::Yes};
  f.FromNetscapeBookmarks1->trigger();
  EXPECT_EQ(ReadBytes(bookmarks), "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
  EXPECT_EQ(ReadBytes(bookmarks + ".bak"), original);
  EXPECT_EQ(Ctx().Config.NetscapeFile, bookmarks);
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(UI().Questions, std::vector<std::string>{"Are you sure you want to replace your Netscape bookmarks?"});
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(MainWindow, BoldAndItalicWrapDescriptionsAndKeepTheirMarks) {
  TForm1& f = Create();
  // On an empty document nothing changes, not even the mark.
  f.BoldDescription1->trigger();
  EXPECT_FALSE(f.BoldDescription1->isChecked());
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"};
  f.UpdateHTML();
  f.BoldDescription1->trigger();
  EXPECT_TRUE(f.BoldDescription1->isChecked());
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\"><B>A</B></A>");
  EXPECT_TRUE(f.Modified());
  f.ItalicDescription1->trigger();
  EXPECT_TRUE(f.ItalicDescription1->isChecked());
  f.BoldDescription1->trigger();
  f.ItalicDescription1->trigger();
  EXPECT_FALSE(f.BoldDescription1->isChecked());
  EXPECT_FALSE(f.ItalicDescription1->isChecked());
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">A</A>");
}

TEST_F(MainWindow, ShellCommandsGoToTheDesktop) {
  TForm1& f = Create();
  f.Edit1->setText(QString::fromStdString(Dir.Path()));
  f.ExploreFavorites1->trigger();
  f.OpeNFavorites1->trigger();
  f.QuilletWebPage1->trigger();
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.ViewPage1->trigger();
  ASSERT_EQ(T.Shell.Calls.size(), 4u);
  EXPECT_EQ(T.Shell.Calls[0].Kind, "explore");
  EXPECT_EQ(T.Shell.Calls[0].Target, Dir.Path());
  EXPECT_EQ(T.Shell.Calls[2].Target, kProductPage);
  EXPECT_EQ(T.Shell.Calls[3].Target, Dir.Path() + "/quillettemp.htm");
  EXPECT_EQ(ReadBytes(Dir.Path() + "/quillettemp.htm"), "<DL><p>\r\n</DL><p>\r\n");
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(MainWindow, PurgeAsksAndDeletesOnlyOnYes) {
  TForm1& f = Create();
  WriteBytes(Dir.Path() + "/Fav/a.url", "[InternetShortcut]\r\nURL=x\r\n");
  f.Edit1->setText(QString::fromStdString(Dir.Path() + "/Fav"));
  f.PurgeUrls1->trigger();
  EXPECT_TRUE(Exists(Dir.Path() + "/Fav/a.url"));
  UI().Answers = {Answer::Yes};
  f.PurgeUrls1->trigger();
  EXPECT_FALSE(Exists(Dir.Path() + "/Fav/a.url"));
  EXPECT_EQ(UI().Questions.back(), "Are you sure you want to delete all Urls in " + Dir.Path() + "/Fav?");
}

TEST_F(MainWindow, TheRenderedViewShowsTheDocumentAndHandsClickedLinksToTheWindow) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "<DT><H3>Folder</H3>", "<DL><p>", "<DT><A HREF=\"http://a/\">A &amp; B</A>",
                     "</DL><p>", "</DL><p>"};
  f.UpdateHTML();
  EXPECT_EQ(PaneText(*f.htmlPane1), "Folder\nA & B");
  // The window's handler takes web links to the desktop.
  const QPoint at = PanelPointOf(*f.htmlPane1, "A &");
  QTest::mouseClick(f.htmlPane1->viewport(), Qt::LeftButton, {}, at);
  ASSERT_EQ(T.Shell.Calls.size(), 1u);
  EXPECT_EQ(T.Shell.Calls[0].Target, "http://a/");
}

// Typing in the source view, saving and reopening gives back the same bytes.
struct Sample {
  const char* name;
  const char* bytes;
};

class SourceRoundTrip : public MainWindow, public ::testing::WithParamInterface<Sample> {};

TEST_P(SourceRoundTrip, AnUneditedOrRestoredDocumentSavesByteForByte) {
  const std::string original = GetParam().bytes;
  WriteBytes(File("a.htm"), original);
  TForm1& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.OpenFile1->trigger();
  ShowSource();
  TypeAtEnd("z");
  ASSERT_TRUE(f.Modified());
  f.Memo1->textCursor().deletePreviousChar();
  f.SaveHtml1->trigger();
  EXPECT_EQ(ReadBytes(File("a.htm")), original);
  Dialogs.Names = {File("a.htm")};
  f.OpenFile1->trigger();
  f.SaveHtml1->trigger();
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

TEST_F(MainWindow, TypedCharactersAreWrittenInTheDocumentsEncoding) {
  WriteBytes(File("latin.htm"), "caf\xE9\r\n");
  WriteBytes(File("utf8.htm"), "caf\xC3\xA9\r\n");
  TForm1& f = Create();
  Dialogs.Names = {File("latin.htm")};
  f.OpenFile1->trigger();
  ShowSource();
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("caf\u00E9"));
  TypeAtEnd(QStringLiteral("\u00FC\u20AC\u0142"));
  f.SaveHtml1->trigger();
  EXPECT_EQ(ReadBytes(File("latin.htm")), "caf\xE9\xFC\x80?\r\n");

  Dialogs.Names = {File("utf8.htm")};
  f.OpenFile1->trigger();
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("caf\u00E9"));
  TypeAtEnd(QStringLiteral("\u00FC\u20AC\u0142"));
  f.SaveHtml1->trigger();
  EXPECT_EQ(ReadBytes(File("utf8.htm")), "caf\xC3\xA9\xC3\xBC\xE2\x82\xAC\xC5\x82\r\n");
}

TEST_F(MainWindow, EmptyingTheEditorEmptiesTheDocument) {
  TForm1& f = Create();
  Ctx().HtmlLines = {"a", "b"};
  ShowSource();
  f.Memo1->selectAll();
  f.Memo1->textCursor().removeSelectedText();
  EXPECT_TRUE(Ctx().HtmlLines.empty());
}

}  // namespace
}  // namespace quillet::test
