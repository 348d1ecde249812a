// Times the clean-ups on one bookmark file, apart from loading and saving.
// Usage: cleanup_bench FILE [LOCALE]   (LOCALE as in LANG; default: ICU root)
// Prints processor seconds per step.
#include <time.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "cleanup/RemoveDuplicateLinks.h"
#include "cleanup/SortLinks.h"
#include "bookmarks/DocumentFile.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/TerminalUi.h"

using namespace quillet;

namespace {

// Processor time of the call: the machines these run on are often shared,
// and wall time then measures the neighbours.
template <class F>
double Seconds(F&& f) {
  timespec t0{}, t1{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t0);
  f();
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t1);
  return double(t1.tv_sec - t0.tv_sec) + double(t1.tv_nsec - t0.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: cleanup_bench FILE [LOCALE]\n");
    return 2;
  }
  PosixFileSystem fs;
  TerminalUi ui(std::cin, std::cerr);
  IcuCollation collation(argc > 2 ? argv[2] : "");
  Context ctx;
  ctx.Services.Fs = &fs;
  ctx.Services.UI = &ui;
  ctx.Services.Collate = &collation;

  TextLines original;
  const double load = Seconds([&] { original = SplitDocumentText(fs.ReadFile(argv[1])); });
  std::printf("%zu lines, locale \"%s\"\n", original.size(), collation.LocaleId().c_str());
  std::printf("load:                 %.3f s\n", load);

  ctx.HtmlLines = original;
  std::printf("SortLinks:            %.3f s\n", Seconds([&] { SortLinks(ctx); }));
  std::printf("SortLinks again:      %.3f s\n", Seconds([&] { SortLinks(ctx); }));
  ctx.HtmlLines = original;
  const double dedupe = Seconds([&] { RemoveDuplicateLinks(ctx); });
  std::printf("RemoveDuplicateLinks: %.3f s (%zu lines left)\n", dedupe, ctx.HtmlLines.size());
  std::printf("save:                 %.3f s\n",
              Seconds([&] { SaveHtmlFile(fs, ctx.HtmlLines, std::string(argv[1]) + ".out"); }));
  return 0;
}
