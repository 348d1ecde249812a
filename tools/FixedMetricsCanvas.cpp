#include "tools/FixedMetricsCanvas.h"

namespace quillet {

FixedMetricsCanvas::FixedMetricsCanvas(Canvas* draw, SystemPalette palette)
    : draw_(draw), palette_(palette), fixed_(palette) {
  fixed_.Record = false;
}

void FixedMetricsCanvas::SelectFont(const FontSpec& font) {
  fixed_.SelectFont(font);
  if (draw_) draw_->SelectFont(font);
}

void FixedMetricsCanvas::TextOut(int x, int baseline, std::u16string_view text, TextDirection direction) {
  if (draw_) draw_->TextOut(x, baseline, text, direction);
}

void FixedMetricsCanvas::TextOutOpaque(int x, int baseline, std::u16string_view text, TColor back,
                                       TextDirection direction) {
  if (!draw_) return;
  // The box the fixed metrics give, then the glyphs.
  const FontMetrics m = Metrics();
  draw_->FillRect({x, baseline - m.Ascent, x + TextWidth(text), baseline + m.Descent}, back);
  draw_->TextOut(x, baseline, text, direction);
}

void FixedMetricsCanvas::FillRect(const Rect& r, TColor color) {
  if (draw_) draw_->FillRect(r, color);
}

void FixedMetricsCanvas::FrameRect(const Rect& r, TColor color) {
  if (draw_) draw_->FrameRect(r, color);
}

void FixedMetricsCanvas::Line(int x1, int y1, int x2, int y2, TColor pen) {
  if (draw_) draw_->Line(x1, y1, x2, y2, pen);
}

void FixedMetricsCanvas::Ellipse(const Rect& bounds, TColor pen, std::optional<TColor> fill) {
  if (draw_) draw_->Ellipse(bounds, pen, fill);
}

void FixedMetricsCanvas::Polygon(const std::vector<Point>& points, TColor pen, std::optional<TColor> fill) {
  if (draw_) draw_->Polygon(points, pen, fill);
}

void FixedMetricsCanvas::DrawPicture(const Picture& picture, const Rect& dest) {
  if (draw_) draw_->DrawPicture(picture, dest);
}

void FixedMetricsCanvas::TilePicture(const Picture& picture, const Rect& area, Point origin) {
  if (draw_) draw_->TilePicture(picture, area, origin);
}

void FixedMetricsCanvas::PushClip(const Rect& r) {
  if (draw_) draw_->PushClip(r);
}

void FixedMetricsCanvas::PopClip() {
  if (draw_) draw_->PopClip();
}

void FixedMetricsCanvas::SetOrigin(Point origin) {
  origin_ = origin;
  if (draw_) draw_->SetOrigin(origin);
}

}  // namespace quillet
