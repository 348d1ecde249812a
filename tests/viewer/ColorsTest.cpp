// Colour values and alignment keywords.
#include "viewer/Colors.h"

#include <gtest/gtest.h>

#include "tests/viewer/TokenDump.h"

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

TEST(Alignment, KeywordsInAnyLetterCase) {
  EXPECT_EQ(AlignmentFromString(u"left"), Alignment::Left);
  EXPECT_EQ(AlignmentFromString(u"CENTER"), Alignment::Center);
  EXPECT_EQ(AlignmentFromString(u"Right"), Alignment::Right);
  EXPECT_EQ(AlignmentFromString(u"middle"), std::nullopt);
  EXPECT_EQ(AlignmentFromString(u"centre"), std::nullopt);
  EXPECT_EQ(AlignmentFromString(u""), std::nullopt);

  EXPECT_EQ(VAlignmentFromString(u"top"), VAlignment::Top);
  EXPECT_EQ(VAlignmentFromString(u"BASELINE"), VAlignment::Top);
  EXPECT_EQ(VAlignmentFromString(u"Middle"), VAlignment::Middle);
  EXPECT_EQ(VAlignmentFromString(u"bottom"), VAlignment::Bottom);
  EXPECT_EQ(VAlignmentFromString(u"center"), std::nullopt);
}

TEST(Alignment, ReadFromATagsAttributes) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"<TD ALIGN=Center VALIGN=\"baseline\"><TD ALIGN=justify><TD>");
  tok.NextToken();
  EXPECT_EQ(ReadAlignment(tok.Attributes()), Alignment::Center);
  EXPECT_EQ(ReadVAlignment(tok.Attributes()), VAlignment::Top);
  tok.NextToken();
  EXPECT_EQ(ReadAlignment(tok.Attributes()), std::nullopt);
  tok.NextToken();
  EXPECT_EQ(ReadAlignment(tok.Attributes()), std::nullopt);
  EXPECT_EQ(ReadVAlignment(tok.Attributes()), std::nullopt);
}

}  // namespace
}  // namespace quillet
