// Named and numeric character references.
#include "viewer/text/CharRefs.h"

#include <gtest/gtest.h>

#include "tests/viewer/parser/ParserFixture.h"
#include "tests/viewer/text/TokenDump.h"

namespace quillet {
namespace {

using test::CompactOf;
using test::ParsedPage;

// What the reference at the start of text decodes to, and what is left
// unread after it.
struct Decoded {
  std::u16string Text;
  std::u16string Rest;
  bool operator==(const Decoded&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Decoded& d) {
  return os << "{" << Utf16ToUtf8(d.Text) << " | " << Utf16ToUtf8(d.Rest) << "}";
}

Decoded Decode(const std::u16string& text, LineBreakRefs breaks = LineBreakRefs::AsWritten) {
  ParseFlags flags;
  CharReader r(flags);
  r.SetText(text);
  Decoded d;
  ReadCharRef(r, d.Text, breaks);
  d.Rest = test::Chars(r);
  return d;
}

TEST(CharRefs, NamesCountLetterCaseAndNeedNoSemicolon) {
  EXPECT_EQ(Decode(u"&amp;x"), (Decoded{u"&", u"x"}));
  EXPECT_EQ(Decode(u"&amp x"), (Decoded{u"&", u" x"}));
  EXPECT_EQ(Decode(u"&AMP;x"), (Decoded{u"&AMP;", u"x"}));
  EXPECT_EQ(Decode(u"&lt;&gt;"), (Decoded{u"<", u"&gt;"}));
  EXPECT_EQ(Decode(u"&quot;"), (Decoded{u"\"", u""}));
  EXPECT_EQ(Decode(u"&ampx;"), (Decoded{u"&ampx;", u""}));
  EXPECT_EQ(Decode(u"& b"), (Decoded{u"&", u" b"}));
  EXPECT_EQ(Decode(u"&;"), (Decoded{u"&;", u""}));
  EXPECT_EQ(Decode(u"&"), (Decoded{u"&", u""}));
}

TEST(CharRefs, NamesAreSevenCharactersAtMost) {
  EXPECT_EQ(Decode(u"&abcdefgh;"), (Decoded{u"&abcdefg", u"h;"}));
  EXPECT_EQ(Decode(u"&abcdefg;"), (Decoded{u"&abcdefg;", u""}));
  EXPECT_EQ(Decode(u"&frac12;"), (Decoded{u"\u00BD", u""}));
}

TEST(CharRefs, LatinOneNamesRunFrom160To255) {
  EXPECT_EQ(NamedCharRef(u"nbsp"), 160);
  EXPECT_EQ(NamedCharRef(u"copy"), 169);
  EXPECT_EQ(NamedCharRef(u"iquest"), 191);
  EXPECT_EQ(NamedCharRef(u"Agrave"), 192);
  EXPECT_EQ(NamedCharRef(u"agrave"), 224);
  EXPECT_EQ(NamedCharRef(u"times"), 215);
  EXPECT_EQ(NamedCharRef(u"szlig"), 223);
  EXPECT_EQ(NamedCharRef(u"divide"), 247);
  EXPECT_EQ(NamedCharRef(u"yuml"), 255);
  EXPECT_EQ(NamedCharRef(u"apos"), 0);
  EXPECT_EQ(NamedCharRef(u"Nbsp"), 0);
  EXPECT_EQ(NamedCharRef(u""), 0);
}

TEST(CharRefs, DecimalNumbersOfSixDigitsAtMost) {
  EXPECT_EQ(Decode(u"&#65;"), (Decoded{u"A", u""}));
  EXPECT_EQ(Decode(u"&#65x"), (Decoded{u"A", u"x"}));
  EXPECT_EQ(Decode(u"&#0000065;"), (Decoded{u"&#000006", u"5;"}));
  EXPECT_EQ(Decode(u"&#1234567;"), (Decoded{u"&#123456", u"7;"}));
  EXPECT_EQ(Decode(u"&#9;"), (Decoded{u" ", u""}));
  EXPECT_EQ(Decode(u"&#7;"), (Decoded{u"&#7;", u""}));
  EXPECT_EQ(Decode(u"&#0;"), (Decoded{u"&#0;", u""}));
  EXPECT_EQ(Decode(u"&#31"), (Decoded{u"&#31", u""}));
  EXPECT_EQ(Decode(u"&#233;"), (Decoded{u"\u00E9", u""}));
  EXPECT_EQ(Decode(u"&#;"), (Decoded{u"&#", u";"}));
  EXPECT_EQ(Decode(u"&#a;"), (Decoded{u"&#", u"a;"}));
}

TEST(CharRefs, NumbersAbove255AreUnicodeAnd128To159AreWindows1252) {
  EXPECT_EQ(Decode(u"&#8217;"), (Decoded{u"\u2019", u""}));
  EXPECT_EQ(Decode(u"&#150;"), (Decoded{u"\u2013", u""}));
  EXPECT_EQ(Decode(u"&#128;"), (Decoded{u"\u20AC", u""}));
  EXPECT_EQ(Decode(u"&#129;"), (Decoded{u"\u0081", u""}));  // undefined in the code page: kept
  EXPECT_EQ(Decode(u"&#128512;"), (Decoded{u"\U0001F600", u""}));
  EXPECT_EQ(Decode(u"&#55296;"), (Decoded{u"&#55296;", u""}));  // a surrogate
  EXPECT_EQ(Decode(u"&#57343"), (Decoded{u"&#57343", u""}));
}

TEST(CharRefs, HexadecimalNumbersReadTheSameWay) {
  EXPECT_EQ(Decode(u"&#x41;"), (Decoded{u"A", u""}));
  EXPECT_EQ(Decode(u"&#X2019;"), (Decoded{u"\u2019", u""}));
  EXPECT_EQ(Decode(u"&#x96;"), (Decoded{u"\u2013", u""}));
  EXPECT_EQ(Decode(u"&#x1f600;"), (Decoded{u"\U0001F600", u""}));
  EXPECT_EQ(Decode(u"&#x10FFFF;"), (Decoded{u"\U0010FFFF", u""}));
  EXPECT_EQ(Decode(u"&#x110000;"), (Decoded{u"&#x110000;", u""}));
  EXPECT_EQ(Decode(u"&#xD800;"), (Decoded{u"&#xD800;", u""}));
  EXPECT_EQ(Decode(u"&#x1234567;"), (Decoded{u"&#x123456", u"7;"}));
  EXPECT_EQ(Decode(u"&#x7;"), (Decoded{u"&#x7;", u""}));
  EXPECT_EQ(Decode(u"&#x;"), (Decoded{u"&#x", u";"}));
  EXPECT_EQ(Decode(u"&#xg;"), (Decoded{u"&#x", u"g;"}));
}

TEST(CharRefs, LineBreaksInShownTextAreOneBlankEach) {
  for (const char16_t* ref : {u"&#10;", u"&#13;", u"&#x0D;", u"&#x0a", u"&#0013;"})
    EXPECT_EQ(Decode(ref, LineBreakRefs::AsBlank), (Decoded{u" ", u""})) << Utf16ToUtf8(ref);
  EXPECT_EQ(Decode(u"&#11;", LineBreakRefs::AsBlank), (Decoded{u"&#11;", u""}));
  // Attribute values and a text area's lines keep a CR reference as written
  // and read LF as a line end.
  EXPECT_EQ(Decode(u"&#13;"), (Decoded{u"&#13;", u""}));
  EXPECT_EQ(Decode(u"&#10;"), (Decoded{u"\n", u""}));
  // A name Quillet wrote with a line break shows one blank there; in a
  // preformatted line each reference is a blank of its own.
  EXPECT_EQ(CompactOf("<DT><A HREF=\"a&#13;b\">Line one&#13;&#10;Line two</A><PRE>x&#13;&#10;y</PRE>"),
            (std::vector<std::string>{"TSection |Line one Line two|", "TPreFormated |x  y|"}));
  EXPECT_EQ(ParsedPage("<A HREF=\"a&#13;b\">x</A>").RunAt(u"x").UrlTarget.Url(), u"a&#13;b");
}

TEST(CharRefs, NumbersSpanNoMoreThanTheReader) {
  // A reference stops at the end of a string-list line.
  ParseFlags flags;
  Tokenizer tok(flags);
  const std::vector<std::string> lines = {"&#65", "6;&amp"};
  tok.Reader().SetStrings(lines);
  EXPECT_EQ(test::Tokens(tok), "\"A\" \" 6;\" \"&\" \" \"");
}

}  // namespace
}  // namespace quillet
