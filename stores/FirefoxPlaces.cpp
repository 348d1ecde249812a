#include "stores/FirefoxPlaces.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <unordered_map>

#include "bookmarks/FolderPath.h"
#include "platform/Errors.h"
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
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) Fail();
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

// A piece of Rows::Text.
struct Span {
  size_t At = 0, Size = 0;
};

struct Row {
  int64_t Id = 0, Parent = 0, Position = 0, Fk = 0, Added = 0, Modified = 0;
  int Type = 0;
  Span Title, Guid, Url;
  bool HasUrl = false;
};

// Not a places database at all: nothing to try again.
struct NotPlaces {};

// The rows, their texts one after another in one string rather than a
// string each.
struct Rows {
  std::deque<Row> List;  // never moved as more come
  std::string Text;

  Span Add(std::string_view text) {
    const Span s{Text.size(), text.size()};
    Text.append(text);
    return s;
  }
  std::string_view operator()(Span s) const { return std::string_view(Text).substr(s.At, s.Size); }
  size_t size() const { return List.size(); }
  bool empty() const { return List.empty(); }
  Row& operator[](size_t i) { return List[i]; }
};

Rows ReadRows(Database& db, std::unordered_map<int64_t, std::string>& keywords) {
  {
    Database::Query q(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('moz_bookmarks', 'moz_places')");
    if (!q.Next() || q.Int(0) != 2) throw NotPlaces{};
  }
  {
    Database::Query check(db, "PRAGMA quick_check");
    if (!check.Next() || check.Text(0) != "ok") throw Database::Failure{"the copy fails its check"};
  }
  Rows rows;
  {
    // The texts never outgrow the database: reserved once, never copied as they grow.
    Database::Query size(db, "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
    if (size.Next() && size.Int(0) > 0) rows.Text.reserve(static_cast<size_t>(size.Int(0)));
  }
  Database::Query q(db,
                    "SELECT b.id, b.type, b.parent, b.position, b.title, b.dateAdded, b.lastModified, b.guid, b.fk, "
                    "p.url FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk");
  while (q.Next()) {
    Row& r = rows.List.emplace_back();
    r.Id = q.Int(0);
    r.Type = static_cast<int>(q.Int(1));
    r.Parent = q.Int(2);
    r.Position = q.Int(3);
    r.Title = rows.Add(q.View(4));
    r.Added = q.Int(5);
    r.Modified = q.Int(6);
    r.Guid = rows.Add(q.View(7));
    r.Fk = q.Int(8);
    r.HasUrl = !q.IsNull(9);
    r.Url = rows.Add(q.View(9));
  }
  // Keywords by place; a database too old to have them that way has none.
  try {
    Database::Query k(db, "SELECT place_id, keyword FROM moz_keywords ORDER BY id");
    while (k.Next()) keywords.emplace(k.Int(0), k.Text(1));
  } catch (const Database::Failure&) {
  }
  return rows;
}

std::string JoinTags(const std::vector<std::string>& tags) {
  std::string out;
  for (const std::string& t : tags) out += (out.empty() ? "" : ",") + t;
  return out;
}

StoreRead BuildOutline(Rows& rows, const std::unordered_map<int64_t, std::string>& keywords) {
  StoreRead out;
  std::unordered_map<int64_t, std::vector<size_t>> kids;
  size_t root = rows.size();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows(rows[i].Guid) == "root________" || (root == rows.size() && rows[i].Parent == 0)) root = i;
  }
  for (size_t i = 0; i < rows.size(); ++i)
    if (i != root) kids[rows[i].Parent].push_back(i);
  for (auto& [parent, list] : kids)
    std::sort(list.begin(), list.end(), [&](size_t a, size_t b) {
      return rows[a].Position != rows[b].Position ? rows[a].Position < rows[b].Position : rows[a].Id < rows[b].Id;
    });
  if (root == rows.size()) {
    if (!rows.empty()) out.Problems.push_back({0, "no-root", "the database has no root folder; nothing read"});
    return out;
  }
  auto childrenOf = [&](size_t i) -> const std::vector<size_t>& {
    static const std::vector<size_t> none;
    const auto it = kids.find(rows[i].Id);
    return it == kids.end() ? none : it->second;
  };

  std::vector<bool> reached(rows.size(), false);
  reached[root] = true;
  // Tags: folders under the tags root, each holding one entry per tagged place.
  std::unordered_map<int64_t, std::vector<std::string>> tags;
  std::vector<size_t> top;
  for (size_t r : childrenOf(root)) {
    if (rows(rows[r].Guid) != "tags________") {
      top.push_back(r);
      continue;
    }
    reached[r] = true;
    for (size_t tag : childrenOf(r)) {
      reached[tag] = true;
      for (size_t entry : childrenOf(tag)) {
        reached[entry] = true;
        if (rows[entry].Type == 1) tags[rows[entry].Fk].emplace_back(rows(rows[tag].Title));
      }
    }
  }

  struct Frame {
    size_t Row;
    OutlineNode* Out;
    std::string Path;  // of the folder it is in
    bool IsRoot;
  };
  std::vector<Frame> stack;
  out.Root.Children.resize(top.size());
  for (size_t i = top.size(); i-- > 0;) stack.push_back({top[i], &out.Root.Children[i], "", true});
  while (!stack.empty()) {
    Frame f = std::move(stack.back());
    stack.pop_back();
    reached[f.Row] = true;
    Row& r = rows[f.Row];
    OutlineNode& o = *f.Out;
    const std::string_view guid = rows(r.Guid);
    o.Title = rows(r.Title);
    if (f.IsRoot)
      if (const char* title = FirefoxRootTitle(guid)) o.Title = title;
    if (r.Type == 3) {
      o.Kind = NodeKind::Separator;
      continue;
    }
    if (r.Type == 1) {
      if (!r.HasUrl) {
        out.Problems.push_back({0, "no-address", f.Path + ": \"" + o.Title + "\" is a bookmark without an address"});
        o.Kind = NodeKind::Opaque;  // taken out below
        continue;
      }
      o.Address = rows(r.Url);
      const auto k = keywords.find(r.Fk);
      const auto t = tags.find(r.Fk);
      SetFirefoxLinkValues(o, r.Added, r.Modified, k == keywords.end() ? "" : k->second,
                           t == tags.end() ? "" : JoinTags(t->second));
      continue;
    }
    if (r.Type != 2) {
      out.Problems.push_back({0, "unknown-node", f.Path + ": \"" + o.Title + "\" is of no type Firefox knows"});
      o.Kind = NodeKind::Opaque;
      continue;
    }
    SetFirefoxFolderValues(o, r.Added, r.Modified, f.IsRoot && guid == "toolbar_____");
    const std::vector<size_t>& list = childrenOf(f.Row);
    // Mobile bookmarks are rare on a desktop: an empty root is no folder.
    if (f.IsRoot && guid == "mobile______" && list.empty()) o.Kind = NodeKind::Opaque;
    const std::string path = f.IsRoot ? EscapePathStep(o.Title) : f.Path + "/" + EscapePathStep(o.Title);
    o.Children.resize(list.size());
    for (size_t i = list.size(); i-- > 0;) stack.push_back({list[i], &o.Children[i], path, false});
  }
  DropPlaceholders(out.Root);
  size_t lost = 0, lostLinks = 0;
  for (size_t i = 0; i < rows.size(); ++i)
    if (!reached[i]) ++lost, lostLinks += rows[i].Type == 1;
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
      std::unordered_map<int64_t, std::string> keywords;
      Rows rows = ReadRows(db, keywords);
      return BuildOutline(rows, keywords);
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
