#include "platform/qt/QtCanvas.h"

#include <QBrush>
#include <QPalette>
#include <QPen>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <functional>

namespace quillet {

namespace {

// Beyond this an em is larger than any screen; Qt and the rasteriser are
// spared absurd sizes a page may ask for.
constexpr int kMaxFontPixels = 2000;
// Slanted lines longer than this are left to Qt rather than set pixel by pixel.
constexpr int kMaxSetLine = 1 << 16;

constexpr unsigned kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;

unsigned StylesOf(const FontSpec& spec) {
  return (spec.Bold ? kBold : 0) | (spec.Italic ? kItalic : 0) | (spec.Underline ? kUnderline : 0) |
         (spec.StrikeOut ? kStrikeOut : 0);
}

// The text as a QString over the same characters, without copying them; only
// for the length of a call.
QString View(std::u16string_view text) {
  return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                              static_cast<qsizetype>(text.size()));
}

TColor FromQColor(const QColor& c) { return RgbColor(c.red(), c.green(), c.blue()); }

// The picture's pixels as a QImage, without copying them; only valid while
// the picture lives and stays unchanged.
QImage Wrap(const Picture& picture) {
  return QImage(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width, picture.Height,
                static_cast<qsizetype>(picture.Width) * 4, QImage::Format_ARGB32);
}

bool Drawable(const Picture& picture) {
  return !picture.Empty() &&
         picture.Pixels.size() >= static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
}

}  // namespace

SystemPalette SystemPaletteFrom(const QPalette& palette) {
  SystemPalette p;
  p.Window = FromQColor(palette.color(QPalette::Base));
  p.WindowText = FromQColor(palette.color(QPalette::Text));
  p.BtnFace = FromQColor(palette.color(QPalette::Button));
  p.BtnText = FromQColor(palette.color(QPalette::ButtonText));
  p.BtnShadow = FromQColor(palette.color(QPalette::Dark));
  p.BtnHighlight = FromQColor(palette.color(QPalette::Light));
  p.HotLight = FromQColor(palette.color(QPalette::Link));
  return p;
}

QColor ToQColor(TColor color, const SystemPalette& palette) {
  const TColor v = palette.Resolve(color);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

QFont MakeQFont(const FontSpec& spec) {
  QFont font;
  // A copy: the font outlives the text it was asked for with.
  font.setFamily(QString(reinterpret_cast<const QChar*>(spec.Face.data()),
                         static_cast<qsizetype>(spec.Face.size())));
  font.setPixelSize(std::clamp((spec.Size * 96 + 36) / 72, 1, kMaxFontPixels));
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.StrikeOut);
  font.setKerning(false);
  return font;
}

size_t QtCanvas::FontKeyHash::operator()(const FontKey& k) const {
  return std::hash<std::u16string>{}(k.Face) ^
         (static_cast<size_t>(k.Size) * 16 + k.Styles) * size_t{0x9E3779B97F4A7C15ull};
}

QtCanvas::CachedFont::CachedFont(const QFont& font) : Font(font), QtMetrics(font) {
  Metrics.Ascent = QtMetrics.ascent();
  Metrics.Descent = QtMetrics.descent();
  Metrics.Height = Metrics.Ascent + Metrics.Descent;
  Metrics.ExternalLeading = std::max(0, QtMetrics.leading());
  Metrics.Overhang = 0;
}

QtCanvas::QtCanvas(QImage& image, SystemPalette palette) : palette_(palette) {
  own_.emplace(&image);
  painter_ = &*own_;
  Begin();
}

QtCanvas::QtCanvas(QPainter& painter, SystemPalette palette) : painter_(&painter), palette_(palette) {
  painter_->save();
  Begin();
}

QtCanvas::~QtCanvas() {
  if (own_)
    own_->end();
  else
    painter_->restore();
}

void QtCanvas::Begin() {
  base_ = painter_->worldTransform();
  baseClipping_ = painter_->hasClipping();
  if (baseClipping_) baseClip_ = painter_->clipRegion();
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  // The first SelectFont always misses the fast path below.
  currentKey_.Size = -1;
  SelectFont(FontSpec{});
}

void QtCanvas::SelectFont(const FontSpec& font) {
  textColor_ = Resolve(font.Color);
  const unsigned styles = StylesOf(font);
  // Layout selects the same font over and over: compare before building a key.
  if (font.Size == currentKey_.Size && styles == currentKey_.Styles && font.Face == currentKey_.Face)
    return;
  FontKey key{font.Face, font.Size, styles};
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    if (fonts_.size() >= kMaxCachedFonts) fonts_.clear();
    it = fonts_.emplace(key, std::make_unique<CachedFont>(MakeQFont(font))).first;
  }
  current_ = it->second.get();
  currentKey_ = std::move(key);
  painter_->setFont(current_->Font);
}

int QtCanvas::TextWidth(std::u16string_view text) {
  if (text.empty()) return 0;
  return current_->QtMetrics.horizontalAdvance(View(text));
}

void QtCanvas::TextOut(int x, int baseline, std::u16string_view text, TextDirection direction) {
  if (Hidden()) return;
  if (text.empty()) return;
  if (direction_ != direction) {
    // Qt places the text by its left end either way; the direction orders
    // and mirrors its characters (brackets, neutral runs).
    painter_->setLayoutDirection(direction == TextDirection::RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    direction_ = direction;
  }
  painter_->setPen(textColor_);
  painter_->drawText(QPoint(x, baseline), View(text));
}

void QtCanvas::TextOutOpaque(int x, int baseline, std::u16string_view text, TColor back, TextDirection direction) {
  if (Hidden()) return;
  if (text.empty()) return;
  const FontMetrics& m = current_->Metrics;
  painter_->fillRect(QRect(x, baseline - m.Ascent, TextWidth(text), m.Height), Resolve(back));
  TextOut(x, baseline, text, direction);
}

QRect QtCanvas::ToQRect(const Rect& r) const { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QPen QtCanvas::OnePixelPen(TColor c) const {
  QPen pen(Resolve(c), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  pen.setCosmetic(true);
  return pen;
}

void QtCanvas::FillRect(const Rect& r, TColor color) {
  if (Hidden()) return;
  if (r.Empty()) return;
  painter_->fillRect(ToQRect(r), Resolve(color));
}

void QtCanvas::FrameRect(const Rect& r, TColor color) {
  if (Hidden()) return;
  if (r.Empty()) return;
  const QColor c = Resolve(color);
  const int w = r.Width(), h = r.Height();
  painter_->fillRect(QRect(r.Left, r.Top, w, 1), c);
  painter_->fillRect(QRect(r.Left, r.Bottom - 1, w, 1), c);
  painter_->fillRect(QRect(r.Left, r.Top, 1, h), c);
  painter_->fillRect(QRect(r.Right - 1, r.Top, 1, h), c);
}

void QtCanvas::Line(int x1, int y1, int x2, int y2, TColor pen) {
  if (Hidden()) return;
  // Qt's own lines leave out whichever end lies right or below, not the end
  // point, so lines are set pixel by pixel here: from the start point up to,
  // without, the end point, whatever the direction.
  if (x1 == x2 && y1 == y2) return;
  const QColor c = Resolve(pen);
  if (y1 == y2) {
    painter_->fillRect(x1 < x2 ? QRect(x1, y1, x2 - x1, 1) : QRect(x2 + 1, y1, x1 - x2, 1), c);
    return;
  }
  if (x1 == x2) {
    painter_->fillRect(y1 < y2 ? QRect(x1, y1, 1, y2 - y1) : QRect(x1, y2 + 1, 1, y1 - y2), c);
    return;
  }
  painter_->setPen(OnePixelPen(pen));
  if (std::abs(x2 - x1) > kMaxSetLine || std::abs(y2 - y1) > kMaxSetLine) {
    painter_->drawLine(x1, y1, x2, y2);  // far beyond any page: only its pixels must not hang
    return;
  }
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  QPolygon pixels;
  pixels.reserve(std::max(dx, -dy));
  for (int x = x1, y = y1, err = dx + dy; x != x2 || y != y2;) {
    pixels << QPoint(x, y);
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
  }
  painter_->drawPoints(pixels);
}

void QtCanvas::Ellipse(const Rect& bounds, TColor pen, std::optional<TColor> fill) {
  if (Hidden()) return;
  if (bounds.Empty()) return;
  painter_->setPen(OnePixelPen(pen));
  painter_->setBrush(fill ? QBrush(Resolve(*fill)) : QBrush(Qt::NoBrush));
  // An aliased outline covers its rectangle's right and bottom edges; one
  // pixel less keeps the ellipse inside bounds.
  painter_->drawEllipse(QRect(bounds.Left, bounds.Top, bounds.Width() - 1, bounds.Height() - 1));
}

void QtCanvas::Polygon(const std::vector<Point>& points, TColor pen, std::optional<TColor> fill) {
  if (Hidden()) return;
  if (points.empty()) return;
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) polygon << QPoint(p.X, p.Y);
  painter_->setPen(OnePixelPen(pen));
  painter_->setBrush(fill ? QBrush(Resolve(*fill)) : QBrush(Qt::NoBrush));
  painter_->drawPolygon(polygon, Qt::OddEvenFill);
}

void QtCanvas::DrawPicture(const Picture& picture, const Rect& dest) {
  if (Hidden()) return;
  if (!Drawable(picture) || dest.Empty()) return;
  painter_->drawImage(ToQRect(dest), Wrap(picture));
}

void QtCanvas::TilePicture(const Picture& picture, const Rect& area, Point origin) {
  if (Hidden()) return;
  if (!Drawable(picture) || area.Empty()) return;
  painter_->setBrushOrigin(QPoint(origin.X, origin.Y));
  painter_->fillRect(ToQRect(area), QBrush(Wrap(picture)));
  painter_->setBrushOrigin(QPoint(0, 0));
}

void QtCanvas::PushClip(const Rect& r) {
  // Kept in the base's coordinates, so that a later SetOrigin does not move it.
  QRegion clip(r.Empty() ? QRect() : ToQRect(r.Offset(origin_.X, origin_.Y)));
  if (!clips_.empty())
    clip &= clips_.back();
  else if (baseClipping_)
    clip &= baseClip_;
  clips_.push_back(clip);
  painter_->setClipRegion(clip.translated(-origin_.X, -origin_.Y));
}

void QtCanvas::PopClip() {
  if (clips_.empty()) return;
  clips_.pop_back();
  if (!clips_.empty())
    painter_->setClipRegion(clips_.back().translated(-origin_.X, -origin_.Y));
  else if (baseClipping_)
    painter_->setClipRegion(baseClip_.translated(-origin_.X, -origin_.Y));
  else
    painter_->setClipping(false);
}

void QtCanvas::SetOrigin(Point origin) {
  origin_ = origin;
  painter_->setWorldTransform(QTransform::fromTranslate(origin.X, origin.Y) * base_);
}

}  // namespace quillet
