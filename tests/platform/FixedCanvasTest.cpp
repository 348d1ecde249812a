#include "platform/FixedCanvas.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

FontSpec Font(int size, bool bold = false) {
  FontSpec f;
  f.Size = size;
  f.Bold = bold;
  return f;
}

TEST(FixedCanvas, MetricsFollowTheDocumentedFormula) {
  FixedCanvas c;
  struct Case {
    int Points, Height, Descent, Leading, Width, BoldWidth;
  };
  // em = (points * 96 + 36) / 72; descent em/4; leading em/8; width em/2.
  for (const Case& k : {Case{12, 16, 4, 2, 8, 9}, Case{10, 13, 3, 1, 6, 7}, Case{8, 11, 2, 1, 5, 6},
                        Case{24, 32, 8, 4, 16, 17}, Case{7, 9, 2, 1, 4, 5}}) {
    c.SelectFont(Font(k.Points));
    const FontMetrics m = c.Metrics();
    EXPECT_EQ(m.Height, k.Height) << k.Points;
    EXPECT_EQ(m.Descent, k.Descent) << k.Points;
    EXPECT_EQ(m.Ascent, k.Height - k.Descent) << k.Points;
    EXPECT_EQ(m.ExternalLeading, k.Leading) << k.Points;
    EXPECT_EQ(m.Overhang, 0);
    EXPECT_EQ(c.TextWidth(u"abc"), 3 * k.Width) << k.Points;
    c.SelectFont(Font(k.Points, true));
    EXPECT_EQ(c.TextWidth(u"abc"), 3 * k.BoldWidth) << k.Points;
  }
  c.SelectFont(Font(12));
  EXPECT_EQ(c.TextWidth(u"a\U0001F600b"), 3 * 8);  // a surrogate pair is one character
  EXPECT_EQ(c.TextWidth(u""), 0);
}

TEST(FixedCanvas, RecordsCallsWhereTheyLandWithColoursResolved) {
  SystemPalette palette;
  palette.BtnFace = RgbColor(0x12, 0x34, 0x56);
  FixedCanvas c(palette);
  FontSpec f = Font(10, true);
  f.Face = u"Arial";
  f.Underline = true;
  f.Color = clBlue | kPaletteRelative;
  c.SelectFont(f);
  c.SetOrigin({5, -40});
  c.TextOut(1, 50, u"Hé");
  c.TextOutOpaque(1, 50, u"x", clBtnFace | kPaletteRelative);
  c.FillRect({0, 40, 10, 50}, clWindow);
  c.Line(0, 45, 10, 45, RgbColor(0x80, 0x80, 0x80));
  c.Ellipse({0, 40, 5, 45}, clNavy, std::nullopt);
  c.Polygon({{0, 40}, {4, 40}, {2, 42}}, clBlack, clRed);
  c.PushClip({0, 40, 100, 60});
  c.PopClip();
  c.Record = false;
  c.FillRect({0, 0, 1, 1}, clWhite);
  EXPECT_EQ(c.Calls, (std::vector<std::string>{
                         "SelectFont Arial 10 bu #0000FF",
                         "SetOrigin 5,-40",
                         "TextOut 6,10 \"Hé\"",
                         "TextOutOpaque 6,10 \"x\" back=#123456",
                         "FillRect 5,0,15,10 #FFFFFF",
                         "Line 5,5-15,5 #808080",
                         "Ellipse 5,0,10,5 pen=#000080 fill=none",
                         "Polygon 5,0 9,0 7,2 pen=#000000 fill=#FF0000",
                         "PushClip 5,0,105,20",
                         "PopClip",
                     }));
}

}  // namespace
}  // namespace quillet
