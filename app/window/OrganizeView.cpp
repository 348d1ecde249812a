#include "app/window/OrganizeView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>

#include "app/OrganizeEdits.h"
#include "app/window/DocumentHistory.h"
#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeEdit.h"
#include "bookmarks/TreeReader.h"

namespace quillet {

namespace {

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Separators are a line across the row.
class ItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (index.data(KindRole).toInt() != static_cast<int>(NodeKind::Separator)) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    o.text.clear();
    QStyledItemDelegate::paint(painter, o, QModelIndex());
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Mid), 1));
    const int y = option.rect.center().y();
    painter->drawLine(option.rect.left() + 4, y, option.rect.right() - 4, y);
    painter->restore();
  }
};

constexpr char kCannotMoveIntoItself[] = "A folder cannot be moved or copied into itself or into a folder inside it.";

}  // namespace

OrganizeView::OrganizeView(Context& ctx, DocumentHistory& history, QStatusBar& status, QWidget* parent)
    : QObject(parent), ctx_(ctx), history_(history), status_(status), widget_(new QWidget(parent)) {
  widget_->setObjectName(QStringLiteral("organizeView"));
  auto* layout = new QVBoxLayout(widget_);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Horizontal, widget_);
  layout->addWidget(splitter_);

  folderModel_ = new FolderTreeModel(*this, this);
  itemModel_ = new ItemListModel(*this, this);

  folders_ = new QTreeView(splitter_);
  folders_->setObjectName(QStringLiteral("organizeFolders"));
  folders_->setModel(folderModel_);
  folders_->setHeaderHidden(true);
  folders_->setUniformRowHeights(true);
  folders_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  folders_->setDragDropMode(QAbstractItemView::DragDrop);
  folders_->setDefaultDropAction(Qt::MoveAction);
  folders_->setDropIndicatorShown(true);
  folders_->setContextMenuPolicy(Qt::CustomContextMenu);

  auto* right = new QWidget(splitter_);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->setSpacing(2);
  filter_ = new QLineEdit(right);
  filter_->setObjectName(QStringLiteral("organizeFilter"));
  filter_->setPlaceholderText(QStringLiteral("Filter by title or address (Ctrl+F)"));
  filter_->setClearButtonEnabled(true);
  rightLayout->addWidget(filter_);
  items_ = new QTreeView(right);
  items_->setObjectName(QStringLiteral("organizeItems"));
  items_->setModel(itemModel_);
  items_->setRootIsDecorated(false);
  items_->setItemsExpandable(false);
  items_->setUniformRowHeights(true);
  items_->setAllColumnsShowFocus(true);
  items_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  items_->setSelectionBehavior(QAbstractItemView::SelectRows);
  items_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  items_->setDragDropMode(QAbstractItemView::DragDrop);
  items_->setDefaultDropAction(Qt::MoveAction);
  items_->setDropIndicatorShown(true);
  items_->setMouseTracking(true);
  items_->setItemDelegate(new ItemDelegate(items_));
  items_->setContextMenuPolicy(Qt::CustomContextMenu);
  items_->header()->setStretchLastSection(false);
  items_->header()->resizeSection(ItemListModel::TitleColumn, 260);
  items_->header()->resizeSection(ItemListModel::AddressColumn, 300);
  rightLayout->addWidget(items_, 1);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 3);

  filler_ = new QTimer(this);
  filler_->setInterval(0);
  connect(filler_, &QTimer::timeout, this, [this] { FillHaystack(); });

  count_ = new QLabel(&status_);
  count_->setObjectName(QStringLiteral("organizeCount"));
  status_.addPermanentWidget(count_);
  count_->hide();

  for (QObject* o : {static_cast<QObject*>(items_), static_cast<QObject*>(filter_), static_cast<QObject*>(folders_),
                     static_cast<QObject*>(items_->viewport())})
    o->installEventFilter(this);

  connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& i) {
    const NodeId id = FolderTreeModel::IdOf(i);
    if (syncing_ || id == kNoNode || (id == itemModel_->Folder() && !itemModel_->Filtering())) return;
    ShowFolder(id);
  });
  connect(folders_, &QTreeView::expanded, this, [this](const QModelIndex& i) { expanded_.insert(FolderTreeModel::IdOf(i)); });
  connect(folders_, &QTreeView::collapsed, this, [this](const QModelIndex& i) { expanded_.erase(FolderTreeModel::IdOf(i)); });
  connect(items_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
    const NodeId id = itemModel_->IdAt(i.row());
    if (id != kNoNode && tree_.Kind(id) == NodeKind::Folder) ShowFolder(id);
  });
  connect(items_, &QAbstractItemView::entered, this, [this](const QModelIndex& i) {
    const NodeId id = itemModel_->IdAt(i.row());
    if (id != kNoNode && tree_.IsLive(id) && tree_.Kind(id) == NodeKind::Link)
      status_.showMessage(Utf8(tree_.Address(id)));
    else
      status_.clearMessage();
  });
  connect(items_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ShowStatus(); });
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) { SetFilter(text); });
  connect(items_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { ShowContextMenu(items_, at); });
  connect(folders_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowContextMenu(folders_, at); });
  connect(&history_, &DocumentHistory::Changed, this, [this](const LineChange&, const void* by) { Follow(by); });
  connect(&history_, &DocumentHistory::Replaced, this, [this] { Follow(nullptr); });
  BuildActions();
}

QWidget* OrganizeView::Widget() { return widget_; }

void OrganizeView::BuildActions() {
  menu_ = new QMenu(QStringLiteral("&Organize"), widget_);
  menu_->setObjectName(QStringLiteral("organizeMenu"));
  menu_->menuAction()->setVisible(false);
  const auto add = [this](const char* name, const char* caption, const char* keys, std::function<void()> run) {
    auto* a = new QAction(QString::fromUtf8(caption), widget_);
    a->setObjectName(QString::fromLatin1(name));
    if (keys) a->setShortcut(QKeySequence(QString::fromLatin1(keys), QKeySequence::PortableText));
    // Only while the focus is in the organizer: the other views keep their keys.
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    widget_->addAction(a);
    menu_->addAction(a);
    connect(a, &QAction::triggered, this, [this, run] {
      try {
        run();
      } catch (const std::exception& e) {
        ctx_.UI().ShowError(e.what());
      }
    });
  };
  add("organizeRenameAction", "&Rename", "F2", [this] { RenameCurrent(); });
  // Ctrl+F and F3 are the Edit menu's keys, which this view takes
  // (TakeFindKey); its menu names them.
  add("organizeEditAddressAction", "Edit &Address\tF3", nullptr, [this] { EditAddress(); });
  add("organizeDeleteAction", "&Delete", "Del", [this] { DeleteSelected(); });
  menu_->addSeparator();
  add("organizeCutAction", "Cu&t", "Ctrl+X", [this] { CutSelected(); });
  // Ctrl+C is the Edit menu's Copy, which copies what this view selects.
  add("organizeCopyAction", "&Copy", nullptr, [this] { Copy(); });
  add("organizePasteAction", "&Paste", "Ctrl+V", [this] { Paste(); });
  menu_->addSeparator();
  add("organizeNewFolderAction", "New &Folder", "Ctrl+Shift+N", [this] { NewFolder(); });
  add("organizeNewSeparatorAction", "New &Separator", "Ctrl+Shift+H", [this] { NewSeparator(); });
  menu_->addSeparator();
  add("organizeMoveUpAction", "Move &Up", "Alt+Up", [this] { MoveSelection(-1); });
  add("organizeMoveDownAction", "Move Do&wn", "Alt+Down", [this] { MoveSelection(1); });
  menu_->addSeparator();
  add("organizeFilterAction", "&Filter\tCtrl+F", nullptr, [this] { TakeFindKey(false); });
}

void OrganizeView::SetCurrent(bool current) {
  current_ = current;
  menu_->menuAction()->setVisible(current);
  count_->setVisible(current);
  if (current) Refresh();
}

void OrganizeView::Follow(const void* by) {
  if (by == this) return;
  stale_ = true;
  if (!current_ || refreshQueued_) return;
  // Several changes in a row (an undo of many patches) are read once.
  refreshQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    refreshQueued_ = false;
    if (current_) Refresh();
  });
}

void OrganizeView::Refresh() {
  if (stale_) Reload();
}

void OrganizeView::Reload() {
  // The tree is read anew, its ids with it: the place is kept by path.
  std::string folderPath;
  const bool hadTree = serial_ > 0 && tree_.IsLive(CurrentFolder());
  if (hadTree) folderPath = FolderPathOf(tree_, CurrentFolder());
  std::vector<std::string> expandedPaths;
  for (NodeId id : expanded_)
    if (id < tree_.IdLimit() && tree_.IsLive(id) && tree_.Kind(id) == NodeKind::Folder && id != tree_.Root())
      expandedPaths.push_back(FolderPathOf(tree_, id));
  const std::vector<NodeId> selected = SelectedIds();

  tree_ = ReadBookmarkTree(history_.Lines());
  ++serial_;
  stale_ = false;
  cutPending_ = false;
  icons_.clear();
  haystack_.clear();
  fillNext_ = 0;
  filler_->start();
  lastFound_.clear();
  lastFilter_.clear();
  expanded_.clear();
  folderModel_->Reset();
  folders_->expand(folderModel_->IndexOf(tree_.Root()));
  for (const std::string& path : expandedPaths)
    for (NodeId id : FindFolders(tree_, path)) folders_->expand(folderModel_->IndexOf(id));
  NodeId folder = tree_.Root();
  if (hadTree)
    if (const std::vector<NodeId> found = FindFolders(tree_, folderPath); !found.empty()) folder = found.front();
  {
    syncing_ = true;
    folders_->setCurrentIndex(folderModel_->IndexOf(folder));
    syncing_ = false;
  }
  itemModel_->ShowFolder(folder);
  if (!filter_->text().isEmpty()) RunFilter();
  std::vector<NodeId> keep;
  for (NodeId id : selected)
    if (itemModel_->RowOf(id) >= 0) keep.push_back(id);
  Select(keep);
  ShowStatus();
}

void OrganizeView::ShowFolder(NodeId folder) {
  Refresh();
  if (folder >= tree_.IdLimit() || !tree_.IsLive(folder) || tree_.Kind(folder) != NodeKind::Folder) folder = tree_.Root();
  if (!filter_->text().isEmpty()) {
    const QSignalBlocker block(filter_);
    filter_->clear();
  }
  itemModel_->ShowFolder(folder);
  const QModelIndex at = folderModel_->IndexOf(folder);
  syncing_ = true;
  folders_->setCurrentIndex(at);
  syncing_ = false;
  folders_->scrollTo(at);
  ShowStatus();
}

std::vector<NodeId> OrganizeView::SelectedIds() const {
  std::vector<int> rows;
  for (const QModelIndex& i : items_->selectionModel()->selectedRows()) rows.push_back(i.row());
  std::sort(rows.begin(), rows.end());
  std::vector<NodeId> ids;
  ids.reserve(rows.size());
  for (int r : rows)
    if (const NodeId id = itemModel_->IdAt(r); id != kNoNode) ids.push_back(id);
  return ids;
}

void OrganizeView::Select(const std::vector<NodeId>& ids) {
  std::vector<int> rows;
  for (NodeId id : ids)
    if (const int r = itemModel_->RowOf(id); r >= 0) rows.push_back(r);
  std::sort(rows.begin(), rows.end());
  QItemSelection selection;
  const int last = itemModel_->columnCount() - 1;
  // One range per run of rows: a thousand moved links are a few ranges.
  for (size_t i = 0; i < rows.size();) {
    size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    selection.select(itemModel_->index(rows[i], 0), itemModel_->index(rows[j], last));
    i = j + 1;
  }
  QItemSelectionModel* model = items_->selectionModel();
  model->select(selection, QItemSelectionModel::ClearAndSelect);
  if (!rows.empty()) {
    const QModelIndex first = itemModel_->index(rows.front(), 0);
    model->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    items_->scrollTo(first);
  }
}

void OrganizeView::SelectAll() { items_->selectAll(); }

bool OrganizeView::TakeFindKey(bool next) {
  if (next) {
    EditAddress();
  } else {
    filter_->setFocus();
    filter_->selectAll();
  }
  return true;
}

void OrganizeView::SetFilter(const QString& text) {
  Refresh();
  if (filter_->text() != text) {
    const QSignalBlocker block(filter_);
    filter_->setText(text);
  }
  if (text.isEmpty()) {
    ShowFolder(CurrentFolder());
    return;
  }
  RunFilter();
  ShowStatus();
}

const QString& OrganizeView::Hay(NodeId id) {
  // Nodes made since the haystack was read are read when first asked for.
  if (haystack_.size() < tree_.IdLimit()) haystack_.resize(tree_.IdLimit());
  QString& hay = haystack_[id];
  if (!hay.isNull()) return hay;
  // Most titles and addresses hold no reference or tag: their bytes are
  // their text, and decoding them would only copy them.
  const bool utf8 = tree_.Encoding() == TextEncoding::Utf8;
  const auto text = [utf8](std::string_view raw, const std::function<std::string()>& decoded) {
    if (utf8 && raw.find('&') == std::string_view::npos && raw.find('<') == std::string_view::npos)
      return QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
    return Utf8(decoded());
  };
  hay = text(tree_.RawTitle(id), [&] { return tree_.Title(id); }) + QLatin1Char('\n') +
        text(tree_.RawAddress(id), [&] { return tree_.Address(id); });
  return hay;
}

void OrganizeView::FillHaystack() {
  // A piece at a time while the window is idle, so that the first
  // keystroke of a filter finds the titles read.
  const size_t limit = std::min<size_t>(tree_.IdLimit(), fillNext_ + 5000);
  for (; fillNext_ < limit; ++fillNext_)
    if (fillNext_ != tree_.Root() && tree_.IsLive(fillNext_) && tree_.Kind(fillNext_) != NodeKind::Opaque) Hay(fillNext_);
  if (fillNext_ >= tree_.IdLimit()) filler_->stop();
}

bool OrganizeView::HaystackFilled() const { return !filler_->isActive(); }

void OrganizeView::RunFilter() {
  const QString text = filter_->text();
  std::vector<NodeId> found;
  const auto test = [&](NodeId id) {
    const QString& hay = Hay(id);
    if (hay.contains(text, Qt::CaseInsensitive)) found.push_back(id);
  };
  // A longer text finds a part of what the shorter one found.
  if (!lastFilter_.isEmpty() && text.contains(lastFilter_, Qt::CaseInsensitive)) {
    for (NodeId id : lastFound_)
      if (tree_.IsLive(id)) test(id);
  } else {
    tree_.ForEachNode([&](NodeId id) {
      if (id != tree_.Root() && tree_.Kind(id) != NodeKind::Opaque) test(id);
    });
  }
  lastFilter_ = text;
  lastFound_ = found;
  itemModel_->ShowFound(std::move(found));
}

void OrganizeView::ShowStatus() {
  const int selected = static_cast<int>(items_->selectionModel()->selectedRows().size());
  const int rows = itemModel_->rowCount();
  count_->setText(itemModel_->Filtering() ? QStringLiteral("%1 selected, %2 found").arg(selected).arg(rows)
                                          : QStringLiteral("%1 selected, %2 items in this folder").arg(selected).arg(rows));
}

bool OrganizeView::FolderTreeFocused() const { return folders_->hasFocus(); }

std::vector<NodeId> OrganizeView::ActedOn() const {
  if (FolderTreeFocused()) {
    const NodeId id = FolderTreeModel::IdOf(folders_->currentIndex());
    if (id != kNoNode && id != tree_.Root()) return {id};
    return {};
  }
  return SelectedIds();
}

InsertPosition OrganizeView::InsertPlace() const {
  if (FolderTreeFocused()) {
    const NodeId id = FolderTreeModel::IdOf(folders_->currentIndex());
    return {id == kNoNode ? CurrentFolder() : id, kNoNode};
  }
  const NodeId at = itemModel_->IdAt(items_->currentIndex().row());
  if (at == kNoNode || !tree_.IsLive(at)) return {itemModel_->Filtering() ? tree_.Root() : CurrentFolder(), kNoNode};
  const NodeId folder = tree_.Parent(at);
  const std::vector<NodeId> listed = ListedChildren(tree_, folder);
  const auto it = std::find(listed.begin(), listed.end(), at);
  return {folder, it == listed.end() || it + 1 == listed.end() ? kNoNode : *(it + 1)};
}

bool OrganizeView::Apply(const QString& name, const TreeEdit& edit, const std::function<std::vector<NodeId>()>& select,
                         bool structural) {
  Refresh();
  std::vector<TextPatch> patches;
  QString failure;
  try {
    edit(tree_, patches);
  } catch (const std::exception& e) {
    failure = QString::fromUtf8(e.what());
  }
  // What an edit changed before it failed is in the tree: the document
  // takes it too, so the two never differ.
  const bool changed = std::any_of(patches.begin(), patches.end(), [](const TextPatch& p) { return !p.Empty(); });
  if (changed && !structural) {
    history_.ApplyPatches(std::move(patches), name, this);
    for (NodeId id : select()) {
      if (id < haystack_.size()) haystack_[id] = QString();
      itemModel_->NodeChanged(id);
      folderModel_->NodeChanged(id);
    }
  } else if (changed) {
    history_.ApplyPatches(std::move(patches), name, this);
    // Ids stay with their nodes, and so do their titles: the haystack
    // stays; only the order of what was found may have changed.
    lastFound_.clear();
    lastFilter_.clear();
    icons_.clear();
    cutPending_ = false;
    const NodeId folder = CurrentFolder();
    folderModel_->Reset();
    std::set<NodeId> expanded;
    std::swap(expanded, expanded_);
    folders_->expand(folderModel_->IndexOf(tree_.Root()));
    for (NodeId id : expanded)
      if (tree_.IsLive(id)) folders_->expand(folderModel_->IndexOf(id));
    NodeId show = folder;
    while (show != kNoNode && (!tree_.IsLive(show) || tree_.Kind(show) != NodeKind::Folder)) show = tree_.Parent(show);
    if (show == kNoNode) show = tree_.Root();
    syncing_ = true;
    folders_->setCurrentIndex(folderModel_->IndexOf(show));
    syncing_ = false;
    if (filter_->text().isEmpty())
      itemModel_->ShowFolder(show);
    else
      RunFilter();
    Select(failure.isEmpty() ? select() : std::vector<NodeId>{});
    ShowStatus();
  }
  if (!failure.isEmpty()) {
    ctx_.UI().ShowMessage(failure.toStdString());
    return false;
  }
  return changed;
}

// ---- the actions ----

void OrganizeView::RenameCurrent() {
  Refresh();
  if (FolderTreeFocused()) {
    const QModelIndex at = folders_->currentIndex();
    if (at.isValid() && FolderTreeModel::IdOf(at) != tree_.Root()) folders_->edit(at);
    return;
  }
  const QModelIndex at = items_->currentIndex();
  const NodeId id = itemModel_->IdAt(at.row());
  if (id == kNoNode || tree_.Kind(id) == NodeKind::Separator) return;
  const QModelIndex title = at.siblingAtColumn(ItemListModel::TitleColumn);
  items_->setCurrentIndex(title);
  items_->edit(title);
}

void OrganizeView::EditAddress() {
  Refresh();
  const QModelIndex at = items_->currentIndex();
  const NodeId id = itemModel_->IdAt(at.row());
  if (id == kNoNode || tree_.Kind(id) != NodeKind::Link) return;
  const QModelIndex address = at.siblingAtColumn(ItemListModel::AddressColumn);
  items_->setCurrentIndex(address);
  items_->edit(address);
}

bool OrganizeView::RenameNode(NodeId id, const QString& title) {
  if (stale_ || !IsListedNode(tree_, id) || Utf8(tree_.Title(id)) == title) return false;
  const std::string text = title.toStdString();
  return Apply(QStringLiteral("Rename"), [&](BookmarkTree& t, std::vector<TextPatch>& p) { p.push_back(quillet::RenameNode(t, id, text)); },
               [id] { return std::vector<NodeId>{id}; }, false);
}

bool OrganizeView::SetNodeAddress(NodeId id, const QString& address) {
  if (stale_ || !IsListedNode(tree_, id) || tree_.Kind(id) != NodeKind::Link || Utf8(tree_.Address(id)) == address)
    return false;
  const std::string text = address.trimmed().toStdString();
  const bool done =
      Apply(QStringLiteral("Edit Address"),
            [&](BookmarkTree& t, std::vector<TextPatch>& p) { p.push_back(SetLinkAddress(t, id, text)); },
            [id] { return std::vector<NodeId>{id}; }, false);
  // Kept as typed: the user is told, and decides.
  if (done && !text.empty() && !HasScheme(text))
    status_.showMessage(QStringLiteral("The address has no scheme (such as https://); it is kept as typed."));
  return done;
}

void OrganizeView::DeleteSelected() {
  Refresh();
  const std::vector<NodeId> ids = ActedOn();
  if (ids.empty()) return;
  // The item after the last one deleted takes the selection.
  NodeId next = kNoNode;
  if (!FolderTreeFocused()) {
    const std::unordered_set<NodeId> gone(ids.begin(), ids.end());
    for (int r = itemModel_->RowOf(ids.back()) + 1; r < itemModel_->rowCount(); ++r)
      if (!gone.count(itemModel_->IdAt(r))) {
        next = itemModel_->IdAt(r);
        break;
      }
  }
  Apply(QStringLiteral("Delete"), [&](BookmarkTree& t, std::vector<TextPatch>& p) { p.push_back(DeleteNodes(t, ids)); },
        [this, next] {
          if (next != kNoNode && tree_.IsLive(next)) return std::vector<NodeId>{next};
          return std::vector<NodeId>{};
        });
}

void OrganizeView::Copy() {
  Refresh();
  const std::vector<NodeId> ids = ActedOn();
  if (ids.empty()) return;
  QGuiApplication::clipboard()->setMimeData(NodesMimeData(*this, ids));
  cutPending_ = false;
}

void OrganizeView::CutSelected() {
  Copy();
  cutPending_ = !ActedOn().empty();
}

void OrganizeView::Paste() {
  Refresh();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const InsertPosition to = InsertPlace();
  std::vector<NodeId> ids;
  if (NodesFromMimeData(*this, data, ids)) {
    const bool move = cutPending_;
    cutPending_ = false;
    DropNodes(ids, to, !move);
    return;
  }
  if (data && data->hasText()) {
    DropText(data->text(), to);
    return;
  }
  ctx_.UI().ShowMessage("The clipboard holds no bookmarks and no addresses.");
}

void OrganizeView::NewFolder() {
  const InsertPosition to = InsertPlace();
  NodeId made = kNoNode;
  const bool done = Apply(
      QStringLiteral("New Folder"),
      [&](BookmarkTree& t, std::vector<TextPatch>& p) {
        Insertion in = InsertFolder(t, to, "New Folder", QDateTime::currentSecsSinceEpoch());
        made = in.Id;
        p.push_back(std::move(in.Patch));
      },
      [&] { return std::vector<NodeId>{made}; });
  // Its name is asked for at once, as file managers do.
  if (done && itemModel_->RowOf(made) >= 0 && !FolderTreeFocused())
    items_->edit(itemModel_->index(itemModel_->RowOf(made), ItemListModel::TitleColumn));
}

void OrganizeView::NewSeparator() {
  const InsertPosition to = InsertPlace();
  NodeId made = kNoNode;
  Apply(
      QStringLiteral("New Separator"),
      [&](BookmarkTree& t, std::vector<TextPatch>& p) {
        Insertion in = InsertSeparator(t, to);
        made = in.Id;
        p.push_back(std::move(in.Patch));
      },
      [&] { return std::vector<NodeId>{made}; });
}

void OrganizeView::MoveSelection(int step) {
  Refresh();
  const bool tree = FolderTreeFocused();
  const std::vector<NodeId> ids = ActedOn();
  if (ids.empty()) return;
  Apply(step < 0 ? QStringLiteral("Move Up") : QStringLiteral("Move Down"),
        [&](BookmarkTree& t, std::vector<TextPatch>& p) { p.push_back(StepWithinFolders(t, ids, step)); },
        [&] { return ids; });
  if (tree) {
    syncing_ = true;
    folders_->setCurrentIndex(folderModel_->IndexOf(ids.front()));
    syncing_ = false;
  }
}

bool OrganizeView::DropNodes(const std::vector<NodeId>& ids, InsertPosition to, bool copy) {
  if (stale_) {
    Refresh();
    return false;
  }
  if (!tree_.IsLive(to.Folder) || tree_.Kind(to.Folder) != NodeKind::Folder) return false;
  for (NodeId id : ids)
    if (tree_.Kind(id) == NodeKind::Folder && tree_.IsWithin(to.Folder, id)) {
      ctx_.UI().ShowMessage(kCannotMoveIntoItself);
      return false;
    }
  // Dropped before one of the dropped nodes: before the next one that stays.
  const std::unordered_set<NodeId> moving(ids.begin(), ids.end());
  if (to.Before != kNoNode && (!tree_.IsLive(to.Before) || tree_.Parent(to.Before) != to.Folder)) to.Before = kNoNode;
  if (to.Before != kNoNode && !copy) {
    const std::vector<NodeId>& children = tree_.Children(to.Folder);
    size_t i = tree_.IndexInParent(to.Before);
    while (i < children.size() && moving.count(children[i])) ++i;
    to.Before = i < children.size() ? children[i] : kNoNode;
  }
  std::vector<NodeId> made;
  return Apply(
      copy ? QStringLiteral("Copy") : QStringLiteral("Move"),
      [&](BookmarkTree& t, std::vector<TextPatch>& p) {
        if (copy)
          p = CopyNodes(t, ids, to, made);
        else
          p.push_back(MoveNodes(t, ids, to));
      },
      [&] { return copy ? made : ids; });
}

bool OrganizeView::DropText(const QString& text, InsertPosition to) {
  if (stale_) {
    Refresh();
    return false;
  }
  const std::vector<std::string> addresses = AddressesInText(text.toStdString());
  if (addresses.empty()) {
    ctx_.UI().ShowMessage("The text holds no addresses to make links of.");
    return false;
  }
  std::vector<NodeId> made;
  const int64_t now = QDateTime::currentSecsSinceEpoch();
  return Apply(
      QStringLiteral("Paste"),
      [&](BookmarkTree& t, std::vector<TextPatch>& p) {
        for (const std::string& address : addresses) {
          Insertion in = InsertLink(t, to, address, address, now);
          made.push_back(in.Id);
          p.push_back(std::move(in.Patch));
        }
      },
      [&] { return made; });
}

QIcon OrganizeView::NodeIcon(NodeId id) {
  if (const auto it = icons_.constFind(id); it != icons_.constEnd()) return *it;
  QIcon icon;
  if (const std::optional<std::string> value = tree_.Attribute(id, "ICON")) {
    const std::string_view v(*value);
    const size_t comma = v.find(',');
    if (v.substr(0, 5) == "data:" && comma != std::string_view::npos &&
        v.substr(0, comma).find(";base64") != std::string_view::npos) {
      const std::string_view payload = v.substr(comma + 1);
      QPixmap picture;
      if (picture.loadFromData(QByteArray::fromBase64(QByteArray(payload.data(), static_cast<qsizetype>(payload.size())))))
        icon = QIcon(picture);
    }
  }
  icons_.insert(id, icon);
  return icon;
}

// ---- menus and keys ----

void OrganizeView::AddFolderAction(const QString& kind, const QString& caption) {
  folderActions_.emplace_back(kind, caption);
}

void OrganizeView::ShowContextMenu(QTreeView* view, const QPoint& at) {
  const QModelIndex index = view->indexAt(at);
  if (view == folders_) {
    if (!index.isValid()) return;
    folders_->setCurrentIndex(index);
    folders_->setFocus();
    QMenu menu;
    for (const char* name : {"organizeNewFolderAction", "organizeRenameAction", "organizeDeleteAction",
                             "organizePasteAction"})
      menu.addAction(widget_->findChild<QAction*>(QString::fromLatin1(name)));
    if (!folderActions_.empty()) menu.addSeparator();
    const QString path = Utf8(FolderPathOf(tree_, FolderTreeModel::IdOf(index)));
    for (const auto& [kind, caption] : folderActions_) {
      const QString k = kind;
      menu.addAction(caption, this, [this, k, path] { emit FolderActionRequested(k, path); });
    }
    menu.exec(view->viewport()->mapToGlobal(at));
    return;
  }
  menu_->exec(view->viewport()->mapToGlobal(at));
}

bool OrganizeView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Leave && watched == items_->viewport()) status_.clearMessage();
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && !filter_->text().isEmpty()) {
    SetFilter(QString());
    items_->setFocus();
    return true;
  }
  if (watched == filter_ && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    items_->setFocus();
    if (!items_->currentIndex().isValid() && itemModel_->rowCount() > 0) items_->setCurrentIndex(itemModel_->index(0, 0));
    return true;
  }
  // An editor's Return reaches the list too, after the editor let it pass.
  if (watched == items_ && items_->hasFocus() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
      key->modifiers() == Qt::NoModifier) {
    const NodeId id = itemModel_->IdAt(items_->currentIndex().row());
    if (id == kNoNode) return false;
    if (tree_.Kind(id) == NodeKind::Link)
      EditAddress();
    else if (tree_.Kind(id) == NodeKind::Folder)
      ShowFolder(id);
    return true;
  }
  return false;
}

}  // namespace quillet
