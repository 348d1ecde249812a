// Character references where names and addresses leave the HTML.
#include <gtest/gtest.h>

#include <string>

#include "bookmarks/BookmarkFormat.h"

namespace quillet {
namespace {

TEST(CharRef, FolderNameDecodesReferencesAsOrdinaryCharacters) {
  EXPECT_EQ(FolderNameOf("<DT><H3 FOLDED>Fish &amp; Chips</H3>"), "Fish & Chips");
  EXPECT_EQ(FolderNameOf("<DT><H3>It&#39;s &lt;b&gt;</H3>"), "It's _b_");
  EXPECT_EQ(FolderNameOf("<DT><H3>a&#47;b &#x2F; c&quot;</H3>"), "a_b _ c_");
  // Raw forbidden characters become "_" just as decoded ones do.
  EXPECT_EQ(FolderNameOf("<DT><H3>a/b: c?</H3>"), "a_b_ c_");
}

TEST(CharRef, FileNameNeverTakesAReferenceForATagOrHashRun) {
  EXPECT_EQ(SafeFileName("Fish &amp; Chips"), "Fish & Chips");
  EXPECT_EQ(SafeFileName("It&#39;s &lt;b&gt;"), "It's _b_");
  EXPECT_EQ(SafeFileName("a&#47;b"), "a_b");
  // A decoded "#" is a character of the title; a raw one still starts a run.
  EXPECT_EQ(SafeFileName("Issue &#35;abc #Daily 5"), "Issue #abc  5");
  // A decoded "<" starts no tag: the real tags around it still vanish.
  EXPECT_EQ(SafeFileName("<B>1 &lt; 2</B>"), "1 _ 2");
  // "&amp;" followed by "lt;" is a literal "&lt;" in the title, not a "<".
  EXPECT_EQ(SafeFileName("&amp;lt;x"), "&lt;x");
}

TEST(CharRef, WhatIsNoReferenceStaysAsWritten) {
  for (const char* text : {"AT&T", "R&D;", "&foo;", "&#;", "&#x;", "&#12a;", "&amp", "a & b", "&"})
    EXPECT_EQ(DecodeCharRefs(text), text) << text;
  // Control characters, NUL, surrogates and values past U+10FFFF are refused,
  // so decoding never puts a line break into a shortcut file.
  for (const char* text : {"&#0;", "&#10;", "&#13;", "&#x0A;", "&#127;", "&#xD800;", "&#x110000;",
                           "&#99999999999999999999;"})
    EXPECT_EQ(DecodeCharRefs(text), text) << text;
}

TEST(CharRef, AddressesDecodeWhole) {
  EXPECT_EQ(DecodeCharRefs("https://x/?a=1&amp;b=2&amp;c=&quot;q&quot;"), "https://x/?a=1&b=2&c=\"q\"");
  EXPECT_EQ(DecodeCharRefs("&#233;&#xE9;&#X1F600;&apos;"), "\xC3\xA9\xC3\xA9\xF0\x9F\x98\x80'");
  // The reader itself stays raw, so clean-ups compare what is written.
  EXPECT_EQ(LinkAddress("<DT><A HREF=\"https://x/?a=1&amp;b=2\">x</A>"), "https://x/?a=1&amp;b=2");
}

TEST(CharRef, WrittenNamesAndAddressesReadBackAsThemselves) {
  EXPECT_EQ(EscapeNameForLine("a&b <x> \"q\""), "a&b &lt;x&gt; &quot;q&quot;");
  EXPECT_EQ(EscapeNameForLine("R&amp;D&#39;"), "R&amp;amp;D&amp;#39;");
  EXPECT_EQ(EscapeAddressForLine("https://x/?a=1&b=2"), "https://x/?a=1&b=2");
  EXPECT_EQ(EscapeAddressForLine("https://x/?a=\"1\"&amp;b"), "https://x/?a=&quot;1&quot;&amp;amp;b");
  for (const char* text : {"a&b", "R&amp;D", "&#39;&", "<&lt;>\"", "&&amp;;"}) {
    EXPECT_EQ(DecodeCharRefs(EscapeNameForLine(text)), text) << text;
    EXPECT_EQ(DecodeCharRefs(EscapeAddressForLine(text)), text) << text;
  }
}

TEST(CharRef, ALineBreakInANameTravelsAsAReferenceAndComesBackAsAnUnderscore) {
  EXPECT_EQ(EscapeNameForLine("two\nlines\r"), "two&#10;lines&#13;");
  EXPECT_EQ(SafeFileName("two&#10;lines&#13;"), "two_lines_");
  EXPECT_EQ(FolderNameOf("<DT><H3>a&#x0A;b&#0;c&#xD800;d</H3>"), "a_b_c_d");
  // A name that holds such a reference as text gets it back as text.
  EXPECT_EQ(EscapeNameForLine("a&#10;b"), "a&amp;#10;b");
  EXPECT_EQ(SafeFileName(EscapeNameForLine("a&#10;b")), "a&10;b");  // a raw "#" and its letters go, as always
}

TEST(CharRef, NulNeverReachesAName) {
  using namespace std::string_literals;
  EXPECT_EQ(FolderNameOf("<DT><H3>..\0x</H3>"s), ".._x");
  EXPECT_EQ(SafeFileName("a\0b"s), "a_b");
}

}  // namespace
}  // namespace quillet
