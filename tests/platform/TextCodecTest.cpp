#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(TextCodec, DecodesToUtf16WithSurrogatePairsAboveTheBasicPlane) {
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
  ASSERT_EQ(ChooseTextEncoding(utf8), TextEncoding::Utf8);
  EXPECT_EQ(DecodeToUtf16(utf8, TextEncoding::Utf8), u"a\u00E9\u20AC\U0001F600");
  EXPECT_EQ(DecodeToUtf16(utf8, TextEncoding::Utf8).size(), 5u);
  EXPECT_EQ(Utf16ToUtf8(u"a\u00E9\u20AC\U0001F600"), utf8);

  // Windows-1252: one unit per byte, the special range mapped.
  EXPECT_EQ(ChooseTextEncoding("caf\xE9 \x80"), TextEncoding::Windows1252);
  EXPECT_EQ(DecodeToUtf16("caf\xE9 \x80", TextEncoding::Windows1252), u"caf\u00E9 \u20AC");
  // A stray byte in text read as UTF-8 becomes its Windows-1252 character.
  EXPECT_EQ(Utf8ToUtf16("a\x93" "b"), u"a\u201Cb");
  // An unpaired surrogate cannot be written as UTF-8.
  std::u16string lone = u"x";
  lone += static_cast<char16_t>(0xD800);
  EXPECT_EQ(Utf16ToUtf8(lone), "x\xEF\xBF\xBD");
}

TEST(TextCodec, AsciiRunsOfEveryLengthAroundOtherCharacters) {
  // ASCII is read eight bytes at a time: runs of every length up to and past
  // a word, with multi-byte characters between them.
  std::string utf8, cp1252;
  std::u16string want8, want1252;
  for (int i = 0; i < 40; ++i) {
    const std::string run(i % 19, static_cast<char>('a' + i % 26));
    utf8 += run + "\xC3\xA9";
    cp1252 += run + "\xE9";
    want8 += std::u16string(run.begin(), run.end()) + u"\u00E9";
    want1252 += std::u16string(run.begin(), run.end()) + u"\u00E9";
  }
  utf8 += "tail";
  want8 += u"tail";
  ASSERT_EQ(ChooseTextEncoding(utf8), TextEncoding::Utf8);
  EXPECT_EQ(DecodeToUtf16(utf8, TextEncoding::Utf8), want8);
  ASSERT_EQ(ChooseTextEncoding(cp1252), TextEncoding::Windows1252);
  EXPECT_EQ(DecodeToUtf16(cp1252, TextEncoding::Windows1252), want1252);
  // A bad byte after a long ASCII run still makes the whole text Windows-1252.
  EXPECT_EQ(ChooseTextEncoding(std::string(64, 'x') + "\xE9" + std::string(9, 'y')), TextEncoding::Windows1252);
  EXPECT_EQ(ChooseTextEncoding(std::vector<std::string>{std::string(17, 'x'), std::string(16, 'z') + "\xFF"}),
            TextEncoding::Windows1252);
}

}  // namespace
}  // namespace quillet
