#include "cleanup/SortLinks.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TextLines Sorted(TextLines doc, bool doubleSpace = false) {
  TestContext t;
  t.Ctx.Config.DoubleSpaceLines = doubleSpace;
  t.Ctx.HtmlLines = std::move(doc);
  SortLinks(t.Ctx);
  EXPECT_EQ(t.UI.BusyDepth, 0);
  return t.Ctx.HtmlLines;
}

TEST(SortLinksTest, OrdersEachRunIgnoringCaseAndKeepsOtherLinesInPlace) {
  const std::string beta = Link("http://b/", "beta"), alpha = Link("http://a/", "Alpha"),
                    zeta = Link("http://z/", "zeta"), mail = Link("mailto:x@y", "Mail"),
                    gamma = Link("http://g/", "Gamma"), delta = Link("http://d/", "delta");
  const TextLines doc = {"<DL><p>", beta, alpha, "<DT><H3>F</H3>", zeta, "", "   ", mail,
                         gamma, "</DL><p>", delta, beta};
  const TextLines want = {"<DL><p>", alpha, beta, "<DT><H3>F</H3>", zeta, mail,
                          gamma, "</DL><p>", beta, delta};
  EXPECT_EQ(Sorted(doc), want);
}

TEST(SortLinksTest, ADescriptionLineMovesWithItsLink) {
  const std::string beta = Link("http://b/", "beta"), alpha = Link("http://a/", "Alpha"),
                    gamma = Link("http://g/", "Gamma");
  // A description holding "://" is no link of its own; one after a heading
  // describes the folder and stays.
  const TextLines doc = {"<DT><H3>F</H3>", "<DD>About F", gamma,  "  <dd>Gamma, see http://g/", beta,
                         "",               "<DD>Beta",   alpha, "<DD>Alpha", "<DD>a second one stays"};
  const TextLines want = {"<DT><H3>F</H3>", "<DD>About F", alpha, "<DD>Alpha", beta,
                          "<DD>Beta",       gamma,         "  <dd>Gamma, see http://g/", "<DD>a second one stays"};
  TestContext t;
  t.Ctx.HtmlLines = doc;
  EXPECT_EQ(SortLinks(t.Ctx), 3u);
  EXPECT_EQ(t.Ctx.HtmlLines, want);
  EXPECT_FALSE(IsDescriptionLine("<DL><p>"));
  EXPECT_FALSE(IsDescriptionLine("<DDX>"));
  EXPECT_TRUE(IsDescriptionLine("\t<DD class=x>y"));
}

// The browsers' exports sorted: each description moves whole with its link,
// and a title comes before its longer versions.
TEST(SortLinksTest, BrowserExportsKeepDescriptionsWholeAndShortTitlesFirst) {
  auto pick = [](const TextLines& from, std::initializer_list<size_t> at) {
    TextLines lines;
    for (size_t i : at) lines.push_back(from.at(i));
    return lines;
  };
  const TextLines& firefox = test::kFirefoxExport;
  const TextLines& chromium = test::kChromiumExport;
  const struct {
    const TextLines& export_;
    TextLines want;
  } cases[] = {
      {firefox, pick(firefox, {0,  1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 12, 13, 18, 19, 20, 21, 14,
                               15, 17, 22, 23, 24, 25, 30, 27, 28, 29, 26, 31, 32, 33, 34, 36, 37, 38, 35, 39, 40, 41})},
      // Equal titles are ordered by their whole lines.
      {chromium, pick(chromium, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 10, 11, 13, 14})},
  };
  for (const auto& c : cases) EXPECT_EQ(Sorted(c.export_), c.want);
}

// Case-folded bytes: the plainest order a collation can give.
class ByteCollation : public Collation {
 public:
  std::string SortKey(std::string_view text) override { return LowerAscii(text); }
  int Compare(std::string_view a, std::string_view b) override { return LowerAscii(a).compare(LowerAscii(b)); }
};

TEST(SortLinksTest, ATitleComesBeforeEveryLongerVersionInByteAndLocaleOrder) {
  ByteCollation bytes;
  IcuCollation root(""), swedish("sv_SE");
  std::mt19937 rng(28);
  auto chance = [&] { return std::uniform_int_distribution<int>(0, 1)(rng) == 1; };
  auto word = [&] {
    static const char* const letters[] = {"a", "k", "N", "s", "w", "z", "3", "\xC3\xA9", "\xC3\xB6", "-"};
    std::string w;
    for (int n = std::uniform_int_distribution<int>(1, 6)(rng); n > 0; --n)
      w += letters[std::uniform_int_distribution<size_t>(0, std::size(letters) - 1)(rng)];
    return w;
  };
  auto at = [](const TextLines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  for (Collation* collation : std::initializer_list<Collation*>{&bytes, &root, &swedish}) {
    TestContext t;
    t.Ctx.Services.Collate = collation;
    t.Ctx.HtmlLines = {Link("http://1/", "Python docs"), Link("http://2/", "Newsletter"), Link("http://3/", "Python 3"),
                       Link("http://4/", "News archive"), Link("http://5/", "News"), Link("http://6/", "Python")};
    SortLinks(t.Ctx);
    EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{Link("http://5/", "News"), Link("http://4/", "News archive"),
                                          Link("http://2/", "Newsletter"), Link("http://6/", "Python"),
                                          Link("http://3/", "Python 3"), Link("http://1/", "Python docs")}));
    for (int round = 0; round < 300; ++round) {
      const std::string title = word() + (chance() ? " " + word() : "");
      const std::string longer = title + (chance() ? " " : "") + word();
      // The longer title's line comes first when whole lines are compared.
      const std::string shortLine = Link("http://z/", title), longLine = Link("http://a/", longer);
      t.Ctx.HtmlLines = {longLine, Link("http://m/", word()), shortLine};
      std::shuffle(t.Ctx.HtmlLines.begin(), t.Ctx.HtmlLines.end(), rng);
      SortLinks(t.Ctx);
      ASSERT_LT(at(t.Ctx.HtmlLines, shortLine), at(t.Ctx.HtmlLines, longLine)) << title << " | " << longer;
    }
  }
}

TEST(SortLinksTest, DoubleSpacingPutsOneEmptyLineAfterEveryLine) {
  const TextLines doc = {"<DL><p>", "", "", Link("http://b/", "b"), "\t", Link("http://a/", "a")};
  const TextLines want = {"<DL><p>", "", Link("http://a/", "a"), "", Link("http://b/", "b"), ""};
  EXPECT_EQ(Sorted(doc, true), want);
  EXPECT_EQ(Sorted({}, true), TextLines{});
  EXPECT_EQ(Sorted({"", " "}, true), TextLines{});
}

TEST(SortLinksTest, LowerCaseClosingTagGivesAnEmptyDescription) {
  const std::string zeta = "<DT><A HREF=\"http://z/\">Zeta</a>", alpha = Link("http://a/", "Alpha");
  EXPECT_EQ(Sorted({alpha, zeta}), (TextLines{zeta, alpha}));
}

TEST(SortLinksTest, EqualDescriptionsAreOrderedByTheWholeLine) {
  const std::string a = Link("http://x/2", "Same"), b = Link("http://x/1", "Same");
  EXPECT_EQ(Sorted({a, b}), (TextLines{b, a}));
  // Identical lines stay together.
  const std::string c = Link("http://c/", "C");
  EXPECT_EQ(Sorted({c, b, c}), (TextLines{c, c, b}));
}

TEST(SortLinksTest, LinesDifferingOnlyInCaseSwapOnEverySortAndNothingElseMoves) {
  const std::string lower = Link("http://a/", "abc"), upper = Link("HTTP://A/", "ABC");
  const TextLines first = Sorted({lower, upper, "<DT><H3>F</H3>", Link("http://y/", "y"),
                                  Link("http://x/", "x")});
  EXPECT_EQ(first[0], upper);
  EXPECT_EQ(first[1], lower);
  const TextLines second = Sorted(first);
  EXPECT_EQ(second[0], lower);
  EXPECT_EQ(second[1], upper);
  EXPECT_EQ(TextLines(second.begin() + 2, second.end()), TextLines(first.begin() + 2, first.end()));
}

TEST(SortLinksTest, TheDescriptionRunsFromTheTagEndToTheClosingTag) {
  EXPECT_EQ(LinkSortDescription("<A HREF=\"x://y\">Name</A>"), "Name");
  // Without '">' the description starts at the second character.
  EXPECT_EQ(LinkSortDescription("<A HREF=x://y>N</A>"), "A HREF=x://y>N");
  // "</A>" before '">' or missing: empty.
  EXPECT_EQ(LinkSortDescription("</A>\">x://"), "");
  EXPECT_EQ(LinkSortDescription("\">x://"), "");
}

TEST(SortLinksTest, FollowsTheCollationLocale) {
  TestContext t;
  IcuCollation swedish("sv_SE");
  t.Ctx.Services.Collate = &swedish;
  const std::string ol = Link("http://o/", "\xC3\x96l"), zebra = Link("http://z/", "Zebra");
  t.Ctx.HtmlLines = {ol, zebra};
  SortLinks(t.Ctx);
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{zebra, ol}));
  EXPECT_EQ(Sorted({zebra, ol}), (TextLines{ol, zebra}));
}

// The rule written out plainly: each link line inserted by halving the run,
// before any equal ones, by the collation's Compare of the descriptions and,
// on a tie, of the whole lines.
TextLines ReferenceSort(const TextLines& doc, Collation& coll, bool doubleSpace) {
  if (doc.empty()) return doc;
  auto pos = [](const std::string& s, const std::string& sub) {  // 1-based, 0 when absent
    const size_t p = s.find(sub);
    return p == std::string::npos ? size_t{0} : p + 1;
  };
  TextLines result;
  std::vector<std::pair<std::string, std::string>> run;  // description, line
  auto flush = [&] {
    for (auto& [key, line] : run) result.push_back(line);
    run.clear();
  };
  for (const std::string& line : doc) {
    bool blank = true;
    for (unsigned char c : line) blank = blank && c <= 32;
    if (blank) continue;
    if (pos(line, "://") == 0) {
      flush();
      result.push_back(line);
      continue;
    }
    const size_t p = pos(line, "\">");
    const size_t start = p == 0 ? 2 : p + 2, end = pos(line, "</A>");
    const std::string description = (end == 0 || end <= start) ? "" : line.substr(start - 1, end - start);
    size_t lo = 0, hi = run.size();
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      int c = coll.Compare(run[mid].first, description);
      if (c == 0) c = coll.Compare(run[mid].second, line);
      if (c < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    run.insert(run.begin() + static_cast<std::ptrdiff_t>(lo), {description, line});
  }
  flush();
  if (!doubleSpace) return result;
  TextLines spaced;
  for (const auto& line : result) spaced.insert(spaced.end(), {line, ""});
  return spaced;
}

TEST(SortLinksTest, MatchesThePlainInsertionRuleOnRandomDocuments) {
  std::mt19937 rng(20261208);
  auto pick = [&](std::initializer_list<const char*> items) {
    return std::string(items.begin()[std::uniform_int_distribution<size_t>(0, items.size() - 1)(rng)]);
  };
  auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
  auto randomLine = [&](const TextLines& sofar) -> std::string {
    if (!sofar.empty() && chance(10)) {
      std::string copy = sofar[std::uniform_int_distribution<size_t>(0, sofar.size() - 1)(rng)];
      if (chance(50)) copy = chance(50) ? UpperAscii(copy) : LowerAscii(copy);
      return copy;
    }
    if (chance(15))
      return pick({"", "  ", "\t", "<DL><p>", "</DL><p>", "<DT><H3>Folder</H3>", "<HR>",
                   "<DT><A HREF=\"mailto:a@b\">Mail</A>", "<DT><A HREF=\"rel.htm\">Rel</A>"});
    std::string description;
    for (int n = std::uniform_int_distribution<int>(0, 3)(rng); n > 0; --n)
      description += pick({"a", "A", "b", "Beta", "\xC3\xA9", "\xE9", "e", " ", "-", "Zeta", "\xB9"});
    const std::string address = pick({"http://a/", "HTTP://A/", "https://b", "ftp://x/y", "http://a"});
    if (chance(5)) return "<DT><A HREF=" + address + ">" + description + "</A>";
    return "<DT><A HREF=\"" + address + "\">" + description + pick({"</A>", "</A>", "</a>", ""});
  };
  TestContext t;
  for (int round = 0; round < 400; ++round) {
    TextLines doc;
    for (int n = std::uniform_int_distribution<int>(0, 40)(rng); n > 0; --n) doc.push_back(randomLine(doc));
    const bool doubleSpace = chance(30);
    t.Ctx.HtmlLines = doc;
    t.Ctx.Config.DoubleSpaceLines = doubleSpace;
    SortLinks(t.Ctx);
    ASSERT_EQ(t.Ctx.HtmlLines, ReferenceSort(doc, t.Collate, doubleSpace)) << "round " << round;
  }
}

}  // namespace
}  // namespace quillet
