#include "stores/ChromiumBookmarks.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <regex>
#include <set>

#include "stores/StoreError.h"
#include "tests/stores/StoreTestSupport.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using Json = nlohmann::json;
using namespace test;

// Chromium's 13300000000000000 and 13310000000000000, as Unix seconds.
const std::string kAdded = "1655526400", kModified = "1665526400";
const Attrs kFolderDates{{"ADD_DATE", kAdded}, {"LAST_MODIFIED", kModified}};

StoreRead ReadFixture(TempDir& dir, const std::string& mode) {
  RunFixture("chromium.py", {"make", dir / "Bookmarks", mode});
  return ReadChromiumBookmarks(ReadBytes(dir / "Bookmarks"));
}

// The checksum Python works out for a file, and the one the file holds.
std::pair<std::string, std::string> Checksums(const std::string& path) {
  const std::string out = RunFixture("chromium.py", {"check", path});
  const size_t nl = out.find('\n');
  return {out.substr(0, nl), out.substr(nl + 1, out.size() - nl - 2)};
}

TEST(ChromiumBookmarks, ReadsTheRootsAsTopLevelFoldersAndChecksTheChecksum) {
  TempDir dir;
  const StoreRead read = ReadFixture(dir, "good");
  Attrs bar = kFolderDates;
  bar.emplace_back("PERSONAL_TOOLBAR_FOLDER", "true");
  const OutlineNode expected = Root({
      Folder("Bookmarks bar",
             {Link("Wiki \u00e9t\u00e9 \U0001F600", "https://wiki.example/\u00e9", {{"ADD_DATE", kAdded}}),
              Folder("News \"quoted\" \\ slash/", {Link("Paper", "https://paper.example/", {{"ADD_DATE", kAdded}})},
                     kFolderDates)},
             bar),
      Folder("Other bookmarks", {Link("\u6f22\u5b57", "http://kanji.example/", {{"ADD_DATE", kAdded}})}, kFolderDates),
      Folder("Mobile bookmarks", {Link("Phone", "https://phone.example/", {{"ADD_DATE", kAdded}})}, kFolderDates),
  });
  EXPECT_EQ(Print(read.Root), Print(expected));
  ASSERT_EQ(read.Problems.size(), 1u);
  EXPECT_EQ(read.Problems[0].Kind, "unknown-root");
}

TEST(ChromiumBookmarks, AWrongOrMissingChecksumIsAWarningAndEverythingIsRead) {
  for (const auto& [mode, kind] : {std::pair{"wrong", "wrong-checksum"}, {"none", "no-checksum"}}) {
    TempDir dir;
    const StoreRead read = ReadFixture(dir, mode);
    ASSERT_FALSE(read.Problems.empty());
    EXPECT_EQ(read.Problems[0].Kind, kind);
    EXPECT_EQ(CountOutline(read.Root).Links, 4u) << mode;
  }
}

TEST(ChromiumBookmarks, WritingBackKeepsIdsGuidsAndKeysOfOtherVersions) {
  TempDir dir;
  const StoreRead read = ReadFixture(dir, "good");
  const ChromiumWrite w = WriteChromiumBookmarks(read.Root, read.Kept.get());
  const Json before = Json::parse(ReadBytes(dir / "Bookmarks"));
  const Json after = Json::parse(w.Json);
  EXPECT_EQ(after["sync_metadata"], before["sync_metadata"]);
  EXPECT_EQ(after["roots"]["future_root"], before["roots"]["future_root"]);
  EXPECT_EQ(after["version"], 1);
  const Json& paper = after["roots"]["bookmark_bar"]["children"][1]["children"][0];
  EXPECT_EQ(paper["meta_info"], before["roots"]["bookmark_bar"]["children"][1]["children"][0]["meta_info"]);
  EXPECT_EQ(paper["id"], "6");
  EXPECT_EQ(paper["guid"], "00000000-0000-4000-8000-000000000006");
  EXPECT_EQ(after["roots"]["other"]["children"][0]["date_last_used"], "0");
  // The same checksum as Python's, and the same bookmarks read back.
  WriteBytes(dir / "again", w.Json);
  const auto [expected, stored] = Checksums(dir / "again");
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(Print(ReadChromiumBookmarks(w.Json).Root), Print(read.Root));
}

// Titles that try the JSON writer and the UTF-16 checksum.
const char* const kTitles[] = {"",   "plain", "a/b",   "q\"uote", "back\\slash", "tab\tnew\nline", "\x01\x1f",
                               "\u00e9t\u00e9", "\U0001F600 emoji", "\u6f22\u5b57", "&amp; <b>"};

OutlineNode RandomFolder(std::mt19937& rng, int depth, std::string title, Attrs attrs) {
  std::vector<OutlineNode> children;
  const int n = static_cast<int>(rng() % 5);
  for (int i = 0; i < n; ++i) {
    const std::string t = kTitles[rng() % std::size(kTitles)];
    const std::string date = std::to_string(1000000000 + rng() % 900000000);
    if (depth < 4 && rng() % 3 == 0)
      children.push_back(RandomFolder(rng, depth + 1, t, {{"ADD_DATE", date}, {"LAST_MODIFIED", date}}));
    else
      children.push_back(Link(t, "https://h" + std::to_string(rng() % 50) + ".example/p?q=\"" + t + "\"",
                              {{"ADD_DATE", date}}));
  }
  return Folder(std::move(title), std::move(children), std::move(attrs));
}

TEST(ChromiumBookmarks, WrittenFilesReadBackAsTheSameTreeWithChromiumsChecksum) {
  TempDir dir;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 rng(seed);
    Attrs bar = kFolderDates;
    bar.emplace_back("PERSONAL_TOOLBAR_FOLDER", "true");
    OutlineNode root = Root({RandomFolder(rng, 0, "Bookmarks bar", bar),
                             RandomFolder(rng, 0, "Other bookmarks", kFolderDates),
                             Folder("Mobile bookmarks", {Link("m", "https://m.example/", {{"ADD_DATE", kAdded}})},
                                    kFolderDates)});
    const ChromiumWrite w = WriteChromiumBookmarks(root);
    const StoreRead back = ReadChromiumBookmarks(w.Json);
    EXPECT_EQ(Print(back.Root), Print(root)) << "seed " << seed;
    EXPECT_TRUE(back.Problems.empty()) << back.Problems[0].Text;
    EXPECT_TRUE(w.Refused.empty());

    // Unique ids, a version-4 guid on every node, Python's checksum.
    std::set<std::string> ids, guids;
    // The roots keep Chromium's fixed guids; every other node gets a new one.
    std::vector<std::pair<Json, bool>> stack;
    const Json doc = Json::parse(w.Json);
    for (const char* key : {"bookmark_bar", "other", "synced"}) stack.emplace_back(doc["roots"][key], true);
    const std::regex v4("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    size_t nodes = 0;
    while (!stack.empty()) {
      const auto [n, isRoot] = stack.back();
      stack.pop_back();
      ++nodes;
      ids.insert(n["id"].get<std::string>());
      guids.insert(n["guid"].get<std::string>());
      if (!isRoot) {
        EXPECT_TRUE(std::regex_match(n["guid"].get<std::string>(), v4)) << n["guid"];
      }
      if (n.contains("children"))
        for (const Json& c : n["children"]) stack.emplace_back(c, false);
    }
    EXPECT_EQ(ids.size(), nodes);
    EXPECT_EQ(guids.size(), nodes);
    if (seed <= 3) {
      WriteBytes(dir / "Bookmarks", w.Json);
      const auto [expected, stored] = Checksums(dir / "Bookmarks");
      EXPECT_EQ(stored, expected) << "seed " << seed;
    }
  }
}

TEST(ChromiumBookmarks, TopLevelNodesGoToTheRootsTheirNamesOrToolbarMarkSay) {
  const Attrs toolbar{{"PERSONAL_TOOLBAR_FOLDER", "true"}};
  struct Case {
    OutlineNode In;
    std::string Bar, Other, Mobile;  // the titles in each root
  };
  auto titles = [](const OutlineNode& f) {
    std::string s;
    for (const OutlineNode& c : f.Children) s += (s.empty() ? "" : ",") + c.Title;
    return s;
  };
  Case cases[] = {
      {Root({Link("A", "https://a/"), Folder("X", {}), Folder("Favorites", {Link("B", "https://b/")}, toolbar),
             Folder("other bookmarks", {Link("C", "https://c/")}), Separator(),
             Folder("Mobile Bookmarks", {Link("D", "https://d/")})}),
       "B", "A,X,C", "D"},
      // Named only: the bar; a marked folder elsewhere wins over the name.
      {Root({Folder("Bookmarks bar", {Link("B", "https://b/")}), Link("A", "https://a/")}), "B", "A", ""},
      {Root({Folder("Bookmarks bar", {Link("N", "https://n/")}), Folder("Tb", {Link("T", "https://t/")}, toolbar)}),
       "T", "Bookmarks bar", ""},
      // A second folder of a root's name is an ordinary folder.
      {Root({Folder("Other bookmarks", {Link("C", "https://c/")}), Folder("Other bookmarks", {})}), "", "C,Other bookmarks",
       ""},
  };
  for (const Case& c : cases) {
    const StoreRead back = ReadChromiumBookmarks(WriteChromiumBookmarks(c.In).Json);
    std::string bar, other, mobile;
    for (const OutlineNode& r : back.Root.Children)
      (r.Title == "Bookmarks bar" ? bar : r.Title == "Other bookmarks" ? other : mobile) = titles(r);
    EXPECT_EQ(bar, c.Bar);
    EXPECT_EQ(other, c.Other);
    EXPECT_EQ(mobile, c.Mobile);
  }
}

TEST(ChromiumBookmarks, AddressesChromiumWouldDropAreRefusedAndListed) {
  const std::pair<const char*, bool> addresses[] = {
      {"https://example.com/", true},  {"http://user@host:8080/x", true}, {"javascript:alert(1)", true},
      {"place:sort=8", true},          {"file:///etc/hosts", true},       {"about:blank", true},
      {"", false},                     {"ERROR", false},                  {"example.com/page", false},
      {"http://", false},              {"https:///path", true},          {"1http://x/", false},
      {"http://bad host/", false},     {":nothing", false},
  };
  std::vector<OutlineNode> links;
  size_t refused = 0;
  for (const auto& [address, keeps] : addresses) {
    EXPECT_EQ(ChromiumKeepsAddress(address), keeps) << address;
    links.push_back(Link("t", address));
    refused += !keeps;
  }
  const ChromiumWrite w = WriteChromiumBookmarks(Root({Folder("Other bookmarks", std::move(links))}));
  EXPECT_EQ(w.Refused.size(), refused);
  EXPECT_EQ(w.Written.Links, std::size(addresses) - refused);
  EXPECT_EQ(w.Refused[0].Kind, "refused-address");
  EXPECT_EQ(w.Refused[0].Text, "Other bookmarks: \"t\" ");
}

TEST(ChromiumBookmarks, NestingDeeperThanChromiumReadsIsRefusedWhole) {
  for (const size_t depth : {kChromiumMaxFolderDepth, kChromiumMaxFolderDepth + 1}) {
    OutlineNode inner = Link("deep", "https://deep/");
    for (size_t i = 0; i < depth; ++i) inner = Folder("f", {std::move(inner)});
    const OutlineNode root = Root({std::move(inner)});
    if (depth > kChromiumMaxFolderDepth)
      EXPECT_THROW(WriteChromiumBookmarks(root), StoreError);
    else
      EXPECT_EQ(WriteChromiumBookmarks(root).Written.Links, 1u);
  }
}

TEST(ChromiumBookmarks, TextsThatAreNoUtf8AreWrittenAsWindows1252AndNotesLeftOutAreSaid) {
  OutlineNode link = Link("caf\xE9", "https://cafe/");
  link.Description = "a note";
  const ChromiumWrite w = WriteChromiumBookmarks(Root({link, Separator()}));
  const StoreRead back = ReadChromiumBookmarks(w.Json);
  EXPECT_EQ(back.Root.Children[1].Children[0].Title, "caf\u00e9");
  EXPECT_TRUE(back.Problems.empty());
  std::set<std::string> kinds;
  for (const StoreProblem& p : w.Refused) kinds.insert(p.Kind);
  EXPECT_EQ(kinds, (std::set<std::string>{"no-separators", "no-descriptions"}));
}

TEST(ChromiumBookmarks, TextThatIsNoChromiumFileIsRefused) {
  for (const char* text : {"", "not json", "[]", "{\"roots\": 3}", "{\"version\": 1}",
                           "{\"roots\": {\"other\": {\"children\": [[[[[[[[]]]]]]]]}}}"}) {
    try {
      const StoreRead r = ReadChromiumBookmarks(text);
      EXPECT_FALSE(r.Problems.empty()) << text;  // read, with what it could not take said
    } catch (const StoreError&) {
    }
  }
  EXPECT_THROW(ReadChromiumBookmarks(std::string(600, '[')), StoreError);
}

TEST(ChromiumBookmarks, DatesGoBetweenMicrosecondsSince1601AndUnixSeconds) {
  EXPECT_EQ(ChromiumDateToUnix("13300000000000000"), 1655526400);
  EXPECT_EQ(UnixToChromiumDate(1655526400), "13300000000000000");
  for (const char* bad : {"", "0", "-5", "12x", "11644473600000000"}) EXPECT_FALSE(ChromiumDateToUnix(bad)) << bad;
}

}  // namespace
}  // namespace quillet
