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

}  // namespace
}  // namespace quillet
