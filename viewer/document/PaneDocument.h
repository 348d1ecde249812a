#pragma once
// The pane's settings (fonts, colours, margins, pictures) and the steps the
// pane takes with its document under them: make it ready for a load, lay it
// out for a width, paint a band of it. The pane widget
// (viewer/qt/HtmlPane.h) and quillet-render both go through these, so a
// rendered picture is what the main window's pane shows.
#include <cstdint>
#include <string>

#include "platform/Canvas.h"

namespace quillet {

class TSectionList;

// How the shown file was loaded.
enum class TFileKind : uint8_t { fkHTML, fkText, fkImage };

struct PaneSettings {
  std::u16string FontName = u"Times New Roman";
  std::u16string PreFontName = u"Courier New";
  int FontSize = 12;  // points
  TColor FontColor = clBtnText;
  TColor HotSpotColor = clBlue;
  TColor Background = clBtnFace;
  int CharSet = 1;
  int MarginWidth = 10;   // left and right
  int MarginHeight = 5;   // top and bottom
  bool ViewImages = false;
  bool operator==(const PaneSettings&) const = default;
};

// The main window's pane: the pane's defaults on the window's background,
// links in the desktop's link colour, pictures off.
PaneSettings WindowPaneSettings();

// The widest content a pane scrolls to, and the width a paint lets
// preformatted lines take.
inline constexpr int kMaxPaneContentWidth = 2000;

// Empties the document and gives it the settings' fonts, colours,
// background and pictures.
void PrepareDocument(TSectionList& doc, const PaneSettings& settings);

struct PaneLayout {
  int Height = 0;    // the laid-out blocks, from the top margin on
  int MaxWidth = 0;  // the widest line or block, at most kMaxPaneContentWidth
};
// Lays the document out for a width (the pane's less both side margins),
// from the top margin down.
PaneLayout LayoutDocument(TSectionList& doc, Canvas& canvas, const PaneSettings& settings, int width);

// Paints clip (x as on the panel, y a document y; the caller's canvas
// origin carries the vertical scroll position): the background (the
// document's colour, or its background picture tiled so that it scrolls
// with the text), then the blocks meeting clip, shifted left by scrollX.
void PaintDocument(TSectionList& doc, Canvas& canvas, const Rect& clip, const PaneSettings& settings,
                   int scrollX);

}  // namespace quillet
