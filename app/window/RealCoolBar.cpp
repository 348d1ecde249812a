#include "app/window/RealCoolBar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPaintEvent>
#include <qdrawutil.h>

namespace quillet {

namespace {
constexpr int kGripWidth = 10;
}

QImage BlendBackground(const QImage& picture, const QColor& background, std::optional<QColor> transparentColor) {
  QImage work(picture.size(), QImage::Format_RGB32);
  work.fill(background);
  if (picture.isNull()) return work;
  QRgb clear;
  if (transparentColor) {
    clear = transparentColor->rgb();
  } else if (picture.colorCount() == 2 || picture.depth() == 1) {
    clear = qRgb(255, 255, 255);
  } else {
    clear = picture.pixel(0, picture.height() - 1);
  }
  const QImage src = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(work.scanLine(y));
    for (int x = 0; x < src.width(); ++x)
      if ((in[x] & 0xFFFFFF) != (clear & 0xFFFFFF)) out[x] = in[x];
  }
  return work;
}

TRealCoolBar::TRealCoolBar(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kGripWidth + 2, 2, 2, 2);
  layout->setSpacing(0);
}

void TRealCoolBar::SetBitmap(const QImage& picture, std::optional<QColor> transparentColor) {
  bitmap_ = picture.copy();
  transparent_ = transparentColor;
  update();
}

void TRealCoolBar::SetBandControl(QWidget* control) {
  control->setParent(this);
  static_cast<QHBoxLayout*>(layout())->addWidget(control, 1, Qt::AlignLeft | Qt::AlignVCenter);
}

void TRealCoolBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor background = palette().color(QPalette::Window);
  if (bitmap_.isNull()) {
    p.fillRect(rect(), background);
  } else {
    // Blended afresh on every paint, so the picture follows the bar's colour.
    p.drawTiledPixmap(rect(), QPixmap::fromImage(BlendBackground(bitmap_, background, transparent_)));
  }
  // The one band: a raised edge and its grip.
  qDrawShadePanel(&p, rect(), palette(), false, 1);
  const int top = 4, bottom = height() - 5;
  for (int x : {3, 6}) qDrawShadeLine(&p, x, top, x, bottom, palette(), false, 1, 0);
}

}  // namespace quillet
