// Times the pane widget on a bookmark export, on Qt's offscreen platform
// with the real fonts: one page down (the key and the paint it causes) at
// the top, the middle and near the end of the document, and the document
// laid out again after a change of width (the resize and its paint).
//
//   pane_bench FILE [--runs N] [--width W] [--height H]
//
// Prints milliseconds: medians and maxima of the wall clock and of the
// thread's processor time, and the paint's own share.
#include <time.h>

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bookmarks/DocumentFile.h"
#include "platform/FileSystem.h"
#include "viewer/qt/HtmlPane.h"

namespace {

double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double WallMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The pane, noting the time its paints take.
class TimedPane : public quillet::ThtmlPane {
 public:
  using ThtmlPane::ThtmlPane;
  double PaintMs = 0;
  int Paints = 0;

 protected:
  void PaintDocument(const QRect& exposed) override {
    const double t0 = WallMs();
    ThtmlPane::PaintDocument(exposed);
    PaintMs += WallMs() - t0;
    ++Paints;
  }
};

struct Sample {
  double Wall = 0, Cpu = 0, Paint = 0;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Report(const char* what, const std::vector<Sample>& samples) {
  std::vector<double> wall, cpu, paint;
  for (const Sample& s : samples) {
    wall.push_back(s.Wall);
    cpu.push_back(s.Cpu);
    paint.push_back(s.Paint);
  }
  std::printf("%-28s wall median %7.2f max %7.2f  cpu median %7.2f max %7.2f  paint median %7.2f  (%zu runs)\n",
              what, Median(wall), *std::max_element(wall.begin(), wall.end()), Median(cpu),
              *std::max_element(cpu.begin(), cpu.end()), Median(paint), samples.size());
}

// Runs one step and times it with the paint it causes.
template <class F>
Sample Timed(TimedPane& pane, F step) {
  pane.PaintMs = 0;
  const double w0 = WallMs(), c0 = CpuMs();
  step();
  QApplication::processEvents();
  return {WallMs() - w0, CpuMs() - c0, pane.PaintMs};
}

}  // namespace

int main(int argc, char** argv) {
  std::string file;
  int runs = 30, width = 800, height = 600;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc)
      runs = std::atoi(argv[++i]);
    else if (a == "--width" && i + 1 < argc)
      width = std::atoi(argv[++i]);
    else if (a == "--height" && i + 1 < argc)
      height = std::atoi(argv[++i]);
    else
      file = a;
  }
  if (file.empty() || runs < 1) {
    std::fprintf(stderr, "usage: pane_bench FILE [--runs N] [--width W] [--height H]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  quillet::PosixFileSystem fs;
  const std::vector<std::string> lines = quillet::SplitDocumentText(fs.ReadFile(file));
  TimedPane pane(nullptr, nullptr, &fs);
  pane.UseSettings(quillet::WindowPaneSettings());
  pane.SetBorderStyle(quillet::htSingle);
  pane.resize(width, height);
  pane.show();
  QApplication::processEvents();

  const Sample load = Timed(pane, [&] { pane.LoadStrings(lines); });
  std::printf("%s: %zu lines, document %d pixels tall, panel %d x %d\n", file.c_str(), lines.size(),
              pane.DocHeight(), pane.PanelWidth(), pane.PanelHeight());
  Report("load (parse, layout, paint)", {load});

  const int end = pane.DocHeight() - pane.PanelHeight();
  const int page = pane.PanelHeight() - quillet::ThtmlPane::kVSmallChange;
  struct Place {
    const char* Name;
    int Y;
  };
  for (const Place& place : {Place{"page down at the top", 0}, Place{"page down in the middle", end / 2},
                             Place{"page down near the end", std::max(0, end - (runs + 1) * page)}}) {
    pane.SetPosition(place.Y);
    QApplication::processEvents();
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
      if (pane.Position() >= end) {
        pane.SetPosition(place.Y);
        QApplication::processEvents();
      }
      samples.push_back(Timed(pane, [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&pane, &key);
      }));
    }
    Report(place.Name, samples);
  }

  std::vector<Sample> resizes;
  const unsigned before = pane.Document().LayoutGeneration();
  for (int i = 0; i < runs; ++i) {
    const int w = i % 2 == 0 ? width - 40 : width;
    resizes.push_back(Timed(pane, [&] { pane.resize(w, height); }));
  }
  Report("resize (layout, paint)", resizes);
  if (pane.Document().LayoutGeneration() - before != static_cast<unsigned>(runs))
    std::printf("warning: %u layouts for %d resizes\n", pane.Document().LayoutGeneration() - before, runs);
  return 0;
}
