#include "cleanup/RemoveDuplicateLinks.h"

#include <gtest/gtest.h>

#include <random>

#include "bookmarks/BookmarkFormat.h"
#include "tests/support/BrowserExports.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::TestContext;

std::string Link(const std::string& address, const std::string& description) {
  return "<DT><A HREF=\"" + address + "\">" + description + "</A>";
}

TextLines Deduplicated(TextLines doc) {
  TestContext t;
  t.Ctx.HtmlLines = std::move(doc);
  RemoveDuplicateLinks(t.Ctx);
  EXPECT_EQ(t.UI.BusyDepth, 0);
  return t.Ctx.HtmlLines;
}

TEST(RemoveDuplicateLinksTest, ADescriptionLineGoesWithItsLink) {
  const TextLines doc = {Link("http://a/", "A"), "<DD>first", Link("http://a/", "again"), "<DD>second",
                         Link("http://a/", "third"), "", "<DD>third's", Link("http://b/", "B"),
                         "<DD>B's"};
  TestContext t;
  t.Ctx.HtmlLines = doc;
  EXPECT_EQ(RemoveDuplicateLinks(t.Ctx), 2u);
  // The blank line between a link and its description stays, as blank
  // lines after a removed link always do.
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{Link("http://a/", "A"), "<DD>first", "", Link("http://b/", "B"), "<DD>B's"}));
}

TEST(RemoveDuplicateLinksTest, AMultiLineDescriptionGoesWhole) {
  // The export's second link to www.python.org, with its two-line
  // description; the list's end after it stays.
  TextLines want = test::kFirefoxExport;
  want.erase(want.begin() + 31, want.begin() + 34);
  EXPECT_EQ(Deduplicated(test::kFirefoxExport), want);
  // Blank lines inside a description go with it, those around it stay.
  EXPECT_EQ(Deduplicated({Link("http://a/", "A"), Link("http://a/", "again"), "", "<DD>one", "", "two", "",
                          "<DT><H3>F</H3>"}),
            (TextLines{Link("http://a/", "A"), "", "", "<DT><H3>F</H3>"}));
}

TEST(RemoveDuplicateLinksTest, KeepsTheFirstLinkOfEachAddressAndEveryOtherLine) {
  const TextLines doc = {
      "<DL><p>", "<DT><H3>One</H3>", "<DL><p>", Link("http://a/", "A"), "", Link("ERROR", "x"),
      "</DL><p>", "<DT><H3>Two</H3>", "<DL><p>", Link("http://a/", "Again"), "",
      Link("http://A/", "case"), Link("http://a", "no slash"), Link("http://b/", "A"),
      Link("ERROR", "y"), Link("ERROR", "z"), "<DT><A HREF=\"#top\">1</A>", "<DT><A HREF=\"#top\">2</A>",
      "</DL><p>", "</DL><p>"};
  const TextLines want = {
      "<DL><p>", "<DT><H3>One</H3>", "<DL><p>", Link("http://a/", "A"), "", Link("ERROR", "x"),
      "</DL><p>", "<DT><H3>Two</H3>", "<DL><p>", "",
      Link("http://A/", "case"), Link("http://a", "no slash"), Link("http://b/", "A"),
      "<DT><A HREF=\"#top\">1</A>", "<DT><A HREF=\"#top\">2</A>", "</DL><p>", "</DL><p>"};
  const TextLines once = Deduplicated(doc);
  EXPECT_EQ(once, want);
  EXPECT_EQ(Deduplicated(once), once);
  EXPECT_EQ(Deduplicated({}), TextLines{});
}

// The rule written out plainly: every line against every later line, the
// address computed afresh at each comparison.
TextLines ReferenceRemoval(TextLines lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string a = LinkAddress(lines[i]);
    if (a.empty()) continue;
    size_t j = i + 1;
    while (j < lines.size()) {
      if (LinkAddress(lines[j]) == a)
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(j));
      else
        ++j;
    }
  }
  return lines;
}

TEST(RemoveDuplicateLinksTest, MatchesThePlainQuadraticRuleOnRandomDocuments) {
  std::mt19937 rng(42);
  const std::vector<std::string> forms = {
      Link("http://a/", "A"), Link("http://A/", "A"), Link("http://a", "A"), Link("http://a/", "B"),
      Link("ERROR", "E"), Link("", "empty"), "<DT><A HREF=\"#x\">hash</A>", "<DT><A HREF=http://a/>bare</A>",
      "<dt><a href = \"http://a/\">spaced</a>", "<A HREF=\"http://c/", "<DT><H3>F</H3>", "<DL><p>",
      "</DL><p>", "", "  "};
  std::uniform_int_distribution<size_t> pick(0, forms.size() - 1);
  for (int round = 0; round < 500; ++round) {
    TextLines doc;
    for (int n = std::uniform_int_distribution<int>(0, 30)(rng); n > 0; --n) doc.push_back(forms[pick(rng)]);
    ASSERT_EQ(Deduplicated(doc), ReferenceRemoval(doc)) << "round " << round;
  }
}

}  // namespace
}  // namespace quillet
