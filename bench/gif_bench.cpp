// Decodes one GIF with our decoder and with Qt's own GIF reader, side by
// side in one process, and prints the medians.
//   gif_bench FILE [RUNS]
// Ours: TGIFImage::Load from memory up to the composed first frame. Qt's:
// QImageReader on a QBuffer over the same bytes, read() into a QImage. The
// runs alternate so that both meet the same machine load.
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "viewer/images/Gif.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

template <typename F>
double Seconds(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: gif_bench FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  const QByteArray qbytes(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));

  std::vector<double> ours, qt;
  int w = 0, h = 0;
  QImage::Format format = QImage::Format_Invalid;
  for (int i = 0; i < runs + 1; ++i) {  // the first of each is a warm-up
    const double a = Seconds([&] {
      quillet::TGIFImage gif;
      if (!gif.Load(bytes)) std::fprintf(stderr, "gif_bench: our decoder refused the file\n"), std::exit(1);
      w = gif.Width(), h = gif.Height();
    });
    const double b = Seconds([&] {
      QBuffer buffer;
      buffer.setData(qbytes);
      buffer.open(QIODevice::ReadOnly);
      QImageReader reader(&buffer, "gif");
      const QImage image = reader.read();
      if (image.isNull()) std::fprintf(stderr, "gif_bench: Qt refused the file\n"), std::exit(1);
      format = image.format();
    });
    if (i > 0) ours.push_back(a), qt.push_back(b);
  }
  const double mo = Median(ours), mq = Median(qt);
  std::printf("%s: %d x %d, %zu bytes, %d runs each\n", argv[1], w, h, bytes.size(), runs);
  std::printf("ours (TGIFImage, ARGB32 composed)   median %8.3f ms  min %8.3f ms\n", mo * 1e3,
              *std::min_element(ours.begin(), ours.end()) * 1e3);
  std::printf("Qt   (QImageReader, QImage format %d) median %8.3f ms  min %8.3f ms\n", static_cast<int>(format),
              mq * 1e3, *std::min_element(qt.begin(), qt.end()) * 1e3);
  std::printf("ratio ours / Qt: %.2f (target: at most 2)\n", mo / mq);
  return 0;
}
