// Html > Remove Duplicates > Near Duplicates... and From Urls: the groups the
// ticked rules make, the ticked copies removed as one undo step that gives
// the text back exactly, and shortcut files moved to the trash.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/window/NearDuplicatesDialog.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

const TextLines kDocument = {
    "<DL><p>",
    "    <DT><H3>A</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"http://x.org/page\">One</A>",
    "        <DD>first",
    "        <DT><A HREF=\"http://x.org/page/\">One slash</A>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://x.org/page\">One https</A>",
    "    <DT><A HREF=\"http://x.org/page\">One again</A>",
    "    <DD>again",
    "    <DT><A HREF=\"http://y.org/\">Other</A>",
    "</DL><p>",
};

// Each group's copies, "x" before a ticked one, groups apart by "; ".
std::string Listing(const NearDuplicatesDialog& d) {
  std::string out;
  for (int g = 0; g < d.groupList->topLevelItemCount(); ++g) {
    const QTreeWidgetItem* head = d.groupList->topLevelItem(g);
    out += g ? "; " : "";
    for (int i = 0; i < head->childCount(); ++i) {
      const QTreeWidgetItem* row = head->child(i);
      out += (i ? ", " : "") + std::string(row->checkState(0) == Qt::Checked ? "x " : "") +
             row->text(NearDuplicatesDialog::kTitle).toStdString();
    }
  }
  return out;
}

void Tick(NearDuplicatesDialog& d, const std::string& rules) {
  for (QCheckBox* box : d.ruleBoxes)
    box->setChecked(rules.find(box->objectName().mid(5).toStdString()) != std::string::npos);
}

class NearDuplicatesDialogTest : public ::testing::Test, public WindowFixture {
 protected:
  // Runs check on the dialog the action opens, then closes it.
  void OnDialog(const std::function<void(NearDuplicatesDialog&)>& check, const char* action = "nearDuplicatesAction") {
    OnNextModal([&](QWidget* w) {
      auto* d = qobject_cast<NearDuplicatesDialog*>(w);
      check(*d);
      d->reject();
    });
    Item(action).trigger();
  }
};

TEST_F(NearDuplicatesDialogTest, TheTickedRulesMakeTheGroups) {
  const struct {
    const char* rules;
    int scope, keep;  // indices of the boxes
    const char* want;
  } rows[] = {
      {"", 0, 0, "One, x One again"},
      {"slash", 0, 0, "One, x One slash, x One again"},
      {"slash,scheme", 0, 0, "One, x One slash, x One https, x One again"},
      {"slash,scheme", 0, 1, "x One, x One slash, x One https, One again"},
      {"slash,scheme", 1, 0, "One, x One slash; One https, x One again"},
      {"www,fragment,tracking,port,host-case,pct,query-order", 0, 0, "One, x One again"},
  };
  Create();
  Ctx().HtmlLines = kDocument;
  Form->ShowDocument();
  OnDialog([&](NearDuplicatesDialog& d) {
    EXPECT_EQ(Listing(d), rows[0].want) << "no rule ticked at first";
    for (const auto& row : rows) {
      SCOPED_TRACE(row.rules);
      Tick(d, row.rules);
      d.scopeBox->setCurrentIndex(row.scope);
      d.keepBox->setCurrentIndex(row.keep);
      EXPECT_EQ(Listing(d), row.want);
    }
    // The folder column names where each copy is.
    EXPECT_EQ(d.groupList->topLevelItem(0)->child(0)->text(NearDuplicatesDialog::kFolder).toStdString(), "A");
  });
  EXPECT_EQ(Ctx().HtmlLines, kDocument);
  EXPECT_FALSE(Form->Modified());
}

TEST_F(NearDuplicatesDialogTest, RemoveTickedIsOneStepThatUndoGivesBackExactly) {
  MainWindow& f = Create();
  Ctx().HtmlLines = kDocument;
  f.ShowDocument();
  OnDialog([&](NearDuplicatesDialog& d) {
    Tick(d, "slash,scheme");
    // Every copy of a group ticked is not removing duplicates.
    d.groupList->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
    EXPECT_FALSE(d.removeButton->isEnabled());
    // Keep "One https" instead of "One".
    d.groupList->topLevelItem(0)->child(2)->setCheckState(0, Qt::Unchecked);
    ASSERT_TRUE(d.removeButton->isEnabled());
    d.removeButton->click();
    EXPECT_EQ(Listing(d), "");
    EXPECT_TRUE(d.summaryLabel->text().startsWith(QStringLiteral("Removed 3 copies")));
  });
  EXPECT_EQ(Ctx().HtmlLines, (TextLines{kDocument[0], kDocument[1], kDocument[2], kDocument[6], kDocument[7],
                                        kDocument[10], kDocument[11]}));
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(f.StatusNote(), "Removed 3 copies");
  ASSERT_EQ(f.UndoStack().count(), 1);
  f.Undo();
  EXPECT_EQ(Ctx().HtmlLines, kDocument);
  EXPECT_FALSE(f.Modified());
}

TEST_F(NearDuplicatesDialogTest, OnAFolderOnlyItsLinksAreLookedAt) {
  MainWindow& f = Create();
  Ctx().HtmlLines = kDocument;
  f.ShowDocument();
  std::string listed;
  OnNextModal([&](QWidget* w) {
    auto* d = qobject_cast<NearDuplicatesDialog*>(w);
    Tick(*d, "slash,scheme");
    listed = Listing(*d);
    d->reject();
  });
  f.OpenNearDuplicates("A");
  EXPECT_EQ(listed, "One, x One slash");
  f.OpenNearDuplicates("Nowhere");
  EXPECT_EQ(UI().Messages.size(), 1u);
}

TEST_F(NearDuplicatesDialogTest, FromUrlsMovesTheTickedShortcutFilesToTheTrash) {
  namespace fs = std::filesystem;
  const std::string data = File("data");
  const char* had = std::getenv("XDG_DATA_HOME");
  const std::string old = had ? had : "";
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  const fs::path favs = File("favs");
  fs::create_directories(favs / "Sub");
  for (const char* name : {"a.url", "Sub/b.url", "c.url"})
    std::ofstream(favs / name) << "[InternetShortcut]\r\nURL=http://x.org/" << (name[0] == 'c' ? "c" : "") << "\r\n";
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(favs.string()));
  OnDialog([&](NearDuplicatesDialog& d) {
    EXPECT_EQ(Listing(d), "a, x b");
    EXPECT_EQ(d.groupList->topLevelItem(0)->child(1)->text(NearDuplicatesDialog::kFolder).toStdString(), "Sub");
    d.removeButton->click();
    EXPECT_EQ(Listing(d), "");
  }, "removeDuplicatesFromUrlsAction");
  if (had) ::setenv("XDG_DATA_HOME", old.c_str(), 1); else ::unsetenv("XDG_DATA_HOME");
  EXPECT_TRUE(fs::exists(favs / "a.url"));
  EXPECT_FALSE(fs::exists(favs / "Sub/b.url"));
  EXPECT_TRUE(fs::exists(fs::path(data) / "Trash/files/b.url"));
  EXPECT_EQ(f.StatusNote(), "Moved 1 shortcut file to the trash");
  EXPECT_EQ(f.UndoStack().count(), 0);
  // No folder: said, and no dialog.
  f.folderField->setText(QString::fromStdString(File("none")));
  Item("removeDuplicatesFromUrlsAction").trigger();
  EXPECT_EQ(UI().Messages.size(), 1u);
}

}  // namespace
}  // namespace quillet::test
