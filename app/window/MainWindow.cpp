// MainWindow: the controls in their layouts, the views, the Edit and View
// menus, the window's place, closing.
#include "app/window/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include "app/Config.h"
#include "app/DisplayCodec.h"
#include "app/window/DocumentHistory.h"
#include "app/window/DocumentViews.h"
#include "app/window/FindBar.h"
#include "app/window/HelpWindow.h"
#include "app/window/PaneBrowsing.h"
#include "app/window/RealCoolBar.h"
#include "app/window/WindowPlace.h"
#include "platform/Path.h"
#include "viewer/qt/HtmlPane.h"

// The pictures and help pages sit in a static library, whose resource table
// the linker keeps only when something refers to it.
static void InitResources() { Q_INIT_RESOURCE(quillet); }

namespace quillet {

namespace {

QFont ArialFont(int pixels, bool bold = false) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QString Decoded(const std::string& bytes) { return QString::fromStdString(DecodeName(bytes)); }

}  // namespace

MainWindow::MainWindow(Context& ctx, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), dialogs_(dialogs), history_(new DocumentHistory(ctx.HtmlLines, this)) {
  InitResources();
  setObjectName(QStringLiteral("mainWindow"));
  WriteSettings = [this](Context& c) {
    SaveSettings(c);
    SaveZoom(c, zoom_);
  };
  ShowHelpPage = [this](const std::string& file) {
    HelpWindow().ShowPage(file);
    return true;
  };
  setWindowTitle(QStringLiteral("Quillet[*]"));
  setFont(ArialFont(11));
  BuildControls();
  BuildMenus();
  BuildToolBar();
  ApplyStoredSettings();
  PlaceWindow();
  ShowView(rendered_);
  ShowFileState();
  connect(history_, &DocumentHistory::ModifiedChanged, this, &QWidget::setWindowModified);
  // A folder conversion reads the settings file again at its end, which
  // restores the stored Bold and Italic marks. The layout options, though,
  // are the user's choice in this window until it closes and saves them: a
  // re-read must not quietly undo a mark that still shows as set.
  storedReload_ = ctx_.ReloadSettings;
  ctx_.ReloadSettings = [this](Context& c) {
    if (storedReload_) storedReload_(c);
    c.Config.WordWrap = Action("wordWrapAction")->isChecked();
    c.Config.DoubleSpaceLines = Action("doubleSpaceLinesAction")->isChecked();
    c.Config.IndentHtml = Action("indentHtmlAction")->isChecked();
    c.Config.BrowserLayout = Action("browserLayoutAction")->isChecked();
  };
}

MainWindow::~MainWindow() { ctx_.ReloadSettings = storedReload_; }

void MainWindow::BuildControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  auto* outer = new QVBoxLayout(client);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  coolBar = new TRealCoolBar(client);
  coolBar->setObjectName(QStringLiteral("coolBar"));
  coolBar->setFixedHeight(45);
  coolBar->SetBitmap(QImage(QStringLiteral(":/pictures/coolbar.png")));
  outer->addWidget(coolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(8, 3, 8, 6);
  body->setSpacing(0);
  outer->addLayout(body, 1);

  BuildFolderRow(client, body);

  views = new QStackedWidget(client);
  views->setObjectName(QStringLiteral("views"));
  body->addWidget(views, 1);
  findBar = new FindBar(client);
  connect(findBar, &FindBar::FindRequested, this, [this](bool backward) { Find(backward); });
  connect(findBar, &FindBar::Closed, this, [this] {
    if (current_) current_->Widget()->setFocus();
  });
  body->addWidget(findBar);

  rendered_ = new RenderedView(ctx_, *history_, views);
  pane = rendered_->Pane();
  source_ = new SourceView(*history_, ctx_.UI(), views);
  sourceView = source_->Editor();
  connect(source_, &SourceView::FillProgress, this, [this](int percent) {
    statusNote_->setText(percent < 100 ? QStringLiteral("Reading the source text: %1 %").arg(percent) : QString());
  });

  BuildStatusBar();
  // Back and Forward through the pages followed, links beside the document.
  browsing_ = new TPaneBrowsing(*pane, *statusBar(), [this] { return ctx_.Config.CurrentFile; });
  connect(browsing_, &TPaneBrowsing::HistoryChanged, this, &MainWindow::UpdateViewActions);
}

// The folder field with its label and browse button, the Favorites folder
// the conversions work on.
void MainWindow::BuildFolderRow(QWidget* client, QVBoxLayout* body) {
  folderLabel = new QLabel(QStringLiteral("Path of Favorites to convert:"), client);
  folderLabel->setObjectName(QStringLiteral("folderLabel"));
  folderLabel->setFont(ArialFont(12, true));
  body->addWidget(folderLabel);

  auto* folderRow = new QHBoxLayout;
  folderRow->setSpacing(0);
  folderField = new QLineEdit(client);
  folderField->setObjectName(QStringLiteral("folderField"));
  folderField->setFont(ArialFont(13));
  folderField->setToolTip(QStringLiteral("Path of URLs to convert:"));
  folderLabel->setBuddy(folderField);
  connect(folderField, &QLineEdit::textChanged, this,
          [this] { ctx_.Config.FavoritesDir = FolderFieldText(); });
  browseButton = new QPushButton(QStringLiteral("..."), client);
  browseButton->setObjectName(QStringLiteral("browseButton"));
  browseButton->setFixedSize(25, 22);
  browseButton->setFont(ArialFont(11, true));
  browseButton->setToolTip(QStringLiteral("Select Different Url Location"));
  connect(browseButton, &QPushButton::clicked, this, [this] { Run(&MainWindow::BrowseForFolder); });
  folderRow->addWidget(folderField, 1);
  folderRow->addWidget(browseButton);
  body->addLayout(folderRow);
  body->addSpacing(2);
}

void MainWindow::BuildStatusBar() {
  statusBar()->setSizeGripEnabled(true);
  statusText_ = new QLabel(statusBar());
  statusText_->setObjectName(QStringLiteral("statusText"));
  statusText_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  statusBar()->addWidget(statusText_, 1);
  statusNote_ = new QLabel(statusBar());
  statusNote_->setObjectName(QStringLiteral("statusNote"));
  statusNote_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  statusBar()->addWidget(statusNote_);
  // The status bar shows where the link under the mouse leads.
  pane->OnHotSpotCovered = [this](const std::string& url) {
    if (url.empty())
      statusBar()->clearMessage();
    else
      statusBar()->showMessage(QString::fromStdString(url));
  };
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

QMenu* MainWindow::Menu(const QString& name) const { return findChild<QMenu*>(name); }

// ---- document state ----

QUndoStack& MainWindow::UndoStack() { return history_->Stack(); }

bool MainWindow::Modified() const { return history_->Modified(); }

void MainWindow::SetModified(bool on) { history_->SetModified(on); }

std::string MainWindow::StatusText() const { return statusText_->text().toStdString(); }

std::string MainWindow::StatusNote() const { return statusNote_->text().toStdString(); }

QString MainWindow::FileName() const {
  const std::string& file = ctx_.Config.CurrentFile;
  return file.empty() ? QString() : Decoded(ExtractFileName(file));
}

void MainWindow::ShowFileState() {
  const QString name = FileName();
  setWindowTitle(name.isEmpty() ? QStringLiteral("Quillet[*]") : name + QStringLiteral("[*] - Quillet"));
  setWindowModified(Modified());
  statusText_->setText(Decoded(ctx_.Config.CurrentFile));
}

std::string MainWindow::SaveQuestionTitle() const {
  const QString name = FileName();
  return name.isEmpty() ? std::string("Quillet") : (name + QStringLiteral(" - Quillet")).toStdString();
}

void MainWindow::Run(Command command) { Run([this, command] { (this->*command)(); }); }

void MainWindow::Run(const std::function<void()>& command) {
  // The note tells of the last command only.
  statusNote_->clear();
  try {
    command();
  } catch (const std::exception& e) {
    ctx_.UI().ShowError(e.what());
  }
  ShowFileState();
}

void MainWindow::ShowDocument() {
  if (ctx_.HtmlLines.empty()) return;
  history_->StartOver();
  statusNote_->clear();
}

THelpWindow& MainWindow::HelpWindow() {
  if (!helpWindow_) helpWindow_ = new THelpWindow(ctx_, this);
  return *helpWindow_;
}

// ---- settings and place ----

void MainWindow::ApplyStoredSettings() {
  HelpFile = ctx_.DataDir + "help" + PathDelim;
  const TConfig& c = ctx_.Config;
  Action("wordWrapAction")->setChecked(c.WordWrap);
  Action("doubleSpaceLinesAction")->setChecked(c.DoubleSpaceLines);
  Action("indentHtmlAction")->setChecked(c.IndentHtml);
  Action("browserLayoutAction")->setChecked(c.BrowserLayout);
  Action("boldDescriptionsAction")->setChecked(c.BoldHtml);
  Action("italicDescriptionsAction")->setChecked(c.ItalicHtml);
  source_->SetWordWrap(c.WordWrap);
  folderEncoding_ = ChooseDisplayEncoding({c.FavoritesDir});
  folderField->setText(QString::fromStdString(DecodeForDisplay(c.FavoritesDir, folderEncoding_)));
  openDialog.Filter = saveDialog.Filter = "Bookmark files|*.htm;*.html;*.shtml|All files|*";
  openDialog.DefaultExt = saveDialog.DefaultExt = "*.htm";
  SetZoom(ClampZoom(LoadZoom(ctx_)));
  recentFiles_ = LoadRecentFiles(ctx_);
  BuildRecentMenu();
}

void MainWindow::PlaceWindow() {
  const TConfig& c = ctx_.Config;
  const QScreen* screen = QGuiApplication::screenAt(QPoint(c.Left, c.Top));
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  // A settings file may hold any numbers; a window too small to see, or off
  // the screen, would be lost.
  const bool stored = HasStoredPlace(ctx_) && c.Width > 0 && c.Height > 0;
  const QRect place =
      stored ? ClampWindowPlace(QRect(c.Left, c.Top, c.Width, c.Height), available) : FirstWindowPlace(available);
  move(place.topLeft());
  resize(place.size());
}

void MainWindow::closeEvent(QCloseEvent* e) {
  bool close = true;
  try {
    close = PrepareToClose();
  } catch (const std::exception& ex) {
    ctx_.UI().ShowError(ex.what());
    close = !Modified();
  }
  if (close)
    e->accept();
  else
    e->ignore();
}

bool MainWindow::PrepareToClose() {
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

// ---- views ----

QAction* MainWindow::AddView(DocumentView* view, const QString& caption, const QKeySequence& shortcut,
                             const QString& actionName) {
  views_.push_back(view);
  views->addWidget(view->Widget());
  auto* action = new QAction(caption, this);
  action->setObjectName(actionName);
  action->setShortcut(shortcut);
  action->setCheckable(true);
  viewGroup_->addAction(action);
  Menu(QStringLiteral("viewMenu"))->insertAction(viewsEnd_, action);
  connect(action, &QAction::triggered, this, [this, view] { Run([this, view] { ShowView(view); }); });
  return action;
}

void MainWindow::ShowView(DocumentView* view) {
  if (view == current_) return;
  for (DocumentView* v : views_)
    if (v != view) v->SetCurrent(false);
  current_ = view;
  // Brought up to date before it shows, so the old text never flashes.
  view->SetCurrent(true);
  views->setCurrentWidget(view->Widget());
  const auto index = static_cast<int>(std::find(views_.begin(), views_.end(), view) - views_.begin());
  if (index < viewGroup_->actions().size()) viewGroup_->actions()[index]->setChecked(true);
  Action("viewSourceAction")->setChecked(view == source_);
  UpdateViewActions();
}

void MainWindow::UpdateViewActions() {
  if (!current_) return;
  const bool find = current_->CanFind();
  for (const char* name : {"findAction", "findNextAction", "findPreviousAction"}) Action(name)->setEnabled(find);
  if (current_->HasOwnFindKeys())
    for (const char* name : {"findAction", "findNextAction"}) Action(name)->setEnabled(true);
  if (!find) findBar->hide();
  const bool zoom = current_->CanZoom();
  Action("zoomInAction")->setEnabled(zoom && zoom_ < kMaxZoom);
  Action("zoomOutAction")->setEnabled(zoom && zoom_ > kMinZoom);
  Action("actualSizeAction")->setEnabled(zoom && zoom_ != 100);
  const bool browsing = current_ == rendered_;
  Action("backAction")->setEnabled(browsing && pane->CanGoBack());
  Action("forwardAction")->setEnabled(browsing && pane->CanGoForward());
}

void MainWindow::ShowRenderedView() { ShowView(rendered_); }
void MainWindow::ShowSourceView() { ShowView(source_); }

// ---- Edit ----

void MainWindow::Undo() { history_->Stack().undo(); }
void MainWindow::Redo() { history_->Stack().redo(); }

void MainWindow::CopySelection() {
  // The folder field copies its own selection.
  if (folderField->hasFocus())
    folderField->copy();
  else
    current_->Copy();
}

void MainWindow::SelectAll() {
  if (folderField->hasFocus())
    folderField->selectAll();
  else
    current_->SelectAll();
}

void MainWindow::OpenFindBar() {
  if (current_->TakeFindKey(false)) return;
  if (current_->CanFind()) findBar->Open();
}

void MainWindow::FindNext() { Find(false); }
void MainWindow::FindPrevious() { Find(true); }

void MainWindow::Find(bool backward) {
  if (!backward && current_->TakeFindKey(true)) return;
  if (!current_->CanFind()) return;
  if (findBar->Text().isEmpty()) {
    findBar->Open();
    return;
  }
  findBar->show();
  const bool found = current_->Find(findBar->Text(), backward);
  findBar->SetNote(found ? QString() : QStringLiteral("Not found"));
}

// ---- View ----

void MainWindow::SetZoom(int percent) {
  zoom_ = percent;
  rendered_->SetZoom(percent);
  UpdateViewActions();
}

void MainWindow::ZoomIn() { SetZoom(NextZoom(zoom_, 1)); }
void MainWindow::ZoomOut() { SetZoom(NextZoom(zoom_, -1)); }
void MainWindow::ActualSize() { SetZoom(100); }

void MainWindow::GoBack() { pane->GoBack(); }
void MainWindow::GoForward() { pane->GoForward(); }

}  // namespace quillet
