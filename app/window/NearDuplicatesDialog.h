#pragma once
// Html > Remove Duplicates > Near Duplicates...: the links that lead to the
// same page by the rules the user ticks (none at first: exact addresses),
// in groups, each copy with a check box, the one kept unticked. Nothing
// goes until Remove Ticked; on the document that is one undo step and
// nothing is saved, on a folder of shortcut files the ticked files go to
// the trash.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/Context.h"
#include "cleanup/DuplicateReport.h"
#include "convert/ShortcutFiles.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace quillet {

class NearDuplicatesDialog : public QDialog {
  Q_OBJECT

 public:
  // On the document, its links in the folder within and below it. recorded
  // gets the lines from before a removal and what to say about it.
  using Recorded = std::function<void(TextLines before, const std::string& note)>;
  NearDuplicatesDialog(QWidget* parent, Context& ctx, NodeId within, Recorded recorded);
  // On a folder of shortcut files. said gets what a removal did.
  NearDuplicatesDialog(QWidget* parent, Context& ctx, std::string shortcutFolder,
                       std::function<void(const std::string& note)> said);

  // The list's columns.
  enum Column { kTitle, kFolder, kAddress, kLine, kRules, kColumns };

  std::vector<QCheckBox*> ruleBoxes;  // objectNames "rule-slash", "rule-www", ...
  QComboBox* scopeBox;
  QComboBox* keepBox;
  QTreeWidget* groupList;  // a row per group, a checkable row per copy under it
  QLabel* summaryLabel;
  QPushButton* removeButton;

  // Looks again with the choices shown.
  void Search();
  void RemoveTicked();

 private:
  NearDuplicatesDialog(QWidget* parent, Context& ctx);
  void FollowTicks();
  std::vector<size_t> Ticked() const;

  Context& ctx_;
  // On the document: its tree, which edits keep in step with its lines.
  std::optional<BookmarkTree> tree_;
  NodeId within_ = kRootNode;
  std::vector<NodeId> links_;
  Recorded recorded_;
  // On a folder.
  std::string folder_;
  ShortcutTree files_;
  std::function<void(const std::string&)> said_;
};

}  // namespace quillet
