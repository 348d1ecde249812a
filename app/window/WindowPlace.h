#pragma once
// Where the main window opens and how far the rendered view is zoomed.
#include <QRect>
#include <iterator>

namespace quillet {

// A first start (no stored place): about two thirds of the available
// screen, centred.
QRect FirstWindowPlace(const QRect& available);

// A stored place (the frame's top left corner and the window's size) made
// to fit the available screen: no larger than it, moved onto it.
QRect ClampWindowPlace(const QRect& stored, const QRect& available);

// The zoom steps of the rendered view, in percent.
inline constexpr int kZoomSteps[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
inline constexpr int kMinZoom = kZoomSteps[0];
inline constexpr int kMaxZoom = kZoomSteps[std::size(kZoomSteps) - 1];

// A zoom kept in the settings file, within the steps' range.
int ClampZoom(int zoom);
// The next step above (direction > 0) or below a zoom; the zoom itself at
// either end.
int NextZoom(int zoom, int direction);
// The pane's base font size, in points, at a zoom (12 at 100 %).
int ZoomedFontSize(int zoom);

}  // namespace quillet
