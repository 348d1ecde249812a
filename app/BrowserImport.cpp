#include "app/BrowserImport.h"

#include <algorithm>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/TreeReader.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

size_t NextNonBlank(const TextLines& lines, size_t i) {
  while (i < lines.size() && IsBlankText(lines[i])) ++i;
  return i;
}

bool HasBrowserHeader(const TextLines& lines) {
  const size_t first = NextNonBlank(lines, 0);
  return first < lines.size() &&
         UpperAscii(lines[first]).find("<!DOCTYPE NETSCAPE-BOOKMARK-FILE") != std::string::npos;
}

std::string_view LeadingBlanks(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
  return line.substr(0, n);
}

// A folder written in the program's own layout: the line that opens its
// list, and the lines of its heading and description, which go before it.
struct OwnHeading {
  size_t First = 0, End = 0;
};

// For each line that opens the list of such a folder, its heading; an empty
// range for every other line. The tree reader decides which layout each
// folder is in, and where its heading and description end.
std::vector<OwnHeading> OwnLayoutHeadings(const TextLines& lines) {
  std::vector<OwnHeading> headings(lines.size());
  const BookmarkTree tree = ReadBookmarkTree(lines);
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) != NodeKind::Folder || tree.Layout(id) != FolderLayout::Quillet) return;
    const TextSpan head = tree.Span(id);
    const size_t item = tree.ItemLine(id);
    // Only whole lines move: a list start after other text, or on the
    // heading's own line, and a head that ends inside a line stay as they are.
    if (head.Begin.Col > LeadingBlanks(lines[head.Begin.Line]).size() || item <= head.Begin.Line) return;
    if (head.End.Line < lines.size() && head.End.Col != 0 && head.End.Col != lines[head.End.Line].size()) return;
    size_t end = head.End.Col == 0 ? head.End.Line : head.End.Line + 1;
    while (end > item + 1 && IsBlankText(lines[end - 1])) --end;
    headings[head.Begin.Line] = {item, end};
  });
  return headings;
}

}  // namespace

TextLines ForBrowserImport(const TextLines& lines) {
  TextLines out;
  out.reserve(lines.size() + 8);
  if (!HasBrowserHeader(lines)) {
    const bool utf8 = std::all_of(lines.begin(), lines.end(), [](const std::string& l) { return IsValidUtf8(l); });
    out = BrowserHeaderLines(utf8);
  }
  const std::vector<OwnHeading> headings = OwnLayoutHeadings(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    const OwnHeading h = headings[i];
    if (h.First == h.End || NextNonBlank(lines, i + 1) != h.First || !IsHeading(lines[h.First])) {
      out.push_back(lines[i]);
      continue;
    }
    // The heading at the list's indentation, its description as written.
    const std::string_view text = lines[h.First];
    out.push_back(std::string(LeadingBlanks(lines[i])) + std::string(text.substr(LeadingBlanks(text).size())));
    for (size_t k = h.First + 1; k < h.End; ++k) out.push_back(lines[k]);
    for (size_t k = i; k < h.First; ++k) out.push_back(lines[k]);
    i = h.End - 1;
  }
  return out;
}

}  // namespace quillet
