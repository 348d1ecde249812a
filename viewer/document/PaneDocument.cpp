#include "viewer/document/PaneDocument.h"

#include <algorithm>

#include "viewer/layout/SectionList.h"

namespace quillet {

PaneSettings WindowPaneSettings() {
  PaneSettings s;
  s.Background = clWindow;
  // Links in the desktop's link colour, which stays readable on a dark
  // page (blue in the light palette, as pictures are rendered).
  s.HotSpotColor = clHotLight;
  s.ViewImages = false;
  return s;
}

void PrepareDocument(TSectionList& doc, const PaneSettings& settings) {
  doc.Clear();
  // Pictures the old document left unused age, the oldest go.
  doc.ImageCache().Purge();
  doc.ShowImages = settings.ViewImages;
  doc.Fonts.Charset = settings.CharSet;
  doc.SetFonts(settings.FontName, settings.PreFontName, settings.Background, settings.HotSpotColor,
               settings.FontColor, settings.FontSize);
}

PaneLayout LayoutDocument(TSectionList& doc, Canvas& canvas, const PaneSettings& settings, int width) {
  PaneLayout layout;
  int curs = 0;
  layout.Height = doc.DoLogic(canvas, settings.MarginHeight, std::max(width, 0), curs, layout.MaxWidth);
  layout.MaxWidth = std::min(layout.MaxWidth, kMaxPaneContentWidth);
  return layout;
}

void PaintDocument(TSectionList& doc, Canvas& canvas, const Rect& clip, const PaneSettings& settings,
                   int scrollX) {
  // The background picture's tiles start at the document's top-left
  // corner, so the pattern moves with the text.
  doc.PaintBackground(canvas, clip, {-scrollX, 0});
  doc.Draw(canvas, clip, settings.MarginHeight, settings.MarginWidth - scrollX, kMaxPaneContentWidth);
}

}  // namespace quillet
