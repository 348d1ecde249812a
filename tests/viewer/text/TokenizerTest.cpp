// Tags, attributes, text runs and the tokens around them.
#include "viewer/text/Tokenizer.h"

#include <gtest/gtest.h>

#include "tests/viewer/text/TokenDump.h"

namespace quillet {
namespace {

using test::Tokens;

TEST(Tags, AreFoundInAnyLetterCase) {
  EXPECT_EQ(Tokens(u"<TABLE><td>x</Td></table>"), "<TABLE> <TD> \"x\" </TD> </TABLE>");
  EXPECT_EQ(Tokens(u"<html><Title>T</TITLE><basefont><bgsound><wrap><meta>"),
            "<HTML> <TITLE> \"T\" </TITLE> <BASEFONT> <BGSOUND> <WRAP> <META>");
}

TEST(Tags, UnknownNamesAndEndTagsOfStartOnlyTagsAreUnknownTags) {
  EXPECT_EQ(Tokens(u"<LI>a</LI><BR></BR><foo>b</foo><IMGX>"), "<LI> \"a\" <?> <BR> <?> <?> \"b\" <?> <?>");
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"</Li>");
  EXPECT_EQ(tok.NextToken(), Sy::UnknownTag);
  EXPECT_EQ(tok.Text(), u"LI");
}

TEST(Tags, ALessThanThatStartsNoTagIsText) {
  EXPECT_EQ(Tokens(u"a < b"), "\"a \" \"<\" \" b\"");
  EXPECT_EQ(Tokens(u"1<2"), "\"1\" \"<\" \"2\"");
  // After "</" the "/" stays text too.
  EXPECT_EQ(Tokens(u"</ x>"), "\"<\" \"/ x\" other(>)");
  EXPECT_EQ(Tokens(u"a</"), "\"a\" \"<\" \"/\"");
  EXPECT_EQ(Tokens(u"<"), "\"<\"");
  EXPECT_EQ(Tokens(u"<\u00E9>"), "\"<\" \"\u00E9\" other(>)");
}

TEST(Tags, HeadingsTakeALevelFromOneToSix) {
  EXPECT_EQ(Tokens(u"<H1>a</H1><h6><H 3></h2>"), "<H1> \"a\" </H1> <H6> <H3> </H2>");
  // <H> is level 0; so is <H7>, whose 7 is skipped with anything else before ">".
  EXPECT_EQ(Tokens(u"<H><H7 ALIGN=center><H0>"), "<H> <H> <H>");
  EXPECT_EQ(Tokens(u"<H2 ALIGN=center>"), "<H2 ALIGN=center>");
  EXPECT_EQ(Tokens(u"<HR><HEAD>"), "<HR> <HEAD>");
}

TEST(Tags, LongNamesKeepTheirFirstCharactersAndAreSkippedWhole) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"<" + std::u16string(400, u'b') + u" x=1>t");
  EXPECT_EQ(tok.NextToken(), Sy::UnknownTag);
  EXPECT_EQ(tok.Text(), std::u16string(Tokenizer::kMaxTokenText, u'B'));
  EXPECT_EQ(tok.NextToken(), Sy::Text);
  EXPECT_EQ(tok.Text(), u"t");
}

TEST(Tags, JunkInsideATagIsSkippedToTheAngleBracket) {
  EXPECT_EQ(Tokens(u"<A \"junk\" HREF=x>t"), "<A> \"t\"");
  EXPECT_EQ(Tokens(u"<A HREF=x 1 ALT=y>t"), "<A HREF=x> \"t\"");
  EXPECT_EQ(Tokens(u"<TD\r\nWIDTH=5\r\n>"), "<TD WIDTH=5|5>");
  EXPECT_EQ(Tokens(u"<B"), "<B>");
  EXPECT_EQ(Tokens(u"<IMG SRC=\"a>b\" ALT=x>"), "<IMG SRC=a>b ALT=x>");
}

TEST(Attributes, ValuesAreQuotedNumbersOrBareWords) {
  EXPECT_EQ(Tokens(u"<TABLE BORDER>"), "<TABLE BORDER=|1>");
  EXPECT_EQ(Tokens(u"<TABLE BORDER=0 WIDTH=\"50%\">"), "<TABLE BORDER=0 WIDTH=50%|50>");
  EXPECT_EQ(Tokens(u"<TD WIDTH=50% HEIGHT = 20 %>"), "<TD WIDTH=50%|50 HEIGHT=20%|20>");
  EXPECT_EQ(Tokens(u"<FONT SIZE=+2 COLOR=#FF0000>"), "<FONT SIZE=+2|2 COLOR=#FF0000>");
  EXPECT_EQ(Tokens(u"<FONT SIZE=-1>"), "<FONT SIZE=-1|-1>");
  EXPECT_EQ(Tokens(u"<IMG WIDTH=50px HEIGHT='12' BORDER=\"thick\">"), "<IMG WIDTH=50px HEIGHT=12|12 BORDER=thick>");
  EXPECT_EQ(Tokens(u"<IMG WIDTH=\"50%%\" HEIGHT=99999999999>"), "<IMG WIDTH=50%% HEIGHT=99999999999>");
  // A bare word keeps its letter case and leaves the BORDER default alone.
  EXPECT_EQ(Tokens(u"<A NAME=Top><TABLE BORDER=yes>"), "<A NAME=Top> <TABLE BORDER=yes|1>");
  EXPECT_EQ(Tokens(u"<A HREF=>x"), "<A HREF=> \"x\"");
}

TEST(Attributes, QuotedValuesDropLineEndsDecodeReferencesAndAreTrimmed) {
  EXPECT_EQ(Tokens(u"<A HREF=\"  a\r\nb c  \">"), "<A HREF=ab c>");
  EXPECT_EQ(Tokens(u"<A HREF='say \"hi\"'>"), "<A HREF=say \"hi\">");
  EXPECT_EQ(Tokens(u"<A HREF=\"?a=1&amp;b=2&#8217;&lt;\">"), "<A HREF=?a=1&b=2\u2019<>");
  // An unclosed quote runs to the end of input.
  EXPECT_EQ(Tokens(u"<A HREF=\"x>y"), "<A HREF=x>y>");
}

TEST(Attributes, NamesMapToTheirSymbols) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(
      u"<INPUT type=x Value=1 VALUE=2 selected Wrap text=t http-equiv=r data-x=y>");
  ASSERT_EQ(tok.NextToken(), Sy::Input);
  const TAttributeList& a = tok.Attributes();
  ASSERT_EQ(a.size(), 8u);
  EXPECT_EQ(a[0].Code, Sy::Type);
  EXPECT_EQ(a.Find(Sy::Value)->Text, u"1");  // the first of two
  EXPECT_EQ(a[3].Code, Sy::Selected);         // shared with the tag
  EXPECT_EQ(a[4].Code, Sy::Wrap);
  EXPECT_EQ(a[5].Code, Sy::Text);             // shared with the text token
  EXPECT_EQ(a[6].Code, Sy::HttpEquiv);
  EXPECT_EQ(a[7].Code, Sy::UnknownAttr);
  EXPECT_EQ(a[7].Text, u"y");
}

TEST(Attributes, OnlyTagsThatKeepThemReplaceTheList) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"<A HREF=x><B CLASS=y></A HREF=z><FOO HREF=w><TR><H1 ALIGN=left>");
  tok.NextToken();
  tok.NextToken();
  EXPECT_EQ(tok.Symbol(), Sy::B);
  EXPECT_EQ(tok.Attributes().Find(Sy::Href)->Text, u"x");
  tok.NextToken();
  tok.NextToken();
  EXPECT_EQ(tok.Symbol(), Sy::UnknownTag);
  EXPECT_EQ(tok.Attributes().Find(Sy::Href)->Text, u"x");
  tok.NextToken();
  EXPECT_EQ(tok.Symbol(), Sy::TR);
  EXPECT_TRUE(tok.Attributes().empty());
  tok.NextToken();
  EXPECT_EQ(tok.Attributes().Find(Sy::Align)->Text, u"left");
}

TEST(TextRuns, WhiteSpaceCollapsesOutsidePre) {
  EXPECT_EQ(Tokens(u"a  \r\n  b"), "\"a b\"");
  EXPECT_EQ(Tokens(u"  a\t\tb \r\n"), "\" a b \"");
  EXPECT_EQ(Tokens(u"a \r\n b\rc"), "\"a b c\"");
  // White space that fills a run up is collapsed before the next one starts.
  EXPECT_EQ(Tokens(std::u16string(99, u'x') + u" \r\n  y"), "\"" + std::string(99, 'x') + " \" \"y\"");
  EXPECT_EQ(Tokens(u"a  \r\n  b", true), "\"a  \" eol \"  b\"");
  EXPECT_EQ(Tokens(u"\r\n\r\n", true), "eol eol");
}

TEST(TextRuns, AStrayGreaterThanIsDroppedOutsidePreAndKeptInside) {
  EXPECT_EQ(Tokens(u"a > b"), "\"a \" other(>) \" b\"");
  EXPECT_EQ(Tokens(u"a > b", true), "\"a > b\"");
  EXPECT_EQ(Tokens(u"a < b", true), "\"a \" \"<\" \" b\"");
}

TEST(TextRuns, ControlCharactersAreTokensOfTheirOwn) {
  EXPECT_EQ(Tokens(std::u16string(u"a\x01" u"b\0c", 5)),
            std::string("\"a\" other(\x01) \"b\" other(") + '\0' + ") \"c\"");
}

TEST(TextRuns, EndAtAHundredCharactersWithoutSplittingAPair) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(std::u16string(250, u'x'));
  std::vector<size_t> sizes;
  while (tok.NextToken() == Sy::Text) sizes.push_back(tok.Text().size());
  EXPECT_EQ(sizes, (std::vector<size_t>{100, 100, 50}));

  std::u16string words;
  for (int i = 0; i < 100; ++i) words += u"ab ";
  tok.Reader().SetText(words);
  std::u16string joined;
  while (tok.NextToken() == Sy::Text) {
    EXPECT_LE(tok.Text().size(), 100u);
    joined += tok.Text();
  }
  EXPECT_EQ(joined, words);

  tok.Reader().SetText(std::u16string(99, u'x') + u"\U0001F600y");
  ASSERT_EQ(tok.NextToken(), Sy::Text);
  EXPECT_EQ(tok.Text().size(), 101u);
  ASSERT_EQ(tok.NextToken(), Sy::Text);
  EXPECT_EQ(tok.Text(), u"y");
}

TEST(TextRuns, ReferencesAreTokensOfTheirOwn) {
  EXPECT_EQ(Tokens(u"Fish &amp; Chips"), "\"Fish \" \"&\" \" Chips\"");
  EXPECT_EQ(Tokens(u"AT&T"), "\"AT\" \"&T\"");
}

TEST(Tokens, EndOfInputComesAgainAndAgain) {
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"x");
  EXPECT_EQ(tok.NextToken(), Sy::Text);
  EXPECT_EQ(tok.NextToken(), Sy::Eof);
  EXPECT_EQ(tok.NextToken(), Sy::Eof);
  EXPECT_TRUE(tok.Text().empty());
}

TEST(Tokens, ParagraphSpaceGivenIsUsedUpByContent) {
  const auto after = [](const std::u16string& text) {
    ParseFlags flags;
    Tokenizer tok(flags);
    tok.Reader().SetText(text);
    flags.ParagraphSpaceGiven = true;
    tok.NextToken();
    return flags.ParagraphSpaceGiven;
  };
  for (const char16_t* text : {u"x", u"&amp;", u"<", u"<BR>", u"<H1>", u"<HR>", u"<IMG>", u"<TABLE>",
                               u"<INPUT>", u"<TEXTAREA>", u"<SELECT>"})
    EXPECT_FALSE(after(text)) << Utf16ToUtf8(text);
  for (const char16_t* text : {u"<P>", u"</P>", u"</H1>", u"<B>", u"<TD>", u"<FOO>", u">", u""})
    EXPECT_TRUE(after(text)) << Utf16ToUtf8(text);
}

TEST(Tokens, TheParsersLineReadersShareTheReader) {
  // A PRE body read character by character, a reference decoded on the way,
  // then tokens again.
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"a&lt;b\r\n</PRE>");
  CharReader& r = tok.Reader();
  std::u16string line;
  while (r.Ch() != kLineEnd) {
    if (r.Ch() == u'&') {
      tok.ReadReference(line);
    } else {
      line += r.Ch();
      r.Next();
    }
  }
  r.Next();
  EXPECT_EQ(line, u"a<b");
  EXPECT_EQ(tok.NextToken(), Sy::PreEnd);
}

}  // namespace
}  // namespace quillet
