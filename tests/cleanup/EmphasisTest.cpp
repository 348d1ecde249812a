#include "cleanup/Emphasis.h"

#include <gtest/gtest.h>

#include "bookmarks/BookmarkFormat.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::TestContext;

TextLines Applied(TextLines lines, char letter) {
  TestContext t;
  t.Ctx.HtmlLines = std::move(lines);
  ApplyEffect(t.Ctx, letter);
  EXPECT_EQ(t.UI.BusyDepth, 0);
  return t.Ctx.HtmlLines;
}

TextLines Removed(TextLines lines, char letter) {
  TestContext t;
  t.Ctx.HtmlLines = std::move(lines);
  RemoveEffect(t.Ctx, letter);
  EXPECT_EQ(t.UI.BusyDepth, 0);
  return t.Ctx.HtmlLines;
}

// The file name the HTML-to-folder conversion derives from a link line: the
// description from its start up to the first "</A>", made safe.
std::string DerivedName(const std::string& line) {
  const LineSpan span = DescriptionSpan(line);
  if (span.Empty()) return "<none>";
  return SafeFileName(line.substr(span.Begin, span.Size()));
}

TEST(Emphasis, BoldOnAndOffRestoresEveryLine) {
  const TextLines doc = {
      "<DL><p>",
      "  <DT><H3>News</H3>",
      "<DT><H3 FOLDED ADD_DATE=\"1\">Old</H3>",
      "    <DT><A HREF=\"u\">Title</A>",
      "<DT><A HREF=\"v\" ADD_DATE=\"5\" LAST_VISIT=\"6\">Dated</a>",
      "<DT><A HREF=\"w\"></A>",
      "<DT><A HREF=\"x\">   </A>",
      "<DT><A HREF=\"y\">no end",
      "<DT><A HREF=\"z\">",
      "",
      "</DL><p>",
  };
  const TextLines bold = Applied(doc, BoldLetter);
  const TextLines expected = {
      "<DL><p>",
      "  <DT><H3>News</H3>",
      "<DT><H3 FOLDED ADD_DATE=\"1\">Old</H3>",
      "    <DT><A HREF=\"u\"><B>Title</B></A>",
      "<DT><A HREF=\"v\" ADD_DATE=\"5\" LAST_VISIT=\"6\"><B>Dated</B></a>",
      "<DT><A HREF=\"w\"></A>",
      "<DT><A HREF=\"x\">   </A>",
      "<DT><A HREF=\"y\">no end",
      "<DT><A HREF=\"z\">",
      "",
      "</DL><p>",
  };
  EXPECT_EQ(bold, expected);
  EXPECT_EQ(Removed(bold, BoldLetter), doc);
}

TEST(Emphasis, ItalicAfterBoldNestsAndBoldComesOffAlone) {
  const TextLines bold = Applied({"<DT><A HREF=\"u\">Title</A>"}, BoldLetter);
  const TextLines both = Applied(bold, ItalicLetter);
  EXPECT_EQ(both, TextLines{"<DT><A HREF=\"u\"><I><B>Title</B></I></A>"});
  EXPECT_EQ(Removed(both, BoldLetter), TextLines{"<DT><A HREF=\"u\"><I>Title</I></A>"});
  EXPECT_EQ(Removed(Removed(both, ItalicLetter), BoldLetter), TextLines{"<DT><A HREF=\"u\">Title</A>"});
}

TEST(Emphasis, LeadingBlanksStayOutsideTheTags) {
  EXPECT_EQ(Applied({"<DT><A HREF=\"u\">  Title</A>"}, BoldLetter),
            TextLines{"<DT><A HREF=\"u\">  <B>Title</B></A>"});
  EXPECT_EQ(Applied({"<DT><A HREF=\"u\" >Title  </A>"}, ItalicLetter),
            TextLines{"<DT><A HREF=\"u\" ><I>Title  </I></A>"});
}

TEST(Emphasis, LineHoldingTheOpeningTagAnywhereIsNotWrappedAgain) {
  const TextLines doc = {"<DT><A HREF=\"u\">x <b>y</b></A>", "<DT><A HREF=\"v\">Title</A> <B>",
                         "<DT><A HREF=\"w\"><B>Both</B></A>"};
  EXPECT_EQ(Applied(doc, BoldLetter), doc);
  // Another letter's tag does not count; "<BR>" and "<IMG" are not tags of either.
  EXPECT_EQ(Applied({"<DT><A HREF=\"u\"><BR>x<IMG SRC=\"i\"></A>"}, ItalicLetter),
            TextLines{"<DT><A HREF=\"u\"><I><BR>x<IMG SRC=\"i\"></I></A>"});
}

TEST(Emphasis, RemovalTakesOnePairPerLineInAnyCase) {
  EXPECT_EQ(Removed({"<DT><A HREF=\"u\"><b>Title</b></A>"}, BoldLetter),
            TextLines{"<DT><A HREF=\"u\">Title</A>"});
  // Opening tag without a closing one: only the opening tag goes.
  EXPECT_EQ(Removed({"<DT><A HREF=\"u\"><B>Title</A>"}, BoldLetter), TextLines{"<DT><A HREF=\"u\">Title</A>"});
  // A closing tag without an opening one is left alone.
  EXPECT_EQ(Removed({"<DT><A HREF=\"u\">Title</B></A>"}, BoldLetter), TextLines{"<DT><A HREF=\"u\">Title</B></A>"});
  EXPECT_EQ(Removed({"<DT><A HREF=\"u\"><B><B>T</B></B></A>"}, BoldLetter),
            TextLines{"<DT><A HREF=\"u\"><B>T</B></A>"});
}

TEST(Emphasis, FileNamesFromWrappedDescriptionsAreUnchanged) {
  const TextLines doc = {
      "<DT><A HREF=\"u\">Title</A>",       "<DT><A HREF=\"u\">  What? Now!</A>",
      "<DT><A HREF=\"u\">#Daily News 5</A>", "<DT><A HREF=\"u\">a < b</A>",
      "<DT><A HREF=\"u\">x > y: z</A>",      "<DT><A HREF=\"u\" ADD_DATE=\"1\">C:\\dir|*</A>",
  };
  const TextLines bold = Applied(doc, BoldLetter);
  const TextLines both = Applied(bold, ItalicLetter);
  for (size_t i = 0; i < doc.size(); ++i) {
    ASSERT_NE(bold[i], doc[i]);
    EXPECT_EQ(DerivedName(bold[i]), DerivedName(doc[i])) << doc[i];
    EXPECT_EQ(DerivedName(both[i]), DerivedName(doc[i])) << doc[i];
  }
}

TEST(Emphasis, ToggleFollowsTheCheckMarkAndLeavesAnEmptyDocumentAlone) {
  TestContext t;
  bool checked = true;
  EXPECT_FALSE(ToggleEffect(t.Ctx, BoldLetter, checked));
  EXPECT_TRUE(checked);
  EXPECT_EQ(t.UI.BusyCount, 0);
  EXPECT_TRUE(t.Ctx.HtmlLines.empty());

  t.Ctx.HtmlLines = {"<DT><A HREF=\"u\">Title</A>"};
  checked = false;
  EXPECT_TRUE(ToggleEffect(t.Ctx, BoldLetter, checked));
  EXPECT_TRUE(checked);
  EXPECT_EQ(t.Ctx.HtmlLines[0], "<DT><A HREF=\"u\"><B>Title</B></A>");
  EXPECT_TRUE(ToggleEffect(t.Ctx, BoldLetter, checked));
  EXPECT_FALSE(checked);
  EXPECT_EQ(t.Ctx.HtmlLines[0], "<DT><A HREF=\"u\">Title</A>");
  EXPECT_EQ(t.UI.BusyDepth, 0);

  // The mark is not derived from the document: set at start while the
  // document holds no emphasis, the first toggle removes nothing.
  checked = true;
  EXPECT_TRUE(ToggleEffect(t.Ctx, ItalicLetter, checked));
  EXPECT_FALSE(checked);
  EXPECT_EQ(t.Ctx.HtmlLines[0], "<DT><A HREF=\"u\">Title</A>");
}

}  // namespace
}  // namespace quillet
