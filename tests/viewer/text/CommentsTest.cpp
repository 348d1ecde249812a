// Comments, declarations and the include directive, skipped by the reader.
#include <gtest/gtest.h>

#include "tests/viewer/text/TokenDump.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {
namespace {

using test::Chars;
using test::Tokens;

std::u16string Read(const std::u16string& text, bool inScript = false) {
  ParseFlags flags;
  flags.InScript = inScript;
  CharReader r(flags);
  r.SetText(text);
  return Chars(r);
}

TEST(Comments, AreSkippedUpToDashDashAndAngleBracket) {
  EXPECT_EQ(Read(u"a<!-- x -->b"), u"ab");
  EXPECT_EQ(Read(u"<!-- a -- b -->c"), u"c");     // "--" without ">" does not close
  EXPECT_EQ(Read(u"<!-->x-->y"), u"y");           // nor does "<!-->"
  EXPECT_EQ(Read(u"<!---->z"), u"z");
  EXPECT_EQ(Read(u"<!-- x ---- \r\n >y"), u"y");  // dashes, spaces and line ends before ">"
  EXPECT_EQ(Read(u"<!-- <b> -- -->y"), u"y");
  EXPECT_EQ(Read(u"<!--a--><!--b--><!DOCTYPE x>c"), u"c");
  EXPECT_EQ(Read(u"<!---x>y-->z"), u"z");
}

TEST(Comments, DeclarationsAreSkippedUpToTheNextAngleBracket) {
  EXPECT_EQ(Read(u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">x"), u"x");
  EXPECT_EQ(Read(u"<!>x"), u"x");
  EXPECT_EQ(Read(u"<!-x>y"), u"y");
  EXPECT_EQ(Read(u"<!->y"), u"y");
}

TEST(Comments, OnlyLessThanBangStartsOne) {
  EXPECT_EQ(Read(u"a<b !-- c"), u"a<b !-- c");
  EXPECT_EQ(Read(u"<<!--x-->b"), u"<b");
  EXPECT_EQ(Read(u"x<"), u"x<");
  // While a script body is read, comments are text.
  EXPECT_EQ(Read(u"<!-- x -->", true), u"<!-- x -->");
}

TEST(Comments, SpanLinesOfAStringList) {
  ParseFlags flags;
  Tokenizer tok(flags);
  const std::vector<std::string> lines = {"a<!--", "<P>", "-->b"};
  tok.Reader().SetStrings(lines);
  EXPECT_EQ(Tokens(tok), "\"ab \"");
}

TEST(Comments, OpenAtTheEndFailsAfterEverythingBeforeIt) {
  for (const std::u16string text : {u"abc<!-- x", u"abc<!-- x -- y", u"abc<!DOCTYPE", u"abc<!", u"abc<!--"}) {
    ParseFlags flags;
    Tokenizer tok(flags);
    tok.Reader().SetText(text);
    ASSERT_EQ(tok.NextToken(), Sy::Text);
    EXPECT_EQ(tok.Text(), u"abc");
    try {
      tok.NextToken();
      ADD_FAILURE() << "no failure";
    } catch (const EParseError& e) {
      EXPECT_STREQ(e.what(), "Open Comment at End of HTML File");
    }
    EXPECT_THROW(tok.NextToken(), EParseError);  // and again
  }
  // At the very start, and with a tag before it.
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetText(u"<!-- x");
  EXPECT_THROW(tok.NextToken(), EParseError);
  tok.Reader().SetText(u"<B>x</B<!-- x");
  EXPECT_EQ(tok.NextToken(), Sy::B);
  EXPECT_EQ(tok.NextToken(), Sy::Text);
  EXPECT_EQ(tok.NextToken(), Sy::BEnd);
  EXPECT_THROW(tok.NextToken(), EParseError);
  // A closed comment at the end is no failure.
  tok.Reader().SetText(u"x<!-- y -->");
  EXPECT_EQ(Tokens(tok), "\"x\"");
}

struct IncludeCall {
  std::string Command;
  std::vector<std::string> Params;
};

// An include handler that records its calls and returns the given text.
TIncludeType Recorder(std::vector<IncludeCall>& calls, std::string result) {
  return [&calls, result](const std::string& command, const std::vector<std::string>& params) {
    calls.push_back({command, params});
    return result;
  };
}

TEST(Include, DirectiveCallsTheHandlerAndReadsItsTextInPlace) {
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, "<B>bold</B>"));
  tok.Reader().SetText(u"x<!--#Include file=\"a&amp;b.htm\" virtual=x Size=10 checked -- x --> y");
  EXPECT_EQ(Tokens(tok), "\"x\" <B> \"bold\" </B> \" y\"");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Command, "Include");
  EXPECT_EQ(calls[0].Params,
            (std::vector<std::string>{"FILE=\"a&b.htm\"", "VIRTUAL=\"x\"", "SIZE=\"10\"", "CHECKED=\"\""}));
}

TEST(Include, ReturnsToTheInputItCameFrom) {
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, "[in\r\nside]"));
  const std::vector<std::string> lines = {"a<!--#echo -->b", "c<!--#echo--><!--#echo-->"};
  tok.Reader().SetStrings(lines);
  EXPECT_EQ(Tokens(tok), "\"a[in side]b c[in side][in side] \"");
  EXPECT_EQ(calls.size(), 3u);
  EXPECT_FALSE(tok.Reader().InInclude());
}

TEST(Include, IncludedTextCannotIncludeAgain) {
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, "(<!--#again -->)"));
  tok.Reader().SetText(u"<!--#first -->.");
  EXPECT_EQ(Tokens(tok), "\"().\"");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Command, "first");
}

TEST(Include, WithoutAHandlerOrWithNothingToInsertItIsAComment) {
  EXPECT_EQ(Tokens(u"a<!--#include file=\"x\" -->b"), "\"ab\"");
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, ""));
  tok.Reader().SetText(u"a<!--#x-->b<!-- #y -->c");
  EXPECT_EQ(Tokens(tok), "\"abc\"");
  EXPECT_EQ(calls.size(), 1u);  // "<!-- #" is no directive
}

TEST(Include, DirectiveDoesNotNestAndMustBeClosed) {
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, "in"));
  tok.Reader().SetText(u"<!--#x a=\"<!--#y b=1 -->\" -->z");
  EXPECT_EQ(Tokens(tok), "\"inz\"");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Params, (std::vector<std::string>{"A=\"<!--#y b=1 -->\""}));

  tok.Reader().SetText(u"a<!--#x file=\"y");
  EXPECT_EQ(tok.NextToken(), Sy::Text);
  EXPECT_THROW(tok.NextToken(), EParseError);
  EXPECT_EQ(calls.size(), 1u);  // never called for an unclosed directive
}

TEST(Include, TextIsDecodedOnItsOwn) {
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, "caf\xE9"));  // Windows-1252
  tok.Reader().SetBuffer("\xE2\x80\x9C<!--#x-->\xE2\x80\x9D");  // UTF-8
  EXPECT_EQ(Tokens(tok), "\"\xE2\x80\x9C" "caf\xC3\xA9\xE2\x80\x9D\"");
}

TEST(Include, CtrlZInIncludedTextEndsEverything) {
  std::vector<IncludeCall> calls;
  ParseFlags flags;
  Tokenizer tok(flags);
  tok.Reader().SetIncludeHandler(Recorder(calls, "a\x1A" "b"));
  tok.Reader().SetText(u"<!--#x-->c");
  EXPECT_EQ(Tokens(tok), "\"a\"");
}

}  // namespace
}  // namespace quillet
