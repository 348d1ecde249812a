#include "cleanup/SortLinks.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "bookmarks/BookmarkFormat.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

// Only absolute addresses make a link line here: a "mailto:" link stays in
// place like a heading does.
bool IsLinkLine(std::string_view line) { return line.find("://") != npos; }

// The first bytes of a key, big-endian and zero-padded: they order as the
// key's first 8 bytes do, so most comparisons never touch the keys.
uint64_t KeyHead(const std::string& key) {
  uint64_t head = 0;
  for (size_t b = 0; b < 8; ++b) head = head << 8 | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0u);
  return head;
}

}  // namespace

std::string_view LinkSortDescription(std::string_view line) {
  const size_t q = line.find("\">");
  const size_t start = q == npos ? 1 : q + 2;
  const size_t end = line.find("</A>");
  if (end == npos || end < start) return {};
  return line.substr(start, end - start);
}

size_t SortLinks(Context& ctx) {
  TextLines& lines = ctx.HtmlLines;
  if (lines.empty()) return 0;
  BusyCursor busy(ctx.UI());
  Collation& collation = ctx.Collate();

  TextLines result;
  result.reserve(lines.size());
  // Moves the lines [begin, end) of the document to the result, blank ones
  // dropped.
  auto moveLines = [&](size_t begin, size_t end) {
    for (size_t k = begin; k < end; ++k)
      if (!IsBlankText(lines[k])) result.push_back(std::move(lines[k]));
  };

  // The pending run: positions of its lines in the document, the lines of
  // the description each carries along (an empty range for none), and the
  // key of its description, computed once. Descriptions are compared first
  // and whole lines only on a tie, so that a title comes before its longer
  // versions ("News", "News archive"); a whole line's key is made only for
  // the links whose descriptions tie, which most never do.
  std::vector<size_t> run;
  std::vector<std::pair<size_t, size_t>> descriptions;
  std::vector<std::string> descriptionKeys, lineKeys;
  size_t sorted = 0;
  struct Entry {
    uint64_t head;  // KeyHead of the description key
    size_t k;
  };
  std::vector<Entry> order;

  auto flushRun = [&] {
    order.clear();
    for (size_t k = 0; k < run.size(); ++k) order.push_back({KeyHead(descriptionKeys[k]), k});
    // Equal keys: the later line goes first, as if each line had been
    // inserted before the equal keys already in the run.
    std::sort(order.begin(), order.end(), [&](const Entry& a, const Entry& b) {
      if (a.head != b.head) return a.head < b.head;
      const int c = descriptionKeys[a.k].compare(descriptionKeys[b.k]);
      return c != 0 ? c < 0 : a.k > b.k;
    });
    // Links with equal descriptions now stand together: order each such
    // group by the keys of its whole lines.
    lineKeys.resize(run.size());
    for (size_t b = 0; b < order.size();) {
      size_t e = b + 1;
      while (e < order.size() && order[e].head == order[b].head &&
             descriptionKeys[order[e].k] == descriptionKeys[order[b].k])
        ++e;
      if (e - b > 1) {
        for (size_t i = b; i < e; ++i) lineKeys[order[i].k] = collation.SortKey(lines[run[order[i].k]]);
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(b), order.begin() + static_cast<std::ptrdiff_t>(e),
                  [&](const Entry& x, const Entry& y) {
                    const int c = lineKeys[x.k].compare(lineKeys[y.k]);
                    return c != 0 ? c < 0 : x.k > y.k;
                  });
      }
      b = e;
    }
    for (const Entry& e : order) {
      result.push_back(std::move(lines[run[e.k]]));
      moveLines(descriptions[e.k].first, descriptions[e.k].second);
    }
    sorted += run.size();
    run.clear();
    descriptions.clear();
    descriptionKeys.clear();
    lineKeys.clear();
  };

  // True while the last line kept is a link of the run still without its
  // description.
  bool linkWithoutDescription = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (IsBlankText(line)) continue;
    if (IsDescriptionLine(line)) {
      // A description is no link itself, whatever its lines hold; it belongs
      // to the link before it, and stays in place after anything else.
      const size_t end = DescriptionEnd(lines, i);
      if (linkWithoutDescription) {
        descriptions.back() = {i, end};
        linkWithoutDescription = false;
      } else {
        flushRun();
        moveLines(i, end);
      }
      i = end - 1;
      continue;
    }
    if (IsLinkLine(line)) {
      run.push_back(i);
      descriptions.emplace_back(0, 0);
      descriptionKeys.push_back(collation.SortKey(LinkSortDescription(line)));
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
