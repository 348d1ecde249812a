#pragma once
// What quillet-render does, as a library the golden-picture tests share:
// one file parsed, laid out and painted as the main window's pane shows it,
// but without border or scroll bars.
//
// The pane's settings in the main window (WindowPaneSettings,
// viewer/document/PaneDocument.h): window background, "Times New Roman" and
// "Courier New" at 12 points, text in the button-text colour, links in the
// link colour (blue), margins 10 (left and right) and 5 (top and bottom),
// pictures off. With Images on, pictures (and the BODY background) are read
// from the files their sources name, relative to the page's folder (or its
// BASE HREF), as the pane finds them. The layout width is the picture's
// width less both side margins; the picture is as tall as the document with
// its top and bottom margins, cut at kMaxPictureHeight. Colours resolve
// with the fixed light palette. Form controls are in-memory ones, drawn
// where the paint placed them (viewer/forms/FormControlPictures.h).
#include <QImage>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace quillet {

struct RenderOptions {
  int Width = 800;
  bool Text = false;          // load as plain text
  bool Images = false;        // the pane's ViewImages
  bool FixedMetrics = false;  // FixedCanvas's metrics instead of the fonts'
  bool Paint = true;          // false: layout only, no picture
  bool Dump = false;          // fill RenderResult::Dump (viewer/document/DocumentDump.h)
  // UTF-8 text whose first occurrence is selected, as a drag across it
  // selects it; empty for none.
  std::string Select;
};

// Reads the page option at args[i] (--width N, --text, --images,
// --fixed-metrics, --select TEXT) into options, moving i past its value.
// Returns false when args[i] is no page option; error receives what is
// wrong with a page option's value.
bool ReadRenderOption(const std::vector<std::string>& args, size_t& i, RenderOptions& options, std::string& error);

struct RenderResult {
  QImage Picture;  // null when not painted
  std::string Dump;
  int DocHeight = 0;  // the document with its margins
  // Processor milliseconds: splitting the file into lines, decoding and
  // parsing; layout; painting.
  double ParseMs = 0;
  double LayoutMs = 0;
  double PaintMs = 0;
  // The text of a failure that escaped the parse; what was built was laid
  // out and painted all the same.
  std::string ParseError;
  // "Out of Resources" when the picture could not be made.
  std::string PaintError;
  // What is wrong with the selection asked for (its text is not shown).
  std::string SelectError;
};

inline constexpr int kMaxPictureHeight = 32000;

// Renders the file. Messages the pane would show go to ui. Throws
// EFOpenError when the file cannot be read. A QGuiApplication must exist.
RenderResult RenderFile(const std::string& path, const RenderOptions& options, Ui& ui);

}  // namespace quillet
