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

// Builds the sorted document: lines move from the document to the result,
// runs of link lines sorted as they end.
class LinkSorter {
 public:
  LinkSorter(TextLines& lines, Collation& collation) : lines_(lines), collation_(collation) {
    result_.reserve(lines.size());
  }

  // Moves the lines [begin, end) of the document to the result, blank ones
  // dropped.
  void MoveLines(size_t begin, size_t end) {
    for (size_t k = begin; k < end; ++k)
      if (!IsBlankText(lines_[k])) result_.push_back(std::move(lines_[k]));
  }

  // The link line at i joins the pending run.
  void AddLink(size_t i) {
    run_.push_back(i);
    descriptions_.emplace_back(0, 0);
    descriptionKeys_.push_back(collation_.SortKey(LinkSortDescription(lines_[i])));
  }

  // The lines [begin, end) are the description of the run's last link.
  void DescribeLastLink(size_t begin, size_t end) { descriptions_.back() = {begin, end}; }

  // The pending run, sorted, to the result, each link with its description.
  void FlushRun() {
    order_.clear();
    for (size_t k = 0; k < run_.size(); ++k) order_.push_back({KeyHead(descriptionKeys_[k]), k});
    // Equal keys: the later line goes first, as if each line had been
    // inserted before the equal keys already in the run.
    std::sort(order_.begin(), order_.end(), [&](const Entry& a, const Entry& b) {
      if (a.head != b.head) return a.head < b.head;
      const int c = descriptionKeys_[a.k].compare(descriptionKeys_[b.k]);
      return c != 0 ? c < 0 : a.k > b.k;
    });
    OrderTiesByLine();
    for (const Entry& e : order_) {
      result_.push_back(std::move(lines_[run_[e.k]]));
      MoveLines(descriptions_[e.k].first, descriptions_[e.k].second);
    }
    sorted_ += run_.size();
    run_.clear();
    descriptions_.clear();
    descriptionKeys_.clear();
    lineKeys_.clear();
  }

  TextLines TakeResult() { return std::move(result_); }
  size_t Sorted() const { return sorted_; }

 private:
  struct Entry {
    uint64_t head;  // KeyHead of the description key
    size_t k;
  };

  // Links with equal descriptions stand together once sorted by them: each
  // such group is ordered by the keys of its whole lines, made only for
  // them (most links share their description with none).
  void OrderTiesByLine() {
    lineKeys_.resize(run_.size());
    for (size_t b = 0; b < order_.size();) {
      size_t e = b + 1;
      while (e < order_.size() && order_[e].head == order_[b].head &&
             descriptionKeys_[order_[e].k] == descriptionKeys_[order_[b].k])
        ++e;
      if (e - b > 1) {
        for (size_t i = b; i < e; ++i) lineKeys_[order_[i].k] = collation_.SortKey(lines_[run_[order_[i].k]]);
        std::sort(order_.begin() + static_cast<std::ptrdiff_t>(b), order_.begin() + static_cast<std::ptrdiff_t>(e),
                  [&](const Entry& x, const Entry& y) {
                    const int c = lineKeys_[x.k].compare(lineKeys_[y.k]);
                    return c != 0 ? c < 0 : x.k > y.k;
                  });
      }
      b = e;
    }
  }

  TextLines& lines_;
  Collation& collation_;
  TextLines result_;
  // The pending run: positions of its lines in the document, the lines of
  // the description each carries along (an empty range for none), and the
  // keys of its description, computed once, and of its whole line, made
  // when a tie needs it. Descriptions are compared first and whole lines
  // only on a tie, so that a title comes before its longer versions
  // ("News", "News archive").
  std::vector<size_t> run_;
  std::vector<std::pair<size_t, size_t>> descriptions_;
  std::vector<std::string> descriptionKeys_, lineKeys_;
  std::vector<Entry> order_;
  size_t sorted_ = 0;
};

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
  LinkSorter sorter(lines, ctx.Collate());
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
        sorter.DescribeLastLink(i, end);
        linkWithoutDescription = false;
      } else {
        sorter.FlushRun();
        sorter.MoveLines(i, end);
      }
      i = end - 1;
      continue;
    }
    if (IsLinkLine(line)) {
      sorter.AddLink(i);
      linkWithoutDescription = true;
      continue;
    }
    linkWithoutDescription = false;
    sorter.FlushRun();
    sorter.MoveLines(i, i + 1);
  }
  sorter.FlushRun();
  TextLines result = sorter.TakeResult();

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
  return sorter.Sorted();
}

}  // namespace quillet
