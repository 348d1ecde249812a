#include "viewer/layout/MapRegion.h"

#include <algorithm>
#include <cstdint>

namespace quillet {

namespace {

// Twice a pixel's centre, or twice a corner: whole numbers throughout.
int64_t Twice(int v) { return int64_t{2} * v; }

int Clamp(int v) { return std::clamp(v, -MapRegion::kMaxCoordinate, MapRegion::kMaxCoordinate); }

Point Clamp(Point p) { return {Clamp(p.X), Clamp(p.Y)}; }

Rect Clamp(const Rect& r) { return {Clamp(r.Left), Clamp(r.Top), Clamp(r.Right), Clamp(r.Bottom)}; }

}  // namespace

MapRegion MapRegion::Rectangle(const Rect& box) {
  MapRegion r;
  r.box_ = Clamp(box);
  if (!r.box_.Empty()) r.kind_ = Kind::Rectangle;
  return r;
}

MapRegion MapRegion::Ellipse(const Rect& box) {
  MapRegion r;
  r.box_ = Clamp(box);
  if (!r.box_.Empty()) r.kind_ = Kind::Ellipse;
  return r;
}

MapRegion MapRegion::Polygon(std::vector<Point> points) {
  MapRegion r;
  if (points.size() < 3) return r;
  for (Point& p : points) p = Clamp(p);
  Rect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const Point& p : points) {
    box.Left = std::min(box.Left, p.X);
    box.Top = std::min(box.Top, p.Y);
    box.Right = std::max(box.Right, p.X);
    box.Bottom = std::max(box.Bottom, p.Y);
  }
  if (box.Empty()) return r;  // flat along a row or a column: no pixel centre inside
  r.kind_ = Kind::Polygon;
  r.box_ = box;
  r.points_ = std::move(points);
  return r;
}

bool MapRegion::Contains(int x, int y) const {
  if (kind_ == Kind::Empty || !box_.Contains(x, y)) return false;
  // Inside the box, so within the clamped range too.
  switch (kind_) {
    case Kind::Rectangle:
      return true;
    case Kind::Ellipse: {
      // The centre (2x+1, 2y+1)/2 against the ellipse with the box's centre
      // and half-axes w/2, h/2: (dx/w)^2 + (dy/h)^2 <= 1 with everything
      // doubled. The squares of large boxes outgrow 64 bits.
      using Wide = unsigned __int128;
      const int64_t w = int64_t{box_.Right} - box_.Left, h = int64_t{box_.Bottom} - box_.Top;
      const int64_t dx = Twice(x) + 1 - (int64_t{box_.Left} + box_.Right);
      const int64_t dy = Twice(y) + 1 - (int64_t{box_.Top} + box_.Bottom);
      const Wide ww = static_cast<Wide>(w * w), hh = static_cast<Wide>(h * h);
      const Wide lhs = static_cast<Wide>(dx * dx) * hh + static_cast<Wide>(dy * dy) * ww;
      return lhs <= ww * hh;
    }
    case Kind::Polygon: {
      // Winding number of the outline around the pixel's centre. The centre
      // has odd doubled coordinates and corners even ones, so no corner lies
      // on the centre's row.
      const int64_t px = Twice(x) + 1, py = Twice(y) + 1;
      int winding = 0;
      for (size_t i = 0; i < points_.size(); ++i) {
        const Point& a = points_[i];
        const Point& b = points_[(i + 1) % points_.size()];
        const int64_t ax = Twice(a.X), ay = Twice(a.Y), bx = Twice(b.X), by = Twice(b.Y);
        const int64_t side = (bx - ax) * (py - ay) - (px - ax) * (by - ay);
        if (ay < py) {
          if (by > py && side > 0) ++winding;
        } else if (by < py && side < 0) {
          --winding;
        }
      }
      return winding != 0;
    }
    case Kind::Empty:
      break;
  }
  return false;
}

}  // namespace quillet
