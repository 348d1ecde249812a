// Where lines break: at blanks as ever for text written with blanks,
// between the characters of scripts written without them, and inside a
// word wider than its line where Unicode's rules allow, else at the edge.
#include <gtest/gtest.h>

#include <random>

#include "platform/TextCodec.h"
#include "tests/viewer/layout/LayoutFixture.h"

namespace quillet {
namespace {

using test::LayoutFixture;

// The lines of text laid out in columns characters (8 pixels each).
std::vector<std::u16string> LinesOf(std::u16string_view text, int columns) {
  LayoutFixture f;
  TSection& s = f.AddSection(text);
  f.Layout(columns * 8);
  std::vector<std::u16string> lines;
  for (const LineRec& line : s.Lines) lines.emplace_back(s.LineText(line));
  return lines;
}

TEST(LineBreaks, LinesBreakWhereAReaderExpects) {
  struct Case {
    std::u16string Text;
    int Columns;
    std::vector<std::u16string> Lines;
  };
  const Case cases[] = {
      // Blanks first: a hyphen on a line with a blank changes nothing.
      {u"a well-known fact", 10, {u"a ", u"well-known ", u"fact"}},
      {u"abcdef gh", 6, {u"abcdef ", u"gh"}},
      // A word wider than its line: after hyphens and slashes, else at the edge.
      {u"self-contained-word", 8, {u"self-", u"containe", u"d-word"}},
      {u"http://example.org/a/very/long/path", 12, {u"http://", u"example.org/", u"a/very/long/", u"path"}},
      {u"abc defghijklmnop qr", 6, {u"abc ", u"defghi", u"jklmno", u"p qr"}},
      // Never inside a character as the reader sees it.
      {u"e\u0301e\u0301e\u0301", 3, {u"e\u0301", u"e\u0301", u"e\u0301"}},
      {u"\U0001F600\U0001F600\U0001F600\U0001F600", 3,
       {u"\U0001F600\U0001F600\U0001F600", u"\U0001F600"}},
      // Between ideographs and kana, but no line starts with a full stop.
      {u"日本語のテキスト。abc", 8, {u"日本語のテキス", u"ト。abc"}},
      {u"abc 日本語です", 6, {u"abc 日本", u"語です"}},
      // Korean breaks between syllables too, as browsers break it.
      {u"한국어 텍스트입니다", 5, {u"한국어 텍", u"스트입니다"}},
  };
  for (const Case& c : cases) EXPECT_EQ(LinesOf(c.Text, c.Columns), c.Lines) << Utf16ToUtf8(c.Text);
}

// Text written with blanks breaks exactly where it always did: after the
// last blank that fits, a word longer than the line aside.
TEST(LineBreaks, LatinTextBreaksAtTheSameBlanksAsBefore) {
  std::mt19937 random(29);
  const std::u16string letters = u"abcdefgh-./,;:!?()'\"0123456789";
  for (int round = 0; round < 300; ++round) {
    const int columns = 4 + static_cast<int>(random() % 20);
    std::u16string text;
    const int words = 1 + static_cast<int>(random() % 30);
    for (int w = 0; w < words; ++w) {
      if (w > 0) text.append(1 + random() % 2, u' ');
      const int length = 1 + static_cast<int>(random() % static_cast<unsigned>(columns));
      for (int i = 0; i < length; ++i) text += letters[random() % letters.size()];
    }
    // The rule of blanks alone.
    std::vector<std::u16string> expected;
    const int len = static_cast<int>(text.size());
    for (int start = 0; start < len;) {
      int end = std::min(start + columns, len);
      if (end < len) {
        const int c = end - 1;
        int j = c;
        while (j >= start && text[j] != u' ') --j;
        end = text[c] == u' ' ? c + 1 : j >= start ? j + 1 : c + 1;
        while (end < len && text[end] == u' ') ++end;
      }
      expected.push_back(text.substr(start, end - start));
      start = end;
    }
    ASSERT_EQ(LinesOf(text, columns), expected) << Utf16ToUtf8(text) << " in " << columns;
  }
}

TEST(LineBreaks, TheNarrowestWidthFollowsTheSameBreaks) {
  struct Case {
    std::u16string Text;
    int MinColumns;
  };
  const Case cases[] = {
      {u"ab well-known", 10},           // words are whole between blanks
      {u"http://a.org/b", 14},          // and an address is one word
      {u"日本語です", 1},                // ideographs stand alone
      {u"日本。", 2},                    // but a full stop keeps to the one before
      {u"abc 日本語テキスト", 3},
  };
  for (const Case& c : cases) {
    LayoutFixture f;
    TSection& s = f.AddSection(c.Text);
    int min = 0, max = 0;
    s.MinMaxWidth(f.canvas, min, max);
    EXPECT_EQ(min, c.MinColumns * 8) << Utf16ToUtf8(c.Text);
  }
}

}  // namespace
}  // namespace quillet
