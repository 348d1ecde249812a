#include "viewer/layout/ImageMap.h"

#include <algorithm>
#include <cstdint>

#include "platform/AsciiCase.h"

namespace quillet {

namespace {

constexpr size_t kMaxPieceLength = 20;

bool IsBlank(char16_t c) { return c <= u' '; }

// A whole number with an optional sign and blanks before it; 0 when the
// piece is anything else. Large numbers stop at the coordinate range.
int ReadNumber(std::u16string_view piece) {
  size_t i = 0;
  while (i < piece.size() && IsBlank(piece[i])) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == u'+' || piece[i] == u'-')) negative = piece[i++] == u'-';
  if (i == piece.size()) return 0;
  int64_t value = 0;
  for (; i < piece.size(); ++i) {
    if (piece[i] < u'0' || piece[i] > u'9') return 0;
    value = std::min<int64_t>(value * 10 + (piece[i] - u'0'), MapRegion::kMaxCoordinate);
  }
  return static_cast<int>(negative ? -value : value);
}

enum class ShapeKind { Rectangle, Circle, Polygon };

ShapeKind ShapeOf(std::u16string_view shape) {
  std::u16string first;
  for (size_t i = 0; i < shape.size() && i < 4; ++i) first += LowerAscii(shape[i]);
  if (first == u"circ") return ShapeKind::Circle;
  if (first == u"poly") return ShapeKind::Polygon;
  return ShapeKind::Rectangle;
}

}  // namespace

std::vector<int> ParseCoords(std::u16string_view coords) {
  std::vector<int> numbers;
  // A comma at the very end starts no further number.
  while (!coords.empty() && numbers.size() < TMapItem::kMaxCoords) {
    const size_t comma = coords.find(u',');
    std::u16string_view piece = coords.substr(0, comma);
    coords = comma == std::u16string_view::npos ? std::u16string_view() : coords.substr(comma + 1);
    piece = piece.substr(0, kMaxPieceLength);
    while (!piece.empty() && IsBlank(piece.back())) piece.remove_suffix(1);
    numbers.push_back(ReadNumber(piece));
  }
  return numbers;
}

void TMapItem::AddArea(const TAttributeList& attributes, std::u16string_view defaultTarget) {
  TMapArea area;
  area.Target = defaultTarget;
  ShapeKind shape = ShapeKind::Rectangle;
  std::vector<int> n;
  for (const TAttribute& a : attributes) {
    switch (a.Code) {
      case Sy::Href: area.Url = a.Text; break;
      case Sy::NoHref: area.Url.clear(); break;
      case Sy::Target: area.Target = a.Text; break;
      case Sy::Shape: shape = ShapeOf(a.Text); break;
      case Sy::Coords: n = ParseCoords(a.Text); break;
      default: break;
    }
  }
  switch (shape) {
    case ShapeKind::Rectangle:
      if (n.size() < 4) return;
      // Both corners are inside; corners given the other way round mean the
      // same rectangle.
      area.Region = MapRegion::Rectangle({std::min(n[0], n[2]), std::min(n[1], n[3]),
                                          std::max(n[0], n[2]) + 1, std::max(n[1], n[3]) + 1});
      break;
    case ShapeKind::Circle:
      if (n.size() < 3) return;
      // A negative radius holds nothing.
      if (n[2] >= 0) area.Region = MapRegion::Ellipse({n[0] - n[2], n[1] - n[2], n[0] + n[2] + 1, n[1] + n[2] + 1});
      break;
    case ShapeKind::Polygon: {
      if (n.size() < 6) return;
      std::vector<Point> points;
      for (size_t i = 0; i + 1 < n.size(); i += 2) points.push_back({n[i], n[i + 1]});
      area.Region = MapRegion::Polygon(std::move(points));
      break;
    }
  }
  Areas.push_back(std::move(area));
}

std::optional<TUrlTarget> TMapItem::Hit(int x, int y) const {
  for (const TMapArea& area : Areas) {
    if (!area.Region.Contains(x, y)) continue;
    if (area.Url.empty()) return std::nullopt;
    return TUrlTarget(area.Url, area.Target);
  }
  return std::nullopt;
}

}  // namespace quillet
