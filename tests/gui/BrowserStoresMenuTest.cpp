// File > Import from Browser and Export to Chromium, on profiles the tests
// make under a temporary home folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <filesystem>

#include "app/window/ProfileChooser.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

// A Chromium profile's file as the browser writes it, without a checksum.
constexpr char kChromiumBookmarks[] = R"({
   "roots": {
      "bookmark_bar": {"children": [{"date_added": "13300000000000000", "id": "2", "name": "Ann's page",
                                     "type": "url", "url": "https://ann.example/"}],
                       "id": "1", "name": "Bookmarks bar", "type": "folder"},
      "other": {"children": [{"id": "4", "name": "News", "type": "url", "url": "https://news.example/"}],
                "id": "3", "name": "Other bookmarks", "type": "folder"},
      "synced": {"children": [], "id": "5", "name": "Mobile bookmarks", "type": "folder"}
   },
   "version": 1
})";

std::string HostName() {
  char name[256] = {};
  ::gethostname(name, sizeof name - 1);
  return name;
}

class BrowserStores : public ::testing::Test, public WindowFixture {
 protected:
  std::string store;

  BrowserStores() {
    Ctx().HomeDir = File("home");
    store = File("home/.config/chromium/Default/Bookmarks");
    WriteBytes(store, kChromiumBookmarks);
  }
  std::string Text() {
    std::string text;
    for (const std::string& line : Ctx().HtmlLines) text += line + "\n";
    return text;
  }
  // Runs the menu item; the chooser that shows is handed to choose.
  void Choose(const char* item, const std::function<void(ProfileChooser&)>& choose) {
    bool shown = false;
    OnNextModal([&](QWidget* w) {
      shown = true;
      auto* chooser = qobject_cast<ProfileChooser*>(w);
      ASSERT_NE(chooser, nullptr);
      choose(*chooser);
    });
    Item(item).trigger();
    EXPECT_TRUE(shown);
  }
};

TEST_F(BrowserStores, ImportLoadsTheStoreAsANewUnsavedDocumentAfterTheSaveQuestion) {
  MainWindow& f = Create();
  WriteBytes(File("mine.htm"), "<DL><p>\n<DT><A HREF=\"https://mine.example/\">Mine</A>\n</DL><p>\n");
  Dialogs.Names = {File("mine.htm")};
  Item("openFileAction").trigger();
  ShowSource();
  TypeAtEnd(QStringLiteral("typed"));
  const TextLines mine = Ctx().HtmlLines;
  const auto home = Tree(File("home"));

  // Cancel at the save question: no chooser, the changes stay.
  UI().Answers = {Answer::Dismissed};
  Item("importFromBrowserAction").trigger();
  EXPECT_EQ(Ctx().HtmlLines, mine);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("mine.htm"));

  UI().Answers = {Answer::No};
  Choose("importFromBrowserAction", [](ProfileChooser& c) {
    ASSERT_EQ(c.profileList->topLevelItemCount(), 1);
    EXPECT_EQ(c.profileList->topLevelItem(0)->text(0).toStdString(), "Chromium");
    EXPECT_TRUE(c.okButton->isEnabled());
    c.okButton->click();
  });
  const std::string text = Text();
  EXPECT_NE(text.find("Bookmarks bar"), std::string::npos) << text;
  EXPECT_LT(text.find("https://ann.example/"), text.find("Other bookmarks"));
  EXPECT_GT(text.find("https://news.example/"), text.find("Other bookmarks"));
  EXPECT_EQ(text.find("mine.example"), std::string::npos);
  // New and unsaved: no file, the mark set, so Save asks for a name.
  EXPECT_EQ(Ctx().Config.CurrentFile, "");
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(f.isWindowModified());
  EXPECT_FALSE(f.UndoStack().canUndo());
  EXPECT_EQ(f.StatusNote(), "Imported 2 links in 2 folders from Chromium, Default");
  // The missing checksum is said, not refused.
  ASSERT_EQ(UI().Messages.size(), 1u);
  EXPECT_NE(UI().Messages[0].find("no-checksum"), std::string::npos);
  EXPECT_EQ(Tree(File("home")), home);
  EXPECT_EQ(ReadBytes(File("mine.htm")).find("typed"), std::string::npos);
}

TEST_F(BrowserStores, ExportIsRefusedWhileTheBrowserRunsElseWritesWithABackup) {
  MainWindow& f = Create();
  WriteBytes(File("mine.htm"), "<DL><p>\n<DT><A HREF=\"https://mine.example/\">Mine</A>\n</DL><p>\n");
  Dialogs.Names = {File("mine.htm")};
  Item("openFileAction").trigger();
  const TextLines mine = Ctx().HtmlLines;
  const std::string lock = File("home/.config/chromium/SingletonLock");

  std::filesystem::create_symlink(HostName() + "-" + std::to_string(::getpid()), lock);
  Choose("exportToChromiumAction", [](ProfileChooser& c) {
    ASSERT_EQ(c.profileList->topLevelItemCount(), 1);
    EXPECT_NE(c.profileList->topLevelItem(0)->text(1).toStdString().find("running"), std::string::npos);
    c.profileList->setCurrentItem(c.profileList->topLevelItem(0));
    EXPECT_FALSE(c.Chosen());
    EXPECT_FALSE(c.okButton->isEnabled());
    c.cancelButton->click();
  });
  EXPECT_EQ(ReadBytes(store), kChromiumBookmarks);

  std::filesystem::remove(lock);
  UI().Answers = {Answer::Yes};
  Choose("exportToChromiumAction", [](ProfileChooser& c) { c.okButton->click(); });
  ASSERT_EQ(UI().Questions.size(), 1u);
  EXPECT_NE(UI().Questions[0].find("Chromium, Default"), std::string::npos) << UI().Questions[0];
  EXPECT_NE(ReadBytes(store).find("https://mine.example/"), std::string::npos);
  EXPECT_EQ(ReadBytes(store).find("https://ann.example/"), std::string::npos);
  EXPECT_EQ(ReadBytes(store + ".bak"), kChromiumBookmarks);
  // A copy: the document, its file and its mark stay.
  EXPECT_EQ(Ctx().HtmlLines, mine);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("mine.htm"));
  EXPECT_FALSE(f.Modified());
}

}  // namespace
}  // namespace quillet::test
