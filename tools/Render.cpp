#include "tools/Render.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "convert/DocumentFile.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtCanvas.h"
#include "tools/FixedMetricsCanvas.h"
#include "viewer/DocumentDump.h"
#include "viewer/Parser.h"
#include "viewer/SectionList.h"

namespace quillet {

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The canvas layout or painting runs on: the Qt canvas, or the fixed
// metrics drawing through it.
struct CanvasFor {
  std::unique_ptr<QtCanvas> Qt;
  std::unique_ptr<FixedMetricsCanvas> Fixed;
  CanvasFor(QImage& image, bool fixedMetrics) : Qt(std::make_unique<QtCanvas>(image)) {
    if (fixedMetrics) Fixed = std::make_unique<FixedMetricsCanvas>(Qt.get());
  }
  Canvas& Use() { return Fixed ? static_cast<Canvas&>(*Fixed) : *Qt; }
};

}  // namespace

RenderResult RenderFile(const std::string& path, const RenderOptions& options, Ui& ui) {
  RenderResult result;
  PosixFileSystem fs;
  const std::string bytes = fs.ReadFile(path);

  TSectionList doc(&ui);
  doc.ShowImages = options.Images;
  doc.SetFonts(u"Times New Roman", u"Courier New", clWindow, clBlue, clBtnText, 12);
  TNameList names;
  HtmlParser parser;

  Clock::time_point t0 = Clock::now();
  try {
    // As the main window loads a file: its lines, then the pane's load.
    const std::vector<std::string> lines = SplitDocumentText(bytes);
    if (options.Text)
      parser.ParseTextStrings(lines, doc);
    else
      parser.ParseHtmlStrings(lines, doc, names);
  } catch (const std::exception& e) {
    result.ParseError = e.what();
  }
  result.ParseMs = MsSince(t0);

  const int width = std::max(options.Width - 2 * kRenderMarginWidth, 0);
  t0 = Clock::now();
  {
    QImage scratch(1, 1, QImage::Format_RGB32);
    CanvasFor canvas(scratch, options.FixedMetrics);
    int curs = 0, maxWidth = 0;
    const int height = doc.DoLogic(canvas.Use(), kRenderMarginHeight, width, curs, maxWidth);
    result.DocHeight = height + 2 * kRenderMarginHeight;
  }
  result.LayoutMs = MsSince(t0);

  if (options.Paint) {
    t0 = Clock::now();
    const int pictureHeight = std::clamp(result.DocHeight, 1, kMaxPictureHeight);
    result.Picture = QImage(std::max(options.Width, 1), pictureHeight, QImage::Format_RGB32);
    {
      CanvasFor canvas(result.Picture, options.FixedMetrics);
      Canvas& c = canvas.Use();
      const Rect all{0, 0, result.Picture.width(), pictureHeight};
      c.FillRect(all, doc.Background());
      // As the pane paints at scroll position 0, its width limit 2000.
      doc.Draw(c, all, kRenderMarginHeight, kRenderMarginWidth, 2000);
    }
    result.PaintMs = MsSince(t0);
  }
  if (options.Dump) result.Dump = DumpDocument(doc, parser.Title, kRenderMarginWidth);
  return result;
}

}  // namespace quillet
