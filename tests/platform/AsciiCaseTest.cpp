#include <gtest/gtest.h>

#include "platform/AsciiCase.h"

namespace quillet {
namespace {

// Every byte and a stretch of UTF-16 beyond Latin-1: only A-Z and a-z
// change, each into its partner, and nothing else ever does.
template <typename C>
void CheckOnlyAsciiLettersChange(int last) {
  for (int v = 0; v <= last; ++v) {
    const C c = static_cast<C>(v);
    const bool upper = v >= 'A' && v <= 'Z', lower = v >= 'a' && v <= 'z';
    EXPECT_EQ(IsAsciiLetter(c), upper || lower) << v;
    EXPECT_EQ(UpperAscii(c), lower ? static_cast<C>(v - 32) : c) << v;
    EXPECT_EQ(LowerAscii(c), upper ? static_cast<C>(v + 32) : c) << v;
  }
}

TEST(AsciiCase, OnlyAsciiLettersChange) {
  CheckOnlyAsciiLettersChange<char>(255);
  CheckOnlyAsciiLettersChange<char16_t>(0x3000);
}

TEST(AsciiCase, StringsAndLimits) {
  EXPECT_EQ(UpperAscii("<a href=\xE9>"), "<A HREF=\xE9>");
  EXPECT_EQ(LowerAscii(u"\u00C9Tat", 3), u"\u00C9ta");
  EXPECT_EQ(UpperAscii(u"", 5), u"");
  EXPECT_TRUE(EqualIgnoringAsciiCase("Software\\Wine", "SOFTWARE\\wine"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("\xC9", "\xE9"));
  EXPECT_FALSE(EqualIgnoringAsciiCase(u"ab", u"abc"));
}

}  // namespace
}  // namespace quillet
