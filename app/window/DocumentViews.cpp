#include "app/window/DocumentViews.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <algorithm>
#include <memory>

#include "app/window/DocumentHistory.h"
#include "app/window/LoadProgress.h"
#include "app/ShellCommands.h"
#include "app/window/WindowPlace.h"
#include "platform/FlagOn.h"
#include "viewer/text/ViewerErrors.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet {

bool DocumentView::Find(const QString&, bool) { return false; }

// ---- the rendered view ----

RenderedView::RenderedView(Context& ctx, DocumentHistory& history, QWidget* parent)
    : QObject(parent), ctx_(ctx), history_(history), pane_(new ThtmlPane(parent, &ctx.UI(), &ctx.Fs())) {
  pane_->setObjectName(QStringLiteral("pane"));
  // Pictures off, the window's background, "Times New Roman" and "Courier
  // New": the settings quillet-render shares.
  pane_->UseSettings(WindowPaneSettings());
  pane_->SetBorderStyle(htSingle);
  pane_->SetNoSelect(false);
  pane_->SetCursor(Qt::IBeamCursor);
  // Back to the document shows the document, without a copy of it.
  pane_->DocumentLines = [this]() -> const TextLines& { return history_.Lines(); };
  pane_->OnHotSpotClick = [this](const std::string& url, bool& handled) {
    try {
      handled = HotSpotClick(ctx_, url, [this](const std::string& link) { return pane_->ExpandLinkPath(link); });
    } catch (const std::exception& e) {
      ctx_.UI().ShowError(e.what());
    }
  };
  connect(&history_, &DocumentHistory::Changed, this, [this] { Follow(false); });
  connect(&history_, &DocumentHistory::Replaced, this, [this] { Follow(true); });
}

QWidget* RenderedView::Widget() { return pane_; }

void RenderedView::Follow(bool fromTop) {
  if (current_) {
    Show(fromTop);
    return;
  }
  fromTop_ = fromTop_ || fromTop;
  stale_ = true;
}

void RenderedView::SetCurrent(bool current) {
  current_ = current;
  // Back from another view, the page shows the document again, also when a
  // link had led the pane to another page meanwhile.
  if (current_ && (stale_ || !pane_->CurrentFile().empty())) Show(fromTop_ || !pane_->CurrentFile().empty());
}

void RenderedView::Show(bool fromTop) {
  stale_ = fromTop_ = false;
  if (history_.Lines().empty()) return;
  const BusyCursor busy(ctx_.UI());
  const TReadingPosition place = pane_->ReadingPosition();
  // The pane shows what it could read of a comment left open; the error box
  // says so, and the command goes on.
  try {
    pane_->LoadStrings(history_.Lines());
  } catch (const EParseError& e) {
    ctx_.UI().ShowError(e.what());
  }
  if (!fromTop) pane_->SetReadingPosition(place);
}

bool RenderedView::Find(const QString& text, bool backward) { return pane_->FindText(text.toStdString(), backward); }

void RenderedView::SelectAll() { pane_->SelectAll(); }

void RenderedView::Copy() { pane_->CopyToClipboard(); }

void RenderedView::SetZoom(int percent) { pane_->SetDefFontSize(ZoomedFontSize(percent)); }

// ---- the source view ----

namespace {

// The editor, whose own undo history is off: Ctrl+Z and Ctrl+Shift+Z reach
// the window's, and so does its context menu.
class SourceEditor : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;
  QAction* Undo = nullptr;
  QAction* Redo = nullptr;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ShortcutOverride) {
      const auto* key = static_cast<QKeyEvent*>(e);
      if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
          key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z)) {
        e->ignore();
        return true;
      }
    }
    return QPlainTextEdit::event(e);
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(e->pos()));
    for (QAction* a : menu->actions()) {
      const QString name = a->objectName();
      if (name == QLatin1String("edit-undo") && Undo) {
        menu->insertAction(a, Undo);
        menu->removeAction(a);
      } else if (name == QLatin1String("edit-redo") && Redo) {
        menu->insertAction(a, Redo);
        menu->removeAction(a);
      }
    }
    menu->exec(e->globalPos());
  }
};

// The lines as the editor's text, a line break between two lines.
QString EditorText(const TextLines& lines, size_t first, size_t last, DisplayEncoding enc) {
  size_t bytes = 0;
  for (size_t i = first; i < last; ++i) bytes += lines[i].size() + 1;
  // Each byte gives at most one UTF-16 unit.
  QString text(static_cast<qsizetype>(bytes), Qt::Uninitialized);
  QChar* out = text.data();
  if (enc == DisplayEncoding::Windows1252) {
    for (size_t i = first; i < last; ++i) {
      if (i > first) *out++ = QLatin1Char('\n');
      for (const char c : lines[i]) *out++ = QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(c))));
    }
  } else {
    // Decoded a few megabytes at a time: one call per line costs more than
    // the decoding.
    QStringDecoder utf8(QStringDecoder::Utf8);
    std::string chunk;
    constexpr size_t kChunk = 4u << 20;
    for (size_t i = first; i < last; ++i) {
      if (i > first) chunk += '\n';
      chunk += lines[i];
      if (chunk.size() >= kChunk || i + 1 == last) {
        out = utf8.appendToBuffer(out, QByteArrayView(chunk.data(), static_cast<qsizetype>(chunk.size())));
        chunk.clear();
      }
    }
  }
  text.truncate(out - text.constData());
  return text;
}

}  // namespace

SourceView::SourceView(DocumentHistory& history, Ui& ui, QWidget* parent)
    : QObject(parent), history_(history), ui_(ui), editor_(new SourceEditor(parent)), fillTimer_(new QTimer(this)) {
  fillTimer_->setSingleShot(true);
  fillTimer_->setInterval(0);
  connect(fillTimer_, &QTimer::timeout, this, [this] {
    try {
      ContinueFill();
    } catch (const std::exception& e) {
      ui_.ShowError(e.what());
    }
  });
  editor_->setObjectName(QStringLiteral("sourceView"));
  editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  editor_->setUndoRedoEnabled(false);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetWordWrap(false);
  connect(editor_->document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
    try {
      TakeEdit(position, removed, added);
    } catch (const std::exception& e) {
      ui_.ShowError(e.what());
    }
  });
  connect(&history_, &DocumentHistory::Changed, this, &SourceView::Follow);
  connect(&history_, &DocumentHistory::Replaced, this, [this] {
    stale_ = true;
    if (current_) Fill(false);
  });
}

QWidget* SourceView::Widget() { return editor_; }

void SourceView::SetHistoryActions(QAction* undo, QAction* redo) {
  auto* editor = static_cast<SourceEditor*>(editor_);
  editor->Undo = undo;
  editor->Redo = redo;
}

void SourceView::SetWordWrap(bool on) {
  editor_->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  // Wrapped lines need no sideways scrolling.
  editor_->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

void SourceView::SetCurrent(bool current) {
  current_ = current;
  if (current_ && (!filled_ || stale_)) Fill(filled_);
}

void SourceView::Fill(bool keepPlace) {
  // Filled again before the last fill was done: the place is the one from
  // before that fill.
  if (!streaming_) {
    keepPlace_ = keepPlace;
    placeAt_ = editor_->textCursor().position();
    placeScrolled_ = editor_->verticalScrollBar()->value();
  }
  const TextLines& lines = history_.Lines();
  const size_t first = std::min(lines.size(), FillChunkLines);
  size_t bytes = 0;
  for (size_t i = 0; i < first; ++i) bytes += lines[i].size();
  const BusyCursor busy(ui_);
  LoadProgress progress(editor_->window(), bytes, QStringLiteral("Preparing the source text..."));
  encoding_ = ChooseDisplayEncoding(lines);
  const QString text = EditorText(lines, 0, first, encoding_);
  progress.Step(QStringLiteral("Showing the source text..."));
  {
    const FlagOn updating(updating_);
    editor_->setPlainText(text);
  }
  filled_ = true;
  stale_ = false;
  filledLines_ = first;
  if (first == lines.size()) {
    FinishFill();
    return;
  }
  streaming_ = true;
  editor_->setReadOnly(true);
  emit FillProgress(static_cast<int>(100 * first / lines.size()));
  fillTimer_->start();
}

void SourceView::ContinueFill() {
  if (!streaming_) return;
  if (stale_) {
    // The document changed meanwhile: from its start again, now or when
    // the view shows again.
    if (current_)
      Fill(keepPlace_);
    else
      streaming_ = false;
    return;
  }
  const TextLines& lines = history_.Lines();
  const size_t next = std::min(lines.size(), filledLines_ + FillChunkLines);
  QTextCursor end(editor_->document());
  end.movePosition(QTextCursor::End);
  {
    const FlagOn updating(updating_);
    end.insertText(QLatin1Char('\n') + EditorText(lines, filledLines_, next, encoding_));
  }
  filledLines_ = next;
  if (next == lines.size()) {
    FinishFill();
    return;
  }
  emit FillProgress(static_cast<int>(100 * next / lines.size()));
  fillTimer_->start();
}

void SourceView::FinishFill() {
  streaming_ = false;
  editor_->setReadOnly(false);
  if (keepPlace_) {
    QTextCursor back(editor_->document());
    back.setPosition(std::min(placeAt_, editor_->document()->characterCount() - 1));
    editor_->setTextCursor(back);
    editor_->verticalScrollBar()->setValue(placeScrolled_);
  }
  emit FillProgress(100);
}

DisplayEncoding SourceView::EncodingAfter(const LineChange& change) const {
  const TextLines& lines = history_.Lines();
  if (encoding_ == DisplayEncoding::Utf8) {
    // Still UTF-8 unless a new line is not.
    for (size_t i = change.At; i < change.At + change.Inserted; ++i)
      if (ChooseTextEncoding(std::string_view(lines[i])) != TextEncoding::Utf8) return DisplayEncoding::Windows1252;
    return DisplayEncoding::Utf8;
  }
  // The lines that made it Windows-1252 may have gone.
  return ChooseDisplayEncoding(lines);
}

void SourceView::Follow(const LineChange& change, const void* by) {
  if (streaming_) {
    stale_ = true;
    return;
  }
  if (by == this || !filled_ || stale_) return;
  const TextLines& lines = history_.Lines();
  const size_t before = lines.size() - change.Inserted + change.Removed;
  const size_t touched = change.Removed + change.Inserted;
  // The editor's lines are not the document's before the change (the
  // document was emptied, or changed while the editor held other text), the
  // encoding changes, or most lines change: the editor is filled again.
  const bool refill = lines.empty() || before == 0 ||
                      static_cast<size_t>(editor_->document()->blockCount()) != before ||
                      EncodingAfter(change) != encoding_ || (touched > 2000 && touched > lines.size() / 2);
  if (refill) {
    stale_ = true;
    if (current_) Fill(true);
    return;
  }
  if (touched == 0) return;
  const QTextCursor cursor = editor_->textCursor();
  const int line = cursor.blockNumber(), column = cursor.positionInBlock();
  const int scrolled = editor_->verticalScrollBar()->value();
  ApplyToEditor(change);
  if (change.FromHistory && current_) {
    // Undo and redo show where they happened.
    editor_->setTextCursor(QTextCursor(editor_->document()->findBlockByNumber(static_cast<int>(change.At))));
    editor_->ensureCursorVisible();
    return;
  }
  // A command leaves the reader where they were.
  const QTextBlock block = editor_->document()->findBlockByNumber(std::min(line, editor_->blockCount() - 1));
  QTextCursor back(block);
  back.setPosition(block.position() + std::min(column, block.length() - 1));
  editor_->setTextCursor(back);
  editor_->verticalScrollBar()->setValue(scrolled);
}

void SourceView::ApplyToEditor(const LineChange& change) {
  QTextDocument* doc = editor_->document();
  const FlagOn updating(updating_);
  const QString text = EditorText(history_.Lines(), change.At, change.At + change.Inserted, encoding_);
  const QTextBlock first = doc->findBlockByNumber(static_cast<int>(change.At));
  QTextCursor cursor(doc);
  if (change.Removed == 0) {
    // New lines before the line at At, or after the last one.
    if (first.isValid()) {
      cursor.setPosition(first.position());
      cursor.insertText(text + QLatin1Char('\n'));
    } else {
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(QLatin1Char('\n') + text);
    }
    return;
  }
  const QTextBlock last = doc->findBlockByNumber(static_cast<int>(change.At + change.Removed - 1));
  const int lastEnd = last.position() + last.length() - 1;
  if (change.Inserted > 0) {
    cursor.setPosition(first.position());
    cursor.setPosition(lastEnd, QTextCursor::KeepAnchor);
    cursor.insertText(text);
  } else if (last.next().isValid()) {
    // Whole lines go, with the line break after them.
    cursor.setPosition(first.position());
    cursor.setPosition(last.next().position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  } else {
    // The last lines go, with the line break before them.
    const QTextBlock previous = first.previous();
    cursor.setPosition(previous.position() + previous.length() - 1);
    cursor.setPosition(lastEnd, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
}

TextLines SourceView::EncodedLines(int first, int last) const {
  TextLines lines;
  lines.reserve(static_cast<size_t>(last - first + 1));
  QTextBlock b = editor_->document()->findBlockByNumber(first);
  for (int i = first; i <= last && b.isValid(); ++i, b = b.next())
    lines.push_back(EncodeFromDisplay(b.text().toStdString(), encoding_));
  return lines;
}

void SourceView::TakeEdit(int position, int removed, int added) {
  if (updating_) return;
  const QTextDocument* doc = editor_->document();
  const size_t count = history_.Lines().size();
  const int blocks = doc->blockCount();
  // An editor with no text holds no line.
  if (doc->characterCount() <= 1) {
    if (count > 0) history_.Edit(0, count, {}, EditKind::Step, this);
    return;
  }
  const int first = doc->findBlock(position).blockNumber();
  const int lastNew = doc->findBlock(std::min(position + added, doc->characterCount() - 1)).blockNumber();
  // The lines after the change are the same on both sides.
  const long long lastOld = static_cast<long long>(lastNew) + static_cast<long long>(count) - blocks;
  if (count == 0 || first < 0 || lastOld < first || lastOld >= static_cast<long long>(count)) {
    // The editor did not hold the document line for line: its whole text
    // becomes the document.
    history_.Edit(0, count, EncodedLines(0, blocks - 1), EditKind::Step, this);
    return;
  }
  TextLines lines = EncodedLines(first, lastNew);
  const auto removedLines = static_cast<size_t>(lastOld - first + 1);
  // A change of format alone changes no text, and makes no step.
  const EditKind kind = removed == 0 && added == 1   ? EditKind::Typing
                        : removed == 1 && added == 0 ? EditKind::Erasing
                                                     : EditKind::Step;
  history_.Edit(static_cast<size_t>(first), removedLines, std::move(lines), kind, this);
}

bool SourceView::Find(const QString& text, bool backward) {
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (editor_->find(text, flags)) return true;
  // On from the other end.
  QTextCursor from(editor_->document());
  from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  const QTextCursor found = editor_->document()->find(text, from, flags);
  if (found.isNull()) return false;
  editor_->setTextCursor(found);
  editor_->ensureCursorVisible();
  return true;
}

void SourceView::SelectAll() { editor_->selectAll(); }

void SourceView::Copy() { editor_->copy(); }

}  // namespace quillet
