// Stripping the browser's date attributes from the document.
#include <gtest/gtest.h>

#include "cleanup/StripNetscapeTags.h"
#include "tests/support/BrowserExports.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

TextLines Strip(TextLines lines) {
  test::TestContext t;
  t.Ctx.HtmlLines = std::move(lines);
  StripNetscapeTags(t.Ctx);
  return t.Ctx.HtmlLines;
}

TEST(StripNetscapeTags, RemovesTheBookkeepingAndKeepsTheUsersAttributes) {
  const struct {
    std::string in, want;
    size_t gone;
  } cases[] = {
      {"<DT><A HREF=\"u\" ADD_DATE=\"1\" LAST_VISIT=\"2\" LAST_MODIFIED=\"3\">Title</A>", "<DT><A HREF=\"u\">Title</A>", 3},
      // Attributes before the first date stay, unless they are bookkeeping.
      {"    <DT><H3 FOLDED ADD_DATE=\"1\">News</H3>", "    <DT><H3 FOLDED>News</H3>", 1},
      {"<DT><A HREF=\"u\" ICON=\"data:x\" ADD_DATE=\"1\" LAST_CHARSET=\"UTF-8\">Icon</A>", "<DT><A HREF=\"u\">Icon</A>", 3},
      // After it, only the user's own attributes stay, in their order.
      {"<DT><A HREF=\"u\" ADD_DATE=\"1\" ID=\"rdf:#$x\" TAGS=\"a,b\" SHORTCUTURL=\"k\">T</A>",
       "<DT><A HREF=\"u\" TAGS=\"a,b\" SHORTCUTURL=\"k\">T</A>", 2},
      {"<A ADD_DATE=\"1\" HREF=\"u\">T</A>", "<A HREF=\"u\">T</A>", 1},
      {"<DT><H3 LAST_MODIFIED=\"2\" ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>",
       "<DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>", 2},
      {"<DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\" UNFILED_BOOKMARKS_FOLDER=\"true\">Other</H3>",
       "<DT><H3 UNFILED_BOOKMARKS_FOLDER=\"true\">Other</H3>", 2},
      // Every link of a line; values quoted either way, unquoted or holding "=" or ">".
      {"<DT><A HREF=\"a\" ADD_DATE=\"1\">A</A><DT><A HREF=\"b\" ADD_DATE=\"2\">B</A>",
       "<DT><A HREF=\"a\">A</A><DT><A HREF=\"b\">B</A>", 2},
      {"<dt><a href=\"u\"\tADD_DATE=1 ICON='x>y' TAGS=\"p=q\" WEBSITE = \"w\">T</a>", "<dt><a href=\"u\" TAGS=\"p=q\">T</a>", 3},
      // Names count in capitals only; other tags and text are no tags of a link.
      {"<DT><A HREF=\"u\" add_date=\"1\" icon=\"i\">lower case</A>", "", 0},
      {"<DD ADD_DATE=\"1\">x <H1 ICON=\"i\">y</H1> ADD_DATE=\"1\"> <AB ICON=\"i\">", "", 0},
      // A tag that does not close on the line stays whole.
      {"<DT><A HREF=\"u\" ADD_DATE=\"1", "", 0},
      {"<DT><A HREF=\"u\" ADD_DATE=\"1\"", "", 0},
      {"<DT><A HREF=\"u\">x</A><A ADD_DATE=\"1\" TAGS=\"unclosed>", "", 0},
  };
  for (const auto& c : cases) {
    test::TestContext t;
    t.Ctx.HtmlLines = {c.in};
    EXPECT_EQ(StripNetscapeTags(t.Ctx), c.gone) << c.in;
    EXPECT_EQ(t.Ctx.HtmlLines[0], c.want.empty() ? c.in : c.want);
  }
}

// The browsers' exports lose every bookkeeping attribute and keep tags,
// keywords and the toolbar's mark; a second strip changes nothing.
TEST(StripNetscapeTags, BrowserExportsKeepTheUsersData) {
  for (const TextLines* exported : {&test::kFirefoxExport, &test::kChromiumExport}) {
    const TextLines once = Strip(*exported);
    ASSERT_EQ(once.size(), exported->size());
    for (size_t i = 0; i < once.size(); ++i) {
      for (const char* name : {"ADD_DATE=", "LAST_MODIFIED=", "ICON=", "ICON_URI=", "LAST_CHARSET=", "FEEDURL=", "WEBSITE="})
        EXPECT_EQ(once[i].find(name), std::string::npos) << once[i];
      for (const char* kept : {" TAGS=\"", " SHORTCUTURL=\"", " PERSONAL_TOOLBAR_FOLDER=\"true\""})
        EXPECT_EQ((*exported)[i].find(kept) != std::string::npos, once[i].find(kept) != std::string::npos) << once[i];
    }
    EXPECT_EQ(Strip(once), once);
  }
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
      "",
      "<DL><p>",
  };
  EXPECT_EQ(Strip(same), same);
  EXPECT_TRUE(Strip({}).empty());
}

}  // namespace
}  // namespace quillet
