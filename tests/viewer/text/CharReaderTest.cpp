// The character reader's four inputs and its normalisation.
#include "viewer/text/CharReader.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/viewer/text/TokenDump.h"

namespace quillet {
namespace {

using test::Chars;

std::u16string ReadText(const std::u16string& text) {
  ParseFlags flags;
  CharReader r(flags);
  r.SetText(text);
  return Chars(r);
}

std::u16string ReadLines(const std::vector<std::string>& lines) {
  ParseFlags flags;
  CharReader r(flags);
  r.SetStrings(lines);
  return Chars(r);
}

std::u16string ReadBytes(std::string_view bytes) {
  ParseFlags flags;
  CharReader r(flags);
  r.SetBuffer(bytes);
  return Chars(r);
}

TEST(CharReader, EveryLineEndFormIsOneCarriageReturnAndTabsAreSpaces) {
  EXPECT_EQ(ReadText(u"a\r\nb\n\rc\rd\ne\tf"), u"a\rb\rc\rd\re f");
  // Pairs join only as CR LF or LF CR; repeats stay separate line ends.
  EXPECT_EQ(ReadText(u"\r\r|\n\n|\r\n\r\n|\n\r\n|\r\n\n"), u"\r\r|\r\r|\r\r|\r\r|\r\r");
  EXPECT_EQ(ReadText(u"x\r"), u"x\r");
}

TEST(CharReader, StringListLinesEachEndWithALineEnd) {
  EXPECT_EQ(ReadLines({"<P>a", "", "b"}), u"<P>a\r\rb\r");
  EXPECT_EQ(ReadLines({}), u"");
  // A line that itself holds line ends is normalised like any text; a CR
  // closing one line and a LF opening the next are one line end.
  EXPECT_EQ(ReadLines({"a\nb", "\nc"}), u"a\rb\rc\r");
}

TEST(CharReader, StringListChoosesOneEncodingForAllLines) {
  // All lines valid UTF-8: read as UTF-8.
  EXPECT_EQ(ReadLines({"caf\xC3\xA9", "\xE2\x80\x99"}), u"caf\u00E9\r\u2019\r");
  // One line that is not: every line is Windows-1252, also the first.
  EXPECT_EQ(ReadLines({"caf\xC3\xA9", "\xE9\x80"}), u"caf\u00C3\u00A9\r\u00E9\u20AC\r");
}

TEST(CharReader, MemoryBlockAndFileAreDecodedByTheDocumentRule) {
  EXPECT_EQ(ReadBytes("caf\xC3\xA9\r\n"), u"caf\u00E9\r");
  EXPECT_EQ(ReadBytes("caf\xE9\x93x\x94"), u"caf\u00E9\u201Cx\u201D");
  EXPECT_EQ(ReadBytes(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));

  test::TempDir dir;
  test::WriteBytes(dir / "page.htm", "<B>caf\xE9</B>\n\tx");
  PosixFileSystem fs;
  ParseFlags flags;
  CharReader r(flags);
  r.SetFile(fs, dir / "page.htm");
  EXPECT_EQ(Chars(r), u"<B>caf\u00E9</B>\r x");
  EXPECT_THROW(r.SetFile(fs, dir / "missing.htm"), EFOpenError);
}

TEST(CharReader, CtrlZEndsTheInputForGood) {
  EXPECT_EQ(ReadText(u"ab\x1A" u"cd"), u"ab");
  EXPECT_EQ(ReadLines({"a\x1A" "b", "never read"}), u"a");
  EXPECT_EQ(ReadBytes("x\x1Ay"), u"x");

  ParseFlags flags;
  CharReader r(flags);
  r.SetText(u"a");
  r.Next();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(r.Ch(), kEofChar);
    r.Next();
  }
}

TEST(CharReader, UpperCaseChangesOnlyAsciiLetters) {
  ParseFlags flags;
  CharReader r(flags);
  r.SetText(u"a\u00E9Z1");
  std::u16string as_read, upper;
  for (; !r.AtEnd(); r.Next()) {
    as_read += r.Ch();
    upper += r.UpCh();
  }
  EXPECT_EQ(as_read, u"a\u00E9Z1");
  EXPECT_EQ(upper, u"A\u00E9Z1");
}

TEST(CharReader, OneCharacterCanBePushedBack) {
  ParseFlags flags;
  CharReader r(flags);
  r.SetText(u"ab");
  r.PushBack(u'x');
  EXPECT_EQ(r.Ch(), u'x');
  EXPECT_EQ(r.UpCh(), u'X');
  EXPECT_THROW(r.PushBack(u'y'), std::logic_error);
  r.Next();
  EXPECT_EQ(r.Ch(), u'a');
  r.Next();
  EXPECT_EQ(r.Ch(), u'b');
  // A fresh input forgets what was pushed back.
  r.PushBack(u'z');
  r.SetText(u"c");
  EXPECT_EQ(Chars(r), u"c");
}

}  // namespace
}  // namespace quillet
