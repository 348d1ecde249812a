// File > Check Bookmarks against the link check's own test server on
// 127.0.0.1-3: results while the window stays usable, Stop, and the two
// changes as single steps of the undo history.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <map>

#include "app/window/CheckWindow.h"
#include "platform/qt/QtHttp.h"
#include "platform/qt/QtScheduler.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/RunProgram.h"

namespace quillet::test {
namespace {

class CheckBookmarks : public ::testing::Test, public WindowFixture {
 protected:
  QtScheduler loop;
  QtHttp http;
  std::unique_ptr<RunningProgram> server;
  std::string port;

  void SetUp() override {
    server = std::make_unique<RunningProgram>(
        "/usr/bin/env", std::vector<std::string>{"python3", std::string(QUILLET_SOURCE_DIR) + "/tests/cli/servers/link_server.py",
                                                 File("port"), File("server.log"), File("stop"), "200", "55"});
    ASSERT_TRUE(server->WaitForError("ready"));
    port = ReadBytes(File("port"));
    Ctx().Services.Net = &http;
    Ctx().Services.Loop = &loop;
  }
  void TearDown() override {
    Form.reset();
    WriteBytes(File("stop"), "");
    server->Finish();
  }
  std::string Url(int host, const std::string& path) {
    return "http://127.0.0." + std::to_string(host) + ":" + port + path;
  }
  // A document of these links, with a window on it, checked at a pace fit
  // for a test: short deadlines, no pause before the second check.
  MainWindow& WindowOn(const std::string& body) {
    WriteBytes(File("links.htm"), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n" + body + "</DL><p>\n");
    MainWindow& f = Create();
    Dialogs.Names = {File("links.htm")};
    Item("openFileAction").trigger();
    f.LinkCheckPace.RecheckAfter = std::chrono::milliseconds(0);
    f.LinkCheckPace.HostInterval = std::chrono::milliseconds(0);
    f.LinkCheckPace.Timeout = std::chrono::milliseconds(1500);
    f.LinkCheckPace.ConnectTimeout = std::chrono::milliseconds(1000);
    f.LinkCheckPace.Retries = 0;
    return f;
  }
  std::string Link(const std::string& url) { return "    <DT><A HREF=\"" + url + "\">" + url + "</A>\n"; }
  // Runs the loop until done says so; false if it never does (the bound
  // only keeps a broken check from hanging the test).
  static bool Until(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) QTest::qWait(10);
    return done();
  }
  std::map<std::string, std::string> States(const CheckWindow& w) {
    std::map<std::string, std::string> states;
    for (size_t i = 0; i < w.Links().size(); ++i) {
      const LinkResult& r = w.Results()[i];
      const std::string& url = w.Links()[i].Url;
      states[url.rfind("http", 0) == 0 ? url.substr(url.find('/', 8)) : url] = r.Checked ? std::string(LinkStateName(r.State)) : "not checked";
    }
    return states;
  }
};

TEST_F(CheckBookmarks, ResultsComeWhileTheWindowRunsAndEachChangeIsOneUndoStep) {
  MainWindow& f = WindowOn(Link(Url(1, "/ok")) + Link(Url(1, "/404")) + Link(Url(2, "/p1")) + Link(Url(2, "/t1")) +
                           Link(Url(2, "/gone")) + Link(Url(3, "/500")) + Link("mailto:ann@example.com"));
  const TextLines opened = Ctx().HtmlLines;
  Item("checkBookmarksAction").trigger();
  CheckWindow* w = f.LinkCheckWindow();
  ASSERT_NE(w, nullptr);
  // The command returns at once: the answers come on the event loop.
  EXPECT_TRUE(w->Running());
  EXPECT_TRUE(w->isVisible());
  ASSERT_TRUE(Until([&] { return !w->Running(); }));
  const std::map<std::string, std::string> expected = {
      {"/ok", "ok"},   {"/404", "dead"}, {"/p1", "redirect-permanent"}, {"/t1", "redirect-temporary"},
      {"/gone", "redirect-permanent"},   {"/500", "error"}, {"mailto:ann@example.com", "skipped"}};
  EXPECT_EQ(States(*w), expected);
  EXPECT_EQ(w->progressBar->value(), 7);
  EXPECT_NE(w->countsLabel->text().toStdString().find("1 dead"), std::string::npos);
  w->filterBox->setCurrentIndex(w->filterBox->findData(static_cast<int>(LinkState::Dead)));
  std::vector<std::string> shown;
  for (int i = 0; i < w->resultList->topLevelItemCount(); ++i)
    if (!w->resultList->topLevelItem(i)->isHidden()) shown.push_back(w->resultList->topLevelItem(i)->text(3).toStdString());
  EXPECT_EQ(shown, std::vector<std::string>{Url(1, "/404")});
  EXPECT_EQ(Ctx().HtmlLines, opened);

  // Move Dead: the question shows what moves; one step, undone to the byte.
  const int steps = f.UndoStack().count();
  UI().Texts = {"Gone for good"};
  UI().Answers = {Answer::Yes};
  w->moveDeadButton->click();
  ASSERT_EQ(UI().Questions.size(), 2u);
  EXPECT_NE(UI().Questions[1].find(Url(1, "/404")), std::string::npos) << UI().Questions[1];
  EXPECT_EQ(UI().Questions[1].find(Url(1, "/ok")), std::string::npos);
  EXPECT_EQ(f.UndoStack().count(), steps + 1);
  EXPECT_TRUE(f.Modified());
  const TextLines moved = Ctx().HtmlLines;
  std::string text;
  for (const std::string& line : moved) text += line + "\n";
  const size_t folder = text.find(">Gone for good</H3>");
  ASSERT_NE(folder, std::string::npos) << text;
  EXPECT_GT(text.find(Url(1, "/404") + "\""), folder);
  EXPECT_LT(text.find(Url(1, "/ok") + "\""), folder);
  Item("undoAction").trigger();
  EXPECT_EQ(Ctx().HtmlLines, opened);
  EXPECT_FALSE(f.Modified());
  Item("redoAction").trigger();
  EXPECT_EQ(Ctx().HtmlLines, moved);

  // Permanent redirects: the one sent to the site's front page stays.
  UI().Answers = {Answer::Yes};
  w->applyRedirectsButton->click();
  EXPECT_EQ(f.UndoStack().count(), steps + 2);
  text.clear();
  for (const std::string& line : Ctx().HtmlLines) text += line + "\n";
  EXPECT_NE(text.find("HREF=\"" + Url(2, "/ok") + "\">" + Url(2, "/p1")), std::string::npos) << text;
  EXPECT_NE(text.find("HREF=\"" + Url(2, "/gone") + "\""), std::string::npos);
  EXPECT_NE(text.find("HREF=\"" + Url(2, "/t1") + "\""), std::string::npos);
  Item("undoAction").trigger();
  EXPECT_EQ(Ctx().HtmlLines, moved);
}

TEST_F(CheckBookmarks, StopKeepsTheResultsSoFarAndChangesNothing) {
  MainWindow& f = WindowOn("    <DT><H3>Shelf</H3>\n    <DL><p>\n" + Link(Url(1, "/ok")) + Link(Url(1, "/404")) +
                           Link(Url(3, "/slow")) + "    </DL><p>\n" + Link(Url(2, "/t1")));
  // The slow answer is still on its way when Stop comes, and the dead link
  // waits for its second check.
  f.LinkCheckPace.Timeout = std::chrono::milliseconds(20000);
  f.LinkCheckPace.RecheckAfter = std::chrono::milliseconds(60000);
  const TextLines opened = Ctx().HtmlLines;
  const int steps = f.UndoStack().count();
  // As the Organize view asks for the folders chosen there.
  f.CheckBookmarks({"No such folder"});
  EXPECT_EQ(f.LinkCheckWindow(), nullptr);
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There are no links to check in the folders chosen."});
  f.CheckBookmarks({"Shelf"});
  CheckWindow* w = f.LinkCheckWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->Links().size(), 3u);
  ASSERT_TRUE(Until([&] { return w->Results()[0].Checked && w->Results()[1].Checked; }));
  ASSERT_TRUE(w->Running());
  w->stopButton->click();
  EXPECT_FALSE(w->Running());
  const std::map<std::string, std::string> expected = {{"/ok", "ok"}, {"/404", "error"}, {"/slow", "not checked"}};
  EXPECT_EQ(States(*w), expected);
  EXPECT_NE(w->Results()[1].Error.find("stopped before the second"), std::string::npos) << w->Results()[1].Error;
  EXPECT_NE(w->summaryLabel->text().toStdString().find("Stopped after 2 of 3 links"), std::string::npos);
  // Nothing surely dead: nothing to move.
  EXPECT_FALSE(w->moveDeadButton->isEnabled());
  EXPECT_FALSE(w->stopButton->isEnabled());
  QTest::qWait(50);
  EXPECT_EQ(w->Results()[2].Checked, false);
  EXPECT_EQ(Ctx().HtmlLines, opened);
  EXPECT_EQ(f.UndoStack().count(), steps);
  EXPECT_FALSE(f.Modified());
}

}  // namespace
}  // namespace quillet::test
