#pragma once
// The pane's canvas on QPainter: on a QImage (tests, rendered pictures) or on
// a painter already begun on a widget. Fonts are asked for by face and pixel
// size ((points * 96 + 36) / 72), never by point size, so nothing depends on
// the screen's resolution; fontconfig maps "Times New Roman", "Courier New"
// and "Arial" to the metric-compatible Liberation fonts. Text is measured
// and drawn with the same QFont, so extents and painted text agree.
//
// Pixel conventions are the classic ones: rectangles exclude their right and
// bottom edges, lines their end point, ellipses fit inside their box; shapes
// are drawn without antialiasing so they land on exact pixels (text keeps
// its antialiasing).
//
// A QGuiApplication must exist (fonts need it); the offscreen platform will
// do for tests and rendering without a display.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"

class QPalette;

namespace quillet {

// The system colours of a Qt palette: window -> Base (the page's white, not
// the grey Window), window text -> Text, button face -> Button, button text
// -> ButtonText, shadow -> Dark, highlight -> Light, links -> Link.
SystemPalette SystemPaletteFrom(const QPalette& palette);

// A colour of the pane as Qt's, resolved with the palette.
QColor ToQColor(TColor color, const SystemPalette& palette);

// The QFont the canvas uses for a font: the face as the family, the pixel
// size from the points at 96 dots per inch, the styles, no kerning (so a
// string measures as the sum of its pieces, like the classic text extent).
QFont MakeQFont(const FontSpec& spec);

class QtCanvas : public Canvas {
 public:
  // Draws on image, which must outlive the canvas; the painting ends when
  // the canvas is destroyed.
  explicit QtCanvas(QImage& image, SystemPalette palette = {});
  // Draws with painter (begun by the caller, on a widget for example),
  // keeping its transformation as the base the origin moves from. The
  // painter's state is restored when the canvas is destroyed.
  explicit QtCanvas(QPainter& painter, SystemPalette palette = {});
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  const SystemPalette& Palette() const override { return palette_; }
  void SelectFont(const FontSpec& font) override;
  FontMetrics Metrics() override { return current_->Metrics; }
  int TextWidth(std::u16string_view text) override;
  void TextOut(int x, int baseline, std::u16string_view text,
               TextDirection direction = TextDirection::LeftToRight) override;
  void TextOutOpaque(int x, int baseline, std::u16string_view text, TColor back,
                     TextDirection direction = TextDirection::LeftToRight) override;
  void FillRect(const Rect& r, TColor color) override;
  void FrameRect(const Rect& r, TColor color) override;
  void Line(int x1, int y1, int x2, int y2, TColor pen) override;
  void Ellipse(const Rect& bounds, TColor pen, std::optional<TColor> fill) override;
  void Polygon(const std::vector<Point>& points, TColor pen, std::optional<TColor> fill) override;
  void DrawPicture(const Picture& picture, const Rect& dest) override;
  void TilePicture(const Picture& picture, const Rect& area, Point origin) override;
  void PushClip(const Rect& r) override;
  void PopClip() override;
  void SetOrigin(Point origin) override;
  Point Origin() const override { return origin_; }

  // The font in use, as drawn and measured (tests check what it resolved to).
  const QFont& CurrentQFont() const { return current_->Font; }

 private:
  struct FontKey {
    std::u16string Face;
    int Size = 0;
    unsigned Styles = 0;
    bool operator==(const FontKey&) const = default;
  };
  struct FontKeyHash {
    size_t operator()(const FontKey& k) const;
  };
  struct CachedFont {
    explicit CachedFont(const QFont& font);
    QFont Font;
    QFontMetrics QtMetrics;
    FontMetrics Metrics;
  };
  // Past this many fonts the cache starts again; a page uses a handful.
  static constexpr size_t kMaxCachedFonts = 256;

  void Begin();
  QRect ToQRect(const Rect& r) const;
  QColor Resolve(TColor c) const { return ToQColor(c, palette_); }
  QPen OnePixelPen(TColor c) const;
  // Qt takes an empty clip region for no clip at all; an empty clip hides
  // everything here.
  bool Hidden() const { return !clips_.empty() && clips_.back().isEmpty(); }

  std::optional<QPainter> own_;
  QPainter* painter_ = nullptr;
  SystemPalette palette_;

  std::unordered_map<FontKey, std::unique_ptr<CachedFont>, FontKeyHash> fonts_;
  CachedFont* current_ = nullptr;
  FontKey currentKey_;
  QColor textColor_;
  // The painter's text direction; the painter's own default (from the text)
  // until a piece asks for one.
  std::optional<TextDirection> direction_;

  Point origin_;
  QTransform base_;
  // The clip in force before the first PushClip, and the clips pushed since,
  // each already narrowed by the ones below it (in the base's coordinates).
  bool baseClipping_ = false;
  QRegion baseClip_;
  std::vector<QRegion> clips_;
};

}  // namespace quillet
