#include "app/StartOptions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(StartOptions, HelpAndVersionOnlyAsTheWholeCommandLine) {
  EXPECT_EQ(InfoRequestOf(CommandLine({"--help"})), InfoRequest::Help);
  EXPECT_EQ(InfoRequestOf(CommandLine({"--version"})), InfoRequest::Version);
  EXPECT_EQ(InfoRequestOf(CommandLine({})), InfoRequest::None);
  EXPECT_EQ(InfoRequestOf(CommandLine({"--HELP"})), InfoRequest::None);
  EXPECT_EQ(InfoRequestOf(CommandLine({"--help", "/sort"})), InfoRequest::None);
  EXPECT_EQ(InfoRequestOf(CommandLine({"file.htm", "--version"})), InfoRequest::None);
}

TEST(StartOptions, TheUsageNamesEveryModeWordAndSwitch) {
  const std::string usage = UsageText();
  for (const char* word : {"urls2html", "ie2html", "html2urls", "html2ie", "ns2urls", "ns2ie", "urls2ns", "ie2ns",
                           "/sort", "/nsstrip", "/nodupes", "quillet ns /sort", "Exit status", "BrowserLayout=1"})
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  EXPECT_EQ(VersionText(), "quillet 2.32\n");
}

class WindowFile : public ::testing::Test {
 protected:
  bool Of(std::vector<std::string> args) { return WindowFileOf(CommandLine(std::move(args)), file); }
  TempDir dir;
  std::string file;
};

TEST_F(WindowFile, AnExistingHtmlFileAloneOpensTheWindow) {
  WriteBytes(dir / "a.HTM", "anything");
  WriteBytes(dir / "b.shtml", "");
  WriteBytes(dir / "bookmarks", "\xEF\xBB\xBF\r\n  <!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n");
  WriteBytes(dir / "page.txt", "<html><body>x</body></html>");
  for (const char* name : {"a.HTM", "b.shtml", "bookmarks", "page.txt"}) {
    EXPECT_TRUE(Of({dir / name})) << name;
    EXPECT_EQ(file, dir / name);
  }
}

TEST_F(WindowFile, AnyOtherSingleArgumentKeepsTheBatchRules) {
  WriteBytes(dir / "notes.txt", "plain text, not <html>");
  WriteBytes(dir / "urls2html", "<html></html>");  // a mode word wins over a file of that name
  test::MakeDirs(dir / "folder.htm");
  WriteBytes(dir / "sorted/a.htm", "<DL><p>");  // the path carries the switch "/sort"
  for (const std::string& arg : {dir / "notes.txt", dir / "missing.htm", dir / "folder.htm", dir / "sorted/a.htm",
                                std::string("/dev/null")})
    EXPECT_FALSE(Of({arg})) << arg;
  EXPECT_FALSE(Of({"urls2html"}));
  WriteBytes(dir / "a.htm", "<DL><p>");
  EXPECT_FALSE(Of({dir / "a.htm", "/nodupes"}));
  EXPECT_FALSE(Of({dir / "a.htm", dir / "a.htm"}));
}

TEST_F(WindowFile, OrganizeTakesAtMostOneFile) {
  EXPECT_TRUE(OrganizeFileOf(CommandLine({"--organize", "a.htm"}), file));
  EXPECT_EQ(file, std::filesystem::absolute("a.htm").string());
  EXPECT_TRUE(OrganizeFileOf(CommandLine({"--organize"}), file));
  EXPECT_EQ(file, "");
  EXPECT_FALSE(OrganizeFileOf(CommandLine({"--organize", "a.htm", "b.htm"}), file));
  EXPECT_FALSE(OrganizeFileOf(CommandLine({"a.htm", "--organize"}), file));
}

TEST_F(WindowFile, ARelativeNameBecomesAbsolute) {
  WriteBytes(dir / "a.htm", "");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const bool opens = Of({"./a.htm"});
  std::filesystem::current_path(previous);
  EXPECT_TRUE(opens);
  EXPECT_EQ(file, dir / "a.htm");
}

TEST_F(WindowFile, OpenTakesAnyFileEvenWithASwitchInItsPath) {
  EXPECT_TRUE(Of({"--open"}));
  EXPECT_EQ(file, "");
  EXPECT_TRUE(Of({"--open", dir / "sorted/links.txt"}));
  EXPECT_EQ(file, dir / "sorted/links.txt");
  EXPECT_FALSE(Of({"--open", "a.htm", "b.htm"}));
  EXPECT_FALSE(Of({"a.htm", "--open"}));
}

}  // namespace
}  // namespace quillet
