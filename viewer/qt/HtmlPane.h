#pragma once
// ThtmlPane: the HTML pane as a Qt widget. A QAbstractScrollArea whose
// viewport is the paint panel: it owns the document (TSectionList), loads
// lines, files and pictures through the parser, lays the document out for
// its width, paints the exposed part of it through a buffer of that size,
// scrolls with the keys, the wheel and both bars, and turns the mouse into
// hot-spot reports, link following and a text selection.
//
// Text at the edges (events, names, file names) is UTF-8; the document's
// text is UTF-16. Coordinates given to the mouse events are the paint
// panel's (the viewport's).
//
//   ThtmlPane pane(parent, &ui, &fs);
//   pane.OnHotSpotClick = [](const std::string& url, bool& handled) { ... };
//   pane.LoadStrings(lines);        // may throw the parser's EParseError
//
// Implementation: HtmlPane.cpp (properties, loading, history),
// HtmlPaneView.cpp (layout, scroll bars, keys, painting),
// HtmlPaneMouse.cpp (hot spots, selection, links, the context menu),
// HtmlPaneForms.cpp (what the document's forms ask of the pane).
#include <QAbstractScrollArea>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "viewer/document/PaneDocument.h"
#include "viewer/forms/FormHost.h"
#include "viewer/layout/SectionList.h"
#include "viewer/parser/Parser.h"

class QImage;
class QMenu;

namespace quillet {

class QtCanvas;
class QtFormWidgets;
class Ui;
class TImageObj;
class TFormControlObj;

enum THTMLBorderStyle { htFocused, htNone, htSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// What a right click was over: the link (URL and Target) and the picture
// with the point inside it.
struct TRightClickParameters {
  std::string URL;
  std::string Target;
  TImageObj* Image = nullptr;
  int ImageX = 0;
  int ImageY = 0;
};

// Where the reader is: a top-level block of the document and how far the
// view's top lies below that block's top. It survives a re-layout for
// another width, where pixel positions do not.
struct TReadingPosition {
  int Section = 0;
  int Offset = 0;
  bool operator==(const TReadingPosition&) const = default;
};

// A history entry's place and how its file was loaded.
struct PositionObj {
  TReadingPosition Pos;
  TFileKind Kind = TFileKind::fkHTML;
};

class ThtmlPane : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kMaxMargin = 50;
  static constexpr int kMaxImageCacheCount = 20;
  static constexpr int kMinFontSize = 6;
  static constexpr int kMaxFontNameLength = 32;
  static constexpr int kMaxAnchorLength = 255;
  // Scroll steps: the vertical bar's small change, the horizontal bar's.
  static constexpr int kVSmallChange = 16;
  static constexpr int kHSmallChange = 15;
  // Dragging a selection out of the panel scrolls a step this often, by the
  // small change, or by eight of them when the pointer is farther out than
  // kAutoScrollFar.
  static constexpr int kAutoScrollInterval = 100;  // ms
  static constexpr int kAutoScrollFar = 15;

  // ui shows the failures of the pane's own mouse and key handling (a link
  // whose file is missing) and the document's ("Table has too many
  // Columns"); without one they go to Qt's log. fs reads the files
  // (default: the local file system).
  explicit ThtmlPane(QWidget* parent = nullptr, Ui* ui = nullptr, FileSystem* fs = nullptr);
  ~ThtmlPane() override;

  // ---- Events (each raised only when set) ----

  // The link under the mouse changed; empty when it left a link.
  std::function<void(const std::string& src)> OnHotSpotCovered;
  // A link was clicked; handled starts false, and a link left unhandled is
  // followed by the pane (FollowHotSpot).
  std::function<void(const std::string& src, bool& handled)> OnHotSpotClick;
  // Pictures from the host instead of files: the handler fills the stream
  // for a source, leaves it empty, or answers TImageStream::WaitStream().
  TImageRequest OnImageRequest;
  // SCRIPT bodies: LANGUAGE and the text.
  TScriptEvent OnScript;
  // A form was submitted; raised after the submitting control's own click
  // has finished, so the handler may load another document.
  std::function<void(const std::string& action, const std::string& target, const std::string& encType,
                     const std::string& method, const std::vector<std::string>& results)>
      OnFormSubmit;
  std::function<void()> OnHistoryChange;
  // The busy flag changed.
  std::function<void(bool processing)> OnProcessing;
  TIncludeType OnInclude;
  // BGSOUND; the pane itself asks for silence (empty source, loop 0,
  // terminate) before each HTML load and on Clear.
  TSoundType OnSoundRequest;
  TMetaType OnMeta;
  // After a load whose META refresh gave a delay above 0 and a URL.
  std::function<void(int delay, const std::string& url)> OnMetaRefresh;
  std::function<void(TImageObj* image, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
      OnImageClick;
  std::function<void(TImageObj* image, Qt::KeyboardModifiers shift, int x, int y)> OnImageOver;
  // A form control with ONCLICK was clicked.
  std::function<void(TFormControlObj* control, const std::string& onClick)> OnObjectClick;
  // The right button was released. Without a handler the pane shows its own
  // menu ("Copy", "Copy Link Address").
  std::function<void(const TRightClickParameters& parameters)> OnRightClick;
  // The paint panel's mouse, in its coordinates.
  std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDown;
  std::function<void(Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
  std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseUp;

  // ---- Properties ----

  bool ViewImages() const { return settings_.ViewImages; }
  void SetViewImages(bool on);
  // The page's colour when the document sets none.
  TColor DefBackground() const { return settings_.Background; }
  void SetDefBackground(TColor color);
  THTMLBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(THTMLBorderStyle style);
  // 0 keeps no history.
  int HistoryMaxCount() const { return historyMaxCount_; }
  void SetHistoryMaxCount(int count);
  std::string DefFontName() const;
  void SetDefFontName(const std::string& name);
  std::string DefPreFontName() const;
  void SetDefPreFontName(const std::string& name);
  // Points; below kMinFontSize becomes kMinFontSize.
  int DefFontSize() const { return settings_.FontSize; }
  void SetDefFontSize(int size);
  TColor DefFontColor() const { return settings_.FontColor; }
  void SetDefFontColor(TColor color);
  TColor DefHotSpotColor() const { return settings_.HotSpotColor; }
  void SetDefHotSpotColor(TColor color);
  // How many document loads an unused picture stays cached for; clamped to
  // 0 ... kMaxImageCacheCount.
  int ImageCacheCount() const { return imageCacheCount_; }
  void SetImageCacheCount(int count);
  // The picture cache shared by the panes of a process (a pane given none
  // keeps its own); it takes ImageCacheCount.
  void SetImageCache(std::shared_ptr<TStringBitmapList> cache);
  // True forbids selecting and clears the selection.
  bool NoSelect() const { return noSelect_; }
  void SetNoSelect(bool on);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle style);
  int CharSet() const { return settings_.CharSet; }
  void SetCharSet(int charSet);
  // 0 ... kMaxMargin; other values change nothing.
  int MarginHeight() const { return settings_.MarginHeight; }
  void SetMarginHeight(int margin);
  int MarginWidth() const { return settings_.MarginWidth; }
  void SetMarginWidth(int margin);
  // The folder links from the root are under; trimmed of blanks and of one
  // trailing path delimiter.
  const std::string& ServerRoot() const { return serverRoot_; }
  void SetServerRoot(const std::string& root);
  // The file the host's lines (LoadStrings) belong to, asked for whenever
  // they are shown: relative links and pictures of those lines resolve
  // beside it. Unset or empty: against the working folder.
  std::function<std::string()> DocumentPath;
  // The host's lines as they are now, for Back to them: when set, the pane
  // keeps no copy of the lines given to LoadStrings.
  std::function<const std::vector<std::string>&()> DocumentLines;
  // The panel's cursor over text (the I-beam by default).
  Qt::CursorShape Cursor() const { return cursor_; }
  void SetCursor(Qt::CursorShape shape) { cursor_ = shape; }
  // Fonts, colours, margins and pictures at once.
  void UseSettings(const PaneSettings& settings);
  const PaneSettings& Settings() const { return settings_; }

  // ---- Loading ----

  // An HTML file, optionally followed by "#" and an anchor to scroll to.
  // Ignored while busy or for an empty name. A missing file raises
  // "Can't locate file: " with the name and leaves the shown document.
  void LoadFromFile(const std::string& name);
  // One picture file shown alone.
  void LoadImageFile(const std::string& name);
  // The lines as an HTML document, then OnMetaRefresh when they asked for
  // a refresh. A comment left open at the end raises EParseError after the
  // rest has been shown.
  void LoadStrings(const std::vector<std::string>& lines);
  // The lines as HTML or plain text, without the refresh event.
  void LoadStringsAs(const std::vector<std::string>& lines, TFileKind kind);
  void LoadStrings(std::vector<std::string>&&) = delete;
  void LoadStringsAs(std::vector<std::string>&&, TFileKind) = delete;
  // Empties the page.
  virtual void Clear();

  // ---- Queries and positions ----

  // A link made into a full local path, against the document's base or its
  // file's folder.
  virtual std::string ExpandLinkPath(const std::string& link) const;
  // Scrolls to an anchor (with or without "#"; letter case ignored); false
  // when there is none of that name.
  bool PositionToAnchor(const std::string& name);
  // The vertical scroll position in pixels; writes are clamped.
  int Position() const { return doc_.YOff; }
  void SetPosition(int y);
  TReadingPosition ReadingPosition() const;
  void SetReadingPosition(TReadingPosition pos);
  // Lays the document out again, keeping the reader's place.
  void Relayout();

  const std::string& HotURL() const { return hotUrl_; }
  const std::string& HotTarget() const { return hotTarget_; }
  std::string Title() const;
  std::string BaseUrl() const;
  std::string BaseTarget() const;
  const std::string& CurrentFile() const { return currentFile_; }
  TFileKind FileKind() const { return fileKind_; }
  // The newest page first; HistoryIndex() is the one shown. An empty file
  // name stands for the lines last given to LoadStrings (kept while there
  // is a history), which start the history afresh.
  const std::vector<std::string>& HistoryFiles() const { return historyFiles_; }
  const std::vector<std::string>& HistoryTitles() const { return historyTitles_; }
  int HistoryIndex() const { return historyIndex_; }
  // Back to the page shown before, forward to the one left by Back, each
  // where the reader left it (Alt+Left and Alt+Right, and the mouse's back
  // and forward buttons). False when there is none or the pane is busy; a
  // page whose file has gone raises "Can't locate file: " and stays put.
  bool GoBack();
  bool GoForward();
  bool CanGoBack() const { return historyIndex_ + 1 < static_cast<int>(historyFiles_.size()); }
  bool CanGoForward() const { return historyIndex_ > 0; }

  // The busy flag (a load or re-layout is running) and the formatting flag
  // (layout is running; painting waits).
  bool Processing() const { return busy_ > 0; }
  bool Formatting() const { return formatting_; }

  // The document height with its margins, from the last layout.
  int DocHeight() const { return docHeight_; }
  // The panel's size as the bars leave it.
  int PanelWidth() const { return panelWidth_; }
  int PanelHeight() const { return panelHeight_; }

  TSectionList& Document() { return doc_; }
  const TNameList& NameList() const { return names_; }

  // ---- Selection ----

  int SelStart() const { return doc_.SelB; }
  int SelEnd() const { return doc_.SelE; }
  // The selected text, one line per paragraph.
  std::string SelText() const;
  // Puts the selected text on the clipboard (nothing when none is selected).
  void CopyToClipboard();
  // Selects the whole text (unless selecting is forbidden).
  void SelectAll();
  // Finds the text, letter case ignored, after the selection (before it when
  // backward), going on from the other end of the document; selects the
  // match and scrolls it into view. False when the document does not hold
  // the text: the selection stays.
  bool FindText(const std::string& text, bool backward);

  // ---- Mouse interaction ----

  // One step of scrolling while a selection is dragged out of the panel;
  // the timer calls it every kAutoScrollInterval.
  void AutoScroll();
  bool AutoScrolling() const { return autoScrolling_; }

  // ---- What the document's forms ask of the pane ----

  // The document's forms hand these on (viewer/forms/FormHost.h): the controls'
  // factory on the paint panel, OnFormSubmit posted, OnObjectClick, and a
  // control taking the focus scrolled into view.
  FormHost& Forms();

 protected:
  // The paint panel's mouse (panel coordinates).
  virtual void PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  virtual void PanelMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
  virtual void PanelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y,
                            const QPoint& global);
  // A left double click: the word at the point.
  void SelectWord(int x, int y);
  void ExtendSelection(int x, int y);
  // What a clicked link does when OnHotSpotClick left it (HotURL).
  virtual void FollowHotSpot();
  // Raises OnHotSpotClick; true when the handler took the link.
  bool AskHotSpotClick();
  // Draws the exposed band of the document through a buffer.
  virtual void PaintDocument(const QRect& exposed);

  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  class PaneForms;
  friend class PaneForms;
  // What the document asks of the pane (viewer/layout/DocumentHost.h).
  class PaneHost;
  friend class PaneHost;
  // Sets the busy flag for its lifetime (raising OnProcessing on changes).
  class Busy;
  friend class Busy;

  // Loading.
  void PrepareForLoad();
  void LoadFile(const std::string& name, TFileKind kind);
  void LoadKeepingHistory(const std::string& name, TFileKind kind);
  void AfterLoad(const HtmlParser& parser);
  HtmlParser MakeParser();
  void MetaHandler(const std::string& httpEq, const std::string& name, const std::string& content);
  void BumpHistory(const std::string& oldFile, const std::string& oldTitle, TFileKind oldKind,
                   TReadingPosition oldPos);
  void StartHistory(const std::vector<std::string>& lines, TFileKind kind);
  bool GoToHistory(int index);
  void ShowLines(const std::vector<std::string>& lines, TFileKind kind);
  // The clicked or covered link is forgotten when another page shows.
  void ForgetHot();
  void ApplyFonts(bool relayout);
  void ChangeLayout(const std::function<void()>& change);

  // Layout and scrolling (HtmlPaneView.cpp).
  void Layout();
  void ArrangeScrollBars();
  void SizeChanged();
  void ScrollToY(int y);
  void ScrollBy(int dy);
  int MaxPosition() const;
  int BarThickness() const;
  int BorderWidth() const { return borderStyle_ == htNone ? 0 : 1; }
  void PaintFrame();
  QColor FrameColor() const;
  void RefreshPalette();

  // Mouse (HtmlPaneMouse.cpp).
  // A panel point as the document's queries take it.
  int DocX(int x) const { return x - settings_.MarginWidth + HorzPosition(); }
  int DocY(int y) const { return y + doc_.YOff; }
  // The horizontal scroll position.
  int HorzPosition() const;
  // The cursor position at a panel point, or -1.
  int CharAt(int x, int y, bool* overText = nullptr);
  void SetPanelCursor(Qt::CursorShape shape);
  void SetHot(const std::u16string& url, const std::u16string& target);
  void StopAutoScroll();
  void ShowContextMenu(const QPoint& global, const std::string& link);
  // Runs a handler of the pane's own input; a failure goes to the Ui.
  void Guarded(const std::function<void()>& handler);

  Canvas& Measure() const;

  Ui* ui_;
  std::unique_ptr<FileSystem> ownFs_;
  FileSystem* fs_;
  // Before the document, which asks it for its timer.
  std::unique_ptr<PaneHost> host_;
  TSectionList doc_;
  TNameList names_;
  std::unique_ptr<QImage> measureImage_;
  std::unique_ptr<QtCanvas> measure_;
  SystemPalette palette_;
  std::unique_ptr<PaneForms> formHost_;

  PaneSettings settings_;
  THTMLBorderStyle borderStyle_ = htFocused;
  TScrollStyle scrollBars_ = ssBoth;
  int historyMaxCount_ = 0;
  int imageCacheCount_ = 5;
  bool noSelect_ = false;
  std::string serverRoot_;
  Qt::CursorShape cursor_ = Qt::IBeamCursor;

  std::u16string title_, baseUrl_, baseTarget_;
  std::string currentFile_;
  TFileKind fileKind_ = TFileKind::fkHTML;
  std::vector<std::string> historyFiles_, historyTitles_;
  std::vector<PositionObj> historyPositions_;
  int historyIndex_ = 0;
  // The host's lines, while a history may go back to them.
  std::vector<std::string> historyLines_;

  int busy_ = 0;
  bool formatting_ = false;
  int docHeight_ = 0;
  // The widest content at the last layout: the horizontal bar's reach.
  int maxHScroll_ = 0;
  int lastWidth_ = -1;
  int panelWidth_ = 0;
  int panelHeight_ = 0;

  int refreshDelay_ = 0;
  std::string refreshUrl_;

  std::string hotUrl_, hotTarget_;
  // Where the last press, drag or double click put the caret; a drag
  // changes the selection only when it moves it.
  int caretPos_ = 0;
  int selAnchor_ = -1;
  bool mouseDown_ = false;
  bool selecting_ = false;
  bool dragStarted_ = false;
  // The link or control the left button went down on: a release follows
  // only the same one.
  std::u16string pressUrl_, pressTarget_;
  TFormControlObj* pressControl_ = nullptr;
  bool pressOnHot_ = false;
  bool linkClicked_ = false;
  bool autoScrolling_ = false;
  QPoint pressPoint_;
  QPoint lastMouse_;
  QTimer autoScrollTimer_;
  Qt::CursorShape panelCursor_ = Qt::ArrowCursor;
};

}  // namespace quillet
