#pragma once
// The main window: the folder field, the document shown as source text or
// rendered, the menu and the tool bar from which every command starts.
#include <QMainWindow>
#include <QList>
#include <QIcon>
#include <functional>
#include <string>

#include "app/DisplayCodec.h"
#include "bookmarks/Context.h"
#include "platform/Dialogs.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolBar;

namespace quillet {

class TRealCoolBar;
class ThtmlPane;
class THelpWindow;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  TForm1(Context& ctx, Dialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  // Controls.
  TRealCoolBar* RealCoolBar1;
  QToolBar* ToolBar2;
  QList<QIcon> ImageList1;
  QLabel* Label1;
  QLineEdit* Edit1;
  QPushButton* btnBrowse;
  QPlainTextEdit* Memo1;
  ThtmlPane* htmlPane1;
  QStatusBar* StatusBar1;
  FileDialogSetup OpenDialog1;
  FileDialogSetup SaveDialog1;

  // Menu items.
  QMenu *File1, *Convert1, *Html1, *RemoveDuplicates1, *Options1, *Help1;
  QAction *OpenFile1, *SaveHtml1, *SaveAs1, *LoadNetscapeBookmarks1, *SaveNetscapeBookmarks1,
      *ExploreFavorites1, *OpeNFavorites1, *PurgeUrls1, *CheckBookmarks1, *Exit1;
  QAction *ConvertUrlsToHtml1, *ConvertHtmlToUrls1, *ImportUrlsintoNetscape1, *ConvertNetscapeBookmarkstoUrls1;
  QAction *SortHtml1, *StripNetscapeTags1, *FromHtml1, *FromNetscapeBookmarks1, *FromUrls1, *ViewPage1,
      *ViewSource1, *BoldDescription1, *ItalicDescription1;
  QAction *WordWrap1, *DoubleSpaceLines1, *IndentHtml1, *BrowserLayout1, *N9;
  QAction *Index1, *KeywordSearch1, *QuilletWebPage1, *VarnholtHomePage1, *EmailVarnholt1,
      *OtherVarnholtSoftware1, *About1;

  // Tool buttons.
  QAction *tbtnLoad, *tbtnSave, *tbtnFavs, *tbtnUrl2Html, *tbtnHtml2Url, *tbtnSort, *tbtnTest, *tbtnHelp,
      *tbtnClose;

  // Window state.
  bool Updating = false;
  int WidthMargin = 0;
  int HeightMargin = 0;
  // Where the help pages are put for the help viewer.
  std::string HelpFile;

  // Writes the settings file at closing; tests count the writes.
  std::function<void(Context&)> WriteSettings;
  // Shows one help page file; the default shows it in the help window.
  std::function<bool(const std::string& file)> ShowHelpPage;
  // The help window, made when first asked for.
  THelpWindow& HelpWindow();

  // The editor's own modified flag: set while the text differs from what was
  // last loaded or saved (the editor's clean state, so an undo back to that
  // text clears it).
  bool Modified() const;
  void SetModified(bool on);
  // The status bar: the current file's path, and what the last command did.
  std::string StatusText() const;
  std::string StatusNote() const;
  // The encoding the source editor shows the document in.
  DisplayEncoding MemoEncoding() const { return memoEncoding_; }

  // Handlers.
  void FormCreate();
  void FormResize();
  // False when the user backed out of closing (cancelled the save question,
  // or the save did not happen): the window stays open.
  bool FormClose();
  // How UpdateHTML puts the document into the source editor, which always
  // holds it: as a new text, whose undo history starts over, or as one step
  // of that history that Ctrl+Z takes back.
  enum class EditorUpdate { NewText, UndoStep };
  void UpdateHTML(EditorUpdate how = EditorUpdate::NewText);
  void Memo1Change();
  void Edit1Change();
  void btnBrowseClick();

  void OpenFile1Click();
  // Loads the file a file manager handed over, leaving the window as the
  // open command leaves it; a failure is shown and the window stays empty.
  void OpenFromCommandLine(const std::string& name);
  void SaveHtml1Click();
  void SaveAs1Click();
  void LoadNetscapeBookmarks1Click();
  void SaveNetscapeBookmarks1Click();
  void ExploreFavorites1Click();
  void OpeNFavorites1Click();
  void PurgeUrls1Click();
  void Exit1Click();

  void ConvertUrlsToHtml1Click();
  void ConvertHtmlToUrls1Click();
  void ImportUrlsintoNetscape1Click();
  void ConvertNetscapeBookmarkstoUrls1Click();

  void SortHtml1Click();
  void StripNetscapeTags1Click();
  void FromHtml1Click();
  void FromNetscapeBookmarks1Click();
  void ViewPage1Click();
  void ViewSource1Click();
  void BoldDescription1Click();
  void ItalicDescription1Click();

  void WordWrap1Click();
  void DoubleSpaceLines1Click();
  void IndentHtml1Click();
  void BrowserLayout1Click();

  void Index1Click();
  void KeywordSearch1Click();
  void QuilletWebPage1Click();
  void VarnholtHomePage1Click();
  void EmailVarnholt1Click();
  void OtherVarnholtSoftware1Click();
  void About1Click();

  void htmlPane1HotSpotClick(const std::string& url, bool& handled);

  // Runs a handler as the menu does: a failure it does not handle ends it
  // and is shown in the error box; the window stays.
  void Run(void (TForm1::*handler)());

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Bold or italic descriptions: the item's mark says which way to go.
  void ToggleDescriptionEffect(QAction* item, char letter);
  // A clean-up of the Html menu; the note says what it did ("Sorted") to how
  // many of what.
  void RunCleanUp(size_t (*cleanUp)(Context&), const char* done, const char* one, const char* many);
  // Shows what a command made of the document, as one undoable step.
  void ShowDocumentStep(const std::string& note);
  // The title (file name, and a mark while modified) and the path in the
  // status bar, after every command.
  void ShowFileState();
  // Hands the document to the pane; a comment left open is reported.
  void ShowInPane();
  // Undo and redo in the rendered view take the editor's steps.
  void UndoInPane(bool redo);
  void BuildControls();
  void BuildMenu();
  void BuildToolBar();
  QAction* Item(QMenu* menu, const char* caption, void (TForm1::*handler)(), const QKeySequence& shortcut);
  QAction* Button(int image, const char* hint, void (TForm1::*handler)());
  void Connect(QAction* action, void (TForm1::*handler)());
  // Asks to save a modified document before it is replaced or the window
  // closes. False when the user backed out (Cancel, Escape, the title-bar
  // button) or the save did not happen: the command stops.
  bool AskSaveIfModified();
  // Runs a load that empties the document first; when it fails or is
  // refused, the document and its file are put back as the views show them.
  bool LoadKeepingDocument(const std::function<bool()>& load);
  // The current file's name as the title shows it; empty without one.
  QString FileName() const;
  // The save question's title names the file: "a.htm - Quillet".
  std::string SaveQuestionTitle() const;
  // The Netscape load steps; false when the user backed out of them. The
  // mark clears only when the bookmark file was loaded.
  bool LoadNetscape();
  std::string FolderFieldText() const;
  void ShowHelp(const char* page);
  // The open command's steps after the file is chosen.
  void OpenChosenFile(const std::string& name);

  Context& ctx_;
  Dialogs& dialogs_;
  QLabel* statusText_;
  QLabel* statusNote_;
  DisplayEncoding memoEncoding_ = DisplayEncoding::Utf8;
  // The settings re-read the entry set up, wrapped while the window lives.
  std::function<void(Context&)> storedReload_;
  DisplayEncoding edit1Encoding_ = DisplayEncoding::Utf8;
  THelpWindow* helpWindow_ = nullptr;
};

}  // namespace quillet
