#pragma once
// The main window: the folder field, the document shown in one of its views
// (the page as rendered, the source text), the menus and the tool bar from
// which every command starts.
//
// Implementation: MainWindow.cpp (controls, views, the Edit and View menus,
// place, closing), WindowActions.cpp (the menus and tool buttons, made from
// tables), DocumentCommands.cpp (the File, Convert and Html commands),
// WindowCommands.cpp (options, help, recent files), CleanUpDialogs.cpp (the
// Sort and Near Duplicates dialogs).
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Config.h"
#include "app/DisplayCodec.h"
#include "bookmarks/Context.h"
#include "check/LinkCheck.h"
#include "platform/Dialogs.h"

class QAction;
class QVBoxLayout;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QToolBar;
class QUndoStack;

namespace quillet {

class CheckWindow;
class DocumentHistory;
class DocumentView;
class FindBar;
class OrganizeView;
class RenderedView;
class SourceView;
class THelpWindow;
class TPaneBrowsing;
class TRealCoolBar;
class ThtmlPane;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Context& ctx, Dialogs& dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  // A command of a menu or a tool button.
  using Command = void (MainWindow::*)();

  // Controls (their objectNames are these names).
  TRealCoolBar* coolBar;
  QToolBar* toolBar;
  QList<QIcon> toolIcons;
  QLabel* folderLabel;
  QLineEdit* folderField;
  QPushButton* browseButton;
  QStackedWidget* views;
  ThtmlPane* pane;
  QPlainTextEdit* sourceView;
  FindBar* findBar;
  FileDialogSetup openDialog;
  FileDialogSetup saveDialog;

  // The menus, their items and the tool buttons, by objectName (null for
  // none of that name).
  QAction* Action(const QString& name) const;
  QMenu* Menu(const QString& name) const;

  // Where the help pages are put for the help viewer.
  std::string HelpFile;
  // Writes the settings file at closing; tests count the writes.
  std::function<void(Context&)> WriteSettings;
  // Shows one help page file; the default shows it in the help window.
  std::function<bool(const std::string& file)> ShowHelpPage;
  // The help window, made when first asked for.
  THelpWindow& HelpWindow();

  // The document's one undo history, shared by every view and command.
  DocumentHistory& History() { return *history_; }
  QUndoStack& UndoStack();
  // Set while the text differs from what was last opened or saved.
  bool Modified() const;
  void SetModified(bool on);
  // The status bar: the current file's path, and what the last command did.
  std::string StatusText() const;
  std::string StatusNote() const;
  int Zoom() const { return zoom_; }
  const std::vector<std::string>& RecentFiles() const { return recentFiles_; }

  // The views: another one plugs in with its own item in the View menu.
  DocumentView* CurrentView() const { return current_; }
  RenderedView& Rendered() { return *rendered_; }
  SourceView& Source() { return *source_; }
  OrganizeView& Organizer() { return *organizer_; }
  QAction* AddView(DocumentView* view, const QString& caption, const QKeySequence& shortcut,
                   const QString& actionName);
  void ShowView(DocumentView* view);

  // Shows a document put into the context from outside as a new text: the
  // views show it from the top and the history starts over. An empty
  // document leaves the views as they are.
  void ShowDocument();
  // Loads the file a file manager handed over, leaving the window as the
  // open command leaves it; a failure is shown and the window stays empty.
  void OpenFromCommandLine(const std::string& name);
  // Runs a command as the menu does: a failure it does not handle ends it
  // and is shown in the error box; the window stays.
  void Run(Command command);
  void Run(const std::function<void()>& command);

  // ---- Commands (DocumentCommands.cpp) ----
  void OpenFile();
  void SaveFile();
  void SaveAs();
  void SaveForBrowserImport();
  void LoadNetscapeFile();
  void SaveNetscapeFile();
  void ExploreFavoritesFolder();
  void OpenFavoritesFolder();
  void PurgeUrlsInFolder();
  void Exit();
  void ConvertUrlsToHtml();
  void ConvertHtmlToUrls();
  void AppendUrlsToNetscape();
  void ConvertNetscapeToUrls();
  void SortDocument();
  void StripDocument();
  void RemoveDuplicatesFromHtml();
  void RemoveDuplicatesFromNetscape();
  void ViewInBrowser();
  void ToggleBold();
  void ToggleItalic();
  void BrowseForFolder();

  // ---- The link check and the browsers' stores (LinkCheckCommands.cpp,
  // BrowserStoreCommands.cpp) ----
  void CheckAllBookmarks();
  // Checks the links in these folders (folder paths; none: every link).
  void CheckBookmarks(std::vector<std::string> folderPaths);
  CheckWindow* LinkCheckWindow() const { return checkWindow_; }
  // The pace of a check; the agent and how file: links are found are added.
  CheckOptions LinkCheckPace;
  void ImportFromBrowser();
  void ExportToChromium();

  // ---- The Sort and Near Duplicates dialogs (CleanUpDialogs.cpp) ----
  void SortWithOptions();
  void FindNearDuplicates();
  void NearDuplicatesInUrls();
  // On a folder path of the document (as FolderPathOf gives it), or the
  // whole of it; recursive sorts the folders below it too. A path several
  // folders share sorts them all; near duplicates look in the first. The
  // other views call these.
  void OpenSortDialog(std::optional<std::string> folderPath, bool recursive);
  void OpenNearDuplicates(std::optional<std::string> folderPath);

  // ---- Commands (WindowCommands.cpp) ----
  void ToggleViewSource();
  void ToggleWordWrap();
  void ToggleDoubleSpaceLines();
  void ToggleIndentHtml();
  void ToggleBrowserLayout();
  void ShowHelpContents();
  void ShowKeywordSearch();
  void ShowOtherSoftware();
  void VisitProductPage();
  void VisitMakerPage();
  void SendFeedback();
  void ShowAbout();
  void OpenRecentFile(const std::string& name);

  // ---- The Edit and View menus (MainWindow.cpp) ----
  void Undo();
  void Redo();
  void CopySelection();
  void OpenFindBar();
  void FindNext();
  void FindPrevious();
  void SelectAll();
  void ShowRenderedView();
  void ShowSourceView();
  void ZoomIn();
  void ZoomOut();
  void ActualSize();
  void GoBack();
  void GoForward();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  // Construction.
  void BuildControls();
  void BuildFolderRow(QWidget* client, QVBoxLayout* body);
  void BuildStatusBar();
  void BuildMenus();
  void BuildToolBar();
  void ApplyStoredSettings();
  void PlaceWindow();
  void Connect(QAction* action, Command command);
  // The Edit and View items follow the view shown and what it can do.
  void UpdateViewActions();
  void SetZoom(int percent);
  void Find(bool backward);
  // False when the user backed out of closing (cancelled the save question,
  // or the save did not happen): the window stays open.
  bool PrepareToClose();

  // Document state (DocumentCommands.cpp).
  // Asks to save a modified document before it is replaced or the window
  // closes. False when the user backed out (Cancel, Escape, the title-bar
  // button) or the save did not happen: the command stops.
  bool AskSaveIfModified();
  // Runs a load that empties the document first; when it fails or is
  // refused, the document and its file are put back as the views show them.
  bool LoadKeepingDocument(const std::function<bool()>& load);
  // The open command's steps after the file is chosen.
  void OpenChosenFile(const std::string& name);
  // The Netscape load steps; false when the user backed out of them. The
  // mark clears only when the bookmark file was loaded.
  bool LoadNetscape();
  // A command that changes the document in place: one undoable step, the
  // note saying what it did.
  void RecordStep(TextLines before, const QString& name, const std::string& note);
  // A clean-up switch of the command table run from the Html menu; the note
  // says what it did ("Sorted") to how many of what.
  void RunCleanUp(const char* cleanUpSwitch);
  void ToggleDescriptionEffect(QAction* item, char letter);
  // Sorts with the Sort dialog's choices; what stopped it, or "".
  std::string SortWith(const SortSettings& settings);
  std::string FolderFieldText() const;
  // The title (file name, and a mark while modified) and the path in the
  // status bar, after every command.
  void ShowFileState();
  QString FileName() const;
  // The save question's title names the file: "a.htm - Quillet".
  std::string SaveQuestionTitle() const;

  // Options, help and recent files (WindowCommands.cpp).
  void ShowHelp(const char* page);
  void RememberRecentFile(const std::string& name);
  // Shows and keeps a changed list.
  void SetRecentFiles(std::vector<std::string> files);
  void BuildRecentMenu();

  Context& ctx_;
  Dialogs& dialogs_;
  DocumentHistory* history_;
  RenderedView* rendered_ = nullptr;
  SourceView* source_ = nullptr;
  OrganizeView* organizer_ = nullptr;
  std::vector<DocumentView*> views_;
  DocumentView* current_ = nullptr;
  QActionGroup* viewGroup_ = nullptr;
  QAction* viewsEnd_ = nullptr;
  TPaneBrowsing* browsing_ = nullptr;
  QLabel* statusText_;
  QLabel* statusNote_;
  int zoom_ = 100;
  std::vector<std::string> recentFiles_;
  // The settings re-read the entry set up, wrapped while the window lives.
  std::function<void(Context&)> storedReload_;
  TextEncoding folderEncoding_ = TextEncoding::Utf8;
  THelpWindow* helpWindow_ = nullptr;
  CheckWindow* checkWindow_ = nullptr;
};

}  // namespace quillet
