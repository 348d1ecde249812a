#include "cleanup/SortLinks.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "convert/BookmarkFormat.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

// Only absolute addresses make a link line here: a "mailto:" link stays in
// place like a heading does.
bool IsLinkLine(std::string_view line) { return line.find("://") != npos; }

// From after the first '">' (or from the second character when there is
// none) up to the first "</A>" in exact case; empty when that is missing or
// comes first.
std::string_view LinkDescription(std::string_view line) {
  const size_t q = line.find("\">");
  const size_t start = q == npos ? 1 : q + 2;
  const size_t end = line.find("</A>");
  if (end == npos || end < start) return {};
  return line.substr(start, end - start);
}

}  // namespace

namespace {

// LinkSortText into a buffer the caller reuses.
void MakeLinkSortText(std::string_view line, std::string& text) {
  const std::string_view separator =
      IsValidUtf8(line) ? std::string_view("\xC2\xB9") : std::string_view(&SortSeparator, 1);
  text.assign(LinkDescription(line)).append(separator).append(line);
}

}  // namespace

std::string LinkSortText(std::string_view line) {
  std::string text;
  MakeLinkSortText(line, text);
  return text;
}

size_t SortLinks(Context& ctx) {
  TextLines& lines = ctx.HtmlLines;
  if (lines.empty()) return 0;
  BusyCursor busy(ctx.UI());
  Collation& collation = ctx.Collate();

  TextLines result;
  result.reserve(lines.size());
  // The pending run: positions of its lines in the document, of the
  // description line each carries along (npos for none), and their keys,
  // each key computed once.
  std::vector<size_t> run, descriptions;
  std::vector<std::string> keys;
  std::string sortText;
  size_t sorted = 0;
  // What the sort moves: a run position with the first bytes of its key, so
  // that most comparisons never touch the keys themselves.
  struct Entry {
    uint64_t head;
    size_t k;
  };
  std::vector<Entry> order;

  auto flushRun = [&] {
    order.clear();
    for (size_t k = 0; k < run.size(); ++k) {
      uint64_t head = 0;  // big-endian, zero-padded: orders as the key's first 8 bytes
      for (size_t b = 0; b < 8; ++b)
        head = head << 8 | (b < keys[k].size() ? static_cast<unsigned char>(keys[k][b]) : 0u);
      order.push_back({head, k});
    }
    // Equal keys: the later line goes first, as if each line had been
    // inserted before the equal keys already in the run.
    std::sort(order.begin(), order.end(), [&](const Entry& a, const Entry& b) {
      if (a.head != b.head) return a.head < b.head;
      const int c = keys[a.k].compare(keys[b.k]);
      return c != 0 ? c < 0 : a.k > b.k;
    });
    for (const Entry& e : order) {
      result.push_back(std::move(lines[run[e.k]]));
      if (descriptions[e.k] != npos) result.push_back(std::move(lines[descriptions[e.k]]));
    }
    sorted += run.size();
    run.clear();
    descriptions.clear();
    keys.clear();
  };

  // True while the last line kept is a link of the run still without its
  // description line.
  bool linkWithoutDescription = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (IsBlankText(line)) continue;
    if (IsDescriptionLine(line)) {
      // A description is no link itself, whatever it holds; it belongs to
      // the link before it, and stays in place after anything else.
      if (linkWithoutDescription) {
        descriptions.back() = i;
        linkWithoutDescription = false;
        continue;
      }
    } else if (IsLinkLine(line)) {
      run.push_back(i);
      descriptions.push_back(npos);
      MakeLinkSortText(line, sortText);
      keys.push_back(collation.SortKey(sortText));
      linkWithoutDescription = true;
      continue;
    }
    linkWithoutDescription = false;
    flushRun();
    result.push_back(std::move(lines[i]));
  }
  flushRun();

  if (ctx.Config.DoubleSpaceLines) {
    TextLines spaced;
    spaced.reserve(result.size() * 2);
    for (std::string& line : result) {
      spaced.push_back(std::move(line));
      spaced.emplace_back();
    }
    result = std::move(spaced);
  }
  lines = std::move(result);
  return sorted;
}

}  // namespace quillet
