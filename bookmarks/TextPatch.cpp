#include "bookmarks/TextPatch.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace quillet {

void ApplyPatch(TextLines& lines, const TextPatch& patch) {
  size_t cursor = 0;
  for (const TextHunk& h : patch.Hunks) {
    if (h.OldFirst < cursor || h.OldFirst + h.OldLines.size() > lines.size() ||
        !std::equal(h.OldLines.begin(), h.OldLines.end(), lines.begin() + static_cast<std::ptrdiff_t>(h.OldFirst)))
      throw std::invalid_argument("the lines are not the ones the change was made from");
    cursor = h.OldFirst + h.OldLines.size();
  }
  const bool sameLengths = std::all_of(patch.Hunks.begin(), patch.Hunks.end(),
                                       [](const TextHunk& h) { return h.OldLines.size() == h.NewLines.size(); });
  if (sameLengths) {
    // Lines changed in place (a rename): no other line moves.
    for (const TextHunk& h : patch.Hunks) std::copy(h.NewLines.begin(), h.NewLines.end(), lines.begin() + static_cast<std::ptrdiff_t>(h.OldFirst));
    return;
  }
  TextLines out;
  out.reserve(lines.size());
  cursor = 0;
  for (const TextHunk& h : patch.Hunks) {
    for (; cursor < h.OldFirst; ++cursor) out.push_back(std::move(lines[cursor]));
    out.insert(out.end(), h.NewLines.begin(), h.NewLines.end());
    cursor = h.OldFirst + h.OldLines.size();
  }
  for (; cursor < lines.size(); ++cursor) out.push_back(std::move(lines[cursor]));
  lines = std::move(out);
}

TextPatch InvertPatch(TextPatch patch) {
  for (TextHunk& h : patch.Hunks) {
    std::swap(h.OldFirst, h.NewFirst);
    std::swap(h.OldLines, h.NewLines);
  }
  return patch;
}

namespace {

// The runs that keep their order: a chain of runs whose old places rise as
// their new places do, with as many lines as possible (a heaviest rising
// chain, found with a tree of prefix maxima over the old places' ranks).
std::vector<bool> RunsInOrder(const std::vector<MovedRun>& runs) {
  const size_t n = runs.size();
  std::vector<size_t> rank(n);
  {
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return runs[a].OldFirst < runs[b].OldFirst; });
    for (size_t r = 0; r < n; ++r) rank[order[r]] = r;
  }
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<std::pair<size_t, size_t>> best(n + 1, {0, kNone});  // (lines, run) per rank prefix
  std::vector<size_t> weight(n), from(n, kNone);
  for (size_t i = 0; i < n; ++i) {
    std::pair<size_t, size_t> before{0, kNone};
    for (size_t k = rank[i]; k > 0; k &= k - 1) before = std::max(before, best[k]);
    weight[i] = before.first + runs[i].Count;
    from[i] = before.second;
    for (size_t k = rank[i] + 1; k <= n; k += k & (~k + 1)) best[k] = std::max(best[k], std::make_pair(weight[i], i));
  }
  std::vector<bool> keep(n, false);
  size_t last = kNone;
  for (size_t i = 0; i < n; ++i)
    if (last == kNone || weight[i] > weight[last]) last = i;
  for (size_t i = last; i != kNone; i = from[i]) keep[i] = true;
  return keep;
}

}  // namespace

TextPatch PatchFromMoves(const TextLines& old, const TextLines& now, const std::vector<MovedRun>& runs) {
  const std::vector<bool> keep = RunsInOrder(runs);
  // Where the old lines of the runs that moved out of order went.
  std::vector<MovedRun> moved;
  for (size_t i = 0; i < runs.size(); ++i)
    if (!keep[i]) moved.push_back(runs[i]);
  std::sort(moved.begin(), moved.end(), [](const MovedRun& a, const MovedRun& b) { return a.OldFirst < b.OldFirst; });
  auto oldLine = [&](size_t i) -> const std::string& {
    auto r = std::upper_bound(moved.begin(), moved.end(), i, [](size_t v, const MovedRun& m) { return v < m.OldFirst; });
    if (r != moved.begin() && i < (r - 1)->OldFirst + (r - 1)->Count) return now[(r - 1)->NewFirst + (i - (r - 1)->OldFirst)];
    return old[i];
  };
  TextPatch patch;
  size_t oldAt = 0, newAt = 0;
  auto gapUpTo = [&](size_t oldEnd, size_t newEnd) {
    if (oldEnd == oldAt && newEnd == newAt) return;
    TextHunk h;
    h.OldFirst = oldAt;
    h.NewFirst = newAt;
    h.OldLines.reserve(oldEnd - oldAt);
    for (size_t i = oldAt; i < oldEnd; ++i) h.OldLines.push_back(oldLine(i));
    h.NewLines.assign(now.begin() + static_cast<std::ptrdiff_t>(newAt), now.begin() + static_cast<std::ptrdiff_t>(newEnd));
    patch.Hunks.push_back(std::move(h));
  };
  for (size_t i = 0; i < runs.size(); ++i) {
    if (!keep[i]) continue;
    gapUpTo(runs[i].OldFirst, runs[i].NewFirst);
    oldAt = runs[i].OldFirst + runs[i].Count;
    newAt = runs[i].NewFirst + runs[i].Count;
  }
  gapUpTo(old.size(), now.size());
  return patch;
}

}  // namespace quillet
