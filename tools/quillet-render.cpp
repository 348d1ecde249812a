// quillet-render: shows what the pane makes of a page, as a PNG.
//   quillet-render [--width N] [--text] [--images] [--fixed-metrics] [--select TEXT] [--dump] [--time] IN OUT.png
// OUT "-" writes no picture. Exit status: 0 done; 1 the file could not be
// read or the picture written, a failure escaped the parse, or the text to
// select is not in the page (the picture of what was built is written all
// the same); 2 a wrong command line.
#include <QGuiApplication>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/TerminalUi.h"
#include "tools/Render.h"

using namespace quillet;

namespace {

constexpr const char* kUsage =
    "usage: quillet-render [--width N] [--text] [--images] [--fixed-metrics] [--select TEXT]\n"
    "                      [--dump] [--time] IN OUT.png\n"
    "  Lays IN out as Quillet's HTML pane does and writes it as a PNG as tall as\n"
    "  the document (at most 32000 pixels); OUT \"-\" writes no picture.\n"
    "  --width N        the picture's width in pixels (default 800)\n"
    "  --text           load IN as plain text\n"
    "  --images         show pictures (the pane's ViewImages), read relative to\n"
    "                   the page's folder\n"
    "  --fixed-metrics  lay out with fixed, documented font metrics\n"
    "  --select TEXT    select the first occurrence of TEXT, as a drag across it\n"
    "                   does\n"
    "  --dump           print the laid-out blocks and lines on stdout\n"
    "  --time           print parse=<ms> layout=<ms> paint=<ms> on stderr\n"
    "                   (processor milliseconds)\n";

// Qt's own chatter (a missing runtime folder, font notes) is no message of
// the pane's; stderr keeps those for the page.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
}

int Usage(const std::string& problem) {
  std::cerr << "quillet-render: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  RenderOptions options;
  bool time = false;
  std::string in, out;
  int files = 0;
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string error;
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (ReadRenderOption(args, i, options, error)) {
      if (!error.empty()) return Usage(error);
    } else if (a == "--dump") {
      options.Dump = true;
    } else if (a == "--time") {
      time = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return Usage("unknown option " + a);
    } else {
      (files++ == 0 ? in : out) = a;
    }
  }
  if (files != 2) return Usage("give IN and OUT");
  options.Paint = out != "-";

  // No display needed: Qt's offscreen platform draws the fonts.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQt);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QGuiApplication app(qtArgc, qtArgv);

  TerminalUi ui(std::cin, std::cerr);
  RenderResult result;
  try {
    result = RenderFile(in, options, ui);
  } catch (const std::exception& e) {
    std::cerr << "quillet-render: " << e.what() << "\n";
    return 1;
  }
  int status = 0;
  if (!result.SelectError.empty()) {
    std::cerr << result.SelectError << "\n";
    status = 1;
  }
  if (!result.ParseError.empty()) {
    std::cerr << result.ParseError << "\n";
    status = 1;
  }
  if (!result.PaintError.empty()) {
    std::cerr << result.PaintError << "\n";
    status = 1;
  } else if (options.Paint && !result.Picture.save(QString::fromStdString(out), "PNG")) {
    std::cerr << "quillet-render: " << EFCreateError(out).what() << "\n";
    status = 1;
  }
  if (options.Dump) std::cout << result.Dump << std::flush;
  if (time)
    std::fprintf(stderr, "parse=%.1f layout=%.1f paint=%.1f\n", result.ParseMs, result.LayoutMs, result.PaintMs);
  return status;
}
