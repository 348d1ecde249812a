#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/ConvertCommand.h"
#include "app/ProfilesCommand.h"
#include "bookmarks/TreeReader.h"
#include "bookmarks/TreeWriter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::TempDir;
using Json = nlohmann::json;

struct Outcome {
  int Status;
  std::string Out, Err;
};

template <typename F>
Outcome Call(F command, test::TestContext& t, std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = command(t.Ctx, args, out, err);
  return {status, out.str(), err.str()};
}

// A browser's export: the toolbar folder, a folder beside it, a loose link.
const char* const kExport =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n"
    "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000100\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>\n"
    "    <DL><p>\n"
    "        <DT><A HREF=\"https://a.example/\" ADD_DATE=\"1600000001\">A &amp; \xC3\xA9</A>\n"
    "        <DT><H3 ADD_DATE=\"1600000002\" LAST_MODIFIED=\"1600000003\">Deep</H3>\n"
    "        <DL><p>\n"
    "            <DT><A HREF=\"https://b.example/x?y=1\" ADD_DATE=\"1600000004\">B</A>\n"
    "        </DL><p>\n"
    "    </DL><p>\n"
    "    <DT><H3 ADD_DATE=\"1600000005\" LAST_MODIFIED=\"1600000006\">Work</H3>\n"
    "    <DL><p>\n"
    "        <DT><A HREF=\"https://c.example/\" ADD_DATE=\"1600000007\">C</A>\n"
    "    </DL><p>\n"
    "    <DT><A HREF=\"https://d.example/\" ADD_DATE=\"1600000008\">D</A>\n"
    "</DL><p>\n";

// Every folder and link as "path|title|address|ADD_DATE", one a line.
std::string Listing(const std::string& html) {
  TextLines lines;
  std::istringstream in(html);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  const OutlineNode root = OutlineOf(ReadBookmarkTree(std::move(lines)));
  std::string out;
  std::vector<std::pair<const OutlineNode*, std::string>> stack{{&root, ""}};
  while (!stack.empty()) {
    const auto [n, path] = stack.back();
    stack.pop_back();
    for (const OutlineNode& c : n->Children) {
      std::string date;
      for (const auto& [k, v] : c.Attributes)
        if (k == "ADD_DATE") date = v;
      out += path + "|" + c.Title + "|" + c.Address + "|" + date + "\n";
      if (c.Kind == NodeKind::Folder) stack.push_back({&c, path + "/" + c.Title});
    }
  }
  return out;
}

TEST(ConvertCommand, HtmlToChromiumToHtmlKeepsEveryFolderAndLinkUnderTheRootMapping) {
  TempDir dir;
  test::WriteBytes(dir / "in.htm", kExport);
  test::TestContext t;
  std::filesystem::create_directories(dir / "Default");
  const Outcome there = Call(RunConvertCommand, t, {dir / "in.htm", dir / "Default/Bookmarks"});
  ASSERT_EQ(there.Status, 0) << there.Err;
  EXPECT_EQ(there.Out, "Wrote 2 folders and 4 links to " + dir / "Default/Bookmarks" + " (chromium).\n");
  const Outcome back = Call(RunConvertCommand, t, {dir / "Default/Bookmarks", dir / "out.htm"});
  ASSERT_EQ(back.Status, 0) << back.Err;
  EXPECT_EQ(back.Err, "");
  // The toolbar folder fills the bar; the rest goes into Other bookmarks.
  std::string expected = Listing(kExport);
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"|Toolbar|", "|Bookmarks bar|"},
                                 {"/Toolbar", "/Bookmarks bar"}, {"\n|Work|", "\n/Other bookmarks|Work|"},
                                 {"\n/Work|", "\n/Other bookmarks/Work|"}, {"\n|D|", "\n/Other bookmarks|D|"}})
    for (size_t at; (at = expected.find(from)) != std::string::npos;) expected.replace(at, from.size(), to);
  const std::string got = Listing(test::ReadBytes(dir / "out.htm"));
  for (const char* line : {"|Bookmarks bar||1600000000", "/Bookmarks bar|A & \xC3\xA9|https://a.example/|1600000001",
                           "/Bookmarks bar/Deep|B|https://b.example/x?y=1|1600000004",
                           "/Other bookmarks/Work|C|https://c.example/|1600000007",
                           "/Other bookmarks|D|https://d.example/|1600000008"})
    EXPECT_NE(got.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << got;
  EXPECT_EQ(std::count(got.begin(), got.end(), '\n'), std::count(expected.begin(), expected.end(), '\n') + 1)
      << got;  // and the Other bookmarks folder itself
}

TEST(ConvertCommand, StatusesAndMessagesForWhatCannotBeDone) {
  TempDir dir;
  test::WriteBytes(dir / "in.htm", kExport);
  test::WriteBytes(dir / "Bookmarks", "{\"checksum\": \"0\", \"roots\": {\"other\": {\"children\": [], \"type\": "
                                      "\"folder\", \"id\": \"2\", \"name\": \"\"}}, \"version\": 1}");
  struct Case {
    std::vector<std::string> Args;
    int Status;
    std::string ErrHas;
  };
  const Case cases[] = {
      {{dir / "in.htm", dir / "places.sqlite"}, 2, "never writes into Firefox"},
      {{dir / "in.htm", dir / "x", "--to", "firefox-backup"}, 2, "never writes into Firefox"},
      {{dir / "in.htm", dir / "x", "--to", "opera"}, 2, "opera"},
      {{dir / "in.htm"}, 2, "OUT"},
      {{dir / "missing.htm", dir / "x.htm"}, 1, "missing.htm"},
      {{dir / "in.htm", dir / "no/such/folder/x.htm"}, 1, "x.htm"},
      {{dir / "in.htm", dir / "x.htm", "--from", "chromium"}, 1, "not a Chromium bookmarks file"},
      {{dir / "Bookmarks", dir / "y.htm"}, 0, "wrong-checksum"},
  };
  for (const Case& c : cases) {
    test::TestContext t;
    const Outcome r = Call(RunConvertCommand, t, c.Args);
    EXPECT_EQ(r.Status, c.Status) << c.Args[0] << " " << r.Err;
    EXPECT_NE(r.Err.find(c.ErrHas), std::string::npos) << r.Err;
  }
}

TEST(ConvertCommand, ShortcutFoldersBothWaysAndAnExistingFileKeptAsBak) {
  TempDir dir;
  test::WriteBytes(dir / "in.htm", kExport);
  test::WriteBytes(dir / "out.htm", "before");
  test::TestContext t;
  ASSERT_EQ(Call(RunConvertCommand, t, {dir / "in.htm", dir / "links", "--to", "urls"}).Status, 0);
  EXPECT_EQ(test::ReadBytes(dir / "links/Toolbar/Deep/B.url"), test::Shortcut("https://b.example/x?y=1"));
  const Outcome r = Call(RunConvertCommand, t, {dir / "links", dir / "out.htm", "--layout", "quillet"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Wrote 3 folders and 4 links to " + dir / "out.htm" + " (html).\n");
  EXPECT_EQ(test::ReadBytes(dir / "out.htm.bak"), "before");
}

TEST(ProfilesCommand, ListsChromiumAndFirefoxProfilesWithTheirStores) {
  TempDir home;
  test::WriteBytes(home / ".config/chromium/Default/Bookmarks", "{}");
  test::WriteBytes(home / ".config/chromium/Profile 1/Bookmarks", "{}");
  test::WriteBytes(home / ".config/chromium/Local State",
                   "{\"profile\": {\"info_cache\": {\"Profile 1\": {\"name\": \"Work\"}}}}");
  test::MakeDirs(home / ".config/chromium/System Profile");  // no bookmarks: not listed
  test::WriteBytes(home / ".config/BraveSoftware/Brave-Browser/Default/Bookmarks", "{}");
  test::WriteBytes(home / ".mozilla/firefox/profiles.ini",
                   "[General]\nStartWithLastProfile=1\n\n[Profile1]\nName=other\nIsRelative=1\nPath=b.other\n\n"
                   "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=a.default\r\n\n[Profile2]\nName=gone\n"
                   "IsRelative=1\nPath=c.gone\n\n[Install4F96]\nDefault=a.default\n");
  test::WriteBytes(home / ".mozilla/firefox/a.default/places.sqlite", "");
  test::WriteBytes(home / ".mozilla/firefox/b.other/places.sqlite", "");
  test::WriteBytes(home / "elsewhere/places.sqlite", "");
  test::WriteBytes(home / "snap/firefox/common/.mozilla/firefox/profiles.ini",
                   "[Profile0]\nName=snap\nIsRelative=0\nPath=" + home / "elsewhere" + "\n");
  test::TestContext t;
  t.Ctx.HomeDir = home.Path();
  const Outcome r = Call(RunProfilesCommand, t, {"--json"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  std::vector<std::string> got;
  for (const Json& p : Json::parse(r.Out))
    got.push_back(p["browser"].get<std::string>() + " " + p["profile"].get<std::string>() + " " +
                  p["name"].get<std::string>() + " " + p["format"].get<std::string>() + " " +
                  p["store"].get<std::string>().substr(home.Path().size()));
  const std::vector<std::string> expected{
      "chromium Default  chromium /.config/chromium/Default/Bookmarks",
      "chromium Profile 1 Work chromium /.config/chromium/Profile 1/Bookmarks",
      "brave Default  chromium /.config/BraveSoftware/Brave-Browser/Default/Bookmarks",
      "firefox a.default default firefox /.mozilla/firefox/a.default/places.sqlite",
      "firefox b.other other firefox /.mozilla/firefox/b.other/places.sqlite",
      "firefox-snap elsewhere snap firefox /elsewhere/places.sqlite",
  };
  EXPECT_EQ(got, expected);
  const Outcome text = Call(RunProfilesCommand, t, {});
  EXPECT_NE(text.Out.find("Profile 1 (Work)"), std::string::npos) << text.Out;
  // A config folder of its own moves the Chromium browsers, not Firefox.
  test::WriteBytes(home / "cfg/vivaldi/Default/Bookmarks", "{}");
  t.Ctx.ConfigHome = home / "cfg";
  const std::string moved = Call(RunProfilesCommand, t, {}).Out;
  EXPECT_NE(moved.find("vivaldi"), std::string::npos) << moved;
  EXPECT_EQ(moved.find("/.config/chromium"), std::string::npos) << moved;
  EXPECT_NE(moved.find("a.default"), std::string::npos) << moved;
  t.Ctx.HomeDir = home / "nobody";
  t.Ctx.ConfigHome.clear();
  EXPECT_EQ(Call(RunProfilesCommand, t, {}).Out, "No browser profiles found in " + home / "nobody" + ".\n");
  EXPECT_EQ(Call(RunProfilesCommand, t, {"--bogus"}).Status, 2);
}

}  // namespace
}  // namespace quillet
