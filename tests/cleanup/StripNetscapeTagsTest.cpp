// Stripping the browser's date attributes from the document.
#include <gtest/gtest.h>

#include "cleanup/StripNetscapeTags.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

TextLines Strip(TextLines lines) {
  test::TestContext t;
  t.Ctx.HtmlLines = std::move(lines);
  StripNetscapeTags(t.Ctx);
  return t.Ctx.HtmlLines;
}

TEST(StripNetscapeTags, RemovesFromTheMarkerToTheTagEnd) {
  const TextLines in = {
      "<DT><A HREF=\"u\" ADD_DATE=\"1\" LAST_VISIT=\"2\" LAST_MODIFIED=\"3\">Title</A>",
      "    <DT><H3 FOLDED ADD_DATE=\"1\">News</H3>",
      "<DT><A HREF=\"a\" ADD_DATE=\"1\">A</A><DT><A HREF=\"b\" ADD_DATE=\"2\">B</A>",
      "<DT><A HREF=\"u\" ICON=\"data:x\" ADD_DATE=\"1\" LAST_CHARSET=\"UTF-8\">Icon</A>",
  };
  const TextLines want = {
      "<DT><A HREF=\"u\">Title</A>",
      "    <DT><H3 FOLDED>News</H3>",  // attributes before the marker stay
      "<DT><A HREF=\"a\">A</A><DT><A HREF=\"b\" ADD_DATE=\"2\">B</A>",  // first link only
      "<DT><A HREF=\"u\" ICON=\"data:x\">Icon</A>",
  };
  EXPECT_EQ(Strip(in), want);
  // Each attribute that went counts once, an "=" inside a value not at all.
  test::TestContext t;
  t.Ctx.HtmlLines = in;
  t.Ctx.HtmlLines.push_back("<DT><A HREF=\"u\" ADD_DATE=\"1\" ICON=\"data:a=b\">x</A>");
  EXPECT_EQ(StripNetscapeTags(t.Ctx), 3u + 1u + 1u + 2u + 2u);
}

TEST(StripNetscapeTags, SecondRunChangesNothingOnOneElementPerLine) {
  const TextLines once = Strip({
      "<DL><p>",
      "<DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\">Reading</H3>",
      "<DT><A HREF=\"u\" ADD_DATE=\"1\" LAST_VISIT=\"2\">Title</A>",
      "</DL><p>",
  });
  EXPECT_EQ(once[1], "<DT><H3>Reading</H3>");
  EXPECT_EQ(Strip(once), once);
}

TEST(StripNetscapeTags, LeavesLinesItDoesNotRecognise) {
  const TextLines same = {
      "<DT><A HREF=\"u\" add_date=\"1\">lower case</A>",
      " ADD_DATE=\"1\">at the start</A>",
      "<DT><A HREF=\"u\" ADD_DATE=\"1",  // the tag does not close on this line
      "<DT><A HREF=\"u\" ADD_DATE=1>unquoted</A>",
      "",
      "<DL><p>",
  };
  EXPECT_EQ(Strip(same), same);
  EXPECT_TRUE(Strip({}).empty());
}

}  // namespace
}  // namespace quillet
