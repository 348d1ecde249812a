#include "app/DisplayCodec.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

std::string AllBytes() {
  std::string s;
  for (int b = 1; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

TEST(DisplayCodec, ValidUtf8IsShownAsUtf8) {
  EXPECT_EQ(ChooseDisplayEncoding({"plain ascii", "Gr\xC3\xBC\xC3\x9F", "\xF0\x9F\x94\x96"}), DisplayEncoding::Utf8);
  EXPECT_EQ(ChooseDisplayEncoding({}), DisplayEncoding::Utf8);
}

TEST(DisplayCodec, AnyInvalidSequenceMakesTheWholeDocumentWindows1252) {
  for (const char* bad : {"caf\xE9", "\xC0\xAF",     // overlong
                          "\xED\xA0\x80",            // surrogate
                          "\xF4\x90\x80\x80",        // above U+10FFFF
                          "\xE2\x82", "\x80", "\xFF"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ChooseDisplayEncoding({"fine \xC3\xA9", bad}), DisplayEncoding::Windows1252);
  }
}

TEST(DisplayCodec, CharactersTheEditorWouldBreakALineAtAreNotShownAsUtf8) {
  EXPECT_EQ(ChooseDisplayEncoding({"a\xE2\x80\xA9" "b"}), DisplayEncoding::Windows1252);
  EXPECT_EQ(ChooseDisplayEncoding({"a\xEF\xB7\x90"}), DisplayEncoding::Windows1252);
  EXPECT_EQ(ChooseDisplayEncoding({"a\xE2\x80\xA8" "b"}), DisplayEncoding::Utf8);
}

TEST(DisplayCodec, Windows1252DecodesTheSpecialRangeAndKeepsTheUndefinedBytes) {
  EXPECT_EQ(DecodeForDisplay("\x80\x85\x99\x9F", DisplayEncoding::Windows1252),
            "\xE2\x82\xAC\xE2\x80\xA6\xE2\x84\xA2\xC5\xB8");
  EXPECT_EQ(DecodeForDisplay("\x81\x8D\x8F\x90\x9D", DisplayEncoding::Windows1252),
            "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(DecodeForDisplay("caf\xE9\xA0", DisplayEncoding::Windows1252), "caf\xC3\xA9\xC2\xA0");
}

TEST(DisplayCodec, EveryByteSurvivesTheRoundTripInBothEncodings) {
  const std::string bytes = AllBytes();
  EXPECT_EQ(EncodeFromDisplay(DecodeForDisplay(bytes, DisplayEncoding::Windows1252), DisplayEncoding::Windows1252),
            bytes);
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\x96";
  EXPECT_EQ(EncodeFromDisplay(DecodeForDisplay(utf8, DisplayEncoding::Utf8), DisplayEncoding::Utf8), utf8);
}

TEST(DisplayCodec, CharactersWindows1252CannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(EncodeFromDisplay("\xC5\x82\xE2\x82\xAC\xF0\x9F\x94\x96", DisplayEncoding::Windows1252), "?\x80?");
  EXPECT_EQ(EncodeFromDisplay("\xC2\x80", DisplayEncoding::Windows1252), "?");
  EXPECT_EQ(EncodeFromDisplay("a\xFF" "b", DisplayEncoding::Windows1252), "a?b");
}

}  // namespace
}  // namespace quillet
