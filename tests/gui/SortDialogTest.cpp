// Html > Sort...: each choice of the dialog gives the order it names as one
// undo step, comes back the next time, and a folder or locale that is not
// there keeps the dialog open and the document as it was.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUndoStack>

#include "app/Config.h"
#include "app/window/SortDialog.h"
#include "bookmarks/TreeReader.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

const TextLines kDocument = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<DL><p>",
    "    <DT><A HREF=\"http://www.zeta.org/\" ADD_DATE=\"300\">chapter 10</A>",
    "    <DT><H3>Work</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"http://b.org/\">b</A>",
    "        <DT><A HREF=\"http://a.org/\">a</A>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://alpha.net/x\" ADD_DATE=\"100\">Chapter 2</A>",
    "    <DD>about two",
    "    <DT><A HREF=\"http://mid.com/\" ADD_DATE=\"200\">Beta</A>",
    "</DL><p>",
};

// The top level's titles, a folder's own in brackets after it.
std::string Outline(const TextLines& lines) {
  const BookmarkTree tree = ReadBookmarkTree(lines);
  std::string out;
  for (NodeId id : tree.Children(tree.Root())) {
    if (tree.Kind(id) == NodeKind::Opaque) continue;
    out += (out.empty() ? "" : ", ") + tree.Title(id);
    if (tree.Kind(id) != NodeKind::Folder) continue;
    out += " [";
    for (NodeId c : tree.Children(id)) out += (out.back() == '[' ? "" : ", ") + tree.Title(c);
    out += "]";
  }
  return out;
}

// Sets the dialog's controls as a user would pick the settings.
void Pick(SortDialog& d, const SortSettings& s) {
  d.byBox->setCurrentIndex(d.byBox->findData(QString::fromStdString(s.By)));
  d.thenBox->setCurrentIndex(d.thenBox->findData(QString::fromStdString(s.Then)));
  d.reverseBox->setChecked(s.Reverse);
  d.foldersBox->setCurrentIndex(d.foldersBox->findData(QString::fromStdString(s.Folders)));
  d.naturalBox->setChecked(s.Natural);
  d.caseBox->setChecked(s.CaseSensitive);
  d.localeField->setText(QString::fromStdString(s.Locale));
  d.folderBox->setCurrentText(QString::fromStdString(s.Folder));
  d.recursiveBox->setChecked(s.Recursive);
  std::string keep;
  for (const std::string& p : s.KeepOrder) keep += p + "\n";
  d.keepOrderField->setPlainText(QString::fromStdString(keep));
  d.keepToolbarBox->setChecked(s.KeepToolbarOrder);
}

QPushButton* Button(QWidget* dialog, QDialogButtonBox::StandardButton which) {
  return dialog->findChild<QDialogButtonBox*>()->button(which);
}

class SortDialogTest : public ::testing::Test, public WindowFixture {
 protected:
  // Opens the dialog from the menu, picks, presses Sort; what the dialog
  // showed when it opened.
  SortSettings SortWith(const SortSettings& s, const char* action = "sortWithOptionsAction") {
    SortSettings shown;
    OnNextModal([&](QWidget* w) {
      auto* d = qobject_cast<SortDialog*>(w);
      shown = d->Settings();
      Pick(*d, s);
      Button(d, QDialogButtonBox::Ok)->click();
    });
    Item(action).trigger();
    return shown;
  }
};

TEST_F(SortDialogTest, EachChoiceGivesItsOrderAsOneUndoStep) {
  const auto with = [](auto change) {
    SortSettings s;
    change(s);
    return s;
  };
  const struct {
    SortSettings settings;
    std::string want;
  } rows[] = {
      {SortSettings{}, "Work [a, b], Beta, Chapter 2, chapter 10"},
      {with([](SortSettings& s) { s.Natural = false; }), "Work [a, b], Beta, chapter 10, Chapter 2"},
      {with([](SortSettings& s) { s.By = "site", s.Folders = "last"; }), "Chapter 2, Beta, chapter 10, Work [a, b]"},
      {with([](SortSettings& s) { s.By = "added", s.Reverse = true; }), "Work [b, a], chapter 10, Beta, Chapter 2"},
      {with([](SortSettings& s) { s.Folders = "mixed", s.Reverse = true; }), "Work [b, a], chapter 10, Chapter 2, Beta"},
      {with([](SortSettings& s) { s.Folder = "Work", s.Recursive = false; }),
       "chapter 10, Work [a, b], Chapter 2, Beta"},
      {with([](SortSettings& s) { s.KeepOrder = {"Work"}; }), "Work [b, a], Beta, Chapter 2, chapter 10"},
  };
  MainWindow& f = Create();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.want);
    Ctx().HtmlLines = kDocument;
    f.ShowDocument();
    f.SetModified(false);
    SortWith(row.settings);
    EXPECT_EQ(Outline(Ctx().HtmlLines), row.want);
    // A description goes with its link.
    const auto two = std::find(Ctx().HtmlLines.begin(), Ctx().HtmlLines.end(), kDocument[8]);
    ASSERT_NE(two + 1, Ctx().HtmlLines.end());
    EXPECT_EQ(two[1], kDocument[9]);
    EXPECT_TRUE(f.Modified());
    EXPECT_NE(f.StatusNote().find("Sorted"), std::string::npos) << f.StatusNote();
    EXPECT_EQ(LoadSortSettings(Ctx()), row.settings);
    ASSERT_EQ(f.UndoStack().count(), 1);
    f.Undo();
    EXPECT_EQ(Ctx().HtmlLines, kDocument);
  }
  // The choices come back in the next dialog; sorting what is in order
  // already makes no step.
  Ctx().HtmlLines = kDocument;
  f.ShowDocument();
  SortWith(rows[0].settings);
  const TextLines sorted = Ctx().HtmlLines;
  EXPECT_EQ(SortWith(rows[0].settings), rows[0].settings);
  EXPECT_EQ(Ctx().HtmlLines, sorted);
  EXPECT_EQ(f.UndoStack().count(), 1);
  EXPECT_NE(f.StatusNote().find("Already in order"), std::string::npos);
}

TEST_F(SortDialogTest, WhatCannotBeFoundKeepsTheDialogOpenAndTheDocument) {
  MainWindow& f = Create();
  Ctx().HtmlLines = kDocument;
  f.ShowDocument();
  for (const auto& [folder, locale, keep] : {std::tuple{"Nowhere", "", ""}, std::tuple{"", "qqq_ZZZ", ""},
                                            std::tuple{"", "", "Work/Nowhere"}}) {
    SCOPED_TRACE(std::string(folder) + locale + keep);
    bool stayed = false;
    QString said;
    OnNextModal([&](QWidget* w) {
      auto* d = qobject_cast<SortDialog*>(w);
      SortSettings s;
      s.Folder = folder, s.Locale = locale;
      if (*keep) s.KeepOrder = {keep};
      Pick(*d, s);
      Button(d, QDialogButtonBox::Ok)->click();
      stayed = d->isVisible();
      said = d->errorLabel->text();
      Button(d, QDialogButtonBox::Cancel)->click();
    });
    Item("sortWithOptionsAction").trigger();
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(said.isEmpty());
    EXPECT_EQ(Ctx().HtmlLines, kDocument);
    EXPECT_EQ(f.UndoStack().count(), 0);
  }
}

TEST_F(SortDialogTest, AFolderOtherViewsNameIsSortedButNotRemembered) {
  MainWindow& f = Create();
  Ctx().HtmlLines = kDocument;
  f.ShowDocument();
  SortSettings shown;
  OnNextModal([&](QWidget* w) {
    auto* d = qobject_cast<SortDialog*>(w);
    shown = d->Settings();
    Button(d, QDialogButtonBox::Ok)->click();
  });
  f.OpenSortDialog("Work", false);
  EXPECT_EQ(shown.Folder, "Work");
  EXPECT_FALSE(shown.Recursive);
  EXPECT_EQ(Outline(Ctx().HtmlLines), "chapter 10, Work [a, b], Chapter 2, Beta");
  EXPECT_EQ(LoadSortSettings(Ctx()), SortSettings{});
  // The classic sort stays on the tool button.
  Item("sortButton").trigger();
  EXPECT_EQ(f.UndoStack().count(), 2);
}

}  // namespace
}  // namespace quillet::test
