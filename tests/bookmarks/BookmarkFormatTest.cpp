#include "bookmarks/BookmarkFormat.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(BookmarkFormat, ListEndAndHeadingTestsIgnoreCase) {
  EXPECT_TRUE(IsListEnd("</dl><p>"));
  EXPECT_TRUE(IsListEnd("  </DL><P> trailing text"));
  EXPECT_FALSE(IsListEnd("</DL>"));
  EXPECT_TRUE(IsListEnd("<<</Dl><p>"));
  EXPECT_FALSE(IsListEnd("</DL><"));
  EXPECT_FALSE(IsListEnd("<"));
  EXPECT_TRUE(IsHeading("<dt><h3>News</h3>"));
  EXPECT_TRUE(IsHeading("    <DT><H3 FOLDED>x</H3>"));
  EXPECT_FALSE(IsHeading("<DT><A HREF=\"x\">y</A>"));
}

TEST(BookmarkFormat, ADescriptionRunsUpToTheNextElement) {
  // What follows "<DD>first" and how many of those lines belong to it.
  const struct {
    std::vector<std::string> after;
    size_t belong;
  } cases[] = {
      {{}, 0},
      {{"second", "third: see https://x/ &lt;DT&gt; <br>", "<DT><A HREF=\"u\">u</A>"}, 2},
      {{"second", "", "", "fourth", "", "  "}, 4},  // blank lines after it are not its own
      {{"  </DL><p>"}, 0},
      {{"second", "<dd>another"}, 1},
      {{"<HR>"}, 0},
      {{"<DL><p>"}, 0},
      {{"<H3>Plain heading</H3>"}, 0},
      {{"<dt><h3 FOLDED>News</h3>"}, 0},
      {{"second", "<A HREF=\"u\">a link without its DT</A>"}, 1},
      {{"<A\tNAME=x>"}, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = {"<DT><A HREF=\"u\">u</A>", "<DD>first"};
    lines.insert(lines.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(DescriptionEnd(lines, 1), 2 + c.belong) << (c.after.empty() ? "" : c.after.back());
  }
}

TEST(BookmarkFormat, FolderNameOf) {
  EXPECT_EQ(FolderNameOf("<dt><h3>News</h3>"), "News");
  EXPECT_EQ(FolderNameOf("<DT><H3></H3>"), "");
  EXPECT_EQ(FolderNameOf("<DT><H3>a/b: c?</H3>"), "a_b_ c_");
  EXPECT_EQ(FolderNameOf("<DT><H3 FOLDED ADD_DATE=\"1\">News</H3>"), "News");
  EXPECT_EQ(FolderNameOf("<DT><H3>No end"), "");
  EXPECT_EQ(FolderNameOf("<DT><H3> Keep Blanks </H3>"), " Keep Blanks ");
  // The closing tag before the heading: nothing between them.
  EXPECT_EQ(FolderNameOf("</H3><DT><H3>x"), "");
}

TEST(BookmarkFormat, DescriptionStart) {
  const std::string dated = "<DT><A HREF=\"x\" ADD_DATE=\"1\">  Title</A>";
  EXPECT_EQ(DescriptionStart(dated), dated.find("Title") + 1);
  EXPECT_EQ(DescriptionStart("<DT><A HREF=\"x\">"), 0u);
  EXPECT_EQ(DescriptionStart("<DT><H3>News</H3>"), 0u);
  EXPECT_EQ(DescriptionStart("x=\"y\">Title</A>"), 7u);
  EXPECT_EQ(DescriptionStart("<DT><A HREF=\"x\">d</A>"), 17u);
  EXPECT_EQ(DescriptionStart("\""), 0u);
  EXPECT_EQ(DescriptionStart("\"   "), 0u);
  // Found, but only blanks follow: the position just past the line.
  EXPECT_EQ(DescriptionStart("<A HREF=\"x\" >   "), 17u);
}

TEST(BookmarkFormat, DescriptionSpanRunsToTheFirstEndTagInAnyCase) {
  const struct {
    std::string line, description;  // "-": none
  } cases[] = {
      {"<DT><A HREF=\"x\" ADD_DATE=\"1\">Title</a> <B>x</A>", "Title"},
      {"<DT><A HREF=\"x\">  A b </A>", "A b "},
      {"<DT><A HREF=\"x\"></A>", "-"},
      {"<DT><A HREF=\"x\">no end", "-"},
      {"</A><DT><A HREF=\"x\">late", "-"},
      {"<DT><H3>News</H3>", "-"},
  };
  for (const auto& c : cases) {
    const LineSpan span = DescriptionSpan(c.line);
    EXPECT_EQ(span.Empty() ? "-" : c.line.substr(span.Begin, span.Size()), c.description) << c.line;
  }
}

TEST(BookmarkFormat, LinkAddress) {
  EXPECT_EQ(LinkAddress("<dt><a href = \"Page.htm\">x</a>"), "Page.htm");
  EXPECT_EQ(LinkAddress("<A NAME=\"n\" HREF=\"x\">"), "");
  EXPECT_EQ(LinkAddress("<A HREF=x>"), "");
  EXPECT_EQ(LinkAddress("<A HREF=\"#top\">"), "");
  EXPECT_EQ(LinkAddress("<A HREF=\"abc"), "abc");
  EXPECT_EQ(LinkAddress("<<a HREF=\"abc\">"), "abc");
  EXPECT_EQ(LinkAddress("<A HREF=\"\">"), "");
  EXPECT_EQ(LinkAddress("<A HREF"), "");
  EXPECT_EQ(LinkAddress("<A HREF ="), "");
  EXPECT_EQ(LinkAddress("<A HREF= \""), "");
  EXPECT_EQ(LinkAddress("<DT><A HREF=\"https://Example.com/A?b=1\" ADD_DATE=\"2\">t</A>"),
            "https://Example.com/A?b=1");
}

TEST(BookmarkFormat, SafeFileName) {
  EXPECT_EQ(SafeFileName("<B>News</B> #Daily 5"), "News  5");
  EXPECT_EQ(SafeFileName("What? Now!"), "What_ Now!");
  EXPECT_EQ(SafeFileName("<I></I>"), "");
  EXPECT_EQ(SafeFileName("   "), "");
  EXPECT_EQ(SafeFileName("a<unclosed tag"), "a");
  EXPECT_EQ(SafeFileName("C# and #1"), "C and 1");
  EXPECT_EQ(SafeFileName("\xe9t\xe9 \x01"), "\xe9t\xe9 \x01");
}

TEST(BookmarkFormat, IndentAndLineForms) {
  EXPECT_EQ(IndentText(false, 3), "");
  EXPECT_EQ(IndentText(true, 0), "");
  EXPECT_EQ(IndentText(true, -1), "");
  EXPECT_EQ(IndentText(true, 3), "      ");
  EXPECT_EQ(LinkLine("u", "d"), "<DT><A HREF=\"u\">d</A>");
  EXPECT_EQ(HeadingLine("N"), "<DT><H3>N</H3>");
  EXPECT_TRUE(IsBlankText(""));
  EXPECT_TRUE(IsBlankText(" \t\x01 "));
  EXPECT_FALSE(IsBlankText(" x"));
}

// What the walk writes must read back as the same name and address.
TEST(BookmarkFormat, EscapedNamesReadBackThroughTheReaders) {
  const std::string line = LinkLine(EscapeAddressForLine("http://x/?q=\"a\""),
                                    EscapeNameForLine("a<b>\"c\" & d"));
  EXPECT_EQ(line, "<DT><A HREF=\"http://x/?q=&quot;a&quot;\">a&lt;b&gt;&quot;c&quot; & d</A>");
  EXPECT_EQ(LinkAddress(line), "http://x/?q=&quot;a&quot;");
  EXPECT_EQ(DescriptionStart(line), line.find('>', 20) + 2);
}

}  // namespace
}  // namespace quillet
