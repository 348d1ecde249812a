#include "viewer/document/LinkPath.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillet {
namespace {

TEST(DecodePercentEscapes, StopsAtTheFirstEscapeItCannotRead) {
  EXPECT_EQ(DecodePercentEscapes("Page%20One%2Ehtm"), "Page One.htm");
  EXPECT_EQ(DecodePercentEscapes("A%41"), "AA");
  EXPECT_EQ(DecodePercentEscapes("100%"), "100%");
  EXPECT_EQ(DecodePercentEscapes("%41B"), "%41B");       // a "%" standing first ends it
  EXPECT_EQ(DecodePercentEscapes("a%4"), "a%4");         // too short
  EXPECT_EQ(DecodePercentEscapes("a%zz%41"), "a%zz%41"); // not hexadecimal: the rest stays
  EXPECT_EQ(DecodePercentEscapes("a.txt%00.htm%41"), "a.txt%00.htm%41");  // no NUL cuts a path
}

TEST(LinkToPath, DropsFileSchemesAndUsesThePathDelimiter) {
  EXPECT_EQ(LinkToPath("file:///C|/Docs/Page%20One.htm"), "C:/Docs/Page One.htm");
  EXPECT_EQ(LinkToPath("FILE:///home/Ann/My%20Page.htm"), "/home/Ann/My Page.htm");
  EXPECT_EQ(LinkToPath("file://localhost/srv/a.htm"), "/srv/a.htm");
  EXPECT_EQ(LinkToPath("C:\\Media\\Clip.AVI"), "C:/Media/Clip.AVI");
  EXPECT_EQ(LinkToPath("docs/a|b.htm"), "docs/a:b.htm");
  EXPECT_EQ(LinkToPath("a|b.htm"), "a|b.htm");  // without "/" nothing but escapes changes
  EXPECT_EQ(LinkToPath("#anchor"), "#anchor");
}

TEST(ExpandLinkPath, ResolvesRelativeLinksAgainstTheDocument) {
  LinkBase base;
  base.CurrentFile = "/home/ann/docs/bookmarks.htm";
  EXPECT_EQ(ExpandLinkPath("  page.htm \t", base), "/home/ann/docs/page.htm");
  EXPECT_EQ(ExpandLinkPath("../Music/song.mid", base), "/home/ann/Music/song.mid");
  EXPECT_EQ(ExpandLinkPath("#top", base), "/home/ann/docs/#top");
  EXPECT_EQ(ExpandLinkPath("/etc/./hosts", base), "/etc/hosts");
  EXPECT_EQ(ExpandLinkPath("C:\\setup.exe", base), "C:/setup.exe");

  base.BaseUrl = "file:///srv/site/";
  EXPECT_EQ(ExpandLinkPath("page.htm", base), "/srv/site/page.htm");
  base.BaseUrl = "dosPATH";
  EXPECT_EQ(ExpandLinkPath("page.htm", base), "page.htm");

  base.BaseUrl.clear();
  base.ServerRoot = "/srv/www/";
  EXPECT_EQ(ExpandLinkPath("/index.htm", base), "/srv/www/index.htm");
}

TEST(ExpandLinkPath, WithoutADocumentUsesTheCurrentFolder) {
  const auto cwd = std::filesystem::current_path();
  EXPECT_EQ(ExpandLinkPath("clip.avi", LinkBase{}), (cwd / "clip.avi").string());
}

}  // namespace
}  // namespace quillet
