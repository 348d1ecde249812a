#include "app/window/DocumentHistory.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <iterator>

namespace quillet {

class DocumentHistory::Splice : public QUndoCommand {
 public:
  Splice(DocumentHistory& history, size_t at, size_t count, TextLines others, EditKind kind, const QString& text)
      : QUndoCommand(text), history_(history), at_(at), count_(count), others_(std::move(others)), kind_(kind) {}

  void undo() override { Apply(); }
  void redo() override {
    // Pushed after the change was made.
    if (std::exchange(fresh_, false)) return;
    Apply();
  }
  int id() const override { return kind_ == EditKind::Step ? -1 : static_cast<int>(kind_); }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const Splice*>(other);
    // This step keeps the line as it was before the first keystroke.
    return next->at_ == at_ && next->count_ == 1 && count_ == 1 && others_.size() == 1;
  }

 private:
  void Apply() {
    LineChange change = history_.Swap(at_, count_, others_);
    change.FromHistory = true;
    emit history_.Changed(change, nullptr);
  }

  DocumentHistory& history_;
  size_t at_;
  size_t count_;
  TextLines others_;
  EditKind kind_;
  bool fresh_ = true;
};

class DocumentHistory::PatchStep : public QUndoCommand {
 public:
  PatchStep(DocumentHistory& history, std::vector<TextPatch> patches, const QString& text)
      : QUndoCommand(text), history_(history), patches_(std::move(patches)) {}

  void undo() override {
    for (auto p = patches_.rbegin(); p != patches_.rend(); ++p) history_.Patch(InvertPatch(*p), true, nullptr);
  }
  void redo() override {
    if (std::exchange(fresh_, false)) return;
    for (const TextPatch& p : patches_) history_.Patch(p, true, nullptr);
  }

 private:
  DocumentHistory& history_;
  std::vector<TextPatch> patches_;
  bool fresh_ = true;
};

DocumentHistory::DocumentHistory(TextLines& lines, QObject* parent)
    : QObject(parent), lines_(lines), stack_(new QUndoStack(this)) {
  connect(stack_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit ModifiedChanged(!clean); });
}

DocumentHistory::~DocumentHistory() = default;

LineChange DocumentHistory::Swap(size_t at, size_t& count, TextLines& others) {
  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(at);
  const auto last = first + static_cast<std::ptrdiff_t>(count);
  TextLines taken(std::make_move_iterator(first), std::make_move_iterator(last));
  const LineChange change{at, count, others.size()};
  if (others.size() == count) {
    std::move(others.begin(), others.end(), first);
  } else {
    const auto gap = lines_.erase(first, last);
    lines_.insert(gap, std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));
  }
  count = change.Inserted;
  others = std::move(taken);
  return change;
}

void DocumentHistory::RecordCommand(TextLines before, const QString& text) {
  const size_t n = before.size(), m = lines_.size();
  size_t head = 0;
  while (head < n && head < m && before[head] == lines_[head]) ++head;
  size_t tail = 0;
  while (tail < n - head && tail < m - head && before[n - 1 - tail] == lines_[m - 1 - tail]) ++tail;
  if (head == n && head == m) {
    emit Changed(LineChange{}, nullptr);
    return;
  }
  TextLines others(std::make_move_iterator(before.begin() + static_cast<std::ptrdiff_t>(head)),
                   std::make_move_iterator(before.end() - static_cast<std::ptrdiff_t>(tail)));
  const LineChange change{head, n - head - tail, m - head - tail};
  stack_->push(new Splice(*this, head, change.Inserted, std::move(others), EditKind::Step, text));
  emit Changed(change, nullptr);
}

void DocumentHistory::Edit(size_t at, size_t removed, TextLines inserted, EditKind kind, const void* by) {
  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(at);
  if (removed == inserted.size() && std::equal(inserted.begin(), inserted.end(), first)) return;
  if (removed != 1 || inserted.size() != 1) kind = EditKind::Step;
  size_t count = removed;
  const LineChange change = Swap(at, count, inserted);
  stack_->push(new Splice(*this, at, count, std::move(inserted), kind,
                          kind == EditKind::Step ? QStringLiteral("Edit") : QStringLiteral("Typing")));
  emit Changed(change, by);
}

void DocumentHistory::Patch(const TextPatch& patch, bool fromHistory, const void* by) {
  if (patch.Empty()) return;
  ApplyPatch(lines_, patch);
  // One change from the first hunk to the end of the last: what lies
  // between them may have moved, nothing outside did.
  const TextHunk& first = patch.Hunks.front();
  const TextHunk& last = patch.Hunks.back();
  LineChange change{first.NewFirst, last.OldFirst + last.OldLines.size() - first.OldFirst,
                    last.NewFirst + last.NewLines.size() - first.NewFirst};
  change.FromHistory = fromHistory;
  emit Changed(change, by);
}

void DocumentHistory::ApplyPatches(std::vector<TextPatch> patches, const QString& text, const void* by) {
  std::erase_if(patches, [](const TextPatch& p) { return p.Empty(); });
  if (patches.empty()) return;
  for (const TextPatch& p : patches) Patch(p, false, by);
  stack_->push(new PatchStep(*this, std::move(patches), text));
}

void DocumentHistory::StartOver() {
  const bool modified = Modified();
  stack_->clear();
  SetModified(modified);
  emit Replaced();
}

bool DocumentHistory::Modified() const { return !stack_->isClean(); }

void DocumentHistory::SetModified(bool on) {
  if (!on)
    stack_->setClean();
  else if (stack_->isClean())
    stack_->resetClean();
}

}  // namespace quillet
