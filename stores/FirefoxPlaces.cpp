#include "stores/FirefoxPlaces.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <span>
#include <unordered_map>

#include "bookmarks/FolderPath.h"
#include "platform/Errors.h"
#include "platform/HeapHint.h"
#include "stores/FirefoxRoots.h"
#include "stores/StoreError.h"

namespace quillet {

namespace {

namespace fs = std::filesystem;

// Size, time and file of one of the database's files: a copy is whole only
// when none of them changed while it was taken.
struct Stamp {
  bool Exists = false;
  off_t Size = 0;
  int64_t Seconds = 0, Nanos = 0;
  ino_t Inode = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {true, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ino};
}

// A folder of our own for the copy, removed with it.
class PrivateFolder {
 public:
  PrivateFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quillet-places-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw StoreError("No private folder could be made for a copy of the Firefox bookmarks.");
    path_ = pattern;
  }
  ~PrivateFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class Database {
 public:
  explicit Database(const std::string& path) {
    // One thread uses a connection: no lock around every call.
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) Fail();
    // The check and the read each go through every page: mapped, and kept
    // in the cache, the copy is read from the disk once, without a call per page.
    sqlite3_exec(db_, "PRAGMA mmap_size = 1073741824; PRAGMA cache_size = -131072", nullptr, nullptr, nullptr);
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  class Query {
   public:
    Query(Database& db, const char* sql) {
      if (sqlite3_prepare_v2(db.db_, sql, -1, &stmt_, nullptr) != SQLITE_OK) db.Fail();
      db_ = &db;
    }
    ~Query() { sqlite3_finalize(stmt_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    bool Next() {
      const int rc = sqlite3_step(stmt_);
      if (rc == SQLITE_ROW) return true;
      if (rc != SQLITE_DONE) db_->Fail();
      return false;
    }
    int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
    bool IsNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
    std::string Text(int col) const { return std::string(View(col)); }
    // Good until the next step.
    std::string_view View(int col) const {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
      return t ? std::string_view(t, static_cast<size_t>(sqlite3_column_bytes(stmt_, col))) : std::string_view();
    }

   private:
    sqlite3_stmt* stmt_ = nullptr;
    Database* db_ = nullptr;
  };

  // The SQLite failure; whoever reads the copy takes it for a torn copy.
  struct Failure {
    std::string Text;
  };
  [[noreturn]] void Fail() { throw Failure{db_ ? sqlite3_errmsg(db_) : "out of memory"}; }

 private:
  sqlite3* db_ = nullptr;
};

// What a row's guid says of it, for the few rows that are roots.
enum class Guid : uint8_t { Other, Root, Tags, Toolbar, Mobile, OtherRoot };

Guid GuidKind(std::string_view guid) {
  // Every root's guid is twelve characters ending in an underscore: one test
  // for nearly every row.
  if (guid.size() != 12 || guid.back() != '_') return Guid::Other;
  if (guid == "root________") return Guid::Root;
  if (guid == "tags________") return Guid::Tags;
  if (guid == "toolbar_____") return Guid::Toolbar;
  if (guid == "mobile______") return Guid::Mobile;
  return FirefoxRootTitle(guid) ? Guid::OtherRoot : Guid::Other;
}

// One row of moz_bookmarks, until its node takes its title and address.
struct Entry {
  std::string Title, Address;
  int64_t Id = 0, Parent = 0, Position = 0, Fk = 0, Added = 0, Modified = 0;
  int Type = 0;
  Guid Kind = Guid::Other;
  bool HasUrl = false;
  const char* RootTitle = nullptr;
};

// A row's place among its parent's children.
struct Place {
  int64_t Parent, Position, Id;
  size_t Row;
  bool operator<(const Place& o) const {
    return Parent != o.Parent ? Parent < o.Parent : Position != o.Position ? Position < o.Position : Id < o.Id;
  }
};

// Not a places database at all: nothing to try again.
struct NotPlaces {};

struct Rows {
  std::vector<Entry> Entries;
  std::vector<Place> Order;  // by parent, then position
  std::unordered_map<int64_t, std::string> Keywords;  // by place

  size_t size() const { return Entries.size(); }
  std::span<const Place> ChildrenOf(int64_t id) const {
    const auto first = std::lower_bound(Order.begin(), Order.end(), id, [](const Place& p, int64_t v) { return p.Parent < v; });
    auto last = first;
    while (last != Order.end() && last->Parent == id) ++last;
    return {first, last};
  }
};

void CheckIsPlaces(Database& db) {
  Database::Query q(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('moz_bookmarks', 'moz_places')");
  if (!q.Next() || q.Int(0) != 2) throw NotPlaces{};
}

// About how many rows there are, to make room once: counting them would go
// through the whole table. Ids only grow, so the highest is near the count;
// a row takes some 40 bytes of the file at least, which bounds it when ids
// are sparse.
size_t EstimateRows(Database& db) {
  Database::Query q(db,
                    "SELECT (SELECT max(id) FROM moz_bookmarks), page_count * page_size "
                    "FROM pragma_page_count(), pragma_page_size()");
  if (!q.Next()) return 0;
  return static_cast<size_t>(std::clamp<int64_t>(std::min(q.Int(0), q.Int(1) / 40), 0, int64_t(1) << 28));
}

Rows ReadRows(Database& db, size_t expected) {
  Rows rows;
  rows.Entries.reserve(expected);
  rows.Order.reserve(expected);
  Database::Query q(db,
                    "SELECT b.id, b.type, b.parent, b.position, b.title, b.dateAdded, b.lastModified, b.guid, b.fk, "
                    "p.url FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk");
  while (q.Next()) {
    Entry& e = rows.Entries.emplace_back();
    e.Id = q.Int(0);
    e.Type = static_cast<int>(q.Int(1));
    e.Parent = q.Int(2);
    e.Position = q.Int(3);
    e.Title = q.View(4);
    e.Added = q.Int(5);
    e.Modified = q.Int(6);
    const std::string_view guid = q.View(7);
    e.Kind = GuidKind(guid);
    if (e.Kind != Guid::Other) e.RootTitle = FirefoxRootTitle(guid);
    e.Fk = q.Int(8);
    e.HasUrl = !q.IsNull(9);
    if (e.Type == 1) e.Address = q.View(9);
    rows.Order.push_back({e.Parent, e.Position, e.Id, rows.Entries.size() - 1});
  }
  std::sort(rows.Order.begin(), rows.Order.end());
  // Keywords by place; a database too old to have them that way has none.
  try {
    Database::Query k(db, "SELECT place_id, keyword FROM moz_keywords ORDER BY id");
    while (k.Next()) rows.Keywords.emplace(k.Int(0), k.Text(1));
  } catch (const Database::Failure&) {
  }
  return rows;
}

std::string JoinTags(const std::vector<std::string>& tags) {
  std::string out;
  for (const std::string& t : tags) out += (out.empty() ? "" : ",") + t;
  return out;
}

StoreRead BuildOutline(Rows& rows) {
  StoreRead out;
  size_t root = rows.size();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows.Entries[i].Kind == Guid::Root || (root == rows.size() && rows.Entries[i].Parent == 0)) root = i;
  }
  if (root == rows.size()) {
    if (rows.size()) out.Problems.push_back({0, "no-root", "the database has no root folder; nothing read"});
    return out;
  }
  const auto childrenOf = [&](size_t row) { return rows.ChildrenOf(rows.Entries[row].Id); };

  std::vector<bool> reached(rows.size(), false);
  reached[root] = true;
  // Tags: folders under the tags root, each holding one entry per tagged place.
  std::unordered_map<int64_t, std::vector<std::string>> tags;
  std::vector<size_t> top;
  for (const Place& r : childrenOf(root)) {
    if (r.Row == root) continue;  // a root that names itself its parent
    if (rows.Entries[r.Row].Kind != Guid::Tags) {
      top.push_back(r.Row);
      continue;
    }
    reached[r.Row] = true;
    for (const Place& tag : childrenOf(r.Row)) {
      reached[tag.Row] = true;
      for (const Place& entry : childrenOf(tag.Row)) {
        reached[entry.Row] = true;
        if (rows.Entries[entry.Row].Type == 1) tags[rows.Entries[entry.Row].Fk].emplace_back(rows.Entries[tag.Row].Title);
      }
    }
  }

  // Each folder's path once, for the problems; a row names its folder's.
  std::vector<std::string> paths{""};
  struct Frame {
    size_t Row;
    OutlineNode* Out;
    size_t Path;  // of the folder it is in
    bool IsRoot;
  };
  std::vector<Frame> stack;
  out.Root.Children.resize(top.size());
  for (size_t i = top.size(); i-- > 0;) stack.push_back({top[i], &out.Root.Children[i], 0, true});
  while (!stack.empty()) {
    const Frame f = stack.back();
    stack.pop_back();
    // Every row stands under one parent, so only the root can come up again
    // (a damaged database files it under a folder of its own tree).
    if (reached[f.Row]) {
      f.Out->Kind = NodeKind::Opaque;
      continue;
    }
    reached[f.Row] = true;
    Entry& r = rows.Entries[f.Row];
    OutlineNode& o = *f.Out;
    o.Title = f.IsRoot && r.RootTitle ? std::string(r.RootTitle) : std::move(r.Title);
    o.Address = std::move(r.Address);
    if (r.Type == 3) {
      o.Kind = NodeKind::Separator;
      continue;
    }
    if (r.Type == 1) {
      if (!r.HasUrl) {
        out.Problems.push_back({0, "no-address", paths[f.Path] + ": \"" + o.Title + "\" is a bookmark without an address"});
        o.Kind = NodeKind::Opaque;  // taken out below
        continue;
      }
      const auto k = rows.Keywords.find(r.Fk);
      const auto t = tags.find(r.Fk);
      SetFirefoxLinkValues(o, r.Added, r.Modified, k == rows.Keywords.end() ? "" : k->second,
                           t == tags.end() ? "" : JoinTags(t->second));
      continue;
    }
    if (r.Type != 2) {
      out.Problems.push_back({0, "unknown-node", paths[f.Path] + ": \"" + o.Title + "\" is of no type Firefox knows"});
      o.Kind = NodeKind::Opaque;
      continue;
    }
    SetFirefoxFolderValues(o, r.Added, r.Modified, f.IsRoot && r.Kind == Guid::Toolbar);
    const std::span<const Place> list = childrenOf(f.Row);
    // Mobile bookmarks are rare on a desktop: an empty root is no folder.
    if (f.IsRoot && r.Kind == Guid::Mobile && list.empty()) o.Kind = NodeKind::Opaque;
    paths.push_back(f.IsRoot ? EscapePathStep(o.Title) : paths[f.Path] + "/" + EscapePathStep(o.Title));
    o.Children.resize(list.size());
    for (size_t i = list.size(); i-- > 0;) stack.push_back({list[i].Row, &o.Children[i], paths.size() - 1, false});
  }
  DropPlaceholders(out.Root);
  size_t lost = 0, lostLinks = 0;
  for (size_t i = 0; i < rows.size(); ++i)
    if (!reached[i]) ++lost, lostLinks += rows.Entries[i].Type == 1;
  if (lost)
    out.Problems.push_back({0, "unreachable", std::to_string(lost) + " entries (" + std::to_string(lostLinks) +
                                                  " bookmarks) stand under no folder of the tree and were not read"});
  return out;
}

void CopyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) throw Database::Failure{"the file could not be copied: " + ec.message()};
}

}  // namespace

bool IsSqliteFile(std::string_view bytes) { return bytes.substr(0, 16) == std::string_view("SQLite format 3\0", 16); }

StoreRead ReadFirefoxPlaces(const std::string& path, const std::function<void(int attempt)>& afterCopy) {
  const std::string wal = path + "-wal";
  {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0)
      throw EFOpenError(path);
  }
  std::string why;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    PrivateFolder folder;
    const std::string copy = folder.Path() + "/places.sqlite";
    try {
      const Stamp dbBefore = StampOf(path), walBefore = StampOf(wal);
      CopyFile(path, copy);
      // The log's index (-shm) is not copied: taken at another instant than
      // the log it could point past what the copy holds. SQLite builds it
      // anew from the log, checking every frame.
      if (walBefore.Exists) CopyFile(wal, copy + "-wal");
      {
        std::string head(16, '\0');
        std::ifstream in(copy, std::ios::binary);
        in.read(head.data(), 16);
        if (!IsSqliteFile(head)) throw NotPlaces{};
      }
      if (afterCopy) afterCopy(attempt);
      if (!(StampOf(path) == dbBefore) || !(StampOf(wal) == walBefore))
        throw Database::Failure{"Firefox wrote to it while it was copied"};
      Database db(copy);
      CheckIsPlaces(db);
      const size_t expected = EstimateRows(db);
      // The rows and the outline built from them take about 600 bytes a
      // bookmark, in small pieces.
      const HeapGrowthHint hint(expected * 600);
      // The check goes through every page; the rows need not wait for it. It
      // runs beside them on a connection of its own, and its verdict is
      // taken before anything read is used.
      std::future<std::string> check = std::async(std::launch::async, [&copy] {
        Database db(copy);
        Database::Query q(db, "PRAGMA quick_check");
        return q.Next() ? q.Text(0) : std::string("no answer");
      });
      Rows rows = ReadRows(db, expected);
      if (check.get() != "ok") throw Database::Failure{"the copy fails its check"};
      return BuildOutline(rows);
    } catch (const Database::Failure& f) {
      why = f.Text;
    } catch (const NotPlaces&) {
      throw StoreError(path + " is not a Firefox bookmarks database (places.sqlite).");
    }
  }
  throw StoreError("The Firefox bookmarks in " + path + " could not be read (" + why +
                   "), twice. Close Firefox and try again, or export the bookmarks to HTML in Firefox "
                   "(Bookmarks > Manage Bookmarks > Import and Backup > Export Bookmarks to HTML) and convert "
                   "that file.");
}

}  // namespace quillet
