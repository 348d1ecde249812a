#include "app/window/OrganizeModels.h"

#include <QApplication>
#include <QDataStream>
#include <QDateTime>
#include <QFont>
#include <QIODevice>
#include <QLocale>
#include <QMimeData>
#include <QStyle>
#include <QUrl>
#include <algorithm>

#include "app/OrganizeEdits.h"
#include "bookmarks/FolderPath.h"

namespace quillet {

namespace {

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

QMimeData* NodesMimeData(const OrganizeHost& host, const std::vector<NodeId>& ids) {
  auto* data = new QMimeData;
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  // The host's address tells this window's nodes from another's.
  out << quint64(reinterpret_cast<quintptr>(&host)) << quint64(host.TreeSerial()) << quint32(ids.size());
  for (NodeId id : ids) out << quint32(id);
  data->setData(QString::fromLatin1(kNodesMimeType), bytes);
  QStringList addresses;
  const BookmarkTree& tree = host.Tree();
  for (NodeId id : ids)
    if (tree.IsLive(id) && tree.Kind(id) == NodeKind::Link) addresses << Utf8(tree.Address(id));
  data->setText(addresses.join(QLatin1Char('\n')));
  return data;
}

bool NodesFromMimeData(const OrganizeHost& host, const QMimeData* data, std::vector<NodeId>& ids) {
  ids.clear();
  if (!data || !data->hasFormat(QString::fromLatin1(kNodesMimeType))) return false;
  QDataStream in(data->data(QString::fromLatin1(kNodesMimeType)));
  quint64 owner = 0, serial = 0;
  quint32 count = 0;
  in >> owner >> serial >> count;
  if (in.status() != QDataStream::Ok || owner != quint64(reinterpret_cast<quintptr>(&host)) ||
      serial != host.TreeSerial())
    return false;
  const BookmarkTree& tree = host.Tree();
  for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
    quint32 id = 0;
    in >> id;
    if (in.status() == QDataStream::Ok && id < tree.IdLimit() && IsListedNode(tree, id)) ids.push_back(id);
  }
  return !ids.empty();
}

QVariant NodeData(OrganizeHost& host, NodeId id, int column, int role) {
  const BookmarkTree& tree = host.Tree();
  if (!tree.IsLive(id)) return {};
  const NodeKind kind = tree.Kind(id);
  if (role == KindRole) return static_cast<int>(kind);
  if (role == NodeIdRole) return static_cast<uint>(id);
  const bool broken = kind == NodeKind::Link && IsBrokenAddress(tree.RawAddress(id));
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      switch (column) {
        case ItemListModel::TitleColumn:
          if (id == tree.Root()) return QStringLiteral("Bookmarks");
          return kind == NodeKind::Separator ? QString() : Utf8(tree.Title(id));
        case ItemListModel::AddressColumn:
          return kind == NodeKind::Link ? Utf8(tree.Address(id)) : QString();
        case ItemListModel::AddedColumn:
          if (role == Qt::DisplayRole)
            if (const auto added = tree.AddDate(id))
              return QLocale().toString(QDateTime::fromSecsSinceEpoch(*added).date(), QLocale::ShortFormat);
          return {};
        case ItemListModel::FolderColumn: {
          const NodeId parent = tree.Parent(id);
          return parent == tree.Root() ? QStringLiteral("/") : Utf8(FolderPathOf(tree, parent));
        }
      }
      return {};
    case Qt::DecorationRole:
      if (column != ItemListModel::TitleColumn) return {};
      if (kind == NodeKind::Folder) return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
      if (broken) return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
      if (kind == NodeKind::Link) return host.NodeIcon(id);
      return {};
    case Qt::ToolTipRole:
      if (broken)
        return tree.RawAddress(id).empty() ? QStringLiteral("This link has no address.")
                                           : QStringLiteral("The address is ERROR: the link was not saved right.");
      if (kind == NodeKind::Folder && tree.IsToolbar(id)) return QStringLiteral("The browser's bookmarks toolbar");
      return {};
    case Qt::ForegroundRole:
      if (broken) return QColor(Qt::red);
      return {};
    case Qt::FontRole:
      if (kind == NodeKind::Folder && tree.IsToolbar(id)) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
  }
  return {};
}

// ---- the folder tree ----

FolderTreeModel::FolderTreeModel(OrganizeHost& host, QObject* parent) : QAbstractItemModel(parent), host_(host) {}

void FolderTreeModel::Reset() {
  beginResetModel();
  folders_.clear();
  rows_.clear();
  endResetModel();
}

void FolderTreeModel::NodeChanged(NodeId id) {
  const QModelIndex at = IndexOf(id);
  if (at.isValid()) emit dataChanged(at, at);
}

NodeId FolderTreeModel::IdOf(const QModelIndex& index) {
  return index.isValid() ? static_cast<NodeId>(index.internalId()) : kNoNode;
}

const std::vector<NodeId>& FolderTreeModel::Folders(NodeId folder) const {
  auto [it, fresh] = folders_.try_emplace(folder);
  if (fresh) {
    const BookmarkTree& tree = host_.Tree();
    for (NodeId child : tree.Children(folder))
      if (tree.Kind(child) == NodeKind::Folder) {
        rows_[child] = static_cast<int>(it->second.size());
        it->second.push_back(child);
      }
  }
  return it->second;
}

int FolderTreeModel::RowOf(NodeId folder) const {
  const BookmarkTree& tree = host_.Tree();
  const NodeId parent = tree.Parent(folder);
  if (parent == kNoNode) return 0;
  Folders(parent);
  return rows_.at(folder);
}

QModelIndex FolderTreeModel::IndexOf(NodeId folder) const {
  const BookmarkTree& tree = host_.Tree();
  if (folder >= tree.IdLimit() || !tree.IsLive(folder) || tree.Kind(folder) != NodeKind::Folder) return {};
  return createIndex(RowOf(folder), 0, static_cast<quintptr>(folder));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row == 0 ? createIndex(0, 0, static_cast<quintptr>(host_.Tree().Root())) : QModelIndex();
  const std::vector<NodeId>& folders = Folders(IdOf(parent));
  if (row >= static_cast<int>(folders.size())) return {};
  return createIndex(row, 0, static_cast<quintptr>(folders[static_cast<size_t>(row)]));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  const NodeId parent = host_.Tree().Parent(IdOf(child));
  return parent == kNoNode ? QModelIndex() : IndexOf(parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return 1;
  if (parent.column() != 0) return 0;
  return static_cast<int>(Folders(IdOf(parent)).size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  return NodeData(host_, IdOf(index), ItemListModel::TitleColumn, role);
}

bool FolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || IdOf(index) == host_.Tree().Root()) return false;
  return host_.RenameNode(IdOf(index), value.toString());
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
  if (IdOf(index) != host_.Tree().Root()) f |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
  return f;
}

QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return QStringLiteral("Folders");
  return {};
}

QStringList FolderTreeModel::mimeTypes() const {
  return {QString::fromLatin1(kNodesMimeType), QStringLiteral("text/plain")};
}

QMimeData* FolderTreeModel::mimeData(const QModelIndexList& indexes) const {
  std::vector<NodeId> ids;
  for (const QModelIndex& i : indexes)
    if (i.isValid() && IdOf(i) != host_.Tree().Root()) ids.push_back(IdOf(i));
  return NodesMimeData(host_, ids);
}

bool FolderTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int, const QModelIndex& parent) {
  if (!parent.isValid() || action == Qt::IgnoreAction) return false;
  const NodeId folder = IdOf(parent);
  InsertPosition to{folder, kNoNode};
  // Between two folders: before the second.
  const std::vector<NodeId>& folders = Folders(folder);
  if (row >= 0 && row < static_cast<int>(folders.size())) to.Before = folders[static_cast<size_t>(row)];
  std::vector<NodeId> ids;
  if (NodesFromMimeData(host_, data, ids)) return host_.DropNodes(ids, to, action == Qt::CopyAction);
  if (data->hasText()) return host_.DropText(data->text(), to);
  return false;
}

Qt::DropActions FolderTreeModel::supportedDropActions() const { return Qt::MoveAction | Qt::CopyAction; }
Qt::DropActions FolderTreeModel::supportedDragActions() const { return Qt::MoveAction | Qt::CopyAction; }

// ---- the item list ----

ItemListModel::ItemListModel(OrganizeHost& host, QObject* parent) : QAbstractItemModel(parent), host_(host) {}

void ItemListModel::ShowFolder(NodeId folder) {
  beginResetModel();
  folder_ = folder;
  filtering_ = false;
  ids_ = ListedChildren(host_.Tree(), folder);
  rowOf_.clear();
  endResetModel();
}

void ItemListModel::ShowFound(std::vector<NodeId> ids) {
  beginResetModel();
  filtering_ = true;
  ids_ = std::move(ids);
  rowOf_.clear();
  endResetModel();
}

void ItemListModel::NodeChanged(NodeId id) {
  const int row = RowOf(id);
  if (row >= 0) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

NodeId ItemListModel::IdAt(int row) const {
  return row >= 0 && row < static_cast<int>(ids_.size()) ? ids_[static_cast<size_t>(row)] : kNoNode;
}

int ItemListModel::RowOf(NodeId id) const {
  if (rowOf_.empty())
    for (size_t i = 0; i < ids_.size(); ++i) rowOf_.emplace(ids_[i], static_cast<int>(i));
  const auto it = rowOf_.find(id);
  return it == rowOf_.end() ? -1 : it->second;
}

QModelIndex ItemListModel::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  return createIndex(row, column);
}

QModelIndex ItemListModel::parent(const QModelIndex&) const { return {}; }

int ItemListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(ids_.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return filtering_ ? 4 : 3;
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  return NodeData(host_, IdAt(index.row()), index.column(), role);
}

bool ItemListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const NodeId id = IdAt(index.row());
  if (index.column() == TitleColumn) return host_.RenameNode(id, value.toString());
  if (index.column() == AddressColumn) return host_.SetNodeAddress(id, value.toString());
  return false;
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return filtering_ ? Qt::NoItemFlags : Qt::ItemIsDropEnabled;
  const NodeKind kind = host_.Tree().Kind(IdAt(index.row()));
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
  if ((index.column() == TitleColumn && kind != NodeKind::Separator) ||
      (index.column() == AddressColumn && kind == NodeKind::Link))
    f |= Qt::ItemIsEditable;
  if (kind == NodeKind::Folder) f |= Qt::ItemIsDropEnabled;
  return f;
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kNames[] = {"Title", "Address", "Added", "Folder"};
  return section >= 0 && section < columnCount() ? QString::fromLatin1(kNames[section]) : QVariant();
}

QStringList ItemListModel::mimeTypes() const {
  return {QString::fromLatin1(kNodesMimeType), QStringLiteral("text/plain")};
}

QMimeData* ItemListModel::mimeData(const QModelIndexList& indexes) const {
  std::vector<int> rows;
  for (const QModelIndex& i : indexes)
    if (i.isValid()) rows.push_back(i.row());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::vector<NodeId> ids;
  for (int r : rows) ids.push_back(IdAt(r));
  return NodesMimeData(host_, ids);
}

InsertPosition ItemListModel::DropPlace(int row, const QModelIndex& parent) const {
  if (parent.isValid()) return {IdAt(parent.row()), kNoNode};
  return {folder_, IdAt(row)};
}

bool ItemListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                    const QModelIndex& parent) const {
  // The filtered list has no place of its own to drop into.
  if (filtering_ && !parent.isValid()) return false;
  return QAbstractItemModel::canDropMimeData(data, action, row, column, parent);
}

bool ItemListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                 const QModelIndex& parent) {
  if (!canDropMimeData(data, action, row, column, parent) || action == Qt::IgnoreAction) return false;
  if (parent.isValid() && host_.Tree().Kind(IdAt(parent.row())) != NodeKind::Folder) return false;
  const InsertPosition to = DropPlace(row, parent);
  std::vector<NodeId> ids;
  if (NodesFromMimeData(host_, data, ids)) return host_.DropNodes(ids, to, action == Qt::CopyAction);
  if (data->hasText()) return host_.DropText(data->text(), to);
  return false;
}

Qt::DropActions ItemListModel::supportedDropActions() const { return Qt::MoveAction | Qt::CopyAction; }
Qt::DropActions ItemListModel::supportedDragActions() const { return Qt::MoveAction | Qt::CopyAction; }

}  // namespace quillet
