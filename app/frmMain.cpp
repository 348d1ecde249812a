#include "app/frmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QUrl>

#include "app/About.h"
#include "app/Addresses.h"
#include "app/Config.h"
#include "app/HelpPages.h"
#include "app/HelpWindow.h"
#include "app/NetscapeCommands.h"
#include "app/PaneBrowsing.h"
#include "app/RealCoolBar.h"
#include "app/ShellCommands.h"
#include "cleanup/Emphasis.h"
#include "cleanup/RemoveDuplicateLinks.h"
#include "cleanup/SortLinks.h"
#include "cleanup/StripNetscapeTags.h"
#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "convert/HtmlToUrls.h"
#include "convert/Netscape.h"
#include "convert/Purge.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"
#include "platform/FlagOn.h"
#include "platform/Path.h"
#include "platform/Shell.h"
#include "viewer/text/ViewerErrors.h"
#include "viewer/qt/HtmlPane.h"

// The pictures and help pages sit in a static library, whose resource table
// the linker keeps only when something refers to it.
static void InitResources() { Q_INIT_RESOURCE(quillet); }

namespace quillet {

namespace {

constexpr const char* kSaveQuestion = "Html has been changed, Save Html now?";
// Where a window opens when the settings give it no usable size.
constexpr int kDefaultWidth = 411, kDefaultHeight = 321;

QFont ArialFont(int pixels, bool bold = false) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QString Decoded(const std::string& bytes, DisplayEncoding enc) {
  return QString::fromStdString(DecodeForDisplay(bytes, enc));
}

// "1 link" or "5,000 links": the count in groups of three digits.
std::string Counted(size_t n, const char* one, const char* many) {
  std::string digits = std::to_string(n);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits + " " + (n == 1 ? one : many);
}

}  // namespace

TForm1::TForm1(Context& ctx, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), dialogs_(dialogs) {
  InitResources();
  WriteSettings = SaveSettings;
  ShowHelpPage = [this](const std::string& file) {
    HelpWindow().ShowPage(file);
    return true;
  };
  setWindowTitle(QStringLiteral("Quillet[*]"));
  setFont(ArialFont(11));
  BuildControls();
  BuildMenu();
  BuildToolBar();
  FormCreate();
  ShowFileState();
  // A folder conversion reads the settings file again at its end, which
  // restores the stored Bold and Italic marks. The layout options, though,
  // are the user's choice in this window until it closes and saves them: a
  // re-read must not quietly undo a mark that still shows as set.
  storedReload_ = ctx_.ReloadSettings;
  ctx_.ReloadSettings = [this](Context& c) {
    if (storedReload_) storedReload_(c);
    c.Config.WordWrap = WordWrap1->isChecked();
    c.Config.DoubleSpaceLines = DoubleSpaceLines1->isChecked();
    c.Config.IndentHtml = IndentHtml1->isChecked();
    c.Config.BrowserLayout = BrowserLayout1->isChecked();
  };
}

TForm1::~TForm1() { ctx_.ReloadSettings = storedReload_; }

void TForm1::BuildControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  RealCoolBar1 = new TRealCoolBar(client);
  RealCoolBar1->setGeometry(0, 0, 403, 45);
  RealCoolBar1->SetBitmap(QImage(QStringLiteral(":/pictures/coolbar.png")));

  Label1 = new QLabel(QStringLiteral("Path of Favorites to convert:"), client);
  Label1->setFont(ArialFont(12, true));
  Label1->move(8, 48);
  Label1->adjustSize();

  Edit1 = new QLineEdit(client);
  Edit1->setGeometry(8, 64, 361, 24);
  Edit1->setFont(ArialFont(13));
  Edit1->setToolTip(QStringLiteral("Path of URLs to convert:"));
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Run(&TForm1::Edit1Change); });

  btnBrowse = new QPushButton(QStringLiteral("..."), client);
  btnBrowse->setGeometry(368, 65, 25, 22);
  btnBrowse->setFont(ArialFont(11, true));
  btnBrowse->setToolTip(QStringLiteral("Select Different Url Location"));
  connect(btnBrowse, &QPushButton::clicked, this, [this] { Run(&TForm1::btnBrowseClick); });

  Memo1 = new QPlainTextEdit(client);
  Memo1->setGeometry(8, 88, 385, 169);
  Memo1->setFont(ArialFont(13));
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVisible(false);
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Run(&TForm1::Memo1Change); });

  htmlPane1 = new ThtmlPane(client, &ctx_.UI(), &ctx_.Fs());
  htmlPane1->setGeometry(8, 88, 385, 169);
  // Pictures off, the window's background, "Times New Roman" and "Courier
  // New": the settings quillet-render shares.
  htmlPane1->UseSettings(WindowPaneSettings());
  htmlPane1->SetBorderStyle(htSingle);
  htmlPane1->SetNoSelect(false);
  htmlPane1->SetCursor(Qt::IBeamCursor);
  htmlPane1->OnHotSpotClick = [this](const std::string& url, bool& handled) {
    try {
      htmlPane1HotSpotClick(url, handled);
    } catch (const std::exception& e) {
      ctx_.UI().ShowError(e.what());
    }
  };
  // The status bar shows where the link under the mouse leads.
  htmlPane1->OnHotSpotCovered = [this](const std::string& url) {
    if (url.empty())
      StatusBar1->clearMessage();
    else
      StatusBar1->showMessage(QString::fromStdString(url));
  };

  // Ctrl+Z in the rendered view takes back the editor's last step, as it
  // does in the editor itself.
  for (const bool redo : {false, true}) {
    auto* a = new QAction(redo ? QStringLiteral("Redo") : QStringLiteral("Undo"), htmlPane1);
    a->setShortcut(redo ? QKeySequence::Redo : QKeySequence::Undo);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, [this, redo] {
      try {
        UndoInPane(redo);
      } catch (const std::exception& e) {
        ctx_.UI().ShowError(e.what());
      }
    });
    htmlPane1->addAction(a);
  }

  StatusBar1 = statusBar();
  StatusBar1->setSizeGripEnabled(true);
  statusText_ = new QLabel(StatusBar1);
  statusText_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  StatusBar1->addWidget(statusText_, 1);
  statusNote_ = new QLabel(StatusBar1);
  statusNote_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  StatusBar1->addWidget(statusNote_);
  // Back and Forward through the pages followed, links beside the document.
  new TPaneBrowsing(*htmlPane1, *StatusBar1, [this] { return ctx_.Config.CurrentFile; });
  // The title's mark follows the editor's modified flag.
  connect(Memo1->document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
}

void TForm1::Connect(QAction* action, void (TForm1::*handler)()) {
  connect(action, &QAction::triggered, this, [this, action, handler] {
    // Qt flips a check mark before the handler runs; the handlers flip their
    // own marks, so Qt's flip is taken back first.
    if (action->isCheckable()) {
      const QSignalBlocker block(action);
      action->setChecked(!action->isChecked());
    }
    Run(handler);
  });
}

QAction* TForm1::Item(QMenu* menu, const char* caption, void (TForm1::*handler)(), const QKeySequence& shortcut) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  if (handler) Connect(a, handler);
  return a;
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  File1 = bar->addMenu(QStringLiteral("&File"));
  OpenFile1 = Item(File1, "&Open Html File", &TForm1::OpenFile1Click, QKeySequence(Qt::CTRL | Qt::Key_O));
  SaveHtml1 = Item(File1, "&Save To File", &TForm1::SaveHtml1Click, QKeySequence(Qt::CTRL | Qt::Key_S));
  SaveAs1 = Item(File1, "Save &As", &TForm1::SaveAs1Click, {});
  File1->addSeparator();
  LoadNetscapeBookmarks1 = Item(File1, "&Load Netscape Bookmarks", &TForm1::LoadNetscapeBookmarks1Click, {});
  SaveNetscapeBookmarks1 = Item(File1, "Sa&ve Netscape Bookmarks", &TForm1::SaveNetscapeBookmarks1Click, {});
  SaveNetscapeBookmarks1->setVisible(false);
  File1->addSeparator();
  ExploreFavorites1 = Item(File1, "&Explore Favorites", &TForm1::ExploreFavorites1Click, {});
  OpeNFavorites1 = Item(File1, "Ope&n Favorites", &TForm1::OpeNFavorites1Click, {});
  PurgeUrls1 = Item(File1, "&Purge Urls", &TForm1::PurgeUrls1Click, {});
  CheckBookmarks1 = Item(File1, "Check Bookmarks", nullptr, {});
  CheckBookmarks1->setVisible(false);
  File1->addSeparator();
  Exit1 = Item(File1, "E&xit", &TForm1::Exit1Click, {});

  Convert1 = bar->addMenu(QStringLiteral("&Convert"));
  ConvertUrlsToHtml1 = Item(Convert1, "&Urls to Html", &TForm1::ConvertUrlsToHtml1Click, {});
  ConvertHtmlToUrls1 = Item(Convert1, "&Html to Urls", &TForm1::ConvertHtmlToUrls1Click, {});
  Convert1->addSeparator();
  ImportUrlsintoNetscape1 = Item(Convert1, "U&rls to Netscape Bookmarks", &TForm1::ImportUrlsintoNetscape1Click, {});
  ConvertNetscapeBookmarkstoUrls1 =
      Item(Convert1, "&Netscape Bookmarks to Urls", &TForm1::ConvertNetscapeBookmarkstoUrls1Click, {});

  Html1 = bar->addMenu(QStringLiteral("H&tml"));
  SortHtml1 = Item(Html1, "So&rt", &TForm1::SortHtml1Click, {});
  StripNetscapeTags1 = Item(Html1, "Strip &Netscape Tags", &TForm1::StripNetscapeTags1Click, {});
  RemoveDuplicates1 = Html1->addMenu(QStringLiteral("&Remove Duplicates"));
  FromHtml1 = Item(RemoveDuplicates1, "From &Html", &TForm1::FromHtml1Click, {});
  FromNetscapeBookmarks1 = Item(RemoveDuplicates1, "From &Netscape Bookmarks", &TForm1::FromNetscapeBookmarks1Click, {});
  FromUrls1 = Item(RemoveDuplicates1, "From &Urls", nullptr, {});
  FromUrls1->setVisible(false);
  ViewPage1 = Item(Html1, "&View In Browser", &TForm1::ViewPage1Click, {});
  ViewSource1 = Item(Html1, "View &Source", &TForm1::ViewSource1Click, {});
  ViewSource1->setCheckable(true);
  Html1->addSeparator();
  BoldDescription1 = Item(Html1, "&Bold Descriptions", &TForm1::BoldDescription1Click, QKeySequence(Qt::CTRL | Qt::Key_B));
  BoldDescription1->setCheckable(true);
  ItalicDescription1 =
      Item(Html1, "&Italicize Descriptions", &TForm1::ItalicDescription1Click, QKeySequence(Qt::CTRL | Qt::Key_I));
  ItalicDescription1->setCheckable(true);

  Options1 = bar->addMenu(QStringLiteral("&Options"));
  WordWrap1 = Item(Options1, "&Word Wrap", &TForm1::WordWrap1Click, {});
  WordWrap1->setCheckable(true);
  // A group of one, so the menu draws the radio-style mark; it may be unchecked.
  auto* wrapGroup = new QActionGroup(this);
  wrapGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  wrapGroup->addAction(WordWrap1);
  DoubleSpaceLines1 = Item(Options1, "&Double Space Lines", &TForm1::DoubleSpaceLines1Click, {});
  DoubleSpaceLines1->setCheckable(true);
  IndentHtml1 = Item(Options1, "I&ndent Html", &TForm1::IndentHtml1Click, {});
  IndentHtml1->setCheckable(true);
  BrowserLayout1 = Item(Options1, "&Browser Layout", &TForm1::BrowserLayout1Click, {});
  BrowserLayout1->setCheckable(true);

  N9 = bar->addSeparator();

  Help1 = bar->addMenu(QStringLiteral("&Help"));
  Index1 = Item(Help1, "&Contents", &TForm1::Index1Click, QKeySequence(Qt::Key_F1));
  KeywordSearch1 = Item(Help1, "&Keyword Search", &TForm1::KeywordSearch1Click, {});
  Help1->addSeparator();
  QuilletWebPage1 = Item(Help1, "&Quillet Web Page", &TForm1::QuilletWebPage1Click, {});
  VarnholtHomePage1 = Item(Help1, "Varnholt &Home Page", &TForm1::VarnholtHomePage1Click, {});
  EmailVarnholt1 = Item(Help1, "&E-mail Feedback", &TForm1::EmailVarnholt1Click, {});
  Help1->addSeparator();
  OtherVarnholtSoftware1 = Item(Help1, "&Other Varnholt Software", &TForm1::OtherVarnholtSoftware1Click, {});
  Help1->addSeparator();
  About1 = Item(Help1, "&About", &TForm1::About1Click, {});
}

QAction* TForm1::Button(int image, const char* hint, void (TForm1::*handler)()) {
  QAction* a = ToolBar2->addAction(ImageList1.value(image), QString::fromUtf8(hint));
  a->setToolTip(QString::fromUtf8(hint));
  Connect(a, handler);
  if (QWidget* w = ToolBar2->widgetForAction(a)) w->setFixedSize(39, 38);
  return a;
}

void TForm1::BuildToolBar() {
  for (const char* name : {"load", "save", "favorites", "urls2html", "html2urls", "sort", "view", "help", "exit"})
    ImageList1 << QIcon(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));

  ToolBar2 = new QToolBar(RealCoolBar1);
  ToolBar2->setIconSize(QSize(32, 32));
  ToolBar2->setMovable(false);
  ToolBar2->setFloatable(false);
  // Flat and transparent: the cool bar's picture shows between the buttons.
  ToolBar2->setStyleSheet(QStringLiteral(
      "QToolBar { background: transparent; border: none; spacing: 0px; }"
      "QToolBar::separator { width: 8px; }"
      "QToolButton { border: 1px solid transparent; border-radius: 2px; background: transparent; }"
      "QToolButton:hover { border-color: palette(mid); background: rgba(255,255,255,90); }"
      "QToolButton:pressed { border-color: palette(dark); background: rgba(0,0,0,40); }"));
  RealCoolBar1->SetBandControl(ToolBar2);

  tbtnLoad = Button(0, "Load Html File", &TForm1::OpenFile1Click);
  tbtnSave = Button(1, "Save Html File", &TForm1::SaveHtml1Click);
  ToolBar2->addSeparator();
  tbtnFavs = Button(2, "Organize Favorites", &TForm1::ExploreFavorites1Click);
  tbtnUrl2Html = Button(3, "Convert Urls To Html", &TForm1::ConvertUrlsToHtml1Click);
  tbtnHtml2Url = Button(4, "Convert Html To Urls", &TForm1::ConvertHtmlToUrls1Click);
  ToolBar2->addSeparator();
  tbtnSort = Button(5, "Sort Links", &TForm1::SortHtml1Click);
  tbtnTest = Button(6, "View Html", &TForm1::ViewPage1Click);
  ToolBar2->addSeparator();
  tbtnHelp = Button(7, "Help", &TForm1::Index1Click);
  ToolBar2->addSeparator();
  tbtnClose = Button(8, "Exit", &TForm1::Exit1Click);
}

void TForm1::Run(void (TForm1::*handler)()) {
  // The note tells of the last command only.
  statusNote_->clear();
  try {
    (this->*handler)();
  } catch (const std::exception& e) {
    ctx_.UI().ShowError(e.what());
  }
  ShowFileState();
}

// ---- document state ----

bool TForm1::Modified() const { return Memo1->document()->isModified(); }

void TForm1::SetModified(bool on) { Memo1->document()->setModified(on); }

std::string TForm1::StatusText() const { return statusText_->text().toStdString(); }

std::string TForm1::StatusNote() const { return statusNote_->text().toStdString(); }

QString TForm1::FileName() const {
  const std::string& file = ctx_.Config.CurrentFile;
  return file.empty() ? QString() : Decoded(ExtractFileName(file), ChooseDisplayEncoding({file}));
}

void TForm1::ShowFileState() {
  const QString name = FileName();
  setWindowTitle(name.isEmpty() ? QStringLiteral("Quillet[*]") : name + QStringLiteral("[*] - Quillet"));
  setWindowModified(Modified());
  const std::string& file = ctx_.Config.CurrentFile;
  statusText_->setText(Decoded(file, ChooseDisplayEncoding({file})));
}

std::string TForm1::SaveQuestionTitle() const {
  const QString name = FileName();
  return name.isEmpty() ? std::string("Quillet") : (name + QStringLiteral(" - Quillet")).toStdString();
}

void TForm1::FormCreate() {
  ViewSource1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
  HelpFile = ctx_.DataDir + "help" + PathDelim;
  WidthMargin = 26;
  HeightMargin = 152;
  // A settings file may hold any numbers; a window too small to see would be lost.
  const int width = ctx_.Config.Width > 0 ? ctx_.Config.Width : kDefaultWidth;
  const int height = ctx_.Config.Height > 0 ? ctx_.Config.Height : kDefaultHeight;
  move(ctx_.Config.Left, ctx_.Config.Top);
  resize(width, height);
  Updating = false;
  WordWrap1->setChecked(ctx_.Config.WordWrap);
  DoubleSpaceLines1->setChecked(ctx_.Config.DoubleSpaceLines);
  IndentHtml1->setChecked(ctx_.Config.IndentHtml);
  BrowserLayout1->setChecked(ctx_.Config.BrowserLayout);
  BoldDescription1->setChecked(ctx_.Config.BoldHtml);
  ItalicDescription1->setChecked(ctx_.Config.ItalicHtml);
  Memo1->setLineWrapMode(WordWrap1->isChecked() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  edit1Encoding_ = ChooseDisplayEncoding({ctx_.Config.FavoritesDir});
  Edit1->setText(Decoded(ctx_.Config.FavoritesDir, edit1Encoding_));
  OpenDialog1.Filter = SaveDialog1.Filter = "Html files (*.htm)(*.html)|*.HTM;*.HTML";
  OpenDialog1.DefaultExt = SaveDialog1.DefaultExt = "*.htm";
  FormResize();
}

void TForm1::FormResize() {
  const int w = std::max(0, width() - WidthMargin);
  const int h = std::max(0, height() - HeightMargin);
  Memo1->resize(w, h);
  htmlPane1->setGeometry(Memo1->geometry());
  btnBrowse->move(Memo1->x() + Memo1->width() - btnBrowse->width(), btnBrowse->y());
  Edit1->resize(std::max(0, Memo1->width() - btnBrowse->width()), Edit1->height());
  RealCoolBar1->resize(std::max(RealCoolBar1->width(), centralWidget()->width()), RealCoolBar1->height());
}

void TForm1::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

void TForm1::UpdateHTML(EditorUpdate how) {
  if (ctx_.HtmlLines.empty()) return;
  const BusyCursor busy(ctx_.UI());
  // The editor holds the document in either view, so that its undo history
  // holds every step.
  const DisplayEncoding enc = ChooseDisplayEncoding(ctx_.HtmlLines);
  std::string text;
  for (const auto& line : ctx_.HtmlLines) text.append(DecodeForDisplay(line, enc)).append("\n");
  text.pop_back();
  const QString shown = QString::fromStdString(text);
  // Already shown (a switch of views): the history stays as it is.
  if (enc != memoEncoding_ || shown != Memo1->toPlainText()) {
    const FlagOn updating(Updating);
    if (how == EditorUpdate::UndoStep && enc == memoEncoding_) {
      // One edit, so one step; where the user was stays in view.
      const int at = Memo1->textCursor().position();
      const int scrolled = Memo1->verticalScrollBar()->value();
      QTextCursor all(Memo1->document());
      all.beginEditBlock();
      all.select(QTextCursor::Document);
      all.insertText(shown);
      all.endEditBlock();
      QTextCursor back(Memo1->document());
      back.setPosition(std::min(at, Memo1->document()->characterCount() - 1));
      Memo1->setTextCursor(back);
      Memo1->verticalScrollBar()->setValue(scrolled);
    } else {
      // Steps of another encoding would not read back: the history starts over.
      const bool modified = Modified();
      memoEncoding_ = enc;
      Memo1->setPlainText(shown);
      // Refilling is not an edit: the flag stays as the command left it. A
      // step is one, also when it starts the history over.
      SetModified(modified || how == EditorUpdate::UndoStep);
    }
  }
  if (!ViewSource1->isChecked()) ShowInPane();
}

void TForm1::ShowInPane() {
  // The pane shows what it could read of a comment left open; the error box
  // says so, and the command goes on.
  try {
    htmlPane1->LoadStrings(ctx_.HtmlLines);
  } catch (const EParseError& e) {
    ctx_.UI().ShowError(e.what());
  }
}

THelpWindow& TForm1::HelpWindow() {
  if (!helpWindow_) helpWindow_ = new THelpWindow(ctx_, this);
  return *helpWindow_;
}

void TForm1::ShowDocumentStep(const std::string& note) {
  UpdateHTML(EditorUpdate::UndoStep);
  SetModified(true);
  statusNote_->setText(QString::fromStdString(note));
}

void TForm1::UndoInPane(bool redo) {
  // The editor's change handler copies the text back into the document.
  if (redo)
    Memo1->redo();
  else
    Memo1->undo();
  if (!ctx_.HtmlLines.empty()) ShowInPane();
  ShowFileState();
}

void TForm1::Memo1Change() {
  if (Updating) return;
  ctx_.HtmlLines.clear();
  const QTextDocument* doc = Memo1->document();
  // An editor with no text holds no line.
  if (doc->characterCount() <= 1) return;
  ctx_.HtmlLines.reserve(static_cast<size_t>(doc->blockCount()));
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    ctx_.HtmlLines.push_back(EncodeFromDisplay(b.text().toStdString(), memoEncoding_));
}

std::string TForm1::FolderFieldText() const { return EncodeFromDisplay(Edit1->text().toStdString(), edit1Encoding_); }

void TForm1::Edit1Change() { ctx_.Config.FavoritesDir = FolderFieldText(); }

void TForm1::btnBrowseClick() {
  ctx_.Config.FavoritesDir = FolderFieldText();
  std::string folder;
  if (!dialogs_.SelectFolder(ctx_.Config.FavoritesDir, folder)) return;
  edit1Encoding_ = ChooseDisplayEncoding({folder});
  Edit1->setText(Decoded(folder, edit1Encoding_));
}

bool TForm1::AskSaveIfModified() {
  if (!Modified()) return true;
  switch (ctx_.UI().AskOrCancel(kSaveQuestion, SaveQuestionTitle())) {
    case Answer::No:
      return true;
    case Answer::Dismissed:
      // Cancel is how one backs out: it must neither overwrite the file nor
      // let the changes go.
      return false;
    case Answer::Yes:
      break;
  }
  // A save that failed has said so.
  Run(&TForm1::SaveHtml1Click);
  // Cancelled, declined or failed, a save that did not happen keeps the
  // mark, and nothing may replace the changes.
  return !Modified();
}

bool TForm1::LoadKeepingDocument(const std::function<bool()>& load) {
  TextLines kept = std::move(ctx_.HtmlLines);
  ctx_.HtmlLines.clear();
  const std::string keptFile = ctx_.Config.CurrentFile;
  const auto restore = [&] {
    ctx_.HtmlLines = std::move(kept);
    ctx_.Config.CurrentFile = keptFile;
  };
  bool loaded = false;
  try {
    loaded = load();
  } catch (...) {
    restore();
    throw;
  }
  if (!loaded) restore();
  return loaded;
}

// ---- File ----

void TForm1::OpenFile1Click() {
  if (!AskSaveIfModified()) return;
  BoldDescription1->setChecked(false);
  ItalicDescription1->setChecked(false);
  OpenDialog1.InitialDir = ctx_.Config.LastDir;
  std::string name;
  if (!dialogs_.OpenFileName(OpenDialog1, name)) name.clear();
  OpenChosenFile(name);
}

void TForm1::OpenFromCommandLine(const std::string& name) {
  BoldDescription1->setChecked(false);
  ItalicDescription1->setChecked(false);
  try {
    OpenChosenFile(name);
  } catch (const std::exception& e) {
    ctx_.UI().ShowError(e.what());
  }
}

void TForm1::OpenChosenFile(const std::string& name) {
  if (!name.empty()) {
    std::string dir = ExtractFilePath(name);
    if (dir.size() > 1 && EndsWithDelim(dir)) dir.pop_back();
    ctx_.Config.LastDir = dir;
    const BusyCursor busy(ctx_.UI());
    // A load refused as too large has said so and opens nothing.
    DocumentLoad load;
    if (LoadKeepingDocument([&] { return (load = LoadHtmlFile(ctx_, name)).Loaded; })) {
      // Text cut short at a NUL byte must not be saved over its file: the
      // next save asks for a name.
      ctx_.Config.CurrentFile = load.NulAt ? std::string() : name;
      UpdateHTML();
      SetModified(false);
      SayWhereTextStopped(ctx_, name, load);
    }
  }
  // Nothing opened (the dialog cancelled, the file refused): the document
  // and its mark stay.
  ShowFileState();
}

// The mark clears only once the text is written: a save cancelled, declined
// or failed leaves it set.
void TForm1::SaveHtml1Click() {
  if (ctx_.HtmlLines.empty()) {
    ctx_.UI().ShowMessage("There is nothing to save.");
    return;
  }
  if (!ctx_.Config.NetscapeFile.empty() && ctx_.Config.NetscapeFile == ctx_.Config.CurrentFile) {
    if (!ctx_.Fs().FileExists(ctx_.Config.CurrentFile)) return;
    // Closing the question without an answer replaces nothing.
    if (ctx_.UI().Ask("Are you sure you want to replace your Netscape bookmarks?") != Answer::Yes) return;
    KeepNetscapeBackup(ctx_, ctx_.Config.CurrentFile);
  }
  if (!ctx_.Fs().FileExists(ctx_.Config.CurrentFile)) {
    SaveDialog1.InitialDir = ctx_.Config.LastDir;
    std::string name;
    if (!dialogs_.SaveFileName(SaveDialog1, name)) return;
    ctx_.Config.CurrentFile = name;
  }
  try {
    const BusyCursor busy(ctx_.UI());
    SaveHtmlFile(ctx_.Fs(), ctx_.HtmlLines, ctx_.Config.CurrentFile);
    SetModified(false);
  } catch (const EFCreateError& e) {
    ctx_.UI().ShowMessage(SaveFailureText("Could not save file.", e));
  }
}

void TForm1::SaveAs1Click() {
  ctx_.Config.CurrentFile.clear();
  SaveHtml1Click();
}

void TForm1::LoadNetscapeBookmarks1Click() { LoadNetscape(); }

bool TForm1::LoadNetscape() {
  if (!AskSaveIfModified()) return false;
  bool loaded = false;
  {
    const BusyCursor busy(ctx_.UI());
    loaded = LoadKeepingDocument([this] { return LoadNetscapeBookmarks(ctx_); });
  }
  UpdateHTML();
  // Not located or refused as too large: the document and its mark stay.
  if (loaded) SetModified(false);
  ShowFileState();
  return true;
}

void TForm1::SaveNetscapeBookmarks1Click() {
  if (SaveOverNetscapeBookmarks(ctx_)) SetModified(false);
}
void TForm1::ExploreFavorites1Click() { ExploreFavorites(ctx_, FolderFieldText()); }
void TForm1::OpeNFavorites1Click() { OpenFavorites(ctx_, FolderFieldText()); }
void TForm1::PurgeUrls1Click() { PurgeUrls(ctx_, FolderFieldText()); }

void TForm1::Exit1Click() { close(); }

bool TForm1::FormClose() {
  if (!isMaximized()) {
    ctx_.Config.Left = x();
    ctx_.Config.Top = y();
    ctx_.Config.Height = height();
    ctx_.Config.Width = width();
    // The window closes even when the settings cannot be written.
    try {
      if (WriteSettings) WriteSettings(ctx_);
    } catch (const std::exception& e) {
      ctx_.UI().ShowError(e.what());
    }
  }
  // Backed out, or the save did not happen: the window and its changes stay.
  return AskSaveIfModified();
}

void TForm1::closeEvent(QCloseEvent* e) {
  bool close = true;
  try {
    close = FormClose();
  } catch (const std::exception& ex) {
    ctx_.UI().ShowError(ex.what());
    close = !Modified();
  }
  if (close)
    e->accept();
  else
    e->ignore();
}

// ---- Convert ----

void TForm1::ConvertUrlsToHtml1Click() {
  if (!AskSaveIfModified()) return;
  // No folder, no change: the mark stays as it was.
  if (!UrlsToHtml(ctx_, FolderFieldText())) {
    UpdateHTML();
    return;
  }
  size_t links = 0, folders = 0;
  for (const std::string& line : ctx_.HtmlLines) {
    links += HasLinkTag(line) ? 1 : 0;
    folders += line.find(ListOpenLine) != std::string::npos ? 1 : 0;
  }
  ShowDocumentStep("Read " + Counted(links, "link", "links") + " in " + Counted(folders, "folder", "folders"));
}

void TForm1::ConvertHtmlToUrls1Click() {
  ctx_.UrlTargetDir = ctx_.Config.FavoritesDir;
  const BusyCursor busy(ctx_.UI());
  HtmlToUrls(ctx_, false);
}

void TForm1::ImportUrlsintoNetscape1Click() {
  bool written = false;
  if (!ImportUrlsIntoNetscape(ctx_, [this] { return AskSaveIfModified(); }, &written)) return;
  // The Favorites HTML, as a step that marks the document; it counts as
  // saved once it is in the bookmark file.
  UpdateHTML(EditorUpdate::UndoStep);
  if (written) SetModified(false);
}

void TForm1::ConvertNetscapeBookmarkstoUrls1Click() {
  if (!LoadNetscape()) return;
  ConvertHtmlToUrls1Click();
}

// ---- Html ----

// A clean-up of the Html menu: nothing at all on an empty document.
void TForm1::RunCleanUp(size_t (*cleanUp)(Context&), const char* done, const char* one, const char* many) {
  if (ctx_.HtmlLines.empty()) return;
  const BusyCursor busy(ctx_.UI());
  const size_t count = cleanUp(ctx_);
  ShowDocumentStep(std::string(done) + " " + Counted(count, one, many));
}

void TForm1::SortHtml1Click() { RunCleanUp(SortLinks, "Sorted", "link", "links"); }

void TForm1::StripNetscapeTags1Click() { RunCleanUp(StripNetscapeTags, "Stripped", "attribute", "attributes"); }

void TForm1::FromHtml1Click() {
  RunCleanUp(RemoveDuplicateLinks, "Removed", "duplicate link", "duplicate links");
}

void TForm1::FromNetscapeBookmarks1Click() {
  if (!LoadNetscape()) return;
  FromHtml1Click();
  // Declined or failed, the cleaned text stays marked as unsaved.
  SaveNetscapeBookmarks1Click();
}
void TForm1::ViewPage1Click() { ViewPageInBrowser(ctx_); }

void TForm1::ViewSource1Click() {
  ViewSource1->setChecked(!ViewSource1->isChecked());
  Memo1->setVisible(ViewSource1->isChecked());
  htmlPane1->setVisible(!ViewSource1->isChecked());
  // Another view of the same text: the mark stays.
  UpdateHTML();
}

void TForm1::ToggleDescriptionEffect(QAction* item, char letter) {
  bool checked = item->isChecked();
  if (const auto changed = ToggleEffect(ctx_, letter, checked)) {
    const std::string effect = letter == BoldLetter ? "bold" : "italic";
    const std::string descriptions = Counted(*changed, "description", "descriptions");
    ShowDocumentStep(checked ? "Made " + descriptions + " " + effect : "Took " + effect + " off " + descriptions);
  }
  item->setChecked(checked);
}

void TForm1::BoldDescription1Click() { ToggleDescriptionEffect(BoldDescription1, BoldLetter); }
void TForm1::ItalicDescription1Click() { ToggleDescriptionEffect(ItalicDescription1, ItalicLetter); }

// ---- Options ----

void TForm1::WordWrap1Click() {
  ctx_.Config.WordWrap = !WordWrap1->isChecked();
  WordWrap1->setChecked(ctx_.Config.WordWrap);
  Memo1->setLineWrapMode(ctx_.Config.WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TForm1::DoubleSpaceLines1Click() {
  ctx_.Config.DoubleSpaceLines = !DoubleSpaceLines1->isChecked();
  DoubleSpaceLines1->setChecked(ctx_.Config.DoubleSpaceLines);
}

void TForm1::IndentHtml1Click() {
  ctx_.Config.IndentHtml = !IndentHtml1->isChecked();
  IndentHtml1->setChecked(ctx_.Config.IndentHtml);
}

void TForm1::BrowserLayout1Click() {
  ctx_.Config.BrowserLayout = !BrowserLayout1->isChecked();
  BrowserLayout1->setChecked(ctx_.Config.BrowserLayout);
}

// ---- Help ----

void TForm1::ShowHelp(const char* page) {
  const std::string file = WriteHelpPages(ctx_.Fs(), HelpFile) + page;
  if (ShowHelpPage && !ShowHelpPage(file)) ctx_.UI().ShowMessage("Could not launch " + file);
}

void TForm1::Index1Click() { ShowHelp(kHelpContents); }
void TForm1::KeywordSearch1Click() { ShowHelp(kHelpKeywords); }
void TForm1::OtherVarnholtSoftware1Click() { ShowHelp(kHelpTopic160); }

void TForm1::QuilletWebPage1Click() { OpenProductPage(ctx_); }

void TForm1::VarnholtHomePage1Click() {
  if (!OpenMakerPage(ctx_)) OtherVarnholtSoftware1Click();
}

void TForm1::EmailVarnholt1Click() { EmailFeedback(ctx_); }

void TForm1::About1Click() {
  TAboutBox box(this);
  box.OpenProductPage = [this] { OpenWebAddress(ctx_, kProductPage, true); };
  box.OpenMakerHomePage = [this] { OpenWebAddress(ctx_, kMakerPage, true); };
  box.exec();
}

void TForm1::htmlPane1HotSpotClick(const std::string& url, bool& handled) {
  handled = HotSpotClick(ctx_, url, [this](const std::string& link) { return htmlPane1->ExpandLinkPath(link); });
}

}  // namespace quillet
