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

// For each line that opens the list of a folder written in the program's
// own layout, the line of its heading; lines.size() for every other line.
// The tree reader decides which layout each folder is in.
std::vector<size_t> OwnLayoutHeadings(const TextLines& lines) {
  std::vector<size_t> heading(lines.size(), lines.size());
  const BookmarkTree tree = ReadBookmarkTree(lines);
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) != NodeKind::Folder || tree.Layout(id) != FolderLayout::Quillet) return;
    const TextPos list = tree.Span(id).Begin;
    const size_t item = tree.ItemLine(id);
    // Only whole lines move: a list start after other text, or on the
    // heading's own line, stays where it is.
    if (list.Col <= LeadingBlanks(lines[list.Line]).size() && item > list.Line) heading[list.Line] = item;
  });
  return heading;
}

}  // namespace

TextLines ForBrowserImport(const TextLines& lines) {
  TextLines out;
  out.reserve(lines.size() + 8);
  if (!HasBrowserHeader(lines)) {
    const bool utf8 = std::all_of(lines.begin(), lines.end(), [](const std::string& l) { return IsValidUtf8(l); });
    out = BrowserHeaderLines(utf8);
  }
  const std::vector<size_t> headings = OwnLayoutHeadings(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t heading = headings[i];
    if (heading >= lines.size() || NextNonBlank(lines, i + 1) != heading || !IsHeading(lines[heading])) {
      out.push_back(lines[i]);
      continue;
    }
    const std::string_view text = lines[heading];
    out.push_back(std::string(LeadingBlanks(lines[i])) + std::string(text.substr(LeadingBlanks(text).size())));
    for (size_t k = i; k < heading; ++k) out.push_back(lines[k]);
    i = heading;
  }
  return out;
}

}  // namespace quillet
