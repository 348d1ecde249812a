// Times the main window on one bookmark file, on Qt's offscreen platform
// with the real fonts: the file opened into the rendered view (read,
// parsed, laid out and painted), the switch to the source view (its first
// lines shown, then all of them there) and the switch back, each with the
// paint that shows it.
//
//   window_bench FILE [--width W] [--height H] [--chunk LINES]
//
// Prints one line per step: wall-clock and processor milliseconds, and the
// process's peak resident memory after it. bench/window runs it beside
// quillet-render on the same file.
#include <sys/resource.h>
#include <time.h>

#include <QAction>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "bench/BenchClock.h"
#include "app/window/InputBox.h"
#include "app/window/DocumentViews.h"
#include "app/window/MainWindow.h"
#include "bookmarks/Context.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtUi.h"

namespace {

using quillet::bench::CpuMs;
using quillet::bench::WallMs;

using quillet::bench::PeakMiB;

// Runs a step and the paints it causes; prints its times and the peak.
void Step(const char* name, const std::function<void()>& step) {
  const double w0 = WallMs(), c0 = CpuMs();
  step();
  QApplication::processEvents();
  std::printf("%-8s wall=%.0f cpu=%.0f peak=%.1f\n", name, WallMs() - w0, CpuMs() - c0, PeakMiB());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillet;
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_bench FILE [--width W] [--height H] [--chunk LINES]\n");
    return 2;
  }
  int width = 1000, height = 700;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--width") == 0) width = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--height") == 0) height = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--chunk") == 0) quillet::SourceView::FillChunkLines = std::strtoul(argv[i + 1], nullptr, 10);
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  PosixFileSystem fs;
  IniProfile profile(fs);
  QtUi ui(AskText);
  IcuCollation collation("");
  QtDialogs dialogs;
  Context ctx;
  ctx.Services = {&fs, &profile, &ui, &collation};
  // Settings of its own: a scratch folder that holds none.
  ctx.ProgramDir = ctx.DataDir = "/nonexistent/";
  const std::string file = argv[1];

  MainWindow window(ctx, dialogs);
  window.resize(width, height);
  window.show();
  QApplication::processEvents();
  std::printf("start    peak=%.1f\n", PeakMiB());
  Step("open", [&] { window.OpenFromCommandLine(file); });
  QAction* source = window.Action("sourceViewAction");
  QAction* rendered = window.Action("renderedViewAction");
  Step("source", [&] { source->trigger(); });
  Step("complete", [&] {
    while (!window.Source().Filled()) QApplication::processEvents();
  });
  Step("rendered", [&] { rendered->trigger(); });
  return 0;
}
