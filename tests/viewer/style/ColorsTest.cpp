// Colour values and alignment keywords.
#include "viewer/style/Colors.h"

#include <gtest/gtest.h>

#include "tests/viewer/text/TokenDump.h"

namespace quillet {
namespace {

// The colour read, or the marker 0xDEADBEEF when the text names none.
TColor Color(const std::u16string& text) {
  TColor c = 0xDEADBEEF;
  const bool named = ColorFromString(text, c);
  EXPECT_EQ(named, c != 0xDEADBEEF) << Utf16ToUtf8(text);
  return c;
}

constexpr TColor kNone = 0xDEADBEEF;

// Stand-ins for the layout's alignment types.
enum class Justify { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

TEST(ColorFromString, ReadsNamesInAnyLetterCase) {
  EXPECT_EQ(Color(u"red"), clRed);
  EXPECT_EQ(Color(u"RED"), clRed);
  EXPECT_EQ(Color(u"Navy"), clNavy);
  EXPECT_EQ(Color(u"fuchsia"), RgbColor(0xFF, 0x00, 0xFF));
  EXPECT_EQ(Color(u"olive"), RgbColor(0x80, 0x80, 0x00));
  EXPECT_EQ(Color(u"Silver"), clSilver);
  EXPECT_EQ(Color(u"aqua"), RgbColor(0x00, 0xFF, 0xFF));
  EXPECT_EQ(Color(u"red "), kNone);
  EXPECT_EQ(Color(u"orange"), kNone);
}

TEST(ColorFromString, ReadsHexadecimalRgbWithOrWithoutHash) {
  EXPECT_EQ(Color(u"#FF0000"), clRed);
  EXPECT_EQ(Color(u"ff0000"), clRed);
  EXPECT_EQ(Color(u"#123456"), RgbColor(0x12, 0x34, 0x56));
  EXPECT_EQ(Color(u"12#3456"), RgbColor(0x12, 0x34, 0x56));  // the first "#" anywhere
  EXPECT_EQ(Color(u"#fff"), RgbColor(0x00, 0x0F, 0xFF));     // a number, not a short form
  EXPECT_EQ(Color(u"#7FFF0000"), clRed);                     // low 24 bits
  EXPECT_EQ(Color(u"#000000000FF"), clBlue);
  EXPECT_EQ(Color(u"#GGHHII"), kNone);
  EXPECT_EQ(Color(u"##FF0000"), kNone);
  EXPECT_EQ(Color(u"#123456789"), kNone);  // no 32-bit number
  EXPECT_EQ(Color(u"#"), kNone);
  EXPECT_EQ(Color(u""), kNone);
  EXPECT_EQ(Color(u"FF 00 00"), kNone);
}

TEST(AlignmentKeywords, KeywordsInAnyLetterCase) {
  EXPECT_EQ(AlignmentFromString<Justify>(u"left"), Justify::Left);
  EXPECT_EQ(AlignmentFromString<Justify>(u"CENTER"), Justify::Center);
  EXPECT_EQ(AlignmentFromString<Justify>(u"Right"), Justify::Right);
  EXPECT_EQ(AlignmentFromString<Justify>(u"middle"), std::nullopt);
  EXPECT_EQ(AlignmentFromString<Justify>(u"centre"), std::nullopt);
  EXPECT_EQ(AlignmentFromString<Justify>(u""), std::nullopt);

  EXPECT_EQ(VAlignmentFromString<VAlign>(u"top"), VAlign::Top);
  EXPECT_EQ(VAlignmentFromString<VAlign>(u"BASELINE"), VAlign::Top);
  EXPECT_EQ(VAlignmentFromString<VAlign>(u"Middle"), VAlign::Middle);
  EXPECT_EQ(VAlignmentFromString<VAlign>(u"bottom"), VAlign::Bottom);
  EXPECT_EQ(VAlignmentFromString<VAlign>(u"center"), std::nullopt);
}

TEST(AlignmentKeywords, ReadFromATagsAttributes) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"<TD ALIGN=Center VALIGN=\"baseline\"><TD ALIGN=justify><TD>");
  tok.NextToken();
  EXPECT_EQ(ReadAlignment<Justify>(tok.Attributes()), Justify::Center);
  EXPECT_EQ(ReadVAlignment<VAlign>(tok.Attributes()), VAlign::Top);
  tok.NextToken();
  EXPECT_EQ(ReadAlignment<Justify>(tok.Attributes()), std::nullopt);
  tok.NextToken();
  EXPECT_EQ(ReadAlignment<Justify>(tok.Attributes()), std::nullopt);
  EXPECT_EQ(ReadVAlignment<VAlign>(tok.Attributes()), std::nullopt);
}

}  // namespace
}  // namespace quillet
