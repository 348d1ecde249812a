#include "app/window/WindowPlace.h"

#include <algorithm>
#include <cmath>

namespace quillet {

QRect FirstWindowPlace(const QRect& available) {
  const QSize size(available.width() * 2 / 3, available.height() * 2 / 3);
  return QRect(available.topLeft() + QPoint((available.width() - size.width()) / 2,
                                            (available.height() - size.height()) / 2),
               size);
}

QRect ClampWindowPlace(const QRect& stored, const QRect& available) {
  const QSize size = stored.size().boundedTo(available.size());
  const int left = std::clamp(stored.left(), available.left(), available.left() + available.width() - size.width());
  const int top = std::clamp(stored.top(), available.top(), available.top() + available.height() - size.height());
  return QRect(QPoint(left, top), size);
}

int ClampZoom(int zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

int NextZoom(int zoom, int direction) {
  if (direction > 0) {
    for (const int step : kZoomSteps)
      if (step > zoom) return step;
  } else {
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
      if (*it < zoom) return *it;
  }
  return zoom;
}

int ZoomedFontSize(int zoom) { return static_cast<int>(std::lround(12.0 * zoom / 100.0)); }

}  // namespace quillet
