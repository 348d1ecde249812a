#pragma once
// The views of the window's one document, stacked in the window: the page as
// rendered and the source text (the organizer joins them through the same
// interface). Each follows the document through its history, and offers
// what it can of the Edit and View menus. A hidden view may put off
// following the document until it shows again.
#include <QObject>
#include <QString>
#include <QTimer>

#include "app/DisplayCodec.h"
#include "bookmarks/Context.h"

class QAction;
class QPlainTextEdit;
class QWidget;

namespace quillet {

class DocumentHistory;
class ThtmlPane;
struct LineChange;

class DocumentView {
 public:
  virtual ~DocumentView() = default;
  // The widget the window stacks; its objectName names the view.
  virtual QWidget* Widget() = 0;
  // The window shows this view (true) or another one.
  virtual void SetCurrent(bool current) = 0;
  // Find: the text, letter case ignored, after the selection (before it when
  // backward), going on from the other end; the match selected and in view.
  // False when the document does not hold it.
  virtual bool CanFind() const { return false; }
  virtual bool Find(const QString& text, bool backward);
  // A view that gives Ctrl+F and F3 a meaning of its own (the organizer:
  // its filter, a link's address) takes them here when the Edit menu's
  // Find and Find Next run; true when it did.
  virtual bool HasOwnFindKeys() const { return false; }
  virtual bool TakeFindKey(bool next) {
    (void)next;
    return false;
  }
  virtual void SelectAll() {}
  virtual void Copy() {}
  // Zoom In, Zoom Out and Actual Size apply to it.
  virtual bool CanZoom() const { return false; }
};

// The document as a page, in Quillet's own HTML pane.
class RenderedView : public QObject, public DocumentView {
  Q_OBJECT

 public:
  RenderedView(Context& ctx, DocumentHistory& history, QWidget* parent);

  ThtmlPane* Pane() const { return pane_; }
  QWidget* Widget() override;
  void SetCurrent(bool current) override;
  bool CanFind() const override { return true; }
  bool Find(const QString& text, bool backward) override;
  void SelectAll() override;
  void Copy() override;
  bool CanZoom() const override { return true; }
  // The base font at a zoom in percent: every font size scales, pictures stay.
  void SetZoom(int percent);

 private:
  // Hands the document to the pane, at the reader's place or from the top.
  // An empty document leaves the page as it is.
  void Show(bool fromTop);
  void Follow(bool fromTop);

  Context& ctx_;
  DocumentHistory& history_;
  ThtmlPane* pane_;
  bool current_ = false;
  bool stale_ = false;
  bool fromTop_ = false;
};

// The document as its text, editable: each edit is a splice of the lines it
// touched, encoded back into the document's bytes. A big document goes into
// the editor a piece at a time: the first lines show at once, the rest
// follow while the window goes on (the editor is read-only until then).
class SourceView : public QObject, public DocumentView {
  Q_OBJECT

 public:
  // Lines put into the editor at a time: small pieces keep the window
  // answering while a big document fills in, and cost less in all than
  // one big one.
  static inline size_t FillChunkLines = 10000;

  SourceView(DocumentHistory& history, Ui& ui, QWidget* parent);

  QPlainTextEdit* Editor() const { return editor_; }
  QWidget* Widget() override;
  void SetCurrent(bool current) override;
  bool CanFind() const override { return true; }
  bool Find(const QString& text, bool backward) override;
  void SelectAll() override;
  void Copy() override;
  void SetWordWrap(bool on);
  // The editor's context menu offers the window's Undo and Redo.
  void SetHistoryActions(QAction* undo, QAction* redo);
  // Whether the editor holds the whole document now; it is filled when
  // first shown.
  bool Filled() const { return filled_ && !stale_ && !streaming_; }
  DisplayEncoding Encoding() const { return encoding_; }

 signals:
  // How much of a big document the editor holds while it is filled, in
  // percent; 100 once it holds all of it.
  void FillProgress(int percent);

 private:
  // The document into the editor, from its first lines on; keepPlace puts
  // the cursor and the scroll position back where they were once it is all
  // there.
  void Fill(bool keepPlace);
  void ContinueFill();
  void FinishFill();
  void Follow(const LineChange& change, const void* by);
  void ApplyToEditor(const LineChange& change);
  // An edit typed into the editor, as a splice of the document's lines.
  void TakeEdit(int position, int removed, int added);
  TextLines EncodedLines(int first, int last) const;
  // The encoding the document would be shown in after a change, without
  // reading all of it when the change alone tells.
  DisplayEncoding EncodingAfter(const LineChange& change) const;

  DocumentHistory& history_;
  Ui& ui_;
  QPlainTextEdit* editor_;
  DisplayEncoding encoding_ = DisplayEncoding::Utf8;
  bool current_ = false;
  bool filled_ = false;
  bool stale_ = false;
  bool streaming_ = false;
  size_t filledLines_ = 0;
  QTimer* fillTimer_;
  bool keepPlace_ = false;
  int placeAt_ = 0;
  int placeScrolled_ = 0;
  // On while the view itself changes the editor's text, so the change is
  // not taken for the user's.
  bool updating_ = false;
};

}  // namespace quillet
