// The anchor for the pane's parse and layout: what a Qt developer would reach
// for instead. Loads one HTML file into a QTextDocument (setHtml) and lays it
// out at a width, with the pane's body font.
// Usage: qtextdocument_bench FILE [WIDTH] [RUNS]   (defaults 780, 5)
// Prints processor milliseconds, the median of the runs: parse (decoding
// and setHtml) and layout (the whole document laid out at the width).
#include <time.h>

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qtextdocument_bench FILE [WIDTH] [RUNS]\n");
    return 2;
  }
  const int width = argc > 2 ? std::atoi(argv[2]) : 780;
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);

  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "qtextdocument_bench: cannot open %s\n", argv[1]);
    return 1;
  }
  const QByteArray bytes = file.readAll();
  QFont font("Times New Roman");
  font.setPixelSize(16);

  std::vector<double> parse, layout;
  double height = 0;
  for (int i = 0; i < runs; ++i) {
    QTextDocument doc;
    doc.setDefaultFont(font);
    double t0 = CpuMs();
    doc.setHtml(QString::fromUtf8(bytes));
    parse.push_back(CpuMs() - t0);
    t0 = CpuMs();
    doc.setTextWidth(width);
    height = doc.size().height();  // lays the whole document out
    layout.push_back(CpuMs() - t0);
  }
  std::printf("parse=%.1f layout=%.1f height=%.0f\n", Median(parse), Median(layout), height);
  return 0;
}
