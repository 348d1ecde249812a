#include "platform/FixedCanvas.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace quillet {

std::string ToUtf8(std::u16string_view text) { return Utf16ToUtf8(text); }

FontMetrics FixedCanvas::MetricsFor(const FontSpec& font) {
  const int p = EmPixels(font.Size);
  FontMetrics m;
  m.Height = p;
  m.Descent = p / 4;
  m.Ascent = m.Height - m.Descent;
  m.ExternalLeading = p / 8;
  m.Overhang = 0;
  return m;
}

void FixedCanvas::SelectFont(const FontSpec& font) {
  font_ = font;
  std::string styles;
  if (font.Bold) styles += 'b';
  if (font.Italic) styles += 'i';
  if (font.Underline) styles += 'u';
  if (font.StrikeOut) styles += 's';
  if (styles.empty()) styles = "-";
  Note("SelectFont " + ToUtf8(font.Face) + " " + std::to_string(font.Size) + " " + styles + " " +
       Color(font.Color));
}

int FixedCanvas::TextWidth(std::u16string_view text) {
  int n = 0;
  for (const char16_t c : text)
    if (c < 0xDC00 || c > 0xDFFF) ++n;
  return n * CharWidth(font_);
}

namespace {
std::string DirectionMark(TextDirection direction) {
  return direction == TextDirection::RightToLeft ? " rtl" : "";
}
}  // namespace

void FixedCanvas::TextOut(int x, int baseline, std::u16string_view text, TextDirection direction) {
  Note("TextOut " + At(x, baseline) + DirectionMark(direction) + " \"" + ToUtf8(text) + "\"");
}

void FixedCanvas::TextOutOpaque(int x, int baseline, std::u16string_view text, TColor back,
                                TextDirection direction) {
  Note("TextOutOpaque " + At(x, baseline) + DirectionMark(direction) + " \"" + ToUtf8(text) + "\" back=" +
       Color(back));
}

void FixedCanvas::FillRect(const Rect& r, TColor color) { Note("FillRect " + Box(r) + " " + Color(color)); }

void FixedCanvas::FrameRect(const Rect& r, TColor color) { Note("FrameRect " + Box(r) + " " + Color(color)); }

void FixedCanvas::Line(int x1, int y1, int x2, int y2, TColor pen) {
  Note("Line " + At(x1, y1) + "-" + At(x2, y2) + " " + Color(pen));
}

void FixedCanvas::Ellipse(const Rect& bounds, TColor pen, std::optional<TColor> fill) {
  Note("Ellipse " + Box(bounds) + " pen=" + Color(pen) + " fill=" + (fill ? Color(*fill) : "none"));
}

void FixedCanvas::Polygon(const std::vector<Point>& points, TColor pen, std::optional<TColor> fill) {
  std::string line = "Polygon";
  for (const Point& p : points) line += " " + At(p.X, p.Y);
  Note(line + " pen=" + Color(pen) + " fill=" + (fill ? Color(*fill) : "none"));
}

void FixedCanvas::DrawPicture(const Picture& picture, const Rect& dest) {
  Note("DrawPicture " + std::to_string(picture.Width) + "x" + std::to_string(picture.Height) + " at " +
       Box(dest));
}

void FixedCanvas::TilePicture(const Picture& picture, const Rect& area, Point origin) {
  Note("TilePicture " + std::to_string(picture.Width) + "x" + std::to_string(picture.Height) + " over " +
       Box(area) + " from " + At(origin.X, origin.Y));
}

void FixedCanvas::PushClip(const Rect& r) {
  ++clipDepth_;
  Note("PushClip " + Box(r));
}

void FixedCanvas::PopClip() {
  if (clipDepth_ > 0) --clipDepth_;
  Note("PopClip");
}

void FixedCanvas::SetOrigin(Point origin) {
  origin_ = origin;
  Note("SetOrigin " + std::to_string(origin.X) + "," + std::to_string(origin.Y));
}

std::string FixedCanvas::Color(TColor c) const {
  const TColor v = palette_.Resolve(c);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return buf;
}

std::string FixedCanvas::At(int x, int y) const {
  return std::to_string(x + origin_.X) + "," + std::to_string(y + origin_.Y);
}

std::string FixedCanvas::Box(const Rect& r) const {
  return At(r.Left, r.Top) + "," + At(r.Right, r.Bottom);
}

void FixedCanvas::Note(std::string line) {
  if (Record) Calls.push_back(std::move(line));
}

}  // namespace quillet
