#include <gtest/gtest.h>

#include <random>

#include "platform/IcuCollation.h"
#include "platform/Utf8.h"

namespace quillet {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(IcuCollationTest, IgnoresCaseButNotAccents) {
  IcuCollation c("");
  EXPECT_EQ(c.Compare("Alpha", "alpha"), 0);
  EXPECT_EQ(c.SortKey("Alpha"), c.SortKey("ALPHA"));
  EXPECT_LT(c.Compare("Alpha", "beta"), 0);
  EXPECT_NE(c.Compare("resume", "r\xC3\xA9sum\xC3\xA9"), 0);
  EXPECT_LT(c.SortKey("abc"), c.SortKey("abcd"));
}

TEST(IcuCollationTest, ReadsUtf8WhenValidElseWindows1252) {
  IcuCollation c("");
  EXPECT_EQ(c.Compare("caf\xC3\xA9", "CAF\xE9"), 0);         // é in UTF-8 and in 1252
  EXPECT_EQ(c.Compare("\xE2\x82\xAC" "5", "\x80" "5"), 0);  // the euro sign
  // A stray byte makes the whole text Windows-1252: "Ã©" is not "é".
  EXPECT_NE(c.Compare("caf\xC3\xA9\xFF", "caf\xE9\xFF"), 0);
}

TEST(IcuCollationTest, PosixAndCMeanRootCollationThatStillIgnoresCase) {
  EXPECT_EQ(IcuLocaleId("C"), "");
  EXPECT_EQ(IcuLocaleId("POSIX"), "");
  EXPECT_EQ(IcuLocaleId("C.UTF-8"), "");
  EXPECT_EQ(IcuLocaleId("de_DE.UTF-8@euro"), "de_DE");
  for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
    IcuCollation c(name);
    EXPECT_LT(c.Compare("alpha", "Beta"), 0) << name;
    EXPECT_EQ(c.Compare("alpha", "ALPHA"), 0) << name;
  }
}

TEST(IcuCollationTest, FollowsTheLocale) {
  IcuCollation root(""), swedish("sv_SE.UTF-8"), unknown("xx_NOWHERE");
  EXPECT_LT(root.Compare("\xC3\x96l", "Zebra"), 0);  // Öl sorts with O
  EXPECT_GT(swedish.Compare("\xC3\x96l", "Zebra"), 0);  // Ö comes after Z
  EXPECT_LT(unknown.Compare("\xC3\x96l", "Zebra"), 0);
  EXPECT_EQ(unknown.Compare("a", "A"), 0);
  // Sorting by the root collation for a name ICU does not know is said.
  EXPECT_FALSE(unknown.KnowsLocale());
  EXPECT_TRUE(swedish.KnowsLocale() && root.KnowsLocale() && IcuCollation("en_US.UTF-8").KnowsLocale());
}

TEST(IcuCollationTest, LocaleNameTakesLcAllThenLcCollateThenLang) {
  EXPECT_EQ(CollationLocaleName("sv_SE", "de_DE", "fr_FR"), "sv_SE");
  EXPECT_EQ(CollationLocaleName("", "de_DE", "fr_FR"), "de_DE");
  EXPECT_EQ(CollationLocaleName(nullptr, nullptr, "fr_FR"), "fr_FR");
  EXPECT_EQ(CollationLocaleName(nullptr, "", nullptr), "");
}

TEST(IcuCollationTest, KeyOrderIsCompareOrder) {
  IcuCollation c("");
  const char* pieces[] = {"a", "A", "b", "\xC3\xA9", "e", "E", " ", "-", "1", "\xE9", "\xB9", "z", ""};
  std::mt19937 rng(7);
  std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1), len(0, 5);
  auto text = [&] {
    std::string s;
    for (size_t n = len(rng); n > 0; --n) s += pieces[pick(rng)];
    return s;
  };
  for (int i = 0; i < 3000; ++i) {
    const std::string a = text(), b = text();
    EXPECT_EQ(Sign(c.SortKey(a).compare(c.SortKey(b))), Sign(c.Compare(a, b))) << a << " | " << b;
  }
}

TEST(Utf8Test, AcceptsWellFormedTextOnly) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE9"));             // 1252 é
  EXPECT_FALSE(IsValidUtf8("\xB9"));             // stray continuation
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));         // overlong
  EXPECT_FALSE(IsValidUtf8("\xE0\x9F\xBF"));     // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut short
}

TEST(Utf8Test, ACutNeverSplitsACharacter) {
  const std::string euros = "a\xE2\x82\xAC\xE2\x82\xAC";  // a, two three-byte characters
  for (size_t max = 0; max <= 8; ++max) {
    static const size_t want[] = {0, 1, 1, 1, 4, 4, 4, 7, 7};
    EXPECT_EQ(Utf8CutLength(euros, max), want[max]) << max;
  }
  EXPECT_EQ(Utf8CutLength("\xF0\x9F\x98\x80x", 3), 0u);
  // Bytes of another encoding are characters each.
  EXPECT_EQ(Utf8CutLength("\xE9\xE9\xE9\xE9", 2), 2u);
  EXPECT_EQ(Utf8CutLength("\xC3\xC3\xC3", 1), 1u);
}

}  // namespace
}  // namespace quillet
