#include "platform/qt/QtCanvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <string>

#include "tests/support/qt/OffscreenApp.h"

namespace quillet {
namespace {

QGuiApplication& App() { return test::OffscreenApp(); }

constexpr QRgb kWhite = 0xFFFFFFFF;

class QtCanvasTest : public ::testing::Test {
 protected:
  QtCanvasTest() : image(100, 40, QImage::Format_RGB32) {
    App();
    image.fill(kWhite);
  }

  QRgb At(int x, int y) const { return image.pixel(x, y) | 0xFF000000; }

  // The box holding every pixel that is not white; empty when none is.
  QRect Painted() const {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (At(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
  }

  QImage image;
};

FontSpec Font(const char16_t* face, int points) {
  FontSpec f;
  f.Face = face;
  f.Size = points;
  return f;
}

TEST_F(QtCanvasTest, ClassicFacesResolveToLiberationAtPixelSizes) {
  QtCanvas c(image);
  const struct {
    const char16_t* Face;
    const char* Family;
  } faces[] = {{u"Times New Roman", "Liberation Serif"},
               {u"Courier New", "Liberation Mono"},
               {u"Arial", "Liberation Sans"}};
  for (const auto& f : faces) {
    c.SelectFont(Font(f.Face, 12));
    EXPECT_EQ(QFontInfo(c.CurrentQFont()).family().toStdString(), f.Family);
    EXPECT_EQ(c.CurrentQFont().pixelSize(), 16);
    const FontMetrics m = c.Metrics();
    EXPECT_EQ(m.Height, m.Ascent + m.Descent);
    EXPECT_GT(m.Descent, 0);
    EXPECT_GE(m.Height, 16);
    EXPECT_LE(m.Height, 20);
    EXPECT_GE(m.ExternalLeading, 0);
  }
  c.SelectFont(Font(u"Arial", 10));
  EXPECT_EQ(c.CurrentQFont().pixelSize(), 13);
  // Monospaced: every character as wide as the next.
  c.SelectFont(Font(u"Courier New", 12));
  EXPECT_EQ(c.TextWidth(u"iiiiiiiiii"), c.TextWidth(u"WWWWWWWWWW"));
  EXPECT_EQ(c.TextWidth(u"ab") + c.TextWidth(u"cd"), c.TextWidth(u"abcd"));
}

TEST_F(QtCanvasTest, PaintedTextSpansItsMeasuredExtent) {
  for (const char16_t* text : {u"Hello World", u"HIM", u"mum"}) {
    image.fill(kWhite);
    int width = 0;
    {
      QtCanvas c(image);
      c.SelectFont(Font(u"Times New Roman", 12));
      width = c.TextWidth(text);
      c.TextOut(5, 25, text);
    }
    const QRect p = Painted();
    ASSERT_FALSE(p.isEmpty());
    EXPECT_NEAR(p.left(), 5, 1);
    EXPECT_NEAR(p.right() + 1, 5 + width, 1);
    EXPECT_LE(p.bottom(), 25 + 4);  // nothing far below the baseline
    EXPECT_GE(p.bottom(), 24);
  }
}

TEST_F(QtCanvasTest, OpaqueTextFillsItsBoxFromAscentToDescent) {
  FontMetrics m;
  int width = 0;
  {
    QtCanvas c(image);
    FontSpec f = Font(u"Arial", 12);
    f.Color = clWhite;  // white on black: the box alone shows
    c.SelectFont(f);
    m = c.Metrics();
    width = c.TextWidth(u"ab");
    c.TextOutOpaque(3, 20, u"ab", clBlack);
  }
  EXPECT_EQ(Painted(), QRect(3, 20 - m.Ascent, width, m.Height));
}

TEST_F(QtCanvasTest, RectanglesAndLinesLeaveOutTheirFarEdges) {
  {
    QtCanvas c(image);
    c.FillRect({2, 3, 6, 8}, clBlack);
    c.FillRect({9, 9, 9, 20}, clBlack);  // empty
  }
  EXPECT_EQ(Painted(), QRect(2, 3, 4, 5));

  image.fill(kWhite);
  {
    QtCanvas c(image);
    c.FrameRect({10, 10, 15, 14}, clRed);
  }
  EXPECT_EQ(Painted(), QRect(10, 10, 5, 4));
  EXPECT_EQ(At(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(At(14, 13), qRgb(255, 0, 0));
  EXPECT_EQ(At(12, 12), kWhite);  // only the outline

  image.fill(kWhite);
  {
    QtCanvas c(image);
    c.Line(10, 5, 0, 5, clBlack);  // drawn leftwards: x 10 down to 1
    c.Line(7, 20, 7, 29, clBlack);  // y 20 to 28
  }
  EXPECT_EQ(Painted(), QRect(1, 5, 10, 1) | QRect(7, 20, 1, 9));
  EXPECT_EQ(At(0, 5), kWhite);
  EXPECT_EQ(At(7, 29), kWhite);
  EXPECT_EQ(At(7, 19), kWhite);
  EXPECT_EQ(At(7, 28), qRgb(0, 0, 0));

  image.fill(kWhite);
  {
    QtCanvas c(image);
    c.Line(0, 0, 3, 3, clBlack);
    c.Line(13, 13, 10, 10, clBlack);
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(At(i, i), i < 3 ? qRgb(0, 0, 0) : kWhite) << i;
    EXPECT_EQ(At(10 + i, 10 + i), i > 0 ? qRgb(0, 0, 0) : kWhite) << i;
  }
  EXPECT_EQ(Painted(), QRect(0, 0, 14, 14));
}

TEST_F(QtCanvasTest, EllipsesFitInsideTheirBox) {
  {
    QtCanvas c(image);
    c.Ellipse({4, 6, 15, 13}, clBlack, clBlue);
  }
  EXPECT_EQ(Painted(), QRect(4, 6, 11, 7));
  EXPECT_EQ(At(9, 9), qRgb(0, 0, 255));  // filled inside the outline
  EXPECT_EQ(At(4, 6), kWhite);           // the box's corner stays clear
}

TEST_F(QtCanvasTest, ClipsNestAndStayPutWhenTheOriginMoves) {
  {
    QtCanvas c(image);
    c.PushClip({10, 10, 30, 30});
    c.PushClip({20, 0, 50, 25});  // narrowed to 20,10 .. 30,25
    c.SetOrigin({100, 100});      // moves drawing, not the clip
    c.FillRect({-100, -100, -40, -60}, clBlack);
    c.PopClip();
    c.SetOrigin({0, 0});
    c.FillRect({0, 28, 60, 40}, clRed);  // only rows 28, 29 inside the outer clip
    c.PopClip();
    c.FillRect({59, 39, 60, 40}, clRed);
    c.PushClip({5, 5, 5, 40});  // an empty clip lets nothing through
    c.FillRect({0, 0, 60, 40}, clBlack);
    c.PopClip();
  }
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool black = x >= 20 && x < 30 && y >= 10 && y < 25;
      const bool red = (x >= 10 && x < 30 && y >= 28 && y < 30) || (x == 59 && y == 39);
      const QRgb want = black ? qRgb(0, 0, 0) : red ? qRgb(255, 0, 0) : kWhite;
      ASSERT_EQ(At(x, y), want) << x << "," << y;
    }
}

TEST_F(QtCanvasTest, PicturesBlendByAlphaAndTileFromTheOrigin) {
  Picture pic(2, 2, Rgb(0, 0, 255));
  pic.At(1, 0) = Argb(0, 255, 0, 0);      // transparent
  pic.At(0, 1) = Argb(128, 255, 0, 0);    // half red
  {
    QtCanvas c(image);
    c.DrawPicture(pic, {0, 0, 4, 4});  // stretched twice
  }
  EXPECT_EQ(At(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(At(3, 0), kWhite);
  EXPECT_NEAR(qGreen(At(0, 3)), 127, 1);
  EXPECT_EQ(qRed(At(0, 3)), 255);

  image.fill(kWhite);
  Picture tile(3, 2, Rgb(0, 0, 0));
  tile.At(0, 0) = Rgb(255, 0, 0);
  {
    QtCanvas c(image);
    c.SetOrigin({10, 0});
    c.TilePicture(tile, {0, 0, 20, 10}, {1, 1});  // copies start at x = 1 + 3k, y = 1 + 2k
  }
  EXPECT_EQ(Painted(), QRect(10, 0, 20, 10));
  EXPECT_EQ(At(11, 1), qRgb(255, 0, 0));
  EXPECT_EQ(At(14, 3), qRgb(255, 0, 0));
  EXPECT_EQ(At(10, 0), qRgb(0, 0, 0));
  EXPECT_EQ(At(12, 1), qRgb(0, 0, 0));
}

TEST_F(QtCanvasTest, SystemColoursComeFromTheQtPalette) {
  QPalette qp;
  qp.setColor(QPalette::Base, QColor(1, 1, 1));
  qp.setColor(QPalette::Window, QColor(9, 9, 9));  // not the page colour
  qp.setColor(QPalette::Text, QColor(2, 2, 2));
  qp.setColor(QPalette::Button, QColor(3, 3, 3));
  qp.setColor(QPalette::ButtonText, QColor(4, 4, 4));
  qp.setColor(QPalette::Dark, QColor(5, 5, 5));
  qp.setColor(QPalette::Light, QColor(6, 6, 6));
  qp.setColor(QPalette::Link, QColor(7, 7, 7));
  const SystemPalette p = SystemPaletteFrom(qp);
  EXPECT_EQ(p.Resolve(clWindow), RgbColor(1, 1, 1));
  EXPECT_EQ(p.Resolve(clWindowText), RgbColor(2, 2, 2));
  EXPECT_EQ(p.Resolve(clBtnFace), RgbColor(3, 3, 3));
  EXPECT_EQ(p.Resolve(clBtnText | kPaletteRelative), RgbColor(4, 4, 4));
  EXPECT_EQ(p.Resolve(clBtnShadow), RgbColor(5, 5, 5));
  EXPECT_EQ(p.Resolve(clBtnHighlight), RgbColor(6, 6, 6));
  EXPECT_EQ(p.Resolve(clHotLight | kPaletteRelative), RgbColor(7, 7, 7));
  EXPECT_EQ(SystemPalette{}.Resolve(clHotLight), clBlue);
  {
    QtCanvas c(image, p);
    c.FillRect({0, 0, 1, 1}, clBtnFace);
    c.FillRect({1, 0, 2, 1}, RgbColor(0x10, 0x20, 0x30) | kPaletteRelative);
  }
  EXPECT_EQ(At(0, 0), qRgb(3, 3, 3));
  EXPECT_EQ(At(1, 0), qRgb(0x10, 0x20, 0x30));
}

}  // namespace
}  // namespace quillet
