#include "bookmarks/TreeReader.h"

#include <gtest/gtest.h>

#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeInvariants.h"
#include "tests/bookmarks/TreeTestSupport.h"

namespace quillet {
namespace {

using test::Shape;

// One export of each program, written as it writes them: read, placed and
// written back byte for byte.
TEST(TreeReader, ExportsReadPlacedAndWrittenBackByteForByte) {
  const struct {
    const char* file;
    Dialect dialect;
    TextEncoding encoding;
    const char* shape;
    const char* toolbar;  // path of the toolbar folder, "-" for none
  } cases[] = {
      {"firefox.html", Dialect::Browser, TextEncoding::Utf8,
       "F:Mozilla Firefox{L:Get Help L:Get Involved} S L:Café & Bar <history> L:Recent Tags "
       "F:Bookmarks Toolbar{L:Python docs F:News / Daily{L:LWN.net S L:Share} F:Empty{}} F:Other Bookmarks{L:Debian}",
       "Bookmarks Toolbar"},
      {"chromium.html", Dialect::Browser, TextEncoding::Utf8,
       "F:Bookmarks bar{L:Debian F:Work{L:GitHub L:Mail} L:日本語のタイトル} F:Other bookmarks{L:Settings} "
       "F:Mobile bookmarks{}",
       "Bookmarks bar"},
      {"safari.html", Dialect::Browser, TextEncoding::Utf8,
       "F:Favourites{L:Apple L:BBC News F:Reading{L:Project Gutenberg}} F:Bookmarks Menu{} "
       "F:Reading List{L:An article to read}",
       "-"},
      {"edge.html", Dialect::Browser, TextEncoding::Utf8,
       "F:Favorites bar{L:Microsoft Edge L:Outlook – Mail} F:Other favorites{L:notes.txt L:Ünïcödé path}",
       "Favorites bar"},
      {"pinboard.html", Dialect::None, TextEncoding::Utf8, "L:Pinboard howto L:Ruby L:Hacker News thread", "-"},
      {"pocket.html", Dialect::Browser, TextEncoding::Utf8,
       "F:Unread{L:The long read L:A paper} F:Read Archive{L:Kernel news}", "-"},
      {"raindrop.html", Dialect::Browser, TextEncoding::Utf8,
       "F:Design{L:Google Fonts F:Colour{L:Coolors}} F:Unsorted{L:An article}", "-"},
      {"buku.html", Dialect::Browser, TextEncoding::Utf8, "F:buku bookmarks{L:Buku L:Bash}", "buku bookmarks"},
      {"quillet-layout.htm", Dialect::Quillet, TextEncoding::Windows1252,
       "L:Tom & Jerry L:Été 2024 F:News{L:Daily €uro news F:Archive{L:Old}} "
       "F:Only folders{F:Inner{L:Inner link} F:Empty{}}",
       "-"},
      {"browser-layout.htm", Dialect::Browser, TextEncoding::Utf8,
       "L:A & B F:Sub folder{L:In the sub folder F:Deeper{}}", "-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string bytes = test::ReadBytes(test::ExportPath(c.file));
    const std::string eol = bytes.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    BookmarkTree tree = ReadBookmarkTree(SplitDocumentText(bytes));
    EXPECT_EQ(CheckTreeInvariants(tree), "");
    EXPECT_EQ(Shape(tree), c.shape);
    EXPECT_EQ(tree.DocumentDialect(), c.dialect);
    EXPECT_EQ(tree.Encoding(), c.encoding);
    EXPECT_EQ(tree.Diagnostics(), std::vector<Diagnostic>{});
    std::string toolbar = "-";
    tree.ForEachNode([&](NodeId id) {
      if (tree.IsToolbar(id)) toolbar = FolderPathOf(tree, id);
    });
    EXPECT_EQ(toolbar, c.toolbar);
    std::string written;
    for (const std::string& line : tree.TakeLines()) written += line + eol;
    EXPECT_EQ(written, bytes);
  }
}

// What is wrong is said with its line and kind, and the line is kept.
TEST(TreeReader, MalformedLinesAreKeptAndReported) {
  const std::string nul("<DT><A HREF=\"x\">a</A>\0", 22);
  const struct {
    TextLines lines;
    std::vector<std::pair<size_t, DiagnosticKind>> found;
    const char* shape;
  } cases[] = {
      {{"<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><A HREF=\"x\">x</A>"},
       {{1, DiagnosticKind::UnclosedList}, {3, DiagnosticKind::UnclosedList}},
       "O< F:A{L:x}"},
      {{"<DL><p>", "</DL><p>", "</DL><p>"}, {{3, DiagnosticKind::StrayListEnd}}, "O< O> O"},
      {{"<DL><p>", "<HR>", "<DD>note", "more note", "</DL><p>"}, {{3, DiagnosticKind::OrphanDescription}}, "O< S O O>"},
      {{"<DL><p>", "<DT><A HREF=\"x\">x</A>", "<DT><H3>Lonely</H3>", "<DT><A HREF=\"y\">y</A>", "</DL><p>"},
       {{3, DiagnosticKind::HeadingWithoutList}},
       "O< L:x F:Lonely{} L:y O>"},
      {{"<DL><p>", nul, "</DL><p>"}, {{2, DiagnosticKind::Nul}}, "O< L:a O>"},
      {{"<META CONTENT=\"text/html; charset=UTF-8\">", "<DL><p>", "<DT><A HREF=\"x\">caf\xe9</A>", "</DL><p>"},
       {{3, DiagnosticKind::InvalidUtf8}},
       "O O< L:café O>"},
      // The same bytes in a file that does not say it is UTF-8 are Windows-1252.
      {{"<DL><p>", "<DT><A HREF=\"x\">caf\xe9</A>", "</DL><p>"}, {}, "O< L:café O>"},
      {{"<DL><p>", "just words", "<DT>an item without a link", "<DT><A NAME=\"n\">anchor</A>", "</DL><p>"},
       {{2, DiagnosticKind::UnplacedLine}, {3, DiagnosticKind::UnplacedLine}, {4, DiagnosticKind::UnplacedLine}},
       "O< O O O O>"},
      // A tag left open ends with its line; the next line is read afresh.
      {{"<DL><p>", "<DT><A HREF=\"x\" TITLE=\"never closed>x</A>", "<DT><A HREF=\"y\">y</A>", "</DL><p>"},
       {},
       "O< L: L:y O>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines[1]);
    const BookmarkTree tree = ReadBookmarkTree(c.lines);
    EXPECT_EQ(CheckTreeInvariants(tree), "");
    EXPECT_EQ(tree.Lines(), c.lines);
    EXPECT_EQ(Shape(tree, kRootNode, true), c.shape);
    std::vector<std::pair<size_t, DiagnosticKind>> found;
    for (const Diagnostic& d : tree.Diagnostics()) {
      found.emplace_back(d.Line, d.Kind);
      EXPECT_EQ(d.Text, c.lines[d.Line - 1]);
    }
    EXPECT_EQ(found, c.found);
  }
}

// Which list a heading names when the same lines could be read either way.
TEST(TreeReader, HeadingsNameTheListOfTheirLayout) {
  const struct {
    TextLines lines;
    const char* shape;
    Dialect dialect;
  } cases[] = {
      // Quillet's layout: a folder holding only folders, the last one empty.
      {{"<DL><p>", "<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><H3>B</H3>", "<DT><A HREF=\"u\">u</A>", "</DL><p>",
        "<DL><p>", "<DT><H3>E</H3>", "</DL><p>", "</DL><p>", "</DL><p>"},
       "O< F:A{F:B{L:u} F:E{}} O>", Dialect::Quillet},
      // The browsers' layout: a folder whose first item is a folder.
      {{"<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><H3>B</H3>", "<DL><p>", "<DT><A HREF=\"u\">u</A>", "</DL><p>",
        "<DT><H3>E</H3>", "<DL><p>", "</DL><p>", "</DL><p>", "</DL><p>"},
       "O< F:A{F:B{L:u} F:E{}} O>", Dialect::Browser},
      // A description between heading and list, letters in any case, no <p>.
      {{"<dl>", "<dt><h3 folded>A</h3>", "<dd>about A", "<dl>", "<dt><a href=\"u\">u</a>", "</dl>", "</dl>"},
       "O< F:A{L:u} O>", Dialect::Browser},
      // A Quillet block appended to a browser's file.
      {{"<DL><p>", "<DT><H3>Bar</H3>", "<DL><p>", "</DL><p>", "<DL><p>", "<DT><H3>Block</H3>",
        "<DT><A HREF=\"u\">u</A>", "</DL><p>", "</DL><p>"},
       "O< F:Bar{} F:Block{L:u} O>", Dialect::Mixed},
      // Several elements on a line.
      {{"<DL><p><DT><H3>A</H3><DL><p><DT><A HREF=\"u\">u</A><DT><A HREF=\"v\">v</A></DL><p></DL><p>"},
       "O< F:A{L:u L:v} O>", Dialect::Browser},
  };
  for (const auto& c : cases) {
    const BookmarkTree tree = ReadBookmarkTree(c.lines);
    EXPECT_EQ(CheckTreeInvariants(tree), "");
    EXPECT_EQ(Shape(tree, kRootNode, true), c.shape);
    EXPECT_EQ(tree.DocumentDialect(), c.dialect) << c.shape;
    EXPECT_TRUE(tree.Diagnostics().empty()) << c.shape;
    EXPECT_EQ(tree.Lines(), c.lines);
  }
}

TEST(TreeReader, LinksAndFoldersKeepTheirValuesRawAndDecoded) {
  const BookmarkTree tree = ReadBookmarkTree(SplitDocumentText(test::ReadBytes(test::ExportPath("firefox.html"))));
  const NodeId cafe = test::Named(tree, "Café & Bar <history>");
  ASSERT_NE(cafe, kNoNode);
  EXPECT_EQ(tree.RawTitle(cafe), "Café &amp; Bar &lt;history&gt;");
  EXPECT_EQ(tree.RawAddress(cafe), "https://en.wikipedia.org/wiki/Caf%C3%A9?a=1&amp;b=2");
  EXPECT_EQ(tree.Address(cafe), "https://en.wikipedia.org/wiki/Caf%C3%A9?a=1&b=2");
  std::string names;
  for (const NodeAttribute& a : tree.Attributes(cafe)) names += std::string(a.Name) + " ";
  EXPECT_EQ(names, "HREF ADD_DATE LAST_MODIFIED SHORTCUTURL TAGS ");
  EXPECT_EQ(tree.Attribute(cafe, "tags"), "wiki,reference");
  EXPECT_EQ(tree.AddDate(cafe), 1700000100);
  EXPECT_EQ(tree.RawDescription(cafe), "Two paragraphs of notes,\n\nthe second after an empty line");
  const NodeId toolbar = test::Named(tree, "Bookmarks Toolbar");
  EXPECT_TRUE(tree.IsToolbar(toolbar));
  EXPECT_EQ(tree.Description(toolbar), "Add bookmarks to this folder to see them displayed on the Bookmarks Toolbar");
  EXPECT_EQ(tree.LastModified(toolbar), 1700000300);
  EXPECT_FALSE(tree.HasDescription(test::Named(tree, "Python docs")));
  EXPECT_EQ(tree.Attribute(test::Named(tree, "Get Help"), "ICON")->substr(0, 22), "data:image/png;base64,");
  EXPECT_EQ(FolderPathOf(tree, test::Named(tree, "LWN.net")), "Bookmarks Toolbar/News \\/ Daily");

  // HREF anywhere among the attributes, quoted either way or not at all.
  const BookmarkTree any = ReadBookmarkTree({"<DL>", "<DT><A ADD_DATE=\"1\" href='a?b=1&amp;c'>A</A>",
                                             "<dt><a icon=\"data:x\" HREF=b>B</a>", "</DL>"});
  EXPECT_EQ(any.Address(test::Named(any, "A")), "a?b=1&c");
  EXPECT_EQ(any.RawAddress(test::Named(any, "B")), "b");

  // Dates in milliseconds (Raindrop) and Pocket's own date attribute.
  const BookmarkTree raindrop = ReadBookmarkTree(SplitDocumentText(test::ReadBytes(test::ExportPath("raindrop.html"))));
  EXPECT_EQ(raindrop.AddDate(test::Named(raindrop, "Google Fonts")), 1650000100);
  EXPECT_EQ(raindrop.Description(test::Named(raindrop, "Google Fonts")), "Free fonts for the web");
  const BookmarkTree pocket = ReadBookmarkTree(SplitDocumentText(test::ReadBytes(test::ExportPath("pocket.html"))));
  EXPECT_EQ(pocket.AddDate(test::Named(pocket, "A paper")), 1690000100);
}

TEST(TreeReader, DatesInSecondsMillisecondsOrMicroseconds) {
  const struct {
    const char* raw;
    std::optional<int64_t> seconds;
  } cases[] = {{"1700000000", 1700000000},     {"1700000000123", 1700000000}, {"1700000000123456", 1700000000},
               {" 42 ", 42},                   {"-86400", -86400},            {"1700000000.75", 1700000000},
               {"", std::nullopt},             {"12ab", std::nullopt},        {"1700000000123456789", std::nullopt},
               {"99999999999999999999999", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(UnixSecondsFromDate(c.raw), c.seconds) << c.raw;
}

TEST(FolderPath, StepsEscapeTheirSlashesAndCoverWhatIsBelow) {
  EXPECT_EQ(EscapePathStep("a/b\\c"), "a\\/b\\\\c");
  EXPECT_EQ(SplitFolderPath("a\\/b\\\\c/d/\\x"), (std::vector<std::string>{"a/b\\c", "d", "\\x"}));
  EXPECT_EQ(SplitFolderPath(""), std::vector<std::string>{});
  EXPECT_TRUE(PathCovers("", "A/B"));
  EXPECT_TRUE(PathCovers("A", "A/B"));
  EXPECT_TRUE(PathCovers("A/B", "A/B"));
  EXPECT_FALSE(PathCovers("A", "AB"));
  EXPECT_FALSE(PathCovers("a", "A"));
  EXPECT_FALSE(PathCovers("A\\/B", "A/B/C"));

  const BookmarkTree tree = ReadBookmarkTree({"<DL><p>", "<DT><H3>A/B</H3>", "<DL><p>", "<DT><H3>C</H3>", "<DL><p>",
                                              "</DL><p>", "</DL><p>", "<DT><H3>A</H3>", "<DL><p>", "</DL><p>",
                                              "<DT><H3>A/B</H3>", "<DL><p>", "<DT><H3>C</H3>", "<DL><p>", "</DL><p>",
                                              "</DL><p>", "</DL><p>"});
  const std::vector<NodeId> found = FindFolders(tree, "A\\/B/C");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_LT(found[0], found[1]);
  for (NodeId f : found) EXPECT_EQ(FolderPathOf(tree, f), "A\\/B/C");
  EXPECT_EQ(FindFolders(tree, ""), std::vector<NodeId>{kRootNode});
  EXPECT_TRUE(FindFolders(tree, "A/B").empty());
}

}  // namespace
}  // namespace quillet
