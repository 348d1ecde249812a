// ThtmlPane: construction, properties, loading and history.
#include "viewer/qt/HtmlPane.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QScrollBar>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Path.h"
#include "platform/TextCodec.h"
#include "platform/Ui.h"
#include "platform/Utf8.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtTimer.h"
#include "viewer/document/DocumentText.h"
#include "viewer/document/LinkPath.h"
#include "viewer/document/Navigation.h"
#include "viewer/layout/Section.h"
#include "viewer/qt/HtmlPaneForms.h"

namespace quillet {

class ThtmlPane::Busy {
 public:
  explicit Busy(ThtmlPane& pane) : pane_(pane) {
    if (pane_.busy_++ == 0 && pane_.OnProcessing) pane_.OnProcessing(true);
  }
  ~Busy() {
    if (--pane_.busy_ == 0 && pane_.OnProcessing) {
      // A handler's failure cannot leave a destructor; the flag is clear.
      try {
        pane_.OnProcessing(false);
      } catch (const std::exception&) {
      }
    }
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  ThtmlPane& pane_;
};

// The document's host: the pane's own services, the handlers the pane was
// given at the last load (OnScript, OnImageRequest), and nothing at all once
// the pane is closing.
class ThtmlPane::PaneHost : public DocumentHost {
 public:
  explicit PaneHost(ThtmlPane& pane) : pane_(pane) {}

  TScriptEvent Script;
  TImageRequest ImageRequest;
  bool Closing = false;

  void ShowProcessError(const std::string& text) override {
    if (pane_.ui_) pane_.ui_->ShowMessage(text);
  }
  std::unique_ptr<Timer> MakeAnimationTimer() override { return std::make_unique<QtTimer>(); }
  // An animation step's rectangle: x as painted on the panel, y a document y.
  void RepaintAnimation(const Rect& r) override {
    if (!Closing) pane_.viewport()->update(QRect(r.Left, r.Top - pane_.doc_.YOff, r.Width(), r.Height()));
  }
  void BackgroundChanged(TSectionList&) override {
    if (!Closing) pane_.viewport()->update();
  }
  // Form controls are made on the panel, their events raised by the pane.
  FormHost* FormsHost() override { return pane_.formHost_.get(); }
  const TImageRequest& ImageSource() override { return ImageRequest; }
  // Pictures are files named relative to the page, read through fs.
  FileSystem* PictureFiles() override { return pane_.fs_; }
  std::optional<std::string> PictureFileName(const std::string& source) override {
    return pane_.ExpandLinkPath(source);
  }
  bool TakesScripts() override { return static_cast<bool>(Script); }
  void RunScript(const std::string& language, std::string text) override { Script(language, std::move(text)); }

 private:
  ThtmlPane& pane_;
};

namespace {

// The hourglass for a scope.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

std::u16string FontName(const std::string& name) {
  std::u16string s = Utf8ToUtf16(name);
  if (s.size() > static_cast<size_t>(ThtmlPane::kMaxFontNameLength))
    s.resize(static_cast<size_t>(ThtmlPane::kMaxFontNameLength));
  return s;
}

bool SameName(const std::u16string& a, const std::u16string& b) {
  return QString::fromStdU16String(a).compare(QString::fromStdU16String(b), Qt::CaseInsensitive) == 0;
}

// The full path of a file name, as the pane keeps it.
std::string FullFileName(const std::string& name) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(name, ec);
  if (ec) p = name;
  return p.lexically_normal().string();
}

}  // namespace

ThtmlPane::ThtmlPane(QWidget* parent, Ui* ui, FileSystem* fs)
    : QAbstractScrollArea(parent),
      ui_(ui),
      ownFs_(fs ? nullptr : std::make_unique<PosixFileSystem>()),
      fs_(fs ? fs : ownFs_.get()),
      host_(std::make_unique<PaneHost>(*this)),
      doc_(host_.get()),
      measureImage_(std::make_unique<QImage>(1, 1, QImage::Format_RGB32)),
      measure_(std::make_unique<QtCanvas>(*measureImage_)),
      formHost_(std::make_unique<PaneForms>(*this)) {
  resize(150, 150);
  setFocusPolicy(Qt::StrongFocus);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  // Every pixel of the panel is painted from the buffer.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::ArrowCursor);
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    bar->setFocusPolicy(Qt::NoFocus);
    // Using a bar focuses the pane, so the keys go on where the bar left off.
    connect(bar, &QAbstractSlider::actionTriggered, this, [this] { setFocus(Qt::OtherFocusReason); });
  }
  verticalScrollBar()->setSingleStep(kVSmallChange);
  horizontalScrollBar()->setSingleStep(kHSmallChange);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  autoScrollTimer_.setInterval(kAutoScrollInterval);
  connect(&autoScrollTimer_, &QTimer::timeout, this, [this] { Guarded([this] { AutoScroll(); }); });
  doc_.ImageCache().SetLimit(imageCacheCount_);
  RefreshPalette();
  PrepareDocument(doc_, settings_);
  ArrangeScrollBars();
}

ThtmlPane::~ThtmlPane() {
  host_->Closing = true;
  // The form controls go before the panel they live on.
  doc_.Clear();
  doc_.SetHost(nullptr);
}

Canvas& ThtmlPane::Measure() const { return *measure_; }

void ThtmlPane::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    if (ui_)
      ui_->ShowError(e.what());
    else
      qWarning("%s", e.what());
  }
}

// ---- Properties ----

void ThtmlPane::ChangeLayout(const std::function<void()>& change) {
  const WaitCursor wait;
  const Busy busy(*this);
  change();
  if (!doc_.Empty()) {
    const TReadingPosition pos = ReadingPosition();
    Layout();
    SetReadingPosition(pos);
  }
  viewport()->update();
}

void ThtmlPane::SetViewImages(bool on) {
  if (on == settings_.ViewImages || busy_) return;
  ChangeLayout([&] {
    settings_.ViewImages = on;
    // The layout fetches the pictures it now shows.
    doc_.ShowImages = on;
    if (!doc_.Empty()) doc_.GetBackgroundBitmap();
  });
}

void ThtmlPane::SetMarginWidth(int margin) {
  if (margin == settings_.MarginWidth || busy_ || margin < 0 || margin > kMaxMargin) return;
  ChangeLayout([&] { settings_.MarginWidth = margin; });
}

void ThtmlPane::SetMarginHeight(int margin) {
  if (margin == settings_.MarginHeight || busy_ || margin < 0 || margin > kMaxMargin) return;
  ChangeLayout([&] { settings_.MarginHeight = margin; });
}

void ThtmlPane::SetDefBackground(TColor color) {
  if (busy_) return;
  settings_.Background = color;
  doc_.SetBackground(color);
  viewport()->update();
}

void ThtmlPane::SetBorderStyle(THTMLBorderStyle style) {
  borderStyle_ = style;
  setFrameStyle(style == htNone ? QFrame::NoFrame : QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  // The frame's width is part of the layout width.
  if (!busy_) {
    const Busy busy(*this);
    Layout();
  }
  update();
}

void ThtmlPane::SetHistoryMaxCount(int count) {
  if (count < 0) return;
  if (count < historyMaxCount_) {
    const bool held = !historyFiles_.empty();
    historyFiles_.clear();
    historyTitles_.clear();
    historyPositions_.clear();
    historyIndex_ = 0;
    historyLines_.clear();
    if (held && OnHistoryChange) OnHistoryChange();
  }
  historyMaxCount_ = count;
}

std::string ThtmlPane::DefFontName() const { return Utf16ToUtf8(settings_.FontName); }
std::string ThtmlPane::DefPreFontName() const { return Utf16ToUtf8(settings_.PreFontName); }

void ThtmlPane::ApplyFonts(bool relayout) {
  doc_.Fonts.Charset = settings_.CharSet;
  // The page keeps the colour its document gave it.
  doc_.SetFonts(settings_.FontName, settings_.PreFontName, doc_.Background(), settings_.HotSpotColor,
                settings_.FontColor, settings_.FontSize);
  if (relayout && !doc_.Empty()) Relayout();
  viewport()->update();
}

void ThtmlPane::SetDefFontName(const std::string& name) {
  const std::u16string s = FontName(name);
  if (SameName(s, settings_.FontName)) return;
  settings_.FontName = s;
  ApplyFonts(true);
}

void ThtmlPane::SetDefPreFontName(const std::string& name) {
  const std::u16string s = FontName(name);
  if (SameName(s, settings_.PreFontName)) return;
  settings_.PreFontName = s;
  ApplyFonts(true);
}

void ThtmlPane::SetDefFontSize(int size) {
  settings_.FontSize = std::max(size, kMinFontSize);
  ApplyFonts(true);
}

void ThtmlPane::SetCharSet(int charSet) {
  settings_.CharSet = charSet;
  ApplyFonts(true);
}

void ThtmlPane::SetDefFontColor(TColor color) {
  settings_.FontColor = color;
  ApplyFonts(false);
}

void ThtmlPane::SetDefHotSpotColor(TColor color) {
  settings_.HotSpotColor = color;
  ApplyFonts(false);
}

void ThtmlPane::SetImageCacheCount(int count) {
  imageCacheCount_ = std::clamp(count, 0, kMaxImageCacheCount);
  doc_.ImageCache().SetLimit(imageCacheCount_);
}

void ThtmlPane::SetImageCache(std::shared_ptr<TStringBitmapList> cache) {
  doc_.SetImageCache(std::move(cache));
  doc_.ImageCache().SetLimit(imageCacheCount_);
}

void ThtmlPane::SetNoSelect(bool on) {
  noSelect_ = on;
  if (on) {
    doc_.SelB = doc_.SelE = -1;
    viewport()->update();
  }
}

void ThtmlPane::SetScrollBars(TScrollStyle style) {
  scrollBars_ = style;
  {
    const Busy busy(*this);
    Layout();
  }
  viewport()->update();
}

void ThtmlPane::SetServerRoot(const std::string& root) {
  std::string_view s(root);
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  if (!s.empty() && (s.back() == PathDelim || s.back() == '\\')) s.remove_suffix(1);
  serverRoot_ = std::string(s);
}

void ThtmlPane::UseSettings(const PaneSettings& s) {
  SetViewImages(s.ViewImages);
  SetDefBackground(s.Background);
  SetDefFontName(Utf16ToUtf8(s.FontName));
  SetDefPreFontName(Utf16ToUtf8(s.PreFontName));
  SetDefFontSize(s.FontSize);
  SetDefFontColor(s.FontColor);
  SetDefHotSpotColor(s.HotSpotColor);
  SetCharSet(s.CharSet);
  SetMarginWidth(s.MarginWidth);
  SetMarginHeight(s.MarginHeight);
}

// ---- Loading ----

void ThtmlPane::PrepareForLoad() {
  PrepareDocument(doc_, settings_);
  names_.clear();
  caretPos_ = 0;
  selAnchor_ = -1;
}

void ThtmlPane::MetaHandler(const std::string& httpEq, const std::string& name, const std::string& content) {
  if (OnMeta) OnMeta(httpEq, name, content);
  if (!OnMetaRefresh) return;
  if (const auto refresh = ReadMetaRefresh(httpEq, content)) {
    refreshUrl_ = refresh->Url;
    refreshDelay_ = refresh->Delay;
  }
}

HtmlParser ThtmlPane::MakeParser() {
  HtmlParser parser;
  parser.OnInclude = OnInclude;
  parser.OnSoundRequest = OnSoundRequest;
  parser.OnMeta = [this](const std::string& httpEq, const std::string& name, const std::string& content) {
    MetaHandler(httpEq, name, content);
  };
  host_->Script = OnScript;
  host_->ImageRequest = OnImageRequest;
  return parser;
}

void ThtmlPane::ForgetHot() { SetHot({}, {}); }

void ThtmlPane::AfterLoad(const HtmlParser& parser) {
  ForgetHot();
  title_ = parser.Title;
  baseUrl_ = parser.BaseUrl;
  baseTarget_ = parser.BaseTarget;
  if (settings_.ViewImages) {
    formatting_ = true;
    doc_.GetBackgroundBitmap();
    formatting_ = false;
  }
  Layout();
  horizontalScrollBar()->setValue(0);
}

void ThtmlPane::LoadStrings(const std::vector<std::string>& lines) {
  refreshDelay_ = 0;
  LoadStringsAs(lines, TFileKind::fkHTML);
  if (refreshDelay_ > 0 && OnMetaRefresh) OnMetaRefresh(refreshDelay_, refreshUrl_);
}

void ThtmlPane::LoadStringsAs(const std::vector<std::string>& lines, TFileKind kind) {
  if (busy_) return;
  std::exception_ptr failure;
  try {
    ShowLines(lines, kind);
  } catch (const std::exception&) {
    failure = std::current_exception();
  }
  StartHistory(lines, kind);
  if (failure) std::rethrow_exception(failure);
}

void ThtmlPane::ShowLines(const std::vector<std::string>& lines, TFileKind kind) {
  const Busy busy(*this);
  PrepareForLoad();
  HtmlParser parser = MakeParser();
  // What was parsed before a failure is shown all the same; the failure
  // goes on to the caller afterwards.
  std::exception_ptr failure;
  try {
    if (kind == TFileKind::fkText) {
      parser.ParseTextStrings(lines, doc_);
    } else {
      if (OnSoundRequest) OnSoundRequest(std::string(), 0, true);
      parser.ParseHtmlStrings(lines, doc_, names_);
    }
  } catch (const std::exception&) {
    failure = std::current_exception();
  }
  AfterLoad(parser);
  ScrollToY(0);
  currentFile_.clear();
  fileKind_ = kind == TFileKind::fkText ? kind : TFileKind::fkHTML;
  if (failure) std::rethrow_exception(failure);
}

void ThtmlPane::LoadFile(const std::string& name, TFileKind kind) {
  std::exception_ptr failure;
  {
    const WaitCursor wait;
    const auto hash = name.find('#');
    const std::string file = name.substr(0, hash);
    const std::string anchor =
        hash == std::string::npos ? std::string() : name.substr(hash + 1, Utf8CutLength(name.substr(hash + 1), kMaxAnchorLength));
    refreshDelay_ = 0;
    const Busy busy(*this);
    if (!fs_->FileExists(file)) throw QuilletError("EInOutError", "Can't locate file: " + file);
    PrepareForLoad();
    HtmlParser parser = MakeParser();
    try {
      switch (kind) {
        case TFileKind::fkHTML:
          if (OnSoundRequest) OnSoundRequest(std::string(), 0, true);
          parser.ParseHtmlFile(*fs_, file, doc_, names_);
          break;
        case TFileKind::fkText:
          parser.ParseTextFile(*fs_, file, doc_);
          break;
        case TFileKind::fkImage: {
          // The picture alone, as a page holding one IMG: its name is taken
          // beside the page, which is the picture file itself.
          std::string source;
          for (const char c : ExtractFileName(file)) {
            if (c == '&')
              source += "&amp;";
            else if (c == '"')
              source += "&quot;";
            else
              source += c;
          }
          std::string page = "<img src=\"" + source + "\">";
          page.resize(Utf8CutLength(page, 255));
          parser.ParseHtmlBuffer(page, doc_, names_);
          break;
        }
      }
    } catch (const std::exception&) {
      failure = std::current_exception();
    }
    currentFile_ = FullFileName(file);
    fileKind_ = kind;
    AfterLoad(parser);
    // An anchor the page does not hold shows the page from its top.
    if (anchor.empty() || !PositionToAnchor(anchor)) ScrollToY(0);
  }
  if (failure) std::rethrow_exception(failure);
  if (refreshDelay_ > 0 && OnMetaRefresh) OnMetaRefresh(refreshDelay_, refreshUrl_);
}

void ThtmlPane::LoadFromFile(const std::string& name) { LoadKeepingHistory(name, TFileKind::fkHTML); }

void ThtmlPane::LoadImageFile(const std::string& name) { LoadKeepingHistory(name, TFileKind::fkImage); }

// A load that shows another file (or the same one as another kind) puts the
// page it replaces on the history.
void ThtmlPane::LoadKeepingHistory(const std::string& name, TFileKind kind) {
  if (busy_ || name.empty()) return;
  const std::string oldFile = currentFile_;
  const std::string oldTitle = Title();
  const TReadingPosition oldPos = ReadingPosition();
  const TFileKind oldKind = fileKind_;
  LoadFile(name, kind);
  if (currentFile_ != oldFile || fileKind_ != oldKind) BumpHistory(oldFile, oldTitle, oldKind, oldPos);
}

void ThtmlPane::Clear() {
  if (busy_) return;
  PrepareDocument(doc_, settings_);
  names_.clear();
  title_.clear();
  baseUrl_.clear();
  baseTarget_.clear();
  docHeight_ = 0;
  maxHScroll_ = 0;
  ArrangeScrollBars();
  ScrollToY(0);
  horizontalScrollBar()->setValue(0);
  caretPos_ = 0;
  selAnchor_ = -1;
  if (OnSoundRequest) OnSoundRequest(std::string(), 0, true);
  viewport()->update();
}

// ---- Positions, anchors, links ----

std::string ThtmlPane::ExpandLinkPath(const std::string& link) const {
  // The host's lines resolve beside the file they came from.
  const std::string file = currentFile_.empty() && DocumentPath ? DocumentPath() : currentFile_;
  return quillet::ExpandLinkPath(link, LinkBase{serverRoot_, Utf16ToUtf8(baseUrl_), file});
}

bool ThtmlPane::PositionToAnchor(const std::string& name) {
  std::string_view n(name);
  if (!n.empty() && n.front() == '#') n.remove_prefix(1);
  if (n.empty()) return false;
  const auto found = names_.find(UpperAscii(Utf8ToUtf16(n)));
  if (found == names_.end() || !found->second) return false;
  ScrollToY(found->second->YValue);
  horizontalScrollBar()->setValue(0);
  return true;
}

void ThtmlPane::SetPosition(int y) {
  y = std::clamp(y, 0, MaxPosition());
  if (y != Position()) ScrollToY(y);
}

TReadingPosition ThtmlPane::ReadingPosition() const {
  const int y = doc_.YOff;
  int top = doc_.TopY;
  const int count = doc_.Count();
  for (int i = 0; i < count; ++i) {
    const int h = doc_[i].SectionHeight;
    if (y < top + h || i == count - 1) return {i, y - top};
    top += h;
  }
  return {};
}

void ThtmlPane::SetReadingPosition(TReadingPosition pos) {
  if (pos.Section < 0 || pos.Section >= std::max(doc_.Count(), 1)) return;
  ScrollToY((doc_.Empty() ? doc_.TopY : doc_.TopY + doc_.GetSectionYPos(pos.Section)) + pos.Offset);
}

void ThtmlPane::Relayout() {
  if (busy_) return;
  const Busy busy(*this);
  const TReadingPosition pos = ReadingPosition();
  Layout();
  SetReadingPosition(pos);
}

std::string ThtmlPane::Title() const { return Utf16ToUtf8(title_); }
std::string ThtmlPane::BaseUrl() const { return Utf16ToUtf8(baseUrl_); }
std::string ThtmlPane::BaseTarget() const { return Utf16ToUtf8(baseTarget_); }

// ---- History ----

void ThtmlPane::BumpHistory(const std::string& oldFile, const std::string& oldTitle, TFileKind oldKind,
                            TReadingPosition oldPos) {
  if (historyMaxCount_ < 1 || currentFile_.empty()) return;
  if (oldFile == currentFile_ && oldKind == fileKind_ && oldPos == ReadingPosition()) return;
  if (!historyFiles_.empty()) {
    // The entry shown was the page being left (the host's lines too): it
    // keeps where the reader was. Pages that Back stepped away from go, as
    // a new page follows this one now.
    const auto at = static_cast<size_t>(historyIndex_);
    if (!oldFile.empty() || historyFiles_[at].empty()) {
      historyFiles_[at] = oldFile;
      historyTitles_[at] = oldTitle;
      historyPositions_[at] = {oldPos, oldKind};
    }
    historyFiles_.erase(historyFiles_.begin(), historyFiles_.begin() + historyIndex_);
    historyTitles_.erase(historyTitles_.begin(), historyTitles_.begin() + historyIndex_);
    historyPositions_.erase(historyPositions_.begin(), historyPositions_.begin() + historyIndex_);
  }
  historyIndex_ = 0;
  historyFiles_.insert(historyFiles_.begin(), currentFile_);
  historyTitles_.insert(historyTitles_.begin(), Title());
  historyPositions_.insert(historyPositions_.begin(), PositionObj{ReadingPosition(), fileKind_});
  const auto max = static_cast<size_t>(historyMaxCount_);
  if (historyFiles_.size() > max) {
    historyFiles_.erase(historyFiles_.begin() + historyMaxCount_);
    historyTitles_.erase(historyTitles_.begin() + historyMaxCount_);
    historyPositions_.erase(historyPositions_.begin() + historyMaxCount_);
  }
  if (std::find(historyFiles_.begin(), historyFiles_.end(), std::string()) == historyFiles_.end())
    historyLines_.clear();
  if (OnHistoryChange) OnHistoryChange();
}

void ThtmlPane::StartHistory(const std::vector<std::string>& lines, TFileKind kind) {
  if (historyMaxCount_ < 1) return;
  if (DocumentLines)
    historyLines_.clear();
  else
    historyLines_ = lines;
  historyFiles_.assign(1, std::string());
  historyTitles_.assign(1, Title());
  historyPositions_.assign(1, PositionObj{ReadingPosition(), kind == TFileKind::fkText ? kind : TFileKind::fkHTML});
  historyIndex_ = 0;
  if (OnHistoryChange) OnHistoryChange();
}

bool ThtmlPane::GoBack() { return GoToHistory(historyIndex_ + 1); }

bool ThtmlPane::GoForward() { return GoToHistory(historyIndex_ - 1); }

bool ThtmlPane::GoToHistory(int index) {
  if (busy_ || index < 0 || index >= static_cast<int>(historyFiles_.size()) || index == historyIndex_) return false;
  const auto to = static_cast<size_t>(index);
  const std::string file = historyFiles_[to];
  if (!file.empty() && !fs_->FileExists(file)) throw QuilletError("EInOutError", "Can't locate file: " + file);
  // The page left keeps where the reader was.
  const auto from = static_cast<size_t>(historyIndex_);
  historyTitles_[from] = Title();
  historyPositions_[from].Pos = ReadingPosition();
  const PositionObj place = historyPositions_[to];
  std::exception_ptr failure;
  try {
    if (file.empty())
      ShowLines(DocumentLines ? DocumentLines() : historyLines_, place.Kind);
    else
      LoadFile(file, place.Kind);
  } catch (const std::exception&) {
    failure = std::current_exception();
  }
  SetReadingPosition(place.Pos);
  historyIndex_ = index;
  historyTitles_[to] = Title();
  if (OnHistoryChange) OnHistoryChange();
  if (failure) std::rethrow_exception(failure);
  return true;
}

// ---- Selection ----

std::string ThtmlPane::SelText() const {
  if (doc_.SelB >= doc_.SelE) return std::string();
  return Utf16ToUtf8(DocumentText(doc_, doc_.SelB, doc_.SelE));
}

void ThtmlPane::CopyToClipboard() {
  if (doc_.SelB >= doc_.SelE) return;
  QGuiApplication::clipboard()->setText(QString::fromStdU16String(DocumentText(doc_, doc_.SelB, doc_.SelE)));
}

void ThtmlPane::SelectAll() {
  if (noSelect_ || doc_.Empty()) return;
  doc_.SelB = selAnchor_ = doc_.StartCurs;
  doc_.SelE = doc_.StartCurs + doc_.Len;
  viewport()->update();
}

bool ThtmlPane::FindText(const std::string& text, bool backward) {
  const std::u16string t = Utf8ToUtf16(text);
  if (t.empty() || doc_.Empty() || noSelect_) return false;
  const bool selected = doc_.SelB >= 0 && doc_.SelB < doc_.SelE;
  const int end = doc_.StartCurs + doc_.Len;
  int at = backward ? doc_.FindStringBefore(selected ? doc_.SelB : end, t, false)
                    : doc_.FindString(selected ? doc_.SelE : doc_.StartCurs, t, false);
  if (at < 0) at = backward ? doc_.FindStringBefore(end, t, false) : doc_.FindString(doc_.StartCurs, t, false);
  if (at < 0) return false;
  doc_.SelB = selAnchor_ = at;
  doc_.SelE = at + static_cast<int>(t.size());
  // The match's line in view, a third down the panel when it has to move.
  int x = 0, y = 0;
  if (doc_.CursorToXY(Measure(), at, x, y)) {
    constexpr int kLine = 20;
    if (y < Position() || y + kLine > Position() + panelHeight_) ScrollToY(y - panelHeight_ / 3);
    QScrollBar* h = horizontalScrollBar();
    const int panelX = x + settings_.MarginWidth - h->value();
    if (panelX < 0 || panelX + kLine > panelWidth_) h->setValue(x + settings_.MarginWidth - panelWidth_ / 2);
  }
  viewport()->update();
  return true;
}

}  // namespace quillet
