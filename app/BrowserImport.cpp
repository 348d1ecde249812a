#include "app/BrowserImport.h"

#include <algorithm>

#include "bookmarks/BookmarkFormat.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

bool IsListOpen(std::string_view line) {
  const std::string upper = UpperAscii(line);
  return upper.find("<DL>") != std::string::npos || upper.find("<DL ") != std::string::npos;
}

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

// Which list-open lines hold their folder's heading right after them (the
// program's own layout). A list opened right before a heading that is itself
// followed by a list reads both ways: its heading, then a subfolder's list
// (own layout), or a first subfolder's heading and its list (browsers'). The
// chain of such pairs decides at its end: a heading followed by no list ends
// it in the own layout, a list followed by no heading in the browsers'.
std::vector<bool> OwnLayoutLists(const TextLines& lines) {
  std::vector<bool> own(lines.size(), false);
  std::vector<bool> decided(lines.size(), false);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (decided[i] || !IsListOpen(lines[i])) continue;
    std::vector<size_t> chain;
    bool ownLayout = false;
    for (size_t list = i;;) {
      chain.push_back(list);
      const size_t heading = NextNonBlank(lines, list + 1);
      if (heading >= lines.size() || !IsHeading(lines[heading])) break;  // no heading: nothing to move
      const size_t next = NextNonBlank(lines, heading + 1);
      if (next >= lines.size() || !IsListOpen(lines[next])) {
        ownLayout = true;
        break;
      }
      list = next;
    }
    // The chain's last list decides only for itself when no heading follows it.
    for (const size_t list : chain) {
      decided[list] = true;
      own[list] = ownLayout;
    }
  }
  return own;
}

}  // namespace

TextLines ForBrowserImport(const TextLines& lines) {
  TextLines out;
  out.reserve(lines.size() + 8);
  if (!HasBrowserHeader(lines)) {
    const bool utf8 = std::all_of(lines.begin(), lines.end(), [](const std::string& l) { return IsValidUtf8(l); });
    out = BrowserHeaderLines(utf8);
  }
  const std::vector<bool> own = OwnLayoutLists(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t heading = own[i] ? NextNonBlank(lines, i + 1) : lines.size();
    if (heading >= lines.size() || !IsHeading(lines[heading])) {
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
