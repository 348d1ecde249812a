#pragma once
// The point sets of image map areas: a rectangle, an ellipse or a polygon in
// image coordinates. A pixel belongs to a region when its centre lies inside
// the shape, so rectangles leave out their right and bottom edges and
// ellipses fit inside their bounding box.
#include <vector>

#include "platform/Canvas.h"

namespace quillet {

class MapRegion {
 public:
  enum class Kind { Empty, Rectangle, Ellipse, Polygon };
  // Coordinates are clamped to this distance from the origin, far beyond any
  // picture, so the exact arithmetic of the tests cannot overflow.
  static constexpr int kMaxCoordinate = 1 << 24;

  MapRegion() = default;
  // The pixels from (box.Left, box.Top) up to, but without, (box.Right,
  // box.Bottom).
  static MapRegion Rectangle(const Rect& box);
  // The ellipse inscribed in box, right and bottom exclusive.
  static MapRegion Ellipse(const Rect& box);
  // The polygon through points, filled by the winding rule: a pixel is
  // inside when the outline winds around its centre at least once.
  static MapRegion Polygon(std::vector<Point> points);

  Kind Shape() const { return kind_; }
  const Rect& Bounds() const { return box_; }
  const std::vector<Point>& Points() const { return points_; }

  bool Contains(int x, int y) const;

 private:
  Kind kind_ = Kind::Empty;
  Rect box_;
  std::vector<Point> points_;
};

}  // namespace quillet
