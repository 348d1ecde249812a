#pragma once
// The window's one document and its one undo history. Every change, typed in
// a view or made by a command, is a splice of the document's lines and one
// step of a QUndoStack, so Ctrl+Z takes back typing and commands alike in
// every view. A step keeps only the lines the document does not hold at the
// time: undoing or redoing it swaps them with the ones that are there.
#include <QObject>
#include <QString>

#include "bookmarks/Context.h"
#include "bookmarks/TextPatch.h"

class QUndoStack;

namespace quillet {

// Lines [At, At + Removed) of the document gave way to Inserted new lines.
// Nothing removed and nothing inserted: the lines are as they were, but the
// views show them again (a command that changed nothing).
struct LineChange {
  size_t At = 0;
  size_t Removed = 0;
  size_t Inserted = 0;
  // Undo or redo made it: a view shows where it happened.
  bool FromHistory = false;
};

// How an edit of a view joins the history: a step of its own, or a keystroke
// (one character typed or erased within one line) that joins the keystrokes
// of the same kind on the same line before it, as an editor's steps do.
enum class EditKind { Step, Typing, Erasing };

class DocumentHistory : public QObject {
  Q_OBJECT

 public:
  explicit DocumentHistory(TextLines& lines, QObject* parent = nullptr);
  ~DocumentHistory() override;

  TextLines& Lines() { return lines_; }
  const TextLines& Lines() const { return lines_; }
  QUndoStack& Stack() { return *stack_; }

  // A command has changed the lines, which were before: one step named
  // text, keeping the lines that differ.
  void RecordCommand(TextLines before, const QString& text);
  // A view replaces Removed lines at At with inserted (the view shows them
  // already; by is that view, told of the change like the others). Lines
  // replaced by the same lines make no step.
  void Edit(size_t at, size_t removed, TextLines inserted, EditKind kind, const void* by);
  // A view that edits a tree of the document hands over the patches its
  // edits made, in order: one step named text. The views are told of each
  // patch in turn (by is that view), and undo takes them back in reverse.
  void ApplyPatches(std::vector<TextPatch> patches, const QString& text, const void* by);
  // A new text (opened, loaded): the history starts over and every view
  // shows it from the top. The modified mark stays as it was.
  void StartOver();

  // Set while the lines differ from what was last opened or saved: the
  // stack's clean state, so undoing back to that text clears it.
  bool Modified() const;
  void SetModified(bool on);

 signals:
  void Changed(const LineChange& change, const void* by);
  void Replaced();
  void ModifiedChanged(bool modified);

 private:
  class Splice;
  friend class Splice;
  class PatchStep;
  friend class PatchStep;
  // Applies one patch to the lines and tells the views.
  void Patch(const TextPatch& patch, bool fromHistory, const void* by);
  // Swaps the lines [at, at + count) with others; returns the change.
  LineChange Swap(size_t at, size_t& count, TextLines& others);

  TextLines& lines_;
  QUndoStack* stack_;
};

}  // namespace quillet
