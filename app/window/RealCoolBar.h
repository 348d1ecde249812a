#pragma once
// The tool-bar container of the main window: a bar of bands that paints a
// picture behind them, blended with the bar's own colour.
#include <QColor>
#include <QImage>
#include <QWidget>
#include <optional>

namespace quillet {

class TRealCoolBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QImage Bitmap READ Bitmap WRITE SetBitmap)

 public:
  explicit TRealCoolBar(QWidget* parent = nullptr);

  const QImage& Bitmap() const { return bitmap_; }
  // Copies the picture and repaints.
  void SetBitmap(const QImage& picture, std::optional<QColor> transparentColor = std::nullopt);
  // Holds the band's control: the bar lays it out beside the band's grip.
  void SetBandControl(QWidget* control);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QImage bitmap_;
  std::optional<QColor> transparent_;
};

// The work picture behind the bands: the picture on the bar's colour, its
// transparent colour taking the bar's colour. Without a colour set on the
// picture, white is transparent in a two-colour picture, else the colour of
// the bottom-left pixel.
QImage BlendBackground(const QImage& picture, const QColor& background,
                       std::optional<QColor> transparentColor = std::nullopt);

}  // namespace quillet
