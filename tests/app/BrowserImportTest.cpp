// The document as browsers import it: each heading of the program's own
// layout moved before its list, everything else as it was.
#include <gtest/gtest.h>

#include "app/BrowserImport.h"
#include "bookmarks/BookmarkFormat.h"

namespace quillet {
namespace {

TextLines WithHeader(TextLines body) {
  TextLines out = BrowserHeaderLines(true);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

TEST(ForBrowserImport, MovesOwnLayoutHeadingsAndLeavesTheBrowsersLayout) {
  struct Row {
    const char* name;
    TextLines in, out;
  };
  const TextLines browser = {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "    <DT><H3 ADD_DATE=\"1\">A</H3>",
                             "    <DL><p>",  // A's first entry is a folder: its heading follows A's list
                             "        <DT><H3>B</H3>", "        <DL><p>", "            <DT><A HREF=\"http://b/\">b</A>",
                             "        </DL><p>", "    </DL><p>", "</DL><p>"};
  const Row rows[] = {
      {"own layout, indented and double spaced",
       {"<DL><p>", "", "  <DL><p>", "", "    <DT><H3>News &amp; more</H3>", "", "    <DT><A HREF=\"http://n/\">N</A>", "",
        "  </DL><p>", "", "</DL><p>"},
       WithHeader({"<DL><p>", "", "  <DT><H3>News &amp; more</H3>", "  <DL><p>", "", "",
                   "    <DT><A HREF=\"http://n/\">N</A>", "", "  </DL><p>", "", "</DL><p>"})},
      {"own layout, a folder whose first entry is a folder",
       {"<DL><p>", "<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><H3>B</H3>", "<DT><A HREF=\"http://b/\">b</A>",
        "</DL><p>", "</DL><p>", "</DL><p>"},
       WithHeader({"<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><H3>B</H3>", "<DL><p>",
                   "<DT><A HREF=\"http://b/\">b</A>", "</DL><p>", "</DL><p>", "</DL><p>"})},
      {"browsers' layout, unchanged", browser, browser},
      {"a browser file with a block of the own layout appended",
       {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "<DT><H3>Kept</H3>", "<DL><p>", "<DT><H3>Inner</H3>",
        "<DL><p>", "</DL><p>", "</DL><p>", "<DL><p>", "<DT><H3>Favorites</H3>", "<DT><A HREF=\"http://f/\">f</A>",
        "</DL><p>", "</DL><p>"},
       {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "<DT><H3>Kept</H3>", "<DL><p>", "<DT><H3>Inner</H3>",
        "<DL><p>", "</DL><p>", "</DL><p>", "<DT><H3>Favorites</H3>", "<DL><p>", "<DT><A HREF=\"http://f/\">f</A>",
        "</DL><p>", "</DL><p>"}},
      {"not UTF-8: the header says windows-1252", {"<DL><p>", "<DT><A HREF=\"http://c/\">Caf\xE9</A>", "</DL><p>"},
       [] {
         TextLines t = BrowserHeaderLines(false);
         t.insert(t.end(), {"<DL><p>", "<DT><A HREF=\"http://c/\">Caf\xE9</A>", "</DL><p>"});
         return t;
       }()},
  };
  for (const Row& r : rows) EXPECT_EQ(ForBrowserImport(r.in), r.out) << r.name;
}

}  // namespace
}  // namespace quillet
