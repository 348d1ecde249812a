#include <gtest/gtest.h>
#include <lz4.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "platform/Errors.h"
#include "stores/FirefoxBackup.h"
#include "stores/FirefoxPlaces.h"
#include "stores/StoreError.h"
#include "tests/stores/StoreTestSupport.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using namespace test;
using Json = nlohmann::json;

constexpr int64_t kUs = 1000000, kAdded = 1600000000, kModified = 1700000000;

struct Row {
  int Id, Type, Fk, Parent, Position;
  const char* Title;
  const char* Guid;
};
// A small profile: the roots, a folder, a separator, a keyword, two tags
// (news and daily on Paper), a place: query, an empty mobile root.
const Row kRows[] = {
    {1, 2, 0, 0, 0, "", "root________"},        {2, 2, 0, 1, 0, "menu", "menu________"},
    {3, 2, 0, 1, 1, "toolbar", "toolbar_____"}, {4, 2, 0, 1, 2, "tags", "tags________"},
    {5, 2, 0, 1, 3, "unfiled", "unfiled_____"}, {6, 2, 0, 1, 4, "mobile", "mobile______"},
    {10, 2, 0, 2, 0, "Reading \u00e9", "folder_read1"}, {11, 1, 100, 10, 0, "Paper", "bookmark0011"},
    {12, 3, 0, 2, 1, "", "separator012"},       {13, 1, 101, 2, 2, "Search", "bookmark0013"},
    {14, 1, 102, 3, 0, "Toolbar link", "bookmark0014"}, {15, 1, 103, 5, 0, "Unfiled \U0001F600", "bookmark0015"},
    {20, 2, 0, 4, 0, "news", "tagfolder020"},   {21, 1, 100, 20, 0, "", "tagentry0021"},
    {22, 2, 0, 4, 1, "daily", "tagfolder022"},  {23, 1, 100, 22, 0, "", "tagentry0023"},
};
const std::map<int, std::string> kPlaces{{100, "https://paper.example/"}, {101, "https://search.example/?q=%s"},
                                         {102, "https://toolbar.example/"}, {103, "place:sort=8"},
                                         {104, "https://only-in-wal.example/"}};

// What both stores read as; inLog: with the bookmark only the -wal holds.
OutlineNode Expected(bool inLog) {
  const Attrs dates{{"ADD_DATE", std::to_string(kAdded)}, {"LAST_MODIFIED", std::to_string(kModified)}};
  auto with = [&](Attrs more) {
    Attrs a = dates;
    a.insert(a.end(), more.begin(), more.end());
    return a;
  };
  std::vector<OutlineNode> other{Link("Unfiled \U0001F600", "place:sort=8", dates)};
  if (inLog) other.push_back(Link("In the log", kPlaces.at(104), dates));
  return Root({
      Folder("Bookmarks menu",
             {Folder("Reading \u00e9", {Link("Paper", kPlaces.at(100), with({{"TAGS", "news,daily"}}))}, dates),
              Separator(), Link("Search", kPlaces.at(101), with({{"SHORTCUTURL", "s"}}))},
             dates),
      Folder("Bookmarks toolbar", {Link("Toolbar link", kPlaces.at(102), dates)},
             with({{"PERSONAL_TOOLBAR_FOLDER", "true"}})),
      Folder("Other bookmarks", std::move(other), dates),
  });
}

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::string BookmarkRow(int id, int type, int fk, int parent, int position, const std::string& title,
                        const std::string& guid) {
  return "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid, dateAdded, lastModified) VALUES (" +
         std::to_string(id) + "," + std::to_string(type) + "," + (fk ? std::to_string(fk) : "NULL") + "," +
         std::to_string(parent) + "," + std::to_string(position) + "," + Quoted(title) + "," + Quoted(guid) + "," +
         std::to_string(kAdded * kUs) + "," + std::to_string(kModified * kUs) + ");";
}

// A places database of these rows over kPlaces, with the keyword s.
template <size_t N>
void CreatePlaces(const std::string& path, const Row (&rows)[N], const std::string& first = "") {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  Exec(db, first +
               "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR);"
               "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,"
               " parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT,"
               " dateAdded INTEGER, lastModified INTEGER, guid TEXT);"
               "CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE,"
               " place_id INTEGER, post_data TEXT);"
               "INSERT INTO moz_keywords (keyword, place_id) VALUES ('s', 101);");
  for (const auto& [id, url] : kPlaces)
    Exec(db, "INSERT INTO moz_places (id, url) VALUES (" + std::to_string(id) + "," + Quoted(url) + ");");
  for (const Row& r : rows) Exec(db, BookmarkRow(r.Id, r.Type, r.Fk, r.Parent, r.Position, r.Title, r.Guid));
  sqlite3_close(db);
}

// Firefox as it runs: the database in WAL mode under an exclusive lock, the
// newest bookmark only in the -wal, held until the object goes.
class RunningFirefox {
 public:
  explicit RunningFirefox(const std::string& path) {
    CreatePlaces(path, kRows, "PRAGMA journal_mode=WAL;");  // closed: everything so far is in the database file
    EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
    Exec(db_, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL;");
    Add(30, 104, 1);
  }
  ~RunningFirefox() { sqlite3_close(db_); }
  void Add(int id, int fk, int position) {
    Exec(db_, BookmarkRow(id, 1, fk, 5, position, id == 30 ? "In the log" : "Later", "bookmark00" + std::to_string(id)));
  }

 private:
  sqlite3* db_ = nullptr;
};

// Every file of a folder with its bytes and modification time.
std::map<std::string, std::pair<std::string, int64_t>> Snapshot(const std::string& dir) {
  std::map<std::string, std::pair<std::string, int64_t>> files;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    struct stat st {};
    ::stat(e.path().c_str(), &st);
    files[e.path().filename()] = {ReadBytes(e.path()), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
  }
  return files;
}

TEST(FirefoxPlaces, ReadsALockedDatabaseThroughACopyWithTheRowsOnlyInTheLogAndTouchesNothing) {
  TempDir dir;
  const std::string places = dir / "places.sqlite";
  RunningFirefox firefox(places);
  ASSERT_GT(std::filesystem::file_size(places + "-wal"), 0u);
  {  // the lock is real: nobody else reads the live file
    sqlite3* other = nullptr;
    sqlite3_open_v2(places.c_str(), &other, SQLITE_OPEN_READONLY, nullptr);
    EXPECT_NE(sqlite3_exec(other, "SELECT count(*) FROM moz_bookmarks", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
  }
  const auto before = Snapshot(dir.Path());
  const StoreRead read = ReadFirefoxPlaces(places);
  EXPECT_EQ(Print(read.Root), Print(Expected(true)));
  EXPECT_TRUE(read.Problems.empty());
  EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST(FirefoxPlaces, ACopyTornByFirefoxWritingIsTakenAgainOnceThenRefusedWithAWayOut) {
  TempDir dir;
  const std::string places = dir / "places.sqlite";
  RunningFirefox firefox(places);
  int id = 40;
  // Torn once: the second copy is whole and has the new bookmark.
  const StoreRead read = ReadFirefoxPlaces(places, [&](int attempt) {
    if (attempt == 1) firefox.Add(id++, 102, 2);
  });
  EXPECT_EQ(CountOutline(read.Root).Links, 6u);
  try {
    ReadFirefoxPlaces(places, [&](int) { firefox.Add(id++, 102, 3); });
    ADD_FAILURE() << "a copy torn twice was read";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("Close Firefox"), std::string::npos) << e.what();
  }
}

TEST(FirefoxPlaces, WhatIsNoPlacesDatabaseIsRefused) {
  TempDir dir;
  EXPECT_THROW(ReadFirefoxPlaces(dir / "missing.sqlite"), EFOpenError);
  WriteBytes(dir / "text.sqlite", "not a database");
  EXPECT_THROW(ReadFirefoxPlaces(dir / "text.sqlite"), StoreError);
  sqlite3* db = nullptr;
  sqlite3_open((dir / "other.sqlite").c_str(), &db);
  Exec(db, "CREATE TABLE t (x);");
  sqlite3_close(db);
  EXPECT_THROW(ReadFirefoxPlaces(dir / "other.sqlite"), StoreError);
}

TEST(FirefoxPlaces, ADamagedTreeIsReadInOrderWithWhatItCouldNotTakeReported) {
  // Positions out of order and twice the same (then by id), a bookmark whose
  // place is gone, a type Firefox has not, a folder whose parent is gone
  // (with its link), and the root filed under a folder of its own tree.
  const Row rows[] = {
      {1, 2, 0, 10, 0, "", "root________"},     {2, 2, 0, 1, 0, "menu", "menu________"},
      {10, 2, 0, 2, 5, "F", "folder_00010"},     {11, 1, 100, 2, 1, "Second", "bookmark0011"},
      {12, 1, 101, 2, 1, "Third", "bookmark0012"}, {13, 1, 102, 2, 0, "First", "bookmark0013"},
      {14, 1, 999, 2, 2, "Gone", "bookmark0014"},  {15, 7, 0, 2, 3, "Odd", "bookmark0015"},
      {16, 2, 0, 77, 0, "Lost", "folder_00016"},   {17, 1, 100, 16, 0, "Lost link", "bookmark0017"},
  };
  TempDir dir;
  CreatePlaces(dir / "places.sqlite", rows);
  const StoreRead read = ReadFirefoxPlaces(dir / "places.sqlite");
  const Attrs dates{{"ADD_DATE", std::to_string(kAdded)}, {"LAST_MODIFIED", std::to_string(kModified)}};
  Attrs keyword = dates;
  keyword.emplace_back("SHORTCUTURL", "s");
  EXPECT_EQ(Print(read.Root), Print(Root({Folder("Bookmarks menu",
                                                 {Link("First", kPlaces.at(102), dates),
                                                  Link("Second", kPlaces.at(100), dates),
                                                  Link("Third", kPlaces.at(101), keyword), Folder("F", {}, dates)},
                                                 dates)})));
  std::vector<std::string> kinds;
  for (const StoreProblem& p : read.Problems) kinds.push_back(p.Kind + ": " + p.Text);
  EXPECT_EQ(kinds, (std::vector<std::string>{
                       "no-address: Bookmarks menu: \"Gone\" is a bookmark without an address",
                       "unknown-node: Bookmarks menu: \"Odd\" is of no type Firefox knows",
                       "unreachable: 2 entries (1 bookmarks) stand under no folder of the tree and were not read"}));
}

// The same profile as Firefox backs it up: one tree of containers.
Json BackupNode(const Row& r) {
  static const std::map<std::string, std::string> roots{
      {"root________", "placesRoot"},   {"menu________", "bookmarksMenuFolder"},
      {"toolbar_____", "toolbarFolder"}, {"tags________", "tagsFolder"},
      {"unfiled_____", "unfiledBookmarksFolder"}, {"mobile______", "mobileFolder"}};
  Json n{{"guid", r.Guid}, {"title", r.Title},  {"index", r.Position}, {"id", r.Id},
         {"typeCode", r.Type}, {"dateAdded", kAdded * kUs}, {"lastModified", kModified * kUs}};
  if (roots.count(r.Guid)) n["root"] = roots.at(r.Guid);
  if (r.Type == 1) n["uri"] = kPlaces.at(r.Fk);
  if (r.Id == 11) n["tags"] = "news,daily";
  if (r.Id == 13) n["keyword"] = "s";
  if (r.Type == 2) {
    n["children"] = Json::array();
    for (const Row& c : kRows)
      if (c.Parent == r.Id && c.Id != r.Id) n["children"].push_back(BackupNode(c));
  }
  return n;
}

std::string JsonLz4(const std::string& json) {
  std::string block(static_cast<size_t>(LZ4_compressBound(static_cast<int>(json.size()))), '\0');
  block.resize(static_cast<size_t>(
      LZ4_compress_default(json.data(), block.data(), static_cast<int>(json.size()), static_cast<int>(block.size()))));
  std::string out("mozLz40\0", 8);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((json.size() >> (8 * i)) & 0xFF);
  return out + block;
}

TEST(FirefoxBackup, PlainAndCompressedBackupsReadAsThePlacesDatabaseDoes) {
  const std::string json = BackupNode(kRows[0]).dump();
  const std::string packed = JsonLz4(json);
  EXPECT_TRUE(IsJsonLz4(packed));
  EXPECT_TRUE(LooksLikeFirefoxBackup(json));
  for (const std::string& bytes : {json, packed}) {
    const StoreRead read = ReadFirefoxBackup(bytes);
    EXPECT_EQ(Print(read.Root), Print(Expected(false)));
    EXPECT_TRUE(read.Problems.empty());
  }
}

TEST(FirefoxBackup, DamagedCompressedBackupsAreRefusedNeverOverread) {
  const std::string packed = JsonLz4(BackupNode(kRows[0]).dump());
  std::string bigSize = packed, smallSize = packed;
  bigSize[11] = '\x7f';  // claims two gigabytes
  smallSize[8] = static_cast<char>(smallSize[8] - 1);
  for (const std::string& bad : {packed.substr(0, 10), packed.substr(0, packed.size() / 2), bigSize, smallSize,
                                 std::string("mozLz40\0\5\0\0\0\xff\xff", 14)})
    EXPECT_THROW(ReadFirefoxBackup(bad), StoreError);
  EXPECT_THROW(ReadFirefoxBackup("{\"title\": \"no container\"}"), StoreError);
}

}  // namespace
}  // namespace quillet
