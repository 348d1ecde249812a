// TSection: measuring, line breaking and the minimum and maximum widths.
#include <algorithm>
#include <climits>

#include "viewer/layout/IndentManager.h"
#include "viewer/layout/Section.h"
#include "viewer/layout/SectionList.h"

namespace quillet {

namespace {

// The end of the run at index idx: the next run's start, or the text's end.
int RunEnd(const TFontList& runs, size_t idx, int len) {
  return idx + 1 < runs.size() ? std::min(runs[idx + 1].Pos, len) : len;
}

// Width of a stretch of one run's text, the font's overhang taken off.
int PartWidth(Canvas& canvas, TFontObj& run, std::u16string_view text) {
  if (text.empty()) return 0;
  const int overhang = run.Overhang(canvas);
  run.Select(canvas);
  return canvas.TextWidth(text) - overhang;
}

}  // namespace

int TSection::TextExtent(Canvas& canvas, int start, int count, bool withoutTrailingSpaces) {
  start = std::max(start, 0);
  int end = std::min(start + std::max(count, 0), Len());
  if (withoutTrailingSpaces)
    while (end > start && Buff[static_cast<size_t>(end - 1)] == u' ') --end;
  if (end <= start) return 0;
  int idx = 0;
  FontAt(Fonts, start, &idx);
  int width = 0;
  for (size_t i = static_cast<size_t>(idx); start < end && i < Fonts.size(); ++i) {
    const int stop = std::min(RunEnd(Fonts, i, Len()), end);
    if (stop <= start) continue;
    width += StretchWidth(canvas, i, start, stop);
    start = stop;
  }
  return width;
}

int TSection::StretchWidth(Canvas& canvas, size_t i, int from, int to) {
  const std::u16string_view buff(Buff);
  TFontObj& run = Fonts[i];
  if (!HasObjects())
    return PartWidth(canvas, run, buff.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
  int width = 0;
  while (from < to) {
    if (buff[static_cast<size_t>(from)] == kImageChar) {
      if (const TImageObj* image = ImageAt(from); image && !image->Floats()) width += image->ImageWidth;
      ++from;
      continue;
    }
    if (buff[static_cast<size_t>(from)] == kFormControlChar) {
      if (const TFormControlObj* control = FormControlAt(from)) width += control->Width();
      ++from;
      continue;
    }
    const int stop = NextObjectChar(from, to);
    width += PartWidth(canvas, run, buff.substr(static_cast<size_t>(from), static_cast<size_t>(stop - from)));
    from = stop;
  }
  return width;
}

int TSection::FindCountThatFits(Canvas& canvas, int width, int start, int* used) {
  return CountThatFits(canvas, width, start, Len(), true, used);
}

void TSection::PlaceFloat(TImageObj& image, IndentManager& IMgr, int y) {
  const FloatSide side = image.Align == ImageAlign::Right ? FloatSide::Right : FloatSide::Left;
  image.LayoutX = IMgr.AddFloat(y, side, image.ImageWidth, image.ImageHeight, image.HSpace);
  image.LayoutY = y - YValue;
  image.Placed = true;
}

namespace {

// The largest count of the characters of text whose extent fits room;
// width receives that extent. Text widths grow almost in proportion to the
// count, so each probe interpolates between a count that fits (lo) and one
// that does not (hi); a probe that does not halve the bracket is followed
// by a plain halving, which keeps the search logarithmic. The first probe is
// a generous guess, so that a short run takes one measurement and a long
// one is never measured whole. Never ends between the halves of a
// surrogate pair.
int FitText(Canvas& canvas, TFontObj& run, std::u16string_view text, int room, int& width) {
  const int n = static_cast<int>(text.size());
  auto extent = [&](int k) { return PartWidth(canvas, run, text.substr(0, static_cast<size_t>(k))); };
  const int guessWidth = std::max(1, run.FontHeight(canvas) / 4);
  int lo = 0, loWidth = 0, hi = -1, hiWidth = 0;
  int k = std::clamp(room / guessWidth + 1, 1, n);
  bool halve = false;
  while (true) {
    const int span = hi < 0 ? n + 1 - lo : hi - lo;
    const int e = extent(k);
    if (e <= room) {
      lo = k;
      loWidth = e;
      if (k == n) break;
    } else {
      hi = k;
      hiWidth = e;
    }
    if (hi < 0) {
      // All probed so far fits: reach as far as the width so far suggests.
      const long long reach = loWidth > 0 ? static_cast<long long>(lo) * room / loWidth + 1 : 2LL * lo;
      k = static_cast<int>(std::min<long long>(n, std::max<long long>(reach, lo + 1)));
      continue;
    }
    if (hi - lo <= 1) break;
    if (halve || hiWidth <= loWidth)
      k = lo + (hi - lo) / 2;
    else
      k = lo + static_cast<int>(static_cast<long long>(room - loWidth) * (hi - lo) / (hiWidth - loWidth));
    k = std::clamp(k, lo + 1, hi - 1);
    halve = (hi - lo) * 2 > span;
  }
  if (lo > 0 && lo < n && IsHighSurrogate(text[static_cast<size_t>(lo - 1)])) {
    --lo;
    loWidth = extent(lo);
  }
  width = loWidth;
  return lo;
}

}  // namespace

int TSection::CountThatFits(Canvas& canvas, int width, int start, int end, bool atLeastOne, int* used,
                            LineFloats* floats) {
  const std::u16string_view buff(Buff);
  end = std::min(end, Len());
  int idx = 0;
  FontAt(Fonts, start, &idx);
  size_t i = static_cast<size_t>(idx);
  int p = start;
  int w = 0;
  // Nothing but floating pictures so far: a float met now is placed at once.
  bool lineEmpty = true;
  while (p < end && i < Fonts.size()) {
    const int runEnd = std::min(RunEnd(Fonts, i, Len()), end);
    if (p >= runEnd) {
      ++i;
      continue;
    }
    if (buff[static_cast<size_t>(p)] == kImageChar && !Images().empty()) {
      TImageObj* image = ImageAt(p);
      if (image && image->Floats()) {
        if (floats && !image->Placed) {
          if (lineEmpty) {
            PlaceFloat(*image, *floats->IMgr, floats->Y);
            floats->Now.push_back(image);
            // The float takes its width and space from the line.
            width -= image->ImageWidth + image->HSpace;
          } else {
            floats->Deferred.push_back(image);
          }
        }
        ++p;
        continue;
      }
      const int iw = image ? image->ImageWidth : 0;
      if (w + iw > width) break;
      w += iw;
      lineEmpty = false;
      ++p;
      continue;
    }
    if (buff[static_cast<size_t>(p)] == kFormControlChar && !FormControls().empty()) {
      const TFormControlObj* control = FormControlAt(p);
      const int cw = control ? control->Width() : 0;
      if (w + cw > width) break;
      w += cw;
      lineEmpty = false;
      ++p;
      continue;
    }
    const int stop = NextObjectChar(p, runEnd);
    const int n = stop - p;
    int fitWidth = 0;
    const int k = FitText(canvas, Fonts[i], buff.substr(static_cast<size_t>(p), static_cast<size_t>(n)), width - w,
                          fitWidth);
    p += k;
    w += fitWidth;
    if (k > 0) lineEmpty = false;
    if (k < n) break;
  }
  int count = p - start;
  if (count == 0 && atLeastOne && start < end) {
    count = IsHighSurrogate(buff[static_cast<size_t>(start)]) && start + 1 < end ? 2 : 1;
    w = TextExtent(canvas, start, count);
  }
  if (used) *used = w;
  return count;
}

int TSection::ClearDistance(const IndentManager& IMgr, int y) const {
  if (ClearAttr == ClearKind::None) return 0;
  const IndentManager::ClearY clear = IMgr.GetClearY();
  const int left = clear.Left - y - 1;
  const int right = clear.Right - y - 1;
  int d = 0;
  switch (ClearAttr) {
    case ClearKind::Left: d = left; break;
    case ClearKind::Right: d = right; break;
    default: d = std::max(left, right); break;
  }
  return std::max(d, 0);
}

int TSection::LineEnd(int start, int c, LineBreaks& breaks) {
  const int len = Len();
  const auto at = [this](int i) { return Buff[static_cast<size_t>(i)]; };
  const auto past = [&](int end, char16_t blank) {
    while (end < len && at(end) == blank) ++end;
    return end;
  };
  if (at(c) == u' ') return past(c + 1, u' ');
  if (IsPlaceholder(at(c + 1))) return c + 1;
  int j = c;
  while (j >= start && at(j) != u' ' && !IsPlaceholder(at(j))) --j;
  int end = j + 1;
  // Scripts written without blanks break between their characters too.
  if (breaks.HasUnspaced()) end = std::max(end, breaks.LastUnspaced(end, c + 1));
  if (end > start) return end;
  // One word wider than the line. It fits when the blank after it does not.
  if (at(c + 1) == u' ') return past(c + 1, u' ');
  end = breaks.LastAny(start, c + 1);
  if (end < 0) end = breaks.CharBoundary(start, c + 1);
  return past(end, u' ');
}

int TSection::DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  YValue = Y;
  StartCurs = Curs;
  SectionHeight = 0;
  Lines.clear();
  IMgr.SetLevel(Y, Level);
  if (Buff.empty()) {
    SectionHeight = ClearDistance(IMgr, Y);
    DrawHeight = SectionHeight;
    MaxWidth = 0;
    return SectionHeight;
  }
  LeftEdge = IMgr.LeftIndent(Y) - IMgr.LfEdge;
  MaxWidth = IMgr.Width;
  for (const auto& image : Images()) {
    image->Placed = false;
    image->Size(*ParentSectionList, canvas, IMgr.Width, *FontAt(Fonts, image->Pos));
    MaxWidth = std::max(MaxWidth, image->ImageWidth + IndentX);
  }
  for (const TFormControlObj* control : FormControls()) MaxWidth = std::max(MaxWidth, control->Width() + IndentX);

  int y = Y;
  if (const int clear = ClearDistance(IMgr, y); clear > 0) {
    LineRec gap;
    gap.LineHt = clear;
    gap.DrawHeight = clear;
    Lines.push_back(gap);
    SectionHeight += clear;
    y += clear;
  }

  const int len = Len();
  LineBreaks breaks(Buff, highest_);
  BidiParagraph bidi;
  if (highest_ >= kFirstRtlUnit) bidi.Set(Buff);
  int start = 0;
  while (start < len) {
    const int avail = NoWrap() ? kNoWrapWidth : IMgr.RightSide(y) - IMgr.LeftIndent(y);
    int used = 0;
    LineFloats floats{&IMgr, y, {}, {}};
    const int n = CountThatFits(canvas, avail, start, len, true, &used, &floats);
    int end;
    bool measured = true;  // used is the width of [start, end)
    if (start + n >= len) {
      end = len;
    } else {
      measured = false;
      end = LineEnd(start, start + n - 1, breaks);
      // A character (or a cluster) wider than the line stands alone on it.
      if (used > avail || (end > start + n && Buff[static_cast<size_t>(start + n)] != u' ')) {
        const int lineEnd = IMgr.LeftIndent(y) - IMgr.LfEdge + TextExtent(canvas, start, end - start, true);
        MaxWidth = std::max(MaxWidth, lineEnd);
      }
    }
    FinishLine(canvas, IMgr, y, start, end, &floats, bidi);
    // A preformatted line is as wide as its text; the pane scrolls to it.
    if (NoWrap())
      MaxWidth = std::max(MaxWidth, Lines.back().LineIndent + (measured ? used : TextExtent(canvas, start, end - start)));
    start = end;
  }

  Curs = StartCurs + len;
  if (Level > 0) SectionHeight = std::max(SectionHeight, IMgr.NextLevelBottom() - YValue);
  DrawHeight = std::max(SectionHeight, IMgr.ImageBottom() - YValue);
  for (const auto& image : Images())
    if (!image->Floats()) DrawHeight = std::max(DrawHeight, image->LayoutY + image->ImageHeight);
  return SectionHeight;
}

void TSection::FinishLine(Canvas& canvas, IndentManager& IMgr, int& y, int start, int end, LineFloats* floats,
                          BidiParagraph& bidi) {
  LineRec line;
  line.Start = start;
  line.Ln = end - start;
  if (bidi.Ready()) line.Runs = bidi.LineRuns(start, end);
  MeasureLine(canvas, line);
  line.LineIndent = LineIndentAt(canvas, IMgr, y, line);
  const int h = line.Height();
  line.DrawHeight = h;
  PlaceLineObjects(canvas, line, y - YValue);
  SectionHeight += h;
  y += h;
  if (floats) {
    for (const TImageObj* image : floats->Now) line.DrawHeight = std::max(line.DrawHeight, image->ImageHeight);
    // Floats met after other content start below the line; one the line
    // did not take after all is met again by the next.
    for (TImageObj* image : floats->Deferred) {
      if (image->Pos >= end || image->Placed) continue;
      PlaceFloat(*image, IMgr, y);
      line.DrawHeight = std::max(line.DrawHeight, h + image->ImageHeight);
    }
  }
  Lines.push_back(std::move(line));
}

// The line's height from its font runs, and the room above and below it
// that its pictures and controls need.
void TSection::MeasureLine(Canvas& canvas, LineRec& line) const {
  const int start = line.Start, end = line.Start + line.Ln;
  const std::u16string_view buff(Buff);
  int idx = 0;
  FontAt(Fonts, start, &idx);
  for (size_t i = static_cast<size_t>(idx); i < Fonts.size() && Fonts[i].Pos < end; ++i) {
    const int from = std::max(Fonts[i].Pos, start);
    const int to = std::min(RunEnd(Fonts, i, Len()), end);
    if (to <= from) continue;
    // A stretch of placeholders only gives the line no height from fonts.
    const std::u16string_view part = buff.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    if (part.find_first_not_of(kPlaceholderChars) == std::u16string_view::npos) continue;
    line.LineHt = std::max(line.LineHt, Fonts[i].LineHeight(canvas));
    line.Descent = std::max(line.Descent, Fonts[i].Descent(canvas));
  }
  // The pictures on the line that do not float, by their alignment.
  const auto [firstImage, endImage] = ImagesIn(start, end);
  for (size_t k = firstImage; k < endImage; ++k) {
    const TImageObj* image = Images()[k].get();
    if (image->Floats()) continue;
    const int h = image->ImageHeight;
    switch (image->Align) {
      case ImageAlign::Top:
        line.SpaceAfter = std::max(line.SpaceAfter, h - line.LineHt);
        break;
      case ImageAlign::Middle: {
        const int extra = h - line.LineHt;
        line.SpaceAfter = std::max(line.SpaceAfter, extra / 2);
        line.SpaceBefore = std::max(line.SpaceBefore, extra - extra / 2);
        break;
      }
      default:
        line.SpaceBefore = std::max(line.SpaceBefore, h + line.Descent - line.LineHt);
        break;
    }
  }
  // Controls: check boxes and radio buttons stand on the baseline, the
  // others reach down to the line's bottom.
  const auto [firstControl, endControl] = ControlsIn(start, end);
  for (size_t k = firstControl; k < endControl; ++k) {
    const TFormControlObj* control = FormControls()[k];
    const int onBaseline = control->AlignFlag ? line.Descent : 0;
    line.SpaceBefore = std::max(line.SpaceBefore, control->Height() + onBaseline - line.LineHt);
  }
}

// Where the line starts, by the section's alignment, between the edges at y.
int TSection::LineIndentAt(Canvas& canvas, const IndentManager& IMgr, int y, const LineRec& line) {
  const int start = line.Start;
  const int left = IMgr.LeftIndent(y) - IMgr.LfEdge;
  const int right = IMgr.RightSide(y) - IMgr.LfEdge;
  switch (NoWrap() ? Justification::Left : Justify) {
    case Justification::Left:
      return left;
    case Justification::Center:
      return std::max(left, (left + right - TextExtent(canvas, start, line.Ln, true)) / 2);
    case Justification::Right:
      // A line wider than the column keeps its start in view, as centred
      // lines do; the pane scrolls right to its end.
      return std::max(left, right - TextExtent(canvas, start, line.Ln, true) - 1);
  }
  return left;
}

// The pictures and controls of the line that do not float, placed on it
// (lineTop in section coordinates): drawing finds the same places.
void TSection::PlaceLineObjects(Canvas& canvas, LineRec& line, int lineTop) {
  const int start = line.Start, end = line.Start + line.Ln;
  const std::u16string_view buff(Buff);
  const auto [firstImage, endImage] = ImagesIn(start, end);
  const auto [firstControl, endControl] = ControlsIn(start, end);
  const int baseline = lineTop + line.SpaceBefore + line.LineHt - line.Descent;
  // Right to left, pictures and controls stand where their pieces do.
  std::vector<std::pair<int, int>> objectX;  // (position, x) by position
  if (!line.Runs.empty() && (firstImage < endImage || firstControl < endControl)) {
    for (const LinePiece& piece : VisualPieces(canvas, line))
      if (IsPlaceholder(buff[static_cast<size_t>(piece.From)])) objectX.emplace_back(piece.From, piece.X);
    std::sort(objectX.begin(), objectX.end());
  }
  const auto xOf = [&](int pos) {
    if (line.Runs.empty()) return line.LineIndent + TextExtent(canvas, start, pos - start);
    const auto at = std::lower_bound(objectX.begin(), objectX.end(), std::pair{pos, INT_MIN});
    return at != objectX.end() && at->first == pos ? at->second : line.LineIndent;
  };
  for (size_t k = firstImage; k < endImage; ++k) {
    TImageObj* image = Images()[k].get();
    if (image->Floats()) continue;
    TFontObj& run = *FontAt(Fonts, image->Pos);
    image->LayoutX = xOf(image->Pos);
    image->LayoutY = image->TopOnLine(lineTop, baseline, run.Descent(canvas), run.FontHeight(canvas));
    // A middle-aligned picture may reach a pixel below its line: it is
    // drawn and hit there too.
    line.DrawHeight = std::max(line.DrawHeight, image->LayoutY + image->ImageHeight - lineTop);
  }
  for (size_t k = firstControl; k < endControl; ++k) {
    TFormControlObj* control = FormControls()[k];
    control->LayoutX = xOf(control->Pos);
    control->YValue = YValue + ControlTop(*control, baseline, line.Descent);
  }
}

void TSection::MinMaxWidth(Canvas& canvas, int& Min, int& Max) {
  // Pictures with a percentage width take what they are given: they count
  // for neither. One that does not float is as wide as the narrowest line
  // can be; floats add their width and space to both.
  int widestImage = 0, floatWidths = 0, percentWidths = 0;
  for (const auto& image : Images()) {
    image->Size(*ParentSectionList, canvas, 0, *FontAt(Fonts, image->Pos));
    if (image->PercentWidth) {
      if (!image->Floats()) percentWidths += image->ImageWidth;
    } else if (image->Floats()) {
      floatWidths += image->ImageWidth + image->HSpace;
    } else {
      widestImage = std::max(widestImage, image->ImageWidth);
    }
  }
  Max = TextExtent(canvas, 0, Len()) - percentWidths + floatWidths + IndentX;
  int widest = 0;
  const int len = Len();
  const auto separates = [this](int i) {
    const char16_t c = Buff[static_cast<size_t>(i)];
    return c == u' ' || c == kImageChar;
  };
  LineBreaks breaks(Buff, highest_);
  for (int p = 0; p < len;) {
    while (p < len && separates(p)) ++p;
    int q = p;
    while (q < len && !separates(q)) ++q;
    // A word of a script written without blanks is as wide as its widest
    // stretch between two breaks.
    for (int e = q; e > p;) {
      const int b = breaks.HasUnspaced() ? breaks.LastUnspaced(p, e - 1) : -1;
      const int from = b > p ? b : p;
      widest = std::max(widest, TextExtent(canvas, from, e - from));
      e = from;
    }
    p = q;
  }
  Min = std::max(widest, widestImage) + floatWidths + IndentX;
}

std::vector<TSection::LinePiece> TSection::VisualPieces(Canvas& canvas, const LineRec& line) {
  std::vector<LinePiece> pieces;
  int x = line.LineIndent;
  for (const BidiRun& run : line.Runs) {
    const size_t first = pieces.size();
    const int end = std::min(run.Start + run.Ln, Len());
    int idx = 0;
    FontAt(Fonts, run.Start, &idx);
    auto i = static_cast<size_t>(idx);
    for (int p = run.Start; p < end;) {
      while (i + 1 < Fonts.size() && Fonts[i + 1].Pos <= p) ++i;
      int stop = std::min(RunEnd(Fonts, i, Len()), end);
      stop = IsPlaceholder(Buff[static_cast<size_t>(p)]) ? p + 1 : NextObjectChar(p, stop);
      pieces.push_back({p, stop, 0, StretchWidth(canvas, i, p, stop), run.Rtl, i});
      p = stop;
    }
    // Right to left, the first of the run is its right end.
    if (run.Rtl) std::reverse(pieces.begin() + static_cast<std::ptrdiff_t>(first), pieces.end());
    for (size_t k = first; k < pieces.size(); ++k) {
      pieces[k].X = x;
      x += pieces[k].Width;
    }
  }
  return pieces;
}

int TSection::XOfPosition(Canvas& canvas, const LineRec& line, int pos) {
  if (line.Runs.empty()) return line.LineIndent + TextExtent(canvas, line.Start, pos - line.Start);
  const std::vector<LinePiece> pieces = VisualPieces(canvas, line);
  for (const LinePiece& piece : pieces) {
    if (pos < piece.From || pos >= piece.To) continue;
    const int before = StretchWidth(canvas, piece.Font, piece.From, pos);
    return piece.Rtl ? piece.X + piece.Width - before : piece.X + before;
  }
  return pieces.empty() ? line.LineIndent : pieces.back().X + pieces.back().Width;
}

}  // namespace quillet
