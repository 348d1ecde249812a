// Times the layout of the pane's text sections: a document of N sections of
// about 40 characters (ordinary bookmark descriptions) laid out at a width,
// as the pane does after a load and at every width change.
// Usage: layout_bench [--canvas qt|fixed] [--sections N] [--width W] [--runs R]
// With the Qt canvas (the default) text is measured with the real fonts, as
// in the window; the fixed canvas shows the cost of the layout itself.
// Prints processor milliseconds: the first layout (which also measures each
// font run's metrics once) and the median of the layouts after it.
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

using namespace quillet;

namespace {

double Millis(const auto& f) {
  timespec t0{}, t1{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t0);
  f();
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t1);
  return double(t1.tv_sec - t0.tv_sec) * 1e3 + double(t1.tv_nsec - t0.tv_nsec) / 1e6;
}

// Deterministic text of about 40 characters from a small word list.
std::u16string Description(unsigned& seed) {
  static const char* const kWords[] = {"Home",    "page",  "of",      "the",     "Quillet", "project", "news",
                                       "weather", "local", "forecast", "recipes", "for",    "bread",   "and",
                                       "cakes",   "open",  "source",  "manual",  "index",   "music",   "archive"};
  std::string text;
  while (text.size() < 36) {
    seed = seed * 1103515245u + 12345u;
    if (!text.empty()) text += ' ';
    text += kWords[(seed >> 16) % (sizeof kWords / sizeof *kWords)];
  }
  return std::u16string(text.begin(), text.end());
}

void Fill(TSectionList& doc, int sections) {
  unsigned seed = 1;
  TMyFont font;
  font.Spec.Color = clBlack;
  for (int i = 0; i < sections; ++i) {
    auto s = std::make_unique<TSection>(doc, i % 3, Justification::Left, TUrlTarget(), font);
    s->AddText(Description(seed));
    doc.Add(std::move(s));
  }
}

// Passes everything on, counting the text measurements.
class CountingCanvas : public Canvas {
 public:
  explicit CountingCanvas(Canvas& inner) : c_(inner) {}
  long Widths = 0;
  long Chars = 0;
  const SystemPalette& Palette() const override { return c_.Palette(); }
  void SelectFont(const FontSpec& f) override { c_.SelectFont(f); }
  FontMetrics Metrics() override { return c_.Metrics(); }
  int TextWidth(std::u16string_view t) override {
    ++Widths;
    Chars += static_cast<long>(t.size());
    return c_.TextWidth(t);
  }
  void TextOut(int x, int y, std::u16string_view t, TextDirection d = TextDirection::LeftToRight) override {
    c_.TextOut(x, y, t, d);
  }
  void TextOutOpaque(int x, int y, std::u16string_view t, TColor b,
                     TextDirection d = TextDirection::LeftToRight) override {
    c_.TextOutOpaque(x, y, t, b, d);
  }
  void FillRect(const Rect& r, TColor c) override { c_.FillRect(r, c); }
  void FrameRect(const Rect& r, TColor c) override { c_.FrameRect(r, c); }
  void Line(int x1, int y1, int x2, int y2, TColor p) override { c_.Line(x1, y1, x2, y2, p); }
  void Ellipse(const Rect& r, TColor p, std::optional<TColor> f) override { c_.Ellipse(r, p, f); }
  void Polygon(const std::vector<Point>& p, TColor c, std::optional<TColor> f) override { c_.Polygon(p, c, f); }
  void DrawPicture(const Picture& p, const Rect& d) override { c_.DrawPicture(p, d); }
  void TilePicture(const Picture& p, const Rect& a, Point o) override { c_.TilePicture(p, a, o); }
  void PushClip(const Rect& r) override { c_.PushClip(r); }
  void PopClip() override { c_.PopClip(); }
  void SetOrigin(Point o) override { c_.SetOrigin(o); }
  Point Origin() const override { return c_.Origin(); }

 private:
  Canvas& c_;
};

}  // namespace

int main(int argc, char** argv) {
  int sections = 10000, width = 800, runs = 11;
  bool qt = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--canvas")) qt = std::strcmp(argv[i + 1], "fixed") != 0;
    else if (!std::strcmp(argv[i], "--sections")) sections = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--width")) width = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--runs")) runs = std::atoi(argv[i + 1]);
    else {
      std::fprintf(stderr, "usage: layout_bench [--canvas qt|fixed] [--sections N] [--width W] [--runs R]\n");
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

  TSectionList doc;
  Fill(doc, sections);
  int height = 0;
  auto layout = [&] {
    int curs = 0, maxWidth = 0;
    height = doc.DoLogic(canvas, 0, width, curs, maxWidth);
  };
  const double first = Millis(layout);
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) times.push_back(Millis(layout));
  std::sort(times.begin(), times.end());
  // One more layout, counting what it measures.
  CountingCanvas counting(canvas);
  {
    int curs = 0, maxWidth = 0;
    doc.DoLogic(counting, 0, width, curs, maxWidth);
  }
  const long lines = [&] {
    long n = 0;
    for (const auto& block : doc.Blocks()) n += static_cast<long>(static_cast<TSection&>(*block).Lines.size());
    return n;
  }();
  std::printf("canvas=%s sections=%d width=%d height=%d first=%.2f ms median=%.2f ms (of %d)\n", qt ? "qt" : "fixed", sections, width,
              height, first, times[times.size() / 2], runs);
  std::printf("  lines=%ld text measurements per layout=%ld (%.1f per line, %.1f characters each)\n", lines,
              counting.Widths, double(counting.Widths) / double(lines), double(counting.Chars) / double(counting.Widths));
  return 0;
}
