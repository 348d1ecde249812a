// The figures of `quillet info`, over small documents.
#include "bookmarks/DocumentInfo.h"

#include <gtest/gtest.h>

#include "bookmarks/TreeReader.h"

namespace quillet {
namespace {

// The figures on one line: dialect, encoding, folders, links, separators,
// descriptions, depth, duplicates, then the lines of non-web links and of
// problems with their kinds.
std::string Figures(const TextLines& lines) {
  const DocumentInfo i = DescribeDocument(ReadBookmarkTree(lines));
  const char* dialects[] = {"none", "quillet", "browser", "mixed"};
  std::string s = std::string(dialects[static_cast<int>(i.Layout)]) +
                  (i.Encoding == TextEncoding::Utf8 ? " utf8" : " 1252") + " f" + std::to_string(i.Folders) + " l" +
                  std::to_string(i.Links) + " s" + std::to_string(i.Separators) + " d" +
                  std::to_string(i.Descriptions) + " depth" + std::to_string(i.Depth) + " dup" +
                  std::to_string(i.DuplicateLinks);
  for (const NonWebLink& l : i.NonWebLinks) s += " nonweb:" + std::to_string(l.Line) + "=" + l.Address;
  for (const Diagnostic& d : i.Problems) s += " " + std::to_string(d.Line) + ":" + std::string(DiagnosticName(d.Kind));
  return s;
}

std::string A(const std::string& href, const std::string& title = "t") {
  return "<DT><A HREF=\"" + href + "\">" + title + "</A>";
}

TEST(DocumentInfo, FiguresOfSmallDocuments) {
  struct Case {
    const char* what;
    TextLines lines;
    std::string figures;
  } cases[] = {
      {"empty", {}, "none utf8 f0 l0 s0 d0 depth0 dup0"},
      {"links only", {"<DL><p>", A("http://a/"), A("https://b/"), "</DL><p>"}, "none utf8 f0 l2 s0 d0 depth0 dup0"},
      {"Quillet's layout, two deep",
       {"<DL><p>", "<DT><H3>A</H3>", A("http://a/"), "<DL><p>", "<DT><H3>B</H3>", A("http://b/"), "</DL><p>",
        "</DL><p>"},
       "quillet utf8 f2 l2 s0 d0 depth2 dup0"},
      {"the browsers' layout, separators and descriptions",
       {"<DL><p>", "<DT><H3>A</H3>", "<DD>folder note", "<DL><p>", A("http://a/"), "<DD>link note", "<HR>",
        "</DL><p>", "<HR>", "</DL><p>"},
       "browser utf8 f1 l1 s2 d2 depth1 dup0"},
      {"both layouts",
       {"<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "</DL><p>", "<DL><p>", "<DT><H3>B</H3>", A("http://b/"), "</DL><p>",
        "</DL><p>"},
       "mixed utf8 f2 l1 s0 d0 depth1 dup0"},
      {"Windows-1252", {"<DL><p>", A("http://a/", "Caf\xe9"), "</DL><p>"}, "none 1252 f0 l1 s0 d0 depth0 dup0"},
      {"duplicates: exact text; no address and page jumps are not compared",
       {"<DL><p>", A("http://a/"), A("http://a/"), A("HTTP://a/"), "<DT><A HREF='http://a/' ADD_DATE=\"1\">q</A>",
        A("#top"), A("#top"), A(""), A(""), "<DT><A HREF=\"http://b/\">1</A><DT><A HREF=\"http://b/\">2</A>",
        "</DL><p>"},
       "none utf8 f0 l10 s0 d0 depth0 dup3 nonweb:6=#top nonweb:7=#top nonweb:8= nonweb:9="},
      {"links that are no web links, decoded",
       {"<DL><p>", A("place:parent=menu&amp;q=1"), A("javascript:void(0)"), A("file:///C:/x.txt"), A("ERROR"),
        A("chrome://settings/"), A("  Https://c/"), A("ftp://f/"), "</DL><p>"},
       "none utf8 f0 l7 s0 d0 depth0 dup0 nonweb:2=place:parent=menu&q=1 nonweb:3=javascript:void(0) "
       "nonweb:4=file:///C:/x.txt nonweb:5=ERROR nonweb:6=chrome://settings/ nonweb:8=ftp://f/"},
      {"every kind of problem",
       {"<DL><p>", "</DL><p>", "</DL><p>", "<DD>orphan", "<DT><H3>Lone</H3>", "words", std::string("a\0b", 3),
        "<DL><p>", "<DT>", "<META CONTENT=\"charset=UTF-8\">", "caf\xe9"},
       "none 1252 f1 l0 s0 d0 depth1 dup0 3:stray-list-end 4:orphan-description 5:heading-without-list "
       "6:unplaced-line 7:unplaced-line 7:nul 8:unclosed-list 9:unplaced-line 11:unplaced-line 11:invalid-utf8"},
  };
  for (const Case& c : cases) EXPECT_EQ(Figures(c.lines), c.figures) << c.what;
}

TEST(DocumentInfo, DepthOfADocumentNestedAHundredThousandDeep) {
  TextLines lines;
  for (int i = 0; i < 100000; ++i) lines.insert(lines.end(), {"<DT><H3>F</H3>", "<DL><p>"});
  lines.push_back(A("http://deep/"));
  const DocumentInfo info = DescribeDocument(ReadBookmarkTree(lines));
  EXPECT_EQ(info.Depth, 100000u);
  EXPECT_EQ(info.Problems.size(), 100000u);  // every list left open
}

TEST(DocumentInfo, TextForPeopleShowsNoControlCharacters) {
  DocumentInfo info;
  info.NonWebLinks = {{4, "javascript:a()"}};
  info.Problems = {{7, DiagnosticKind::Nul, std::string("a\0\x1b[31mb\xc2\x9b\tc", 12)}};
  const std::string text = DocumentInfoText(info);
  EXPECT_NE(text.find("Links that are no web links: 1\n  line 4: javascript:a()\nProblems: 1\n"
                      "  line 7 (nul): a\xEF\xBF\xBD\xEF\xBF\xBD[31mb\xEF\xBF\xBD\tc\n"),
            std::string::npos)
      << text;
}

TEST(DocumentInfo, ProblemTextsAreUtf8) {
  // A line not UTF-8 in a file meant as UTF-8 shows its good characters.
  DocumentInfo info = DescribeDocument(ReadBookmarkTree({"<META CONTENT=\"charset=UTF-8\">", "<DL><p>", "<DT>caf\xc3\xa9 \xff", "</DL><p>"}));
  ASSERT_EQ(info.Problems.size(), 2u);  // unplaced, and not UTF-8
  EXPECT_EQ(info.Problems[1].Text, "<DT>caf\xc3\xa9 \xc3\xbf");
  // In a Windows-1252 file every byte is its character.
  info = DescribeDocument(ReadBookmarkTree({"<DL><p>", "<DT>caf\xe9", "</DL><p>"}));
  ASSERT_EQ(info.Problems.size(), 1u);
  EXPECT_EQ(info.Problems[0].Text, "<DT>caf\xc3\xa9");
}

}  // namespace
}  // namespace quillet
