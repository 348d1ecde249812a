// TSection: drawing lines in chunks, with the selection inverted.
#include <algorithm>

#include "viewer/forms/FormControls.h"
#include "viewer/layout/IndentManager.h"
#include "viewer/layout/Section.h"
#include "viewer/layout/SectionList.h"

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
  if (!line.Runs.empty()) {
    DrawPieces(canvas, line, cellX, anySelection ? selB : 0, anySelection ? selE : 0);
    if (clip) canvas.PopClip();
    return;
  }

  int x = cellX + line.LineIndent;
  const int end = line.Start + line.Ln;
  int idx = 0;
  FontAt(Fonts, line.Start, &idx);
  for (int p = line.Start; p < end;) {
    while (static_cast<size_t>(idx) + 1 < Fonts.size() && Fonts[static_cast<size_t>(idx) + 1].Pos <= p) ++idx;
    TFontObj& run = Fonts[static_cast<size_t>(idx)];
    int stop = static_cast<size_t>(idx) + 1 < Fonts.size() ? std::min(Fonts[static_cast<size_t>(idx) + 1].Pos, end) : end;
    if (IsPlaceholder(buff[static_cast<size_t>(p)]) && HasObjects()) {
      x += DrawObject(canvas, line, p, x, cellX, run);
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
    x += DrawText(canvas, run, line, x, text, selected, TextDirection::LeftToRight);
    p = stop;
  }
  line.DrawXX = x;
  if (clip) canvas.PopClip();
}

void TSection::DrawPieces(Canvas& canvas, LineRec& line, int cellX, int selB, int selE) {
  const std::u16string_view buff(Buff);
  for (const LinePiece& piece : VisualPieces(canvas, line)) {
    TFontObj& run = Fonts[piece.Font];
    const int x = cellX + piece.X;
    line.DrawXX = x + piece.Width;
    if (IsPlaceholder(buff[static_cast<size_t>(piece.From)])) {
      DrawObject(canvas, line, piece.From, x, cellX, run);
      continue;
    }
    const TextDirection direction = piece.Rtl ? TextDirection::RightToLeft : TextDirection::LeftToRight;
    // The selected part of the piece stands where it stands in the whole,
    // counted from the piece's right end when it reads right to left.
    for (int p = piece.From; p < piece.To;) {
      const bool selected = selB <= p && p < selE;
      const int stop = std::min(piece.To, selected ? selE : p < selB ? selB : piece.To);
      const int offset = piece.Rtl ? piece.Width - StretchWidth(canvas, piece.Font, piece.From, stop)
                                   : StretchWidth(canvas, piece.Font, piece.From, p);
      DrawText(canvas, run, line, x + offset, buff.substr(static_cast<size_t>(p), static_cast<size_t>(stop - p)),
               selected, direction);
      p = stop;
    }
  }
}

int TSection::DrawText(Canvas& canvas, TFontObj& run, const LineRec& line, int x, std::u16string_view text,
                       bool selected, TextDirection direction) {
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
    spec.Color = ParentSectionList->Background();
    canvas.SelectFont(spec);
    canvas.TextOutOpaque(x - overhang / 2, baseline, text, back, direction);
  } else {
    canvas.SelectFont(spec);
    canvas.TextOut(x - overhang / 2, baseline, text, direction);
  }
  return canvas.TextWidth(text) - overhang;
}

int TSection::DrawObject(Canvas& canvas, const LineRec& line, int pos, int x, int cellX, TFontObj& run) {
  const TSectionList& doc = *ParentSectionList;
  // A picture that does not float is drawn at x; a floating one where the
  // layout placed it, taking no room on the line.
  if (Buff[static_cast<size_t>(pos)] == kImageChar) {
    TImageObj* image = ImageAt(pos);
    if (!image) return 0;
    if (image->Floats()) {
      image->Draw(canvas, doc, cellX + image->LayoutX, YValue + image->LayoutY, run);
      return 0;
    }
    image->Draw(canvas, doc, x, YValue + image->LayoutY, run);
    return image->ImageWidth;
  }
  // A control is not drawn: the windowed control itself is moved to where
  // it lies on the panel (the scroll position taken off).
  TFormControlObj* control = FormControlAt(pos);
  if (!control) return 0;
  if (auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(control))
    radio->SetBackground(radio->Cell && radio->Cell->BkGnd ? radio->Cell->BkColor : doc.Background());
  control->PlaceAt(x, ControlTop(*control, line.DrawY, line.Descent) - doc.YOff);
  return control->Width();
}

void TSection::DrawMarker(Canvas&, int, const LineRec&, int, int) {}

}  // namespace quillet
