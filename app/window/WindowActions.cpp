// MainWindow: the menus and the tool bar, made from tables. Every item is a
// QAction named in the table (objectName), so tests and later tables of
// commands find it by that name.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSignalBlocker>
#include <QToolBar>
#include <QUndoStack>

#include "app/Commands.h"
#include "app/window/DocumentHistory.h"
#include "app/window/DocumentViews.h"
#include "app/window/MainWindow.h"
#include "app/window/OrganizeView.h"
#include "app/window/RealCoolBar.h"

namespace quillet {

namespace {

enum ItemFlags : unsigned {
  kCheckable = 1,
  kHidden = 2,
  // The items after it, up to kEndSubmenu, form a submenu.
  kSubmenu = 4,
  kEndSubmenu = 8,
  kSeparator = 16,
};

// One menu item. The shortcut is in Qt's portable text ("Ctrl+O"). A null
// caption is that of the item's row in the command table.
struct Item {
  const char* name;
  const char* caption;
  const char* shortcut;
  MainWindow::Command command;
  unsigned flags;
};

struct MenuTable {
  const char* name;
  const char* caption;
  std::vector<Item> items;
};

const Item kSeparatorItem{nullptr, nullptr, nullptr, nullptr, kSeparator};

using W = MainWindow;

// The menu bar, left to right. The captions and shortcuts of File, Convert,
// Html, Options and Help are those the program has always had; the View
// menu's views come from AddView.
const std::vector<MenuTable> kMenuTables = {
  {"fileMenu",
   "&File",
   {{"openFileAction", "&Open Html File", "Ctrl+O", &W::OpenFile, 0},
    {"recentFilesMenu", "&Recent Files", nullptr, nullptr, kSubmenu},
    {nullptr, nullptr, nullptr, nullptr, kEndSubmenu},
    {"saveFileAction", "&Save To File", "Ctrl+S", &W::SaveFile, 0},
    {"saveAsAction", "Save &As", nullptr, &W::SaveAs, 0},
    {"saveForBrowserImportAction", "Save for Browser &Import...", nullptr, &W::SaveForBrowserImport, 0},
    {"importFromBrowserAction", "Import from &Browser...", nullptr, &W::ImportFromBrowser, 0},
    {"exportToChromiumAction", "Export to &Chromium...", nullptr, &W::ExportToChromium, 0},
    kSeparatorItem,
    {"loadNetscapeAction", "&Load Netscape Bookmarks", nullptr, &W::LoadNetscapeFile, 0},
    {"saveNetscapeAction", "Sa&ve Netscape Bookmarks", nullptr, &W::SaveNetscapeFile, kHidden},
    kSeparatorItem,
    {"exploreFavoritesAction", "&Explore Favorites", nullptr, &W::ExploreFavoritesFolder, 0},
    {"openFavoritesAction", "Ope&n Favorites", nullptr, &W::OpenFavoritesFolder, 0},
    {"purgeUrlsAction", "&Purge Urls", nullptr, &W::PurgeUrlsInFolder, 0},
    {"checkBookmarksAction", "Check Bookmarks", nullptr, &W::CheckAllBookmarks, 0},
    kSeparatorItem,
    {"exitAction", "E&xit", "Ctrl+Q", &W::Exit, 0}}},
  {"editMenu",
   "&Edit",
   {{"undoAction", "&Undo", "Ctrl+Z", &W::Undo, 0},
    {"redoAction", "&Redo", "Ctrl+Shift+Z", &W::Redo, 0},
    kSeparatorItem,
    {"copyAction", "&Copy", "Ctrl+C", &W::CopySelection, 0},
    kSeparatorItem,
    {"findAction", "&Find...", "Ctrl+F", &W::OpenFindBar, 0},
    {"findNextAction", "Find &Next", "F3", &W::FindNext, 0},
    {"findPreviousAction", "Find &Previous", "Shift+F3", &W::FindPrevious, 0},
    kSeparatorItem,
    {"selectAllAction", "Select &All", "Ctrl+A", &W::SelectAll, 0}}},
  {"viewMenu",
   "&View",
   {kSeparatorItem,
    {"zoomInAction", "Zoom &In", "Ctrl++", &W::ZoomIn, 0},
    {"zoomOutAction", "Zoom &Out", "Ctrl+-", &W::ZoomOut, 0},
    {"actualSizeAction", "&Actual Size", "Ctrl+0", &W::ActualSize, 0},
    kSeparatorItem,
    {"backAction", "&Back", "Alt+Left", &W::GoBack, 0},
    {"forwardAction", "&Forward", "Alt+Right", &W::GoForward, 0}}},
  {"convertMenu",
   "&Convert",
   {{"urlsToHtmlAction", nullptr, nullptr, &W::ConvertUrlsToHtml, 0},
    {"htmlToUrlsAction", nullptr, nullptr, &W::ConvertHtmlToUrls, 0},
    kSeparatorItem,
    {"urlsToNetscapeAction", nullptr, nullptr, &W::AppendUrlsToNetscape, 0},
    {"netscapeToUrlsAction", nullptr, nullptr, &W::ConvertNetscapeToUrls, 0}}},
  {"htmlMenu",
   "H&tml",
   {{"sortAction", nullptr, nullptr, &W::SortDocument, 0},
    {"sortWithOptionsAction", "S&ort...", nullptr, &W::SortWithOptions, 0},
    {"stripNetscapeTagsAction", nullptr, nullptr, &W::StripDocument, 0},
    {"removeDuplicatesMenu", "&Remove Duplicates", nullptr, nullptr, kSubmenu},
    {"removeDuplicatesFromHtmlAction", nullptr, nullptr, &W::RemoveDuplicatesFromHtml, 0},
    {"removeDuplicatesFromNetscapeAction", "From &Netscape Bookmarks", nullptr, &W::RemoveDuplicatesFromNetscape,
     0},
    {"removeDuplicatesFromUrlsAction", "From &Urls", nullptr, &W::NearDuplicatesInUrls, 0},
    {"nearDuplicatesAction", "Near &Duplicates...", nullptr, &W::FindNearDuplicates, 0},
    {nullptr, nullptr, nullptr, nullptr, kEndSubmenu},
    {"viewInBrowserAction", "&View In Browser", nullptr, &W::ViewInBrowser, 0},
    {"viewSourceAction", "View &Source", "Alt+S", &W::ToggleViewSource, kCheckable},
    kSeparatorItem,
    {"boldDescriptionsAction", "&Bold Descriptions", "Ctrl+B", &W::ToggleBold, kCheckable},
    {"italicDescriptionsAction", "&Italicize Descriptions", "Ctrl+I", &W::ToggleItalic, kCheckable}}},
  {"optionsMenu",
   "&Options",
   {{"wordWrapAction", "&Word Wrap", nullptr, &W::ToggleWordWrap, kCheckable},
    {"doubleSpaceLinesAction", "&Double Space Lines", nullptr, &W::ToggleDoubleSpaceLines, kCheckable},
    {"indentHtmlAction", "I&ndent Html", nullptr, &W::ToggleIndentHtml, kCheckable},
    {"browserLayoutAction", "&Browser Layout", nullptr, &W::ToggleBrowserLayout, kCheckable}}},
  {"helpMenu",
   "&Help",
   {{"helpContentsAction", "&Contents", "F1", &W::ShowHelpContents, 0},
    {"keywordSearchAction", "&Keyword Search", nullptr, &W::ShowKeywordSearch, 0},
    kSeparatorItem,
    {"productPageAction", "&Quillet Web Page", nullptr, &W::VisitProductPage, 0},
    {"makerHomePageAction", "Varnholt &Home Page", nullptr, &W::VisitMakerPage, 0},
    {"emailFeedbackAction", "&E-mail Feedback", nullptr, &W::SendFeedback, 0},
    kSeparatorItem,
    {"otherSoftwareAction", "&Other Varnholt Software", nullptr, &W::ShowOtherSoftware, 0},
    kSeparatorItem,
    {"aboutAction", "&About", nullptr, &W::ShowAbout, 0}}},
};

// The tool bar, left to right: a picture, the hint and the command of a
// menu item; a null name is an 8-pixel separator.
struct Button {
  const char* name;
  const char* picture;
  const char* hint;
  MainWindow::Command command;
};

const Button kButtons[] = {
    {"openFileButton", "load", "Load Html File", &W::OpenFile},
    {"saveFileButton", "save", "Save Html File", &W::SaveFile},
    {nullptr, nullptr, nullptr, nullptr},
    {"exploreFavoritesButton", "favorites", "Organize Favorites", &W::ExploreFavoritesFolder},
    {"urlsToHtmlButton", "urls2html", "Convert Urls To Html", &W::ConvertUrlsToHtml},
    {"htmlToUrlsButton", "html2urls", "Convert Html To Urls", &W::ConvertHtmlToUrls},
    {nullptr, nullptr, nullptr, nullptr},
    {"sortButton", "sort", "Sort Links", &W::SortDocument},
    {"viewInBrowserButton", "view", "View Html", &W::ViewInBrowser},
    {nullptr, nullptr, nullptr, nullptr},
    {"helpButton", "help", "Help", &W::ShowHelpContents},
    {nullptr, nullptr, nullptr, nullptr},
    {"exitButton", "exit", "Exit", &W::Exit},
};

}  // namespace

void MainWindow::Connect(QAction* action, Command command) {
  connect(action, &QAction::triggered, this, [this, action, command] {
    // Qt flips a check mark before the command runs; the commands flip
    // their own marks, so Qt's flip is taken back first.
    if (action->isCheckable()) {
      const QSignalBlocker block(action);
      action->setChecked(!action->isChecked());
    }
    Run(command);
  });
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  for (const MenuTable& table : kMenuTables) {
    // A separator in the menu bar itself, between Options and Help.
    if (table.name == std::string_view("helpMenu")) bar->addSeparator()->setObjectName(QStringLiteral("menuBarSeparator"));
    QMenu* menu = bar->addMenu(QString::fromUtf8(table.caption));
    menu->setObjectName(QString::fromUtf8(table.name));
    QMenu* into = menu;
    for (const Item& item : table.items) {
      if (item.flags & kSeparator) {
        QAction* separator = into->addSeparator();
        // The views of the View menu come before its first separator.
        if (table.name == std::string_view("viewMenu") && !viewsEnd_) viewsEnd_ = separator;
        continue;
      }
      if (item.flags & kEndSubmenu) {
        into = menu;
        continue;
      }
      if (item.flags & kSubmenu) {
        into = menu->addMenu(QString::fromUtf8(item.caption));
        into->setObjectName(QString::fromUtf8(item.name));
        continue;
      }
      const char* caption = item.caption ? item.caption : CommandForAction(item.name)->caption;
      QAction* a = into->addAction(QString::fromUtf8(caption));
      a->setObjectName(QString::fromUtf8(item.name));
      if (item.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut), QKeySequence::PortableText));
      a->setCheckable(item.flags & kCheckable);
      a->setVisible(!(item.flags & kHidden));
      if (item.command) Connect(a, item.command);
    }
  }
  // Ctrl+= zooms in too, where + needs Shift; Ctrl+Y redoes where the
  // desktop has it so.
  QAction* zoomIn = Action("zoomInAction");
  zoomIn->setShortcuts({zoomIn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  QAction* redo = Action("redoAction");
  QList<QKeySequence> redoKeys{redo->shortcut()};
  for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo))
    if (!redoKeys.contains(k)) redoKeys << k;
  redo->setShortcuts(redoKeys);

  QUndoStack& stack = history_->Stack();
  QAction* undo = Action("undoAction");
  undo->setEnabled(stack.canUndo());
  redo->setEnabled(stack.canRedo());
  connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
  source_->SetHistoryActions(undo, redo);

  viewGroup_ = new QActionGroup(this);
  AddView(rendered_, QStringLiteral("&Rendered"), QKeySequence(Qt::CTRL | Qt::Key_1),
          QStringLiteral("renderedViewAction"));
  AddView(source_, QStringLiteral("&Source"), QKeySequence(Qt::CTRL | Qt::Key_2), QStringLiteral("sourceViewAction"));
  organizer_ = new OrganizeView(ctx_, *history_, *statusBar(), views);
  AddView(organizer_, QStringLiteral("&Organize"), QKeySequence(Qt::CTRL | Qt::Key_3),
          QStringLiteral("organizeViewAction"));
  bar->insertMenu(Menu(QStringLiteral("convertMenu"))->menuAction(), organizer_->Menu());
  // A folder's context menu reaches the tools that work on part of a document.
  organizer_->AddFolderAction(QStringLiteral("sort"), QStringLiteral("Sort This Folder..."));
  organizer_->AddFolderAction(QStringLiteral("sortAll"), QStringLiteral("Sort Folder and Subfolders..."));
  organizer_->AddFolderAction(QStringLiteral("dedupe"), QStringLiteral("Find Near Duplicates..."));
  organizer_->AddFolderAction(QStringLiteral("check"), QStringLiteral("Check Links..."));
  connect(organizer_, &OrganizeView::FolderActionRequested, this, [this](const QString& kind, const QString& path) {
    std::optional<std::string> folder;
    if (!path.isEmpty()) folder = path.toStdString();
    if (kind == QLatin1String("sort") || kind == QLatin1String("sortAll"))
      Run([&] { OpenSortDialog(folder, kind == QLatin1String("sortAll")); });
    else if (kind == QLatin1String("dedupe"))
      Run([&] { OpenNearDuplicates(folder); });
    else if (kind == QLatin1String("check"))
      Run([&] { CheckBookmarks(folder ? std::vector<std::string>{*folder} : std::vector<std::string>{}); });
  });
}

void MainWindow::BuildToolBar() {
  toolBar = new QToolBar(coolBar);
  toolBar->setObjectName(QStringLiteral("toolBar"));
  toolBar->setIconSize(QSize(32, 32));
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  // Flat and transparent: the cool bar's picture shows between the buttons.
  toolBar->setStyleSheet(QStringLiteral(
      "QToolBar { background: transparent; border: none; spacing: 0px; }"
      "QToolBar::separator { width: 8px; }"
      "QToolButton { border: 1px solid transparent; border-radius: 2px; background: transparent; }"
      "QToolButton:hover { border-color: palette(mid); background: rgba(255,255,255,90); }"
      "QToolButton:pressed { border-color: palette(dark); background: rgba(0,0,0,40); }"));
  coolBar->SetBandControl(toolBar);
  for (const Button& b : kButtons) {
    if (!b.name) {
      toolBar->addSeparator();
      continue;
    }
    toolIcons << QIcon(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(b.picture)));
    QAction* a = toolBar->addAction(toolIcons.back(), QString::fromUtf8(b.hint));
    a->setObjectName(QString::fromUtf8(b.name));
    a->setToolTip(QString::fromUtf8(b.hint));
    Connect(a, b.command);
    if (QWidget* w = toolBar->widgetForAction(a)) w->setFixedSize(39, 38);
  }
}

}  // namespace quillet
