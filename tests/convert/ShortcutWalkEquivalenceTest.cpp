// The tree walk writes what the line walk wrote, over generated documents of
// both layouts, well formed and broken.
#include <gtest/gtest.h>

#include <random>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "bookmarks/TreeWriter.h"
#include "convert/HtmlToUrls.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::TempDir;

const char* const kNames[] = {"News", "News", "", "  ", "..", ".", "a/b: c?", "<B>Bold</B>", "#tag only",
                              "R&amp;D", "Caf\xc3\xa9", "x", "X", "Twice", "Twice"};

OutlineNode RandomOutline(std::mt19937& rng, int depth) {
  OutlineNode folder;
  folder.Title = kNames[rng() % std::size(kNames)];
  const int n = static_cast<int>(rng() % 6);
  for (int i = 0; i < n; ++i) {
    const unsigned what = rng() % 10;
    if (what < 2 && depth < 4) {
      folder.Children.push_back(RandomOutline(rng, depth + 1));
      continue;
    }
    OutlineNode item;
    item.Kind = what == 2 ? NodeKind::Separator : NodeKind::Link;
    item.Title = kNames[rng() % std::size(kNames)];
    item.Address = rng() % 5 ? "https://e/" + std::to_string(rng() % 7) + "?a=1&b=2" : "";
    if (rng() % 4 == 0) item.Description = "about it";
    if (rng() % 3 == 0) item.Attributes.emplace_back("TAGS", "t");
    folder.Children.push_back(item);
  }
  return folder;
}

// Breaks the lines the way hand-edited and half-written files are broken.
void Break(std::mt19937& rng, TextLines& lines) {
  const int faults = static_cast<int>(rng() % 4);
  for (int f = 0; f < faults && lines.size() > 2; ++f) {
    const size_t at = rng() % lines.size();
    std::string& line = lines[at];
    switch (rng() % 15) {
      case 0: lines.erase(lines.begin() + at); break;                   // a lost line
      case 1: lines.resize(at + 1); break;                              // cut short: lists left open
      case 2: lines.insert(lines.begin() + at, "</DL><p>"); break;      // a stray list end
      case 3: lines.insert(lines.begin() + at, "<DT><H3>Lone</H3>"); break;  // a heading without list
      case 4:  // the next line joined to this one
        if (at + 1 < lines.size()) {
          line += lines[at + 1];
          lines.erase(lines.begin() + at + 1);
        }
        break;
      case 5:
        if (const size_t p = FindNoCase(line, "</DL><P>"); p != std::string::npos) line.erase(p + 5);
        break;
      case 6:
        if (const size_t p = FindNoCase(line, "<H3"); p != std::string::npos) line[p + 2] = '2';
        break;
      case 7: lines.insert(lines.begin() + at, "<DD>an orphan"); break;
      case 8: lines.push_back("<DT><A HREF=\"https://after/\">After</A>"); break;
      case 9: lines.insert(lines.begin(), "<DL><p><DT><A HREF=\"https://first/\">First</A>"); break;
      // Lines that only look like links, or hide a list end or heading.
      case 10: lines.insert(lines.begin() + at, "<DT><A NAME=\"n\">Anchor</A>"); break;
      case 11: lines.insert(lines.begin() + at, {"<DT><A HREF=\"https://w/\"", " ADD_DATE=\"1\">Wrapped</A>"}); break;
      case 12: lines.insert(lines.begin() + at, "<!-- </DL><p> <DT><H3>Commented</H3> -->"); break;
      case 13: lines.insert(lines.begin() + at, "<DT><A HREF=\"https://l/\">Link</A><DT><H3>Heading</H3>"); break;
      case 14: lines.insert(lines.begin() + at, "<DT><A HREF=\"https://l/\">Link</A></DL><p>"); break;
    }
  }
}

struct Written {
  std::map<std::string, std::string> Files;
  std::vector<std::string> Errors;
  bool Failed = false;
};

Written Write(const TextLines& lines, bool tree) {
  TempDir dir;
  test::TestContext t(dir / "");
  t.Ctx.HtmlLines = lines;
  for (std::string& line : t.Ctx.HtmlLines) StripDateAttributes(line);
  const auto root = t.Fs.OpenFolder(dir.Path() + "/");
  BookmarkWriteRun run{t.Ctx, *root};
  if (tree) {
    WriteTreeAsShortcuts(run, ReadBookmarkTree(t.Ctx.HtmlLines));
  } else {
    size_t index = 1;
    ParseBookmarkList(run, *root, index);
  }
  Written w{test::Tree(dir.Path()), run.Errors, run.WriteFailed};
  for (std::string& e : w.Errors)
    for (size_t p; (p = e.find(dir.Path())) != std::string::npos;) e.replace(p, dir.Path().size(), "T");
  return w;
}

void ExpectSame(const TextLines& lines) {
  const Written old = Write(lines, false), now = Write(lines, true);
  std::string doc;
  for (const std::string& l : lines) doc += l + "\n";
  EXPECT_EQ(now.Files, old.Files) << doc;
  EXPECT_EQ(now.Errors, old.Errors) << doc;
  EXPECT_EQ(now.Failed, old.Failed) << doc;
}

TEST(ShortcutWalkEquivalence, GeneratedDocumentsOfBothLayouts) {
  std::mt19937 rng(31);
  for (int i = 0; i < 400; ++i) {
    WriteOptions options;
    options.Layout = rng() % 2 ? WriteLayout::Browser : WriteLayout::Quillet;
    options.Indent = rng() % 2;
    options.DoubleSpace = rng() % 4 == 0;
    options.Header = rng() % 2;
    options.RootHeading = rng() % 3 == 0;
    TextLines lines = WriteOutline(RandomOutline(rng, 0), options);
    if (i % 2) Break(rng, lines);
    ExpectSame(lines);
  }
}

TEST(ShortcutWalkEquivalence, Exports) {
  for (const char* name : {"browser-layout.htm", "buku.html", "chromium.html", "edge.html", "firefox.html",
                           "pinboard.html", "pocket.html", "quillet-layout.htm", "raindrop.html", "safari.html"}) {
    SCOPED_TRACE(name);
    const TextLines lines =
        SplitDocumentText(test::ReadBytes(std::string(QUILLET_SOURCE_DIR) + "/tests/bookmarks/exports/" + name));
    ExpectSame(lines);
    std::mt19937 rng(7);
    for (int i = 0; i < 30; ++i) {
      TextLines broken = lines;
      Break(rng, broken);
      ExpectSame(broken);
    }
  }
}

}  // namespace
}  // namespace quillet
