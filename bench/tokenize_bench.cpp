// Times the pane's tokenizer over one HTML file, apart from reading it.
// Usage: tokenize_bench FILE [RUNS]   (default 20 runs; the best is shown)
// Prints processor milliseconds for the memory-block input (decode and
// tokenize) and for the string-list input (the document's lines, decoded as
// they are reached), with the token count.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bookmarks/DocumentFile.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "viewer/text/Tokenizer.h"

using namespace quillet;

namespace {

double CpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs every token; returns the count, and the attributes seen.
size_t TokenizeAll(Tokenizer& tok, size_t& attributes) {
  size_t tokens = 0;
  attributes = 0;
  while (tok.NextToken() != Sy::Eof) {
    ++tokens;
    if (KeepsAttributes(tok.Symbol())) attributes += tok.Attributes().size();
  }
  return tokens;
}

template <class Setup>
void Measure(const char* label, int runs, size_t bytes, Setup setup) {
  double best = 1e9;
  size_t tokens = 0, attributes = 0;
  for (int i = 0; i < runs; ++i) {
    ParseFlags flags;
    Tokenizer tok(flags);
    const double t0 = CpuSeconds();
    setup(tok);
    tokens = TokenizeAll(tok, attributes);
    best = std::min(best, CpuSeconds() - t0);
  }
  std::printf("%-12s %8.2f ms  %7zu tokens  %7zu attributes  %6.0f MB/s\n", label, best * 1e3, tokens,
              attributes, bytes / best / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tokenize_bench FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  PosixFileSystem fs;
  const std::string bytes = fs.ReadFile(argv[1]);
  const TextLines lines = SplitDocumentText(bytes);
  std::printf("%s: %zu bytes, %zu lines; best of %d runs, processor time\n", argv[1], bytes.size(),
              lines.size(), runs);
  {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
      const double t0 = CpuSeconds();
      const std::u16string text = DecodeToUtf16(bytes, ChooseTextEncoding(bytes));
      best = std::min(best, CpuSeconds() - t0);
    }
    std::printf("%-12s %8.2f ms  (choosing the encoding and decoding alone)\n", "decode", best * 1e3);
  }
  Measure("memory block", runs, bytes.size(), [&](Tokenizer& tok) { tok.Reader().SetBuffer(bytes); });
  Measure("string list", runs, bytes.size(), [&](Tokenizer& tok) { tok.Reader().SetStrings(lines); });
  return 0;
}
