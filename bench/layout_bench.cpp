// Times the layout of the pane's text sections: a document of N sections of
// about 40 characters (ordinary bookmark descriptions) laid out at a width,
// as the pane does after a load and at every width change.
// Usage: layout_bench [--sections N] [--width W] [--runs R]
// Prints processor milliseconds: the first layout (which also measures each
// font run's metrics once) and the median of the layouts after it.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/FixedCanvas.h"
#include "viewer/Section.h"
#include "viewer/SectionList.h"

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

}  // namespace

int main(int argc, char** argv) {
  int sections = 10000, width = 800, runs = 11;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--sections")) sections = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--width")) width = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--runs")) runs = std::atoi(argv[i + 1]);
    else {
      std::fprintf(stderr, "usage: layout_bench [--sections N] [--width W] [--runs R]\n");
      return 2;
    }
  }

  FixedCanvas canvas;
  canvas.Record = false;
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
  std::printf("canvas=fixed sections=%d width=%d height=%d first=%.2f ms median=%.2f ms (of %d)\n", sections, width,
              height, first, times[times.size() / 2], runs);
  return 0;
}
