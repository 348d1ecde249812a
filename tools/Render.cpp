#include "tools/Render.h"

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bookmarks/DocumentFile.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TextCodec.h"
#include "platform/qt/QtCanvas.h"
#include "tools/FixedMetricsCanvas.h"
#include "viewer/document/DocumentDump.h"
#include "viewer/document/LinkPath.h"
#include "viewer/document/PaneDocument.h"
#include "viewer/forms/FormControlPictures.h"
#include "viewer/layout/SectionList.h"
#include "viewer/parser/Parser.h"

namespace quillet {

namespace {

// Processor time of the process, which a busy machine disturbs less than
// the clock on the wall.
double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
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

bool ReadRenderOption(const std::vector<std::string>& args, size_t& i, RenderOptions& options, std::string& error) {
  const std::string& a = args[i];
  if (a == "--width") {
    if (++i >= args.size()) {
      error = "--width needs a number";
      return true;
    }
    char* end = nullptr;
    const long n = std::strtol(args[i].c_str(), &end, 10);
    if (args[i].empty() || *end != '\0' || n < 1 || n > 100000)
      error = "--width takes 1 to 100000";
    else
      options.Width = static_cast<int>(n);
  } else if (a == "--select") {
    if (++i >= args.size() || args[i].empty())
      error = "--select needs the text to select";
    else
      options.Select = args[i];
  } else if (a == "--text") {
    options.Text = true;
  } else if (a == "--images") {
    options.Images = true;
  } else if (a == "--fixed-metrics") {
    options.FixedMetrics = true;
  } else {
    return false;
  }
  return true;
}

RenderResult RenderFile(const std::string& path, const RenderOptions& options, Ui& ui) {
  RenderResult result;
  PosixFileSystem fs;
  std::string bytes = fs.ReadFile(path);

  PaneSettings settings = WindowPaneSettings();
  settings.ViewImages = options.Images;
  TSectionList doc;
  doc.Callbacks().Messages = &ui;
  PrepareDocument(doc, settings);
  TNameList names;
  HtmlParser parser;
  // Pictures are files beside the page (or under its BASE HREF), as the
  // pane finds them for a file it loaded.
  doc.Callbacks().Files = &fs;
  const std::string page = std::filesystem::absolute(path).lexically_normal().string();
  doc.Callbacks().ExpandImageName = [&parser, page](const std::string& source) {
    return ExpandLinkPath(source, LinkBase{.ServerRoot = {}, .BaseUrl = Utf16ToUtf8(parser.BaseUrl), .CurrentFile = page});
  };

  double t0 = CpuMs();
  try {
    // As the main window loads a file: its lines, then the pane's load.
    const std::vector<std::string> lines = SplitDocumentText(bytes);
    std::string().swap(bytes);  // the window keeps the lines only
    if (options.Text)
      parser.ParseTextStrings(lines, doc);
    else
      parser.ParseHtmlStrings(lines, doc, names);
  } catch (const std::exception& e) {
    result.ParseError = e.what();
  }
  result.ParseMs = CpuMs() - t0;
  if (doc.ShowImages) doc.GetBackgroundBitmap();

  const int width = std::max(options.Width - 2 * settings.MarginWidth, 0);
  t0 = CpuMs();
  {
    QImage scratch(1, 1, QImage::Format_RGB32);
    CanvasFor canvas(scratch, options.FixedMetrics);
    result.DocHeight = LayoutDocument(doc, canvas.Use(), settings, width).Height + 2 * settings.MarginHeight;
  }
  result.LayoutMs = CpuMs() - t0;

  if (!options.Select.empty()) {
    // Positions exist once the document is laid out.
    const std::u16string text = Utf8ToUtf16(options.Select);
    const int at = doc.FindString(0, text, true);
    if (at < 0) {
      result.SelectError = "quillet-render: \"" + options.Select + "\" is not in the page";
    } else {
      doc.SelB = at;
      doc.SelE = at + static_cast<int>(text.size());
    }
  }

  if (options.Paint) {
    t0 = CpuMs();
    const int pictureHeight = std::clamp(result.DocHeight, 1, kMaxPictureHeight);
    result.Picture = QImage(std::max(options.Width, 1), pictureHeight, QImage::Format_RGB32);
    if (result.Picture.isNull()) {
      // As the pane says when its off-screen bitmap cannot be made.
      result.PaintError = "Out of Resources";
    } else {
      CanvasFor canvas(result.Picture, options.FixedMetrics);
      // As the pane paints at scroll position 0; the pane's controls are
      // widgets of their own, here drawn where the paint placed them.
      PaintDocument(doc, canvas.Use(), {0, 0, result.Picture.width(), pictureHeight}, settings, 0);
      PaintFormControls(doc.Forms(), canvas.Use());
    }
    result.PaintMs = CpuMs() - t0;
  }
  if (options.Dump) result.Dump = DumpDocument(doc, parser.Title, settings.MarginWidth);
  return result;
}

}  // namespace quillet
