// Renders the scalable icon to a square PNG of the given size, for the icon
// theme's fixed-size folders: quillet_render_icon IN.svg OUT.png SIZE
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: quillet_render_icon IN.svg OUT.png SIZE\n");
    return 2;
  }
  const int size = std::atoi(argv[3]);
  if (size <= 0 || size > 1024) {
    std::fprintf(stderr, "quillet_render_icon: bad size %s\n", argv[3]);
    return 2;
  }
  // No display is needed to paint into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "quillet_render_icon: cannot read %s\n", argv[1]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p);
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "quillet_render_icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
