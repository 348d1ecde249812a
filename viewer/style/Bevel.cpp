#include "viewer/style/Bevel.h"

namespace quillet {

TColor BevelLightColor(const Canvas& canvas, TColor background) {
  return canvas.Palette().Resolve(background) == clWhite ? clSilver : clBtnHighlight;
}

void DrawBevel(Canvas& canvas, const Rect& r, TColor topLeft, TColor bottomRight) {
  if (r.Empty()) return;
  // Lines leave out their end point, so each edge starts at the corner the
  // previous one left.
  const int xr = r.Right - 1, yb = r.Bottom - 1;
  canvas.Line(r.Left, yb, r.Left, r.Top, topLeft);
  canvas.Line(r.Left, r.Top, xr, r.Top, topLeft);
  canvas.Line(xr, r.Top, xr, yb, bottomRight);
  canvas.Line(xr, yb, r.Left, yb, bottomRight);
}

}  // namespace quillet
