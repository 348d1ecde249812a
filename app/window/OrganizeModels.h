#pragma once
// The models behind the organizer: the folder tree on the left and the
// list of one folder's items (or of what the filter found) on the right,
// both over the view's bookmark tree and read from it when asked, row by
// row. They change nothing themselves: edits, drops included, go to the
// view that owns the tree, which makes them steps of the window's history.
#include <QAbstractItemModel>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/TreeEdit.h"

class QMimeData;

namespace quillet {

// What the models ask of the view that owns the tree.
class OrganizeHost {
 public:
  virtual ~OrganizeHost() = default;
  virtual const BookmarkTree& Tree() const = 0;
  // Changes each time the tree is read anew, when node ids lose their sense.
  virtual uint64_t TreeSerial() const = 0;
  virtual QIcon NodeIcon(NodeId id) = 0;
  virtual bool RenameNode(NodeId id, const QString& title) = 0;
  virtual bool SetNodeAddress(NodeId id, const QString& address) = 0;
  // Nodes of this tree dropped at a place, moved or copied; false when the
  // drop is refused (it says why).
  virtual bool DropNodes(const std::vector<NodeId>& ids, InsertPosition to, bool copy) = 0;
  // Text of another program dropped: its addresses become links.
  virtual bool DropText(const QString& text, InsertPosition to) = 0;
};

// The mime type of nodes dragged or put on the clipboard in this window.
inline constexpr char kNodesMimeType[] = "application/x-quillet-nodes";

// Nodes of host's tree as mime data: their ids, and their addresses as
// plain text for other programs.
QMimeData* NodesMimeData(const OrganizeHost& host, const std::vector<NodeId>& ids);
// The ids in data when it holds nodes of host's tree as it is now.
bool NodesFromMimeData(const OrganizeHost& host, const QMimeData* data, std::vector<NodeId>& ids);

enum OrganizeRole { KindRole = Qt::UserRole + 1, NodeIdRole };

class FolderTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  FolderTreeModel(OrganizeHost& host, QObject* parent);

  // The tree changed: everything is read again.
  void Reset();
  // A folder's title changed.
  void NodeChanged(NodeId id);
  QModelIndex IndexOf(NodeId folder) const;
  static NodeId IdOf(const QModelIndex& index);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;
  Qt::DropActions supportedDropActions() const override;
  Qt::DropActions supportedDragActions() const override;

 private:
  // A folder's folders, read when first asked for.
  const std::vector<NodeId>& Folders(NodeId folder) const;
  int RowOf(NodeId folder) const;

  OrganizeHost& host_;
  mutable std::unordered_map<NodeId, std::vector<NodeId>> folders_;
  mutable std::unordered_map<NodeId, int> rows_;
};

class ItemListModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Column { TitleColumn, AddressColumn, AddedColumn, FolderColumn };

  ItemListModel(OrganizeHost& host, QObject* parent);

  // A folder's items.
  void ShowFolder(NodeId folder);
  // What the filter found, anywhere in the document; a Folder column says
  // where each is.
  void ShowFound(std::vector<NodeId> ids);
  // An item's title or address changed.
  void NodeChanged(NodeId id);
  bool Filtering() const { return filtering_; }
  NodeId Folder() const { return folder_; }
  const std::vector<NodeId>& Ids() const { return ids_; }
  NodeId IdAt(int row) const;
  // -1 when the node is not listed.
  int RowOf(NodeId id) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;
  Qt::DropActions supportedDropActions() const override;
  Qt::DropActions supportedDragActions() const override;

 private:
  // Where a drop at row (or on the item parent) puts what is dropped.
  InsertPosition DropPlace(int row, const QModelIndex& parent) const;

  OrganizeHost& host_;
  NodeId folder_ = kRootNode;
  bool filtering_ = false;
  std::vector<NodeId> ids_;
  mutable std::unordered_map<NodeId, int> rowOf_;
};

// What both models show of a node.
QVariant NodeData(OrganizeHost& host, NodeId id, int column, int role);

}  // namespace quillet
