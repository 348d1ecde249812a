// TSection: drawing lines in chunks, with the selection inverted.
#include <algorithm>

#include "viewer/FormControls.h"
#include "viewer/IndentManager.h"
#include "viewer/Section.h"
#include "viewer/SectionList.h"

namespace quillet {

int TSection::Draw(Canvas& canvas, const Rect& ClipRect, IndentManager& IMgr, int X, int Y) {
  YValue = Y;
  const int bottom = Y + SectionHeight;
  if (Y + DrawHeight <= ClipRect.Top || Y >= ClipRect.Bottom) return bottom;
  const int clipRight = IMgr.LfEdge + IMgr.ClipWidth;
  bool first = true;
  int top = Y;
  for (LineRec& line : Lines) {
    const int h = line.Height();
    line.DrawY = top + line.SpaceBefore + line.LineHt - line.Descent;
    line.DrawXX = X + line.LineIndent;
    if (line.Ln > 0) {
      if (top < ClipRect.Bottom && top + std::max(h, line.DrawHeight) > ClipRect.Top) {
        if (first && ListType != ListKind::None) DrawMarker(canvas, X + LeftEdge, line, top, line.DrawY);
        DrawLine(canvas, line, X, top, clipRight);
      }
      first = false;
    }
    top += h;
  }
  return bottom;
}

void TSection::DrawLine(Canvas& canvas, LineRec& line, int cellX, int top, int clipRight) {
  const TSectionList& doc = *ParentSectionList;
  const std::u16string_view buff(Buff);
  // The selection in this section's positions; empty when none.
  const int selB = std::max(doc.SelB - StartCurs, 0);
  const int selE = std::min(doc.SelE - StartCurs, Len());
  const bool anySelection = selB < selE;

  const bool clip = NoWrap();
  if (clip) canvas.PushClip({cellX, top, clipRight, top + line.Height()});

  int x = cellX + line.LineIndent;
  const int end = line.Start + line.Ln;
  int idx = 0;
  FontAt(Fonts, line.Start, &idx);
  for (int p = line.Start; p < end;) {
    while (static_cast<size_t>(idx) + 1 < Fonts.size() && Fonts[static_cast<size_t>(idx) + 1]->Pos <= p) ++idx;
    TFontObj& run = *Fonts[static_cast<size_t>(idx)];
    int stop = static_cast<size_t>(idx) + 1 < Fonts.size() ? std::min(Fonts[static_cast<size_t>(idx) + 1]->Pos, end) : end;
    // A picture that does not float is drawn at x, which then moves past
    // it; a floating one where the layout placed it.
    if (buff[static_cast<size_t>(p)] == kImageChar && !Images.empty()) {
      if (TImageObj* image = ImageAt(p)) {
        if (image->Floats()) {
          image->Draw(canvas, doc, cellX + image->LayoutX, YValue + image->LayoutY, run);
        } else {
          image->Draw(canvas, doc, x, YValue + image->LayoutY, run);
          x += image->ImageWidth;
        }
      }
      ++p;
      continue;
    }
    // A control is not drawn: the windowed control itself is moved to
    // where it lies on the panel (the scroll position taken off).
    if (buff[static_cast<size_t>(p)] == kFormControlChar && !FormControls.empty()) {
      if (TFormControlObj* control = FormControlAt(p)) {
        if (auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(control))
          radio->SetBackground(radio->Cell && radio->Cell->BkGnd ? radio->Cell->BkColor : doc.Background());
        control->PlaceAt(x, ControlTop(*control, line.DrawY, line.Descent) - doc.YOff);
        x += control->Width();
      }
      ++p;
      continue;
    }
    stop = NextObjectChar(p, stop);
    const bool selected = anySelection && selB <= p && p < selE;
    if (selected)
      stop = std::min(stop, selE);
    else if (anySelection && p < selB)
      stop = std::min(stop, selB);

    const std::u16string_view text = buff.substr(static_cast<size_t>(p), static_cast<size_t>(stop - p));
    int baseline = line.DrawY;
    if (run.SScript == SubSupKind::Sup)
      baseline -= run.FontHeight(canvas) / 3;
    else if (run.SScript == SubSupKind::Sub)
      baseline += run.Descent(canvas) / 2 + 1;
    const int overhang = run.Overhang(canvas);
    FontSpec spec = run.Font().Spec;
    if (selected) {
      // Inverted: the font's colour behind text in the page's colour.
      const TColor back = spec.Color;
      spec.Color = doc.Background();
      canvas.SelectFont(spec);
      canvas.TextOutOpaque(x - overhang / 2, baseline, text, back);
    } else {
      canvas.SelectFont(spec);
      canvas.TextOut(x - overhang / 2, baseline, text);
    }
    x += canvas.TextWidth(text) - overhang;
    p = stop;
  }
  line.DrawXX = x;
  if (clip) canvas.PopClip();
}

void TSection::DrawMarker(Canvas&, int, const LineRec&, int, int) {}

}  // namespace quillet
