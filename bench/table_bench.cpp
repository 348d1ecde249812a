// Times the layout of the pane's tables, built as the parser builds them:
// a table of N rows and M columns (a heading row spanning all columns, then
// rows of short descriptions, alternate rows coloured, with a border and a
// caption), and a chain of D tables each nested in the only cell of the
// one around it.
// Usage: table_bench [--canvas qt|fixed] [--rows N] [--cols M] [--nested D]
//                    [--width W] [--runs R] [--png FILE]
// Prints processor milliseconds: the first layout (which also measures each
// font run's metrics once), the median of the R layouts after it, and one
// paint of the whole table. --png draws the first 1,000 pixels of the big
// table (then of the nested chain, FILE with "-nested" before its suffix)
// with the Qt canvas, to look at.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "platform/FixedCanvas.h"
#include "platform/qt/QtCanvas.h"
#include "viewer/layout/Section.h"
#include "viewer/layout/SectionList.h"
#include "viewer/tables/Table.h"

using namespace quillet;

namespace {

double Millis(const auto& f) {
  timespec t0{}, t1{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t0);
  f();
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t1);
  return double(t1.tv_sec - t0.tv_sec) * 1e3 + double(t1.tv_nsec - t0.tv_nsec) / 1e6;
}

std::u16string U(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TAttribute Attr(Sy code, const std::string& text) {
  TAttribute a;
  a.Code = code;
  a.Number = std::atoi(text.c_str());
  a.Text = U(text);
  return a;
}

TAttributeList List(std::initializer_list<TAttribute> items) {
  TAttributeList list;
  for (const TAttribute& a : items) list.Add(a);
  return list;
}

// Deterministic text of 2 to 6 words from a small word list.
std::u16string Words(unsigned& seed) {
  static const char* const kWords[] = {"Home",    "page",  "of",      "the",     "Quillet", "project", "news",
                                       "weather", "local", "forecast", "recipes", "for",    "bread",   "and",
                                       "cakes",   "open",  "source",  "manual",  "index",   "music",   "archive"};
  seed = seed * 1103515245u + 12345u;
  const unsigned n = 2 + (seed >> 16) % 5;
  std::string text;
  for (unsigned i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    if (!text.empty()) text += ' ';
    text += kWords[(seed >> 16) % (sizeof kWords / sizeof *kWords)];
  }
  return U(text);
}

void AddText(TSectionList& doc, TCell& cell, const std::u16string& text, bool bold = false) {
  TMyFont font;
  font.Spec.Color = clBlack;
  auto s = std::make_unique<TSection>(doc, 0, Justification::Left, TUrlTarget(), font, TFontStyles{.Bold = bold});
  s->AddText(text);
  cell.Add(std::move(s));
}

void BigTable(TSectionList& doc, int rows, int cols) {
  auto table = std::make_unique<ThtmlTable>(
      doc, List({TAttribute{Sy::Border, 1, u""}, Attr(Sy::CellPadding, "3"), Attr(Sy::BgColor, "#FFFFF0")}), 0,
      &doc, Justification::Left);
  AddText(doc, table->StartCaption({}), u"Links by folder");
  TCellList& head = table->AddRow(List({Attr(Sy::BgColor, "silver")}));
  TCellObj& title =
      head.AddCell(std::make_unique<TCellObj>(&doc, List({Attr(Sy::ColSpan, std::to_string(cols))}), head.VAlign));
  AddText(doc, title.Cell, u"A table of " + U(std::to_string(rows)) + u" rows", true);
  unsigned seed = 1;
  for (int r = 0; r < rows; ++r) {
    TCellList& row = table->AddRow(r % 2 ? List({Attr(Sy::BgColor, "#E0E8FF")}) : TAttributeList());
    for (int c = 0; c < cols; ++c) {
      TCellObj& cell = row.AddCell(std::make_unique<TCellObj>(&doc, TAttributeList(), row.VAlign));
      AddText(doc, cell.Cell, Words(seed));
    }
  }
  doc.Add(std::move(table));
}

void NestedTables(TSectionList& doc, int depth) {
  std::unique_ptr<ThtmlTable> inner;
  for (int level = 0; level < depth; ++level) {
    auto table = std::make_unique<ThtmlTable>(doc, List({TAttribute{Sy::Border, 1, u""}}), 0, &doc,
                                              Justification::Left);
    TCellList& row = table->AddRow({});
    TCellObj& cell = row.AddCell(std::make_unique<TCellObj>(&doc, TAttributeList(), row.VAlign));
    if (inner)
      cell.Cell.Add(std::move(inner));
    else
      AddText(doc, cell.Cell, u"the innermost cell");
    inner = std::move(table);
  }
  doc.Add(std::move(inner));
}

struct Times {
  double First = 0, Median = 0, Paint = 0;
  int Height = 0, MaxWidth = 0;
};

Times Measure(TSectionList& doc, Canvas& canvas, int width, int runs) {
  Times t;
  auto layout = [&] {
    int curs = 0;
    t.Height = doc.DoLogic(canvas, 0, width, curs, t.MaxWidth);
  };
  t.First = Millis(layout);
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) times.push_back(Millis(layout));
  std::sort(times.begin(), times.end());
  t.Median = times.empty() ? t.First : times[times.size() / 2];
  t.Paint = Millis([&] { doc.Draw(canvas, {0, 0, std::max(width, t.MaxWidth), t.Height}, 0, 0, width); });
  return t;
}

void WritePicture(TSectionList& doc, int width, const std::string& file) {
  int curs = 0, maxWidth = 0;
  QImage probe(8, 8, QImage::Format_RGB32);
  QtCanvas measure(probe);
  const int height = std::min(doc.DoLogic(measure, 0, width, curs, maxWidth), 1000);
  QImage image(std::max(width, std::min(maxWidth, 4000)), std::max(height, 1), QImage::Format_RGB32);
  image.fill(Qt::white);
  QtCanvas canvas(image);
  doc.Draw(canvas, {0, 0, image.width(), height}, 0, 0, width);
  image.save(QString::fromStdString(file));
}

}  // namespace

int main(int argc, char** argv) {
  int rows = 1000, cols = 5, depth = 1000, width = 800, runs = 11;
  bool qt = true;
  std::string png;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--canvas")) qt = std::strcmp(argv[i + 1], "fixed") != 0;
    else if (!std::strcmp(argv[i], "--rows")) rows = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--cols")) cols = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--nested")) depth = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--width")) width = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--runs")) runs = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--png")) png = argv[i + 1];
    else {
      std::fprintf(stderr,
                   "usage: table_bench [--canvas qt|fixed] [--rows N] [--cols M] [--nested D] [--width W] [--runs R] "
                   "[--png FILE]\n");
      return 2;
    }
  }

  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QImage image(8, 8, QImage::Format_RGB32);
  FixedCanvas fixed;
  fixed.Record = false;
  std::unique_ptr<QtCanvas> real;
  if (qt) real = std::make_unique<QtCanvas>(image);
  Canvas& canvas = qt ? static_cast<Canvas&>(*real) : fixed;

  TSectionList big;
  big.SetBackground(clWhite);
  BigTable(big, rows, cols);
  const Times b = Measure(big, canvas, width, runs);
  std::printf("canvas=%s table rows=%d cols=%d width=%d height=%d first=%.2f ms median=%.2f ms paint=%.2f ms\n",
              qt ? "qt" : "fixed", rows, cols, width, b.Height, b.First, b.Median, b.Paint);

  TSectionList nested;
  nested.SetBackground(clWhite);
  NestedTables(nested, depth);
  const Times n = Measure(nested, canvas, width, runs);
  std::printf("canvas=%s nested depth=%d width=%d height=%d max width=%d first=%.2f ms median=%.2f ms paint=%.2f ms\n",
              qt ? "qt" : "fixed", depth, width, n.Height, n.MaxWidth, n.First, n.Median, n.Paint);

  if (!png.empty()) {
    WritePicture(big, width, png);
    const size_t dot = png.rfind('.');
    WritePicture(nested, width, dot == std::string::npos ? png + "-nested" : png.substr(0, dot) + "-nested" + png.substr(dot));
  }
  return 0;
}
