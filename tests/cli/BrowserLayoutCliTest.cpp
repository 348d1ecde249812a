// The browser layout as a browser's importer reads it: what urls2html writes
// with the option on, imported by Debian's buku, and written back by
// html2urls.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/Path.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::RunProgram;
using test::Shortcut;
using test::TempDir;
using test::WriteBytes;

// A nested tree: each link's shortcut file (under the Favorites folder,
// without ".url"), its address and the folder it lies in ("" for the top).
struct Link {
  const char* File;
  const char* Url;
  const char* Folder;
};
const Link kLinks[] = {
    {"Start", "https://start.example/", ""},
    {"Search & Find", "https://find.example/?q=a&lang=en", ""},
    {"News/BBC", "https://bbc.example/", "News"},
    {"News/Science/arXiv", "https://arxiv.example/", "Science"},
    {"News/Science/Q&A", "https://qa.example/?a=1&b=2", "Science"},
    {"Tools & Tips/Git", "https://git.example/", "Tools & Tips"},
    {"Tools & Tips/Editors/Vim", "https://vim.example/", "Editors"},
};

// The full name of a program found on PATH, or "".
std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string file = dir + "/" + name;
    if (!dir.empty() && ::access(file.c_str(), X_OK) == 0) return file;
  }
  return std::string();
}

class BrowserLayoutCli : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir / "prog/Quillet.Ini", "[Options]\r\nIndentHtml=1\r\nBrowserLayout=1\r\n");
    program = test::PortableCopy(dir / "prog");
    for (const Link& l : kLinks) WriteBytes(dir / "Fav/" + l.File + ".url", Shortcut(l.Url));
    const auto r = RunProgram(program, {"urls2html", dir / "Fav", dir / "out.htm"}, "", dir.Path());
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
  }

  // Runs buku on its own data folder, never waiting for long.
  test::ProgramResult Buku(const std::string& timeout, const std::string& buku,
                           const std::vector<std::string>& args, const std::string& input = "") {
    std::vector<std::string> all = {"60", buku, "--nostdin"};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(timeout, all, input, dir.Path(),
                      {"HOME=" + (dir / "home"), "XDG_DATA_HOME=" + (dir / "buku-data")});
  }

  TempDir dir;
  std::string program;
};

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

TEST_F(BrowserLayoutCli, BukuImportsEveryLinkTaggedWithItsFolder) {
  const std::string buku = FindOnPath("buku");
  if (buku.empty()) GTEST_SKIP() << "buku is not installed (scripts/bootstrap installs it): no real importer to try";
  const std::string timeout = FindOnPath("timeout");
  ASSERT_FALSE(timeout.empty());
  test::MakeDirs(dir / "home");

  // buku asks whether to add a date tag (no), whether to append tags to
  // bookmarks it has (no), and whether to tag each link with its folder
  // (yes, the folder it lies in).
  auto r = Buku(timeout, buku, {"-i", dir / "out.htm"}, "n\nn\ny\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  // One line a bookmark: index, address, title and tags, cut by tabs.
  r = Buku(timeout, buku, {"-p", "-f", "4", "--nc"});
  ASSERT_EQ(r.ExitCode, 0) << r.Out << r.Err;

  std::map<std::string, std::pair<std::string, std::string>> imported;  // address: title, tags
  std::stringstream lines(r.Out);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::stringstream cut(line);
    for (std::string f; std::getline(cut, f, '\t');) fields.push_back(f);
    if (fields.size() == 3) fields.emplace_back();  // no tags
    ASSERT_EQ(fields.size(), 4u) << line;
    imported[fields[1]] = {fields[2], fields[3]};
  }
  ASSERT_EQ(imported.size(), std::size(kLinks)) << r.Out;
  for (const Link& l : kLinks) {
    SCOPED_TRACE(l.File);
    ASSERT_EQ(imported.count(l.Url), 1u) << r.Out;
    // "&" comes back as itself in titles, tags and addresses; buku keeps tags
    // in lower case.
    EXPECT_EQ(imported[l.Url].first, ExtractFileName(l.File));
    EXPECT_EQ(imported[l.Url].second, Lower(l.Folder));
  }
}

TEST_F(BrowserLayoutCli, Html2UrlsGivesBackTheSameTree) {
  const auto r = RunProgram(program, {"html2urls", dir / "out.htm", dir / "Back"}, "y\n", dir.Path());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_FALSE(test::Exists(dir / "prog/UrlErrors.txt"));
  EXPECT_EQ(test::Tree(dir / "Back"), test::Tree(dir / "Fav"));
}

}  // namespace
}  // namespace quillet
