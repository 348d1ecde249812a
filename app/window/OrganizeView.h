#pragma once
// The organizer: the document as a folder tree and the items of one folder,
// to rename, move, copy, delete and fix bookmarks by hand. It keeps its own
// bookmark tree of the document; each action is an edit of that tree whose
// patches become one step of the window's history, so the other views show
// it at once and undo gives back the exact text. A change made elsewhere
// (typing, a command, undo) has the tree read again.
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/window/DocumentViews.h"
#include "app/window/OrganizeModels.h"
#include "bookmarks/BookmarkTree.h"
#include "bookmarks/TextPatch.h"

class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QStatusBar;
class QTimer;
class QTreeView;

namespace quillet {

class OrganizeView : public QObject, public DocumentView, public OrganizeHost {
  Q_OBJECT

 public:
  OrganizeView(Context& ctx, DocumentHistory& history, QStatusBar& status, QWidget* parent);

  QWidget* Widget() override;
  void SetCurrent(bool current) override;
  // Ctrl+F filters, F3 edits the address of the link chosen.
  bool HasOwnFindKeys() const override { return true; }
  bool TakeFindKey(bool next) override;
  void SelectAll() override;
  void Copy() override;

  // The Organize menu: its actions work while the view has the focus.
  QMenu* Menu() const { return menu_; }
  QTreeView* Folders() const { return folders_; }
  QTreeView* Items() const { return items_; }
  QLineEdit* FilterField() const { return filter_; }
  FolderTreeModel& FolderModel() { return *folderModel_; }
  ItemListModel& ItemModel() { return *itemModel_; }

  // The folder whose items the list shows.
  NodeId CurrentFolder() const { return itemModel_->Folder(); }
  void ShowFolder(NodeId folder);
  // The nodes selected in the list, in its order.
  std::vector<NodeId> SelectedIds() const;
  void Select(const std::vector<NodeId>& ids);
  // Filters the whole document by title or address; "" shows the folder.
  void SetFilter(const QString& text);
  // Brings the tree up to date with the document now (a change made
  // elsewhere is otherwise taken in once the window is idle).
  void Refresh();
  // The filter has every title and address read (they are read while the
  // window is idle after the document is).
  bool HaystackFilled() const;

  // Other tools add entries to a folder's context menu: choosing one emits
  // FolderActionRequested with its kind and the folder's path.
  void AddFolderAction(const QString& kind, const QString& caption);

  // The actions, each one step of the history.
  void RenameCurrent();
  void EditAddress();
  void DeleteSelected();
  void CutSelected();
  void Paste();
  void NewFolder();
  void NewSeparator();
  void MoveSelection(int step);

  // OrganizeHost
  const BookmarkTree& Tree() const override { return tree_; }
  uint64_t TreeSerial() const override { return serial_; }
  QIcon NodeIcon(NodeId id) override;
  bool RenameNode(NodeId id, const QString& title) override;
  bool SetNodeAddress(NodeId id, const QString& address) override;
  bool DropNodes(const std::vector<NodeId>& ids, InsertPosition to, bool copy) override;
  bool DropText(const QString& text, InsertPosition to) override;

 signals:
  // A folder's context menu entry of another tool was chosen: kind as it
  // was added, folderPath as FolderPathOf names the folder.
  void FolderActionRequested(const QString& kind, const QString& folderPath);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using TreeEdit = std::function<void(BookmarkTree&, std::vector<TextPatch>&)>;
  // Runs an edit of the tree as one step named name; then the list shows
  // the folder (or the filter's finds) again with select selected. A
  // refused edit says why and changes nothing.
  // An edit that changes no structure (a title, an address) redraws its
  // rows instead: an open editor and the list's place stay.
  bool Apply(const QString& name, const TreeEdit& edit, const std::function<std::vector<NodeId>()>& select,
             bool structural = true);
  void BuildActions();
  void Reload();
  void Follow(const void* by);
  void ShowList(const std::vector<NodeId>& select);
  void RunFilter();
  // A node's title and address as the filter searches them.
  const QString& Hay(NodeId id);
  void FillHaystack();
  // Where new and pasted items go: after the current item of the list, or
  // at the end of the folder chosen in the tree.
  InsertPosition InsertPlace() const;
  bool FolderTreeFocused() const;
  // The selection the actions work on: the list's, or the folder in the tree.
  std::vector<NodeId> ActedOn() const;
  void ShowStatus();
  void ShowContextMenu(QTreeView* view, const QPoint& at);
  void PasteText(const QString& text, InsertPosition to, std::vector<NodeId>& made, std::vector<TextPatch>& patches);

  Context& ctx_;
  DocumentHistory& history_;
  QStatusBar& status_;
  BookmarkTree tree_;
  uint64_t serial_ = 0;
  QWidget* widget_;
  QSplitter* splitter_;
  QTreeView* folders_;
  QTreeView* items_;
  QLineEdit* filter_;
  QLabel* count_;
  QMenu* menu_;
  FolderTreeModel* folderModel_;
  ItemListModel* itemModel_;
  std::vector<std::pair<QString, QString>> folderActions_;
  std::set<NodeId> expanded_;
  // Titles and addresses for the filter, folded once per tree, by id.
  std::vector<QString> haystack_;
  QTimer* filler_;
  size_t fillNext_ = 0;
  QString lastFilter_;
  std::vector<NodeId> lastFound_;
  QHash<NodeId, QIcon> icons_;
  bool current_ = false;
  bool stale_ = true;
  bool refreshQueued_ = false;
  // On while the view itself moves the folder tree's current item.
  bool syncing_ = false;
  // Set between a cut and the paste that moves what was cut.
  bool cutPending_ = false;
};

}  // namespace quillet
