// The Organize view: its models, every key and drop, each a step of the one
// history that undo and redo take back and forth byte for byte.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTreeView>
#include <QUndoStack>

#include "app/window/DocumentHistory.h"
#include "app/window/OrganizeView.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

const TextLines kDoc = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks</H1>",
    "<DL><p>",
    "    <DT><H3 ADD_DATE=\"1600000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://a.example/\" ADD_DATE=\"1600000000\" ICON=\"data:image/png;base64,"
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg==\">Alpha</A>",
    "        <DT><A HREF=\"ERROR\">Broken</A>",
    "    </DL><p>",
    "    <DT><H3>Work</H3>",
    "    <DL><p>",
    "        <DT><H3>Deep</H3>",
    "        <DL><p>",
    "        </DL><p>",
    "        <DT><A HREF=\"https://b.example/\">Beta</A>",
    "    </DL><p>",
    "    <HR>",
    "    <DT><A HREF=\"https://c.example/\">Gamma</A>",
    "    <DT><A HREF=\"\">Empty</A>",
    "</DL><p>",
};

class Organize : public ::testing::Test, public WindowFixture {
 public:
  OrganizeView& Open(const TextLines& lines = kDoc) {
    MainWindow& f = Create();
    f.resize(800, 500);
    Ctx().HtmlLines = lines;
    f.ShowDocument();
    Item("organizeViewAction").trigger();
    return f.Organizer();
  }
  OrganizeView& View() { return Form->Organizer(); }
  std::string Text() const {
    std::string out;
    for (const std::string& line : Form->History().Lines()) out += line + "\n";
    return out;
  }
  NodeId Id(const std::string& title) {
    const BookmarkTree& tree = View().Tree();
    NodeId found = kNoNode;
    tree.ForEachNode([&](NodeId id) {
      if (found == kNoNode && id != kRootNode && tree.Kind(id) != NodeKind::Opaque && tree.Title(id) == title)
        found = id;
    });
    return found;
  }
  // Shows the folder (empty: the top level) and selects the items, the list focused.
  void Choose(const std::string& folder, const std::vector<std::string>& titles) {
    View().ShowFolder(folder.empty() ? kRootNode : Id(folder));
    std::vector<NodeId> ids;
    for (const std::string& t : titles) ids.push_back(Id(t));
    View().Select(ids);
    QApplication::setActiveWindow(Form.get());
    View().Items()->setFocus();
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* w = QApplication::focusWidget();
    ASSERT_TRUE(w);
    QTest::keyClick(w, key, mods);
  }
  // Types into the editor an F2 or F3 opened and commits it.
  void TypeInEditor(const QString& text) {
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor) << "no editor open";
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits when the window is idle
  }
  void Focus(QWidget* w) {
    QApplication::setActiveWindow(Form.get());
    w->setFocus();
  }
  std::vector<std::string> Selected() {
    std::vector<std::string> out;
    for (NodeId id : View().SelectedIds()) out.push_back(View().Tree().Title(id));
    return out;
  }
  QMimeData* Drag(const std::vector<std::string>& titles) {
    std::vector<NodeId> ids;
    for (const std::string& t : titles) ids.push_back(Id(t));
    return NodesMimeData(View(), ids);
  }
  bool DropOnFolder(QMimeData* data, const std::string& folder, Qt::DropAction action) {
    std::unique_ptr<QMimeData> owned(data);
    return View().FolderModel().dropMimeData(data, action, -1, 0, View().FolderModel().IndexOf(Id(folder)));
  }
};

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool Before(const std::string& text, const std::string& a, const std::string& b) {
  return text.find(a) != std::string::npos && text.find(a) < text.find(b);
}

// Every action: one step; undo gives the text before byte for byte, redo
// the text after; what it did shows in the text.
TEST_F(Organize, EachActionIsOneStepThatUndoAndRedoTakeBackAndForth) {
  struct Case {
    const char* name;
    std::function<void(Organize&)> act;
    std::function<bool(const std::string&)> done;
    std::vector<std::string> selectedAfter;
  };
  const Case cases[] = {
      {"F2 renames", [](Organize& t) { t.Choose("Work", {"Beta"}); t.Key(Qt::Key_F2); t.TypeInEditor("Beta & Co"); },
       [](const std::string& s) { return s.find(">Beta &amp; Co</A>") != std::string::npos; }, {"Beta & Co"}},
      {"F2 renames a folder in the tree",
       [](Organize& t) {
         t.View().ShowFolder(t.Id("Work"));
         t.Focus(t.View().Folders());
         t.Key(Qt::Key_F2);
         t.TypeInEditor("Job");
       },
       [](const std::string& s) { return s.find("<H3>Job</H3>") != std::string::npos; }, {}},
      {"F3 edits the address, kept as typed",
       [](Organize& t) { t.Choose("", {"Gamma"}); t.Key(Qt::Key_F3); t.TypeInEditor("c.example/new"); },
       [](const std::string& s) { return s.find("HREF=\"c.example/new\">Gamma") != std::string::npos; }, {"Gamma"}},
      {"Enter on a link edits its address",
       [](Organize& t) { t.Choose("", {"Empty"}); t.Key(Qt::Key_Return); t.TypeInEditor("https://e.example/"); },
       [](const std::string& s) { return s.find("HREF=\"https://e.example/\">Empty") != std::string::npos; }, {"Empty"}},
      {"Delete", [](Organize& t) { t.Choose("", {"Gamma", "Empty"}); t.Key(Qt::Key_Delete); },
       [](const std::string& s) { return s.find("Gamma") == std::string::npos && s.find("Empty") == std::string::npos; },
       {}},
      {"Delete a folder from the tree",
       [](Organize& t) {
         t.View().ShowFolder(t.Id("Deep"));
         t.Focus(t.View().Folders());
         t.Key(Qt::Key_Delete);
       },
       [](const std::string& s) { return s.find("Deep") == std::string::npos && s.find("Beta") != std::string::npos; },
       {}},
      {"Ctrl+X then Ctrl+V moves",
       [](Organize& t) {
         t.Choose("", {"Gamma"});
         t.Key(Qt::Key_X, Qt::ControlModifier);
         t.Choose("Work", {"Deep"});
         t.Key(Qt::Key_V, Qt::ControlModifier);
       },
       [](const std::string& s) { return Count(s, "Gamma") == 1 && Before(s, "Deep", "Gamma") && Before(s, "Gamma", "Beta"); },
       {"Gamma"}},
      {"Ctrl+C then Ctrl+V copies",
       [](Organize& t) {
         t.Choose("", {"Gamma"});
         t.Key(Qt::Key_C, Qt::ControlModifier);
         t.Choose("Work", {"Beta"});
         t.Key(Qt::Key_V, Qt::ControlModifier);
       },
       [](const std::string& s) { return Count(s, "https://c.example/") == 2; }, {"Gamma"}},
      {"Ctrl+V of another program's text makes links",
       [](Organize& t) {
         QGuiApplication::clipboard()->setText("https://new.example/\nnot an address\nwww.other.example\n");
         t.Choose("", {"Gamma"});
         t.Key(Qt::Key_V, Qt::ControlModifier);
       },
       [](const std::string& s) {
         return Before(s, "Gamma", "HREF=\"https://new.example/\"") && s.find("HREF=\"www.other.example\"") != std::string::npos &&
                s.find("not an address") == std::string::npos;
       },
       {"https://new.example/", "www.other.example"}},
      {"Ctrl+Shift+N makes a folder", [](Organize& t) { t.Choose("", {"Gamma"}); t.Key(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier); },
       [](const std::string& s) { return Before(s, "Gamma", ">New Folder</H3>") && Before(s, ">New Folder</H3>", "Empty"); },
       {"New Folder"}},
      {"Ctrl+Shift+H makes a separator",
       [](Organize& t) { t.Choose("Work", {"Beta"}); t.Key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier); },
       [](const std::string& s) { return Count(s, "<HR>") == 2 && Before(s, "Beta", "<HR>"); }, {""}},
      {"Alt+Up", [](Organize& t) { t.Choose("", {"Empty"}); t.Key(Qt::Key_Up, Qt::AltModifier); },
       [](const std::string& s) { return Before(s, "Empty", "Gamma"); }, {"Empty"}},
      {"Alt+Down moves a block", [](Organize& t) { t.Choose("", {"Toolbar", "Work"}); t.Key(Qt::Key_Down, Qt::AltModifier); },
       [](const std::string& s) { return Before(s, "<HR>", "Toolbar") && Before(s, "Beta", "Gamma"); }, {"Toolbar", "Work"}},
      {"drop on a folder moves",
       [](Organize& t) { t.Choose("", {}); EXPECT_TRUE(t.DropOnFolder(t.Drag({"Gamma", "Empty"}), "Deep", Qt::MoveAction)); },
       [](const std::string& s) { return Before(s, "Deep", "Gamma") && Before(s, "Empty", "Beta"); }, {}},
      {"Ctrl+drop copies",
       [](Organize& t) { t.Choose("", {}); EXPECT_TRUE(t.DropOnFolder(t.Drag({"Work"}), "Toolbar", Qt::CopyAction)); },
       [](const std::string& s) { return Count(s, "<H3>Work</H3>") == 2 && Count(s, "<H3>Deep</H3>") == 2; }, {}},
      {"drop between rows puts them there; they stay selected",
       [](Organize& t) {
         t.Choose("", {"Empty"});
         std::unique_ptr<QMimeData> data(t.Drag({"Empty"}));
         EXPECT_TRUE(t.View().ItemModel().dropMimeData(data.get(), Qt::MoveAction, 0, 0, {}));
       },
       [](const std::string& s) { return Before(s, "Empty", "Toolbar"); }, {"Empty"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Form.reset();
    Open();
    const std::string before = Text();
    const int steps = Form->UndoStack().count();
    c.act(*this);
    const std::string after = Text();
    EXPECT_TRUE(c.done(after)) << after;
    EXPECT_EQ(Form->UndoStack().count(), steps + 1);
    if (!c.selectedAfter.empty()) {
      EXPECT_EQ(Selected(), c.selectedAfter);
    }
    EXPECT_TRUE(Form->Modified());
    Item("undoAction").trigger();
    EXPECT_EQ(Text(), before);
    Item("redoAction").trigger();
    EXPECT_EQ(Text(), after);
    // The view follows the history: after undo it shows the document again.
    Item("undoAction").trigger();
    QApplication::processEvents();
    View().Refresh();
    EXPECT_EQ(View().Tree().Lines(), Form->History().Lines());
  }
}

TEST_F(Organize, AMissingSchemeIsSaidNotAdded) {
  Open();
  Choose("", {"Gamma"});
  Key(Qt::Key_F3);
  TypeInEditor("example.org");
  EXPECT_NE(Text().find("HREF=\"example.org\""), std::string::npos);
  EXPECT_NE(Form->statusBar()->currentMessage().indexOf("no scheme"), -1);
}

TEST_F(Organize, AFolderIsNotDroppedIntoItselfOrBelowIt) {
  Open();
  const std::string before = Text();
  for (const char* target : {"Work", "Deep"})
    for (Qt::DropAction action : {Qt::MoveAction, Qt::CopyAction}) {
      EXPECT_FALSE(DropOnFolder(Drag({"Work"}), target, action)) << target;
      EXPECT_EQ(Text(), before);
    }
  EXPECT_EQ(Form->UndoStack().count(), 0);
  ASSERT_EQ(UI().Messages.size(), 4u);
  EXPECT_NE(UI().Messages[0].find("into itself"), std::string::npos);
}

TEST_F(Organize, TheFilterSearchesTheWholeDocumentAndDeleteTakesExactlyWhatIsSelected) {
  OrganizeView& v = Open();
  QApplication::setActiveWindow(Form.get());
  v.Items()->setFocus();
  Key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(QApplication::focusWidget(), v.FilterField());
  QTest::keyClicks(v.FilterField(), "EXAMPLE");
  const ItemListModel& m = v.ItemModel();
  ASSERT_EQ(m.rowCount(), 3);  // Alpha, Beta, Gamma by their addresses
  ASSERT_EQ(m.columnCount(), 4);
  EXPECT_EQ(m.index(1, ItemListModel::FolderColumn).data().toString(), QStringLiteral("Work"));
  QTest::keyClick(v.FilterField(), Qt::Key_Backspace);
  QTest::keyClicks(v.FilterField(), "e/");  // "EXAMPLe/": fewer, from what was found
  EXPECT_EQ(m.rowCount(), 3);
  v.Select({Id("Alpha"), Id("Gamma")});
  v.Items()->setFocus();
  Key(Qt::Key_Delete);
  const std::string text = Text();
  EXPECT_EQ(text.find("Alpha"), std::string::npos);
  EXPECT_EQ(text.find("Gamma"), std::string::npos);
  for (const char* kept : {"Beta", "Broken", "Empty", "Deep"}) EXPECT_NE(text.find(kept), std::string::npos) << kept;
  EXPECT_EQ(m.rowCount(), 1);
  Key(Qt::Key_Escape);
  EXPECT_TRUE(v.FilterField()->text().isEmpty());
  EXPECT_EQ(m.columnCount(), 3);
  EXPECT_EQ(m.rowCount(), 4);  // Toolbar, Work, the separator, Empty: no Gamma
}

TEST_F(Organize, RowsShowMarksIconsDatesAndTheStatusCounts) {
  OrganizeView& v = Open();
  const FolderTreeModel& folders = v.FolderModel();
  EXPECT_TRUE(folders.IndexOf(Id("Toolbar")).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_FALSE(folders.IndexOf(Id("Work")).data(Qt::FontRole).value<QFont>().bold());
  v.ShowFolder(Id("Toolbar"));
  const ItemListModel& m = v.ItemModel();
  ASSERT_EQ(m.rowCount(), 2);
  EXPECT_FALSE(m.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());  // the favicon
  EXPECT_FALSE(m.index(0, ItemListModel::AddedColumn).data().toString().isEmpty());
  EXPECT_EQ(m.index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));  // ERROR
  v.ShowFolder(kRootNode);
  EXPECT_EQ(m.index(4, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));  // empty address
  EXPECT_EQ(m.index(2, 0).data(KindRole).toInt(), static_cast<int>(NodeKind::Separator));
  v.Select({Id("Gamma"), Id("Empty")});
  EXPECT_EQ(Form->findChild<QLabel*>("organizeCount")->text(), QStringLiteral("2 selected, 5 items in this folder"));
}

TEST_F(Organize, TheModelsHoldTogetherThroughEdits) {
  OrganizeView& v = Open();
  QAbstractItemModelTester folders(&v.FolderModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  QAbstractItemModelTester items(&v.ItemModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  v.Folders()->expandAll();
  Choose("Work", {"Beta"});
  Key(Qt::Key_Up, Qt::AltModifier);
  EXPECT_TRUE(DropOnFolder(Drag({"Deep"}), "Toolbar", Qt::MoveAction));
  v.SetFilter(QStringLiteral("a"));
  v.SetFilter(QString());
  Item("undoAction").trigger();
  v.Refresh();
  EXPECT_EQ(v.FolderModel().rowCount(v.FolderModel().IndexOf(kRootNode)), 2);
}

TEST_F(Organize, AChangeElsewhereIsFollowedAndTheViewKeepsItsFolder) {
  OrganizeView& v = Open();
  v.ShowFolder(Id("Work"));
  Item("sourceViewAction").trigger();
  TypeAtEnd("<DT><A HREF=\"https://z.example/\">Zed</A>\n");
  Item("organizeViewAction").trigger();
  EXPECT_NE(Id("Zed"), kNoNode);
  EXPECT_EQ(v.Tree().Title(v.CurrentFolder()), "Work");
  EXPECT_EQ(v.Tree().Lines(), Form->History().Lines());
}

TEST_F(Organize, FolderActionsOfOtherToolsNameTheFolder) {
  OrganizeView& v = Open();
  QString got;
  QObject::connect(&v, &OrganizeView::FolderActionRequested, [&](const QString& kind, const QString& path) {
    got = kind + QLatin1Char(':') + path;
  });
  v.AddFolderAction(QStringLiteral("probe"), QStringLiteral("Probe..."));
  v.Folders()->expandAll();
  const QRect at = v.Folders()->visualRect(v.FolderModel().IndexOf(Id("Deep")));
  QTimer::singleShot(0, [] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      menu->actions().back()->trigger();
      menu->close();
    }
  });
  emit v.Folders()->customContextMenuRequested(at.center());
  EXPECT_EQ(got, QStringLiteral("probe:Work/Deep"));
}

}  // namespace
}  // namespace quillet::test
