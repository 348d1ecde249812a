// ThtmlTable: the cells' minimum and maximum widths folded into columns
// (plainly, or with percentages), the table's own minimum and maximum, and
// the division of a width between the columns.
#include <algorithm>
#include <climits>
#include <numeric>

#include "viewer/layout/SectionList.h"
#include "viewer/tables/Table.h"

namespace quillet {

namespace {

int Sum(const std::vector<int>& v, int first, int n) {
  return std::accumulate(v.begin() + first, v.begin() + first + n, 0);
}

// a * b / c in 64 bits, rounded toward zero, within the range of int (a
// tiny percentage can make an ideal width out of all proportion).
int MulDiv(long long a, long long b, long long c) {
  return static_cast<int>(std::clamp<long long>(a * b / c, INT_MIN, INT_MAX));
}

// Adds excess to the listed columns in proportion to their weights
// (integer multiply then divide), or in equal parts when the weights sum to
// 0. What rounding down leaves goes a pixel each to the first columns, so
// that the columns together take the whole excess: a spanning cell then
// gets the width it was measured for and its text does not wrap. The
// weights may be the values themselves: they are read before any column
// changes.
void AddExcess(std::vector<int>& v, const std::vector<int>& cols, int excess, const std::vector<int>& weights) {
  if (cols.empty() || excess <= 0) return;
  long long total = 0;
  for (const int c : cols) total += weights[static_cast<size_t>(c)];
  const int n = static_cast<int>(cols.size());
  std::vector<int> shares(cols.size());
  int given = 0;
  for (int i = 0; i < n; ++i) {
    const auto j = static_cast<size_t>(cols[static_cast<size_t>(i)]);
    shares[static_cast<size_t>(i)] = total > 0 ? MulDiv(excess, weights[j], total) : excess / n;
    given += shares[static_cast<size_t>(i)];
  }
  for (int i = 0; i < n; ++i)
    v[static_cast<size_t>(cols[static_cast<size_t>(i)])] +=
        shares[static_cast<size_t>(i)] + (i < excess - given ? 1 : 0);
}

// Raises the n columns from first so that together they reach target, the
// excess spread by AddExcess.
void Spread(std::vector<int>& v, int first, int n, int target, const std::vector<int>& weights) {
  std::vector<int> cols(static_cast<size_t>(std::max(n, 0)));
  std::iota(cols.begin(), cols.end(), first);
  AddExcess(v, cols, target - Sum(v, first, n), weights);
}

// Every column's maximum at least its minimum, so that the interpolations
// between them never shrink a column.
void KeepMaxAboveMin(ThtmlTable::ColumnSizes& s) {
  for (size_t j = 0; j < s.Min.size(); ++j) s.Max[j] = std::max(s.Max[j], s.Min[j]);
}

// Each column at min + (max - min) * (C - total min) / (total max - total min).
std::vector<int> Interpolate(const ThtmlTable::ColumnSizes& s, int C) {
  const long long totalMin = s.TotalMin(), totalMax = s.TotalMax();
  std::vector<int> w(s.Min.size());
  for (size_t j = 0; j < w.size(); ++j)
    w[j] = s.Min[j] + static_cast<int>(static_cast<long long>(s.Max[j] - s.Min[j]) * (C - totalMin) /
                                       (totalMax - totalMin));
  return w;
}

}  // namespace

int ThtmlTable::ColumnSizes::TotalMin() const { return std::accumulate(Min.begin(), Min.end(), 0); }
int ThtmlTable::ColumnSizes::TotalMax() const { return std::accumulate(Max.begin(), Max.end(), 0); }

void ThtmlTable::Measure(Canvas& canvas) {
  const unsigned generation = ParentSectionList ? ParentSectionList->LayoutGeneration() : 0;
  if (measured_ && measuredGeneration_ == generation) return;
  cellMin_.assign(cells_.size(), 0);
  cellMax_.assign(cells_.size(), 0);
  for (size_t k = 0; k < cells_.size(); ++k) cells_[k]->Cell.MinMaxWidth(canvas, cellMin_[k], cellMax_[k]);
  Caption.Cell.MinMaxWidth(canvas, captionMin_, captionMax_);
  measured_ = true;
  measuredGeneration_ = generation;
}

int ThtmlTable::CellPercent(const TCellObj& cell, int width) const {
  if (cell.SpecWdPercent) return cell.SpecWd;
  if (cell.SpecWd > 0 && width > 0) return std::min(MulDiv(cell.SpecWd, 1000, width), 1000);
  return 0;
}

// Both passes take the cells narrowest span first, so that a spanning cell
// only adds what the columns it covers do not give already. visit(sizes,
// cell, min, max) gets each cell's widths with its padding and spacing.
template <class Visit>
ThtmlTable::ColumnSizes ThtmlTable::MeasureBySpan(Canvas& canvas, Visit visit) {
  Initialize();
  Measure(canvas);
  const int d = 2 * CellPadding + CellSpacing;
  ColumnSizes s;
  s.Min.assign(static_cast<size_t>(NumCols), 0);
  s.Max.assign(static_cast<size_t>(NumCols), 0);
  s.Pct.assign(static_cast<size_t>(NumCols), 0);
  int widest = 1;
  for (const TCellObj* cell : cells_) widest = std::max(widest, cell->ColSpan);
  for (int span = 1; span <= widest; ++span)
    for (size_t k = 0; k < cells_.size(); ++k)
      if (cells_[k]->ColSpan == span) visit(s, *cells_[k], cellMin_[k] + d, cellMax_[k] + d);
  KeepMaxAboveMin(s);
  return s;
}

ThtmlTable::ColumnSizes ThtmlTable::PlainSizes(Canvas& canvas) {
  return MeasureBySpan(canvas, [this](ColumnSizes& s, const TCellObj& cell, int mn, int mx) {
    const int d = 2 * CellPadding + CellSpacing;
    if (!cell.SpecWdPercent && cell.SpecWd > 0) mn = mx = std::max(mn, cell.SpecWd + d);
    if (cell.ColSpan == 1) {
      const auto j = static_cast<size_t>(cell.Col);
      s.Min[j] = std::max(s.Min[j], mn);
      s.Max[j] = std::max(s.Max[j], mx);
    } else {
      Spread(s.Min, cell.Col, cell.ColSpan, mn, s.Min);
      Spread(s.Max, cell.Col, cell.ColSpan, mx, s.Max);
    }
  });
}

ThtmlTable::ColumnSizes ThtmlTable::PercentSizes(Canvas& canvas, int width) {
  return MeasureBySpan(canvas, [this, width](ColumnSizes& s, const TCellObj& cell, int mn, int mx) {
    const int span = cell.ColSpan;
    const int cp = CellPercent(cell, width);
    const int first = cell.Col;
    if (span == 1) {
      const auto j = static_cast<size_t>(first);
      s.Min[j] = std::max(s.Min[j], mn);
      s.Max[j] = std::max(s.Max[j], mx);
      s.Pct[j] = std::max(s.Pct[j], cp);
      return;
    }
    int P = 0;
    std::vector<int> plain;  // the columns without a percentage
    for (int c = first; c < first + span; ++c) {
      if (s.Pct[static_cast<size_t>(c)] > 0)
        P += s.Pct[static_cast<size_t>(c)];
      else
        plain.push_back(c);
    }
    const int without = static_cast<int>(plain.size());
    if (cp <= 0 && P <= 0) {
      Spread(s.Min, first, span, mn, s.Min);
      Spread(s.Max, first, span, mx, s.Max);
      return;
    }
    if (without == 0 && P < cp) {
      for (int c = first; c < first + span; ++c)
        s.Pct[static_cast<size_t>(c)] = MulDiv(s.Pct[static_cast<size_t>(c)], cp, P);
    } else if (without > 0 && (cp - P) / without > 0) {
      for (const int c : plain) s.Pct[static_cast<size_t>(c)] = (cp - P) / without;
    }
    // Without plain columns each column takes its percentage's part of
    // the cell; else the plain columns take what the cell needs beyond
    // the others.
    const int Q = std::max(P, cp);
    if (const int excess = mn - Sum(s.Min, first, span); excess > 0) {
      if (without == 0) {
        for (int c = first; c < first + span; ++c) {
          const auto j = static_cast<size_t>(c);
          s.Min[j] = std::max(s.Min[j], MulDiv(mn, s.Pct[j], Q));
        }
      } else {
        AddExcess(s.Min, plain, excess, s.Max);
      }
    }
    if (const int excess = mx - Sum(s.Max, first, span); excess > 0) {
      if (without == 0) {
        for (int c = first; c < first + span; ++c) {
          const auto j = static_cast<size_t>(c);
          s.Max[j] = std::max(s.Max[j], MulDiv(mx, s.Pct[j], Q));
        }
      } else {
        AddExcess(s.Max, plain, excess, std::vector<int>(s.Max.size(), 0));
      }
    }
  });
}

void ThtmlTable::MinMaxWidth(Canvas& canvas, int& Min, int& Max) {
  Initialize();
  const int pixelWidth = HasWidth() && !SpecWidthPercent ? SpecWidth : 0;
  const ColumnSizes s = !HasPixelCells || HasWidth() ? PercentSizes(canvas, pixelWidth) : PlainSizes(canvas);
  Min = s.TotalMin() + CellSpacing;
  Max = s.TotalMax() + CellSpacing;
  if (pixelWidth > 0) {
    Min = std::max(Min, pixelWidth);
    Max = std::max(Max, pixelWidth);
  }
  Min = std::max(Min, captionMin_);
  Max = std::max(Max, captionMin_);
}

std::vector<int> ThtmlTable::ColumnWidths(Canvas& canvas, int C) {
  if (HasPixelCells && !HasWidth()) {
    const ColumnSizes s = PlainSizes(canvas);
    if (s.TotalMax() <= C) return s.Max;
    if (s.TotalMin() > C) return s.Min;
    return Interpolate(s, C);
  }
  const ColumnSizes s = PercentSizes(canvas, C);
  if (s.TotalMin() >= C) return s.Min;
  if (HasWidth()) return AllocatePercentages(s, C);
  return NaturalWidths(s, C);
}

// A table without WIDTH: as wide as its content asks, percentage columns
// keeping their share, within C.
std::vector<int> ThtmlTable::NaturalWidths(ColumnSizes s, int C) const {
  const size_t n = s.Min.size();
  const int T = std::accumulate(s.Pct.begin(), s.Pct.end(), 0);
  if (T >= 1 && T <= 1000) {
    int M = 0;
    for (size_t j = 0; j < n; ++j)
      if (s.Pct[j] == 0) M += s.Max[j];
    // The width at which every column gets its maximum and each percentage
    // column its share.
    int E = T < 1000 ? MulDiv(M, 1000, 1000 - T) : (M == 0 ? 0 : 30000);
    for (size_t j = 0; j < n; ++j)
      if (s.Pct[j] > 0) E = std::max(E, MulDiv(s.Max[j], 1000, s.Pct[j]));
    if (E <= C) {
      std::vector<int> w(n);
      const int rest = MulDiv(E, 1000 - T, 1000);
      for (size_t j = 0; j < n; ++j)
        w[j] = s.Pct[j] > 0 ? MulDiv(E, s.Pct[j], 1000) : (M > 0 ? MulDiv(s.Max[j], rest, M) : 0);
      return w;
    }
    // Too wide: percentage columns too narrow for their content lose their
    // percentage; the others are scaled down until they fit beside the
    // remaining columns' minimums, then fixed at their share.
    std::vector<int> pct = s.Pct;
    for (size_t round = 0; round <= n + 1; ++round) {
      for (size_t j = 0; j < n; ++j)
        if (pct[j] > 0 && MulDiv(C, pct[j], 1000) - 1 < s.Min[j]) pct[j] = 0;
      long long shares = 0, others = 0;
      bool any = false;
      for (size_t j = 0; j < n; ++j) {
        if (pct[j] > 0) {
          shares += MulDiv(C, pct[j], 1000);
          any = true;
        } else {
          others += s.Min[j];
        }
      }
      if (!any) break;
      if (shares + others > C) {
        const long long room = C - others;
        for (size_t j = 0; j < n; ++j)
          if (pct[j] > 0) pct[j] = room > 0 ? static_cast<int>(pct[j] * room / shares) : 0;
        continue;
      }
      for (size_t j = 0; j < n; ++j)
        if (pct[j] > 0) s.Min[j] = s.Max[j] = MulDiv(C, pct[j], 1000);
      break;
    }
  }
  const int totalMin = s.TotalMin(), totalMax = s.TotalMax();
  if (C < totalMax && totalMax != totalMin) return Interpolate(s, C);
  return s.Max;
}

// A table with WIDTH fills exactly C: percentage columns get their share
// (never below their minimum), the rest of the width goes to the columns
// that can take it.
std::vector<int> ThtmlTable::AllocatePercentages(const ColumnSizes& s, int C) const {
  const size_t n = s.Min.size();
  if (n == 0) return {};
  std::vector<int> w(n);
  std::vector<bool> fixed(n, false);
  bool allPercent = true;
  for (size_t j = 0; j < n; ++j) {
    if (s.Pct[j] == 0) {
      allPercent = false;
      w[j] = s.Min[j];
      continue;
    }
    const int share = MulDiv(C, s.Pct[j], 1000);
    if (share > s.Min[j]) {
      w[j] = share;
    } else {
      w[j] = s.Min[j];
      fixed[j] = true;
    }
  }
  const auto total = [&w] { return std::accumulate(w.begin(), w.end(), 0); };
  const auto unfixedPercent = [&] {
    long long p = 0;
    for (size_t j = 0; j < n; ++j)
      if (s.Pct[j] > 0 && !fixed[j]) p += s.Pct[j];
    return p;
  };

  if (const int shortfall = C - total(); shortfall > 0) {
    if (allPercent) {
      if (const long long p = unfixedPercent(); p > 0)
        for (size_t j = 0; j < n; ++j)
          if (!fixed[j]) w[j] += static_cast<int>(shortfall * s.Pct[j] / p);
    } else {
      long long room = 0;
      int plain = 0;
      for (size_t j = 0; j < n; ++j)
        if (s.Pct[j] == 0) {
          room += s.Max[j] - s.Min[j];
          ++plain;
        }
      for (size_t j = 0; j < n; ++j)
        if (s.Pct[j] == 0)
          w[j] += room > 0 ? static_cast<int>(shortfall * (s.Max[j] - s.Min[j]) / room) : shortfall / plain;
    }
  } else if (shortfall < 0) {
    for (int round = 0; round < 4; ++round) {
      long long excess = total() - C;
      long long p = unfixedPercent();
      if (excess <= 0 || p <= 0) break;
      // Columns that would drop below their minimum stop there.
      for (size_t j = 0; j < n; ++j) {
        if (s.Pct[j] == 0 || fixed[j]) continue;
        if (w[j] - excess * s.Pct[j] / p < s.Min[j]) {
          excess -= w[j] - s.Min[j];
          p -= s.Pct[j];
          w[j] = s.Min[j];
          fixed[j] = true;
        }
      }
      if (excess <= 0 || p <= 0) continue;
      for (size_t j = 0; j < n; ++j)
        if (s.Pct[j] > 0 && !fixed[j]) w[j] = std::max(s.Min[j], w[j] - static_cast<int>(excess * s.Pct[j] / p));
    }
  }

  // Rounding: what is left of C goes to the first column; what is over
  // comes off the first column that is not fixed.
  const int rest = C - total();
  if (rest > 0) {
    w[0] += rest;
  } else if (rest < 0) {
    for (size_t j = 0; j < n; ++j)
      if (!fixed[j]) {
        w[j] = std::max(w[j] + rest, 0);
        break;
      }
  }
  return w;
}

}  // namespace quillet
