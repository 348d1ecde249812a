#include "viewer/style/Fonts.h"

#include <gtest/gtest.h>

#include "platform/FixedCanvas.h"

namespace quillet {
namespace {

TEST(TMyFont, NominalSizesScaleWithTheDocumentsBaseSizeRounded) {
  const int nominal[] = {8, 10, 12, 14, 18, 24, 36};
  const int at10[] = {7, 8, 10, 12, 15, 20, 30};
  DocumentFonts doc;
  for (int i = 0; i < 7; ++i) {
    TMyFont f;
    doc.FontSize = 12;
    f.SetNominalSize(doc, nominal[i]);
    EXPECT_EQ(f.Spec.Size, nominal[i]);
    doc.FontSize = 10;
    f.SetNominalSize(doc, nominal[i]);
    EXPECT_EQ(f.Spec.Size, at10[i]) << "nominal " << nominal[i];
    EXPECT_EQ(f.NominalSize, nominal[i]);
  }
}

TEST(TMyFont, ApplyDefaultsTakesTheFaceByPitchAndMakesTheColourPaletteRelative) {
  DocumentFonts doc;
  doc.FontName = u"Arial";
  doc.PreFontName = u"Courier New";
  doc.FontSize = 10;
  doc.Charset = 0;
  TMyFont f;
  f.NominalSize = 18;
  f.Spec.Bold = true;
  f.ApplyDefaults(doc, clRed);
  EXPECT_EQ(f.Spec.Face, u"Arial");
  EXPECT_EQ(f.Spec.Size, 15);
  EXPECT_EQ(f.Spec.Charset, 0);
  EXPECT_EQ(f.Spec.Color, clRed | kPaletteRelative);
  EXPECT_TRUE(f.Spec.Bold);  // styles are the run's own
  f.FixedPitch = true;
  f.ApplyDefaults(doc, clBtnText);
  EXPECT_EQ(f.Spec.Face, u"Courier New");
  // The default text colour is a system colour; with the flag it still
  // resolves to the palette's button text.
  SystemPalette palette;
  palette.BtnText = RgbColor(1, 2, 3);
  EXPECT_EQ(palette.Resolve(f.Spec.Color), RgbColor(1, 2, 3));
}

TEST(TFontObj, UpdateFontColoursLinksAndOtherTextFromTheDocument) {
  DocumentFonts doc;
  doc.FontColor = clNavy;
  doc.HotSpotColor = clMaroon;
  TMyFont red;
  red.Spec.Color = clRed;  // as a FONT tag would have set it
  TFontObj text(red, 0), link(red, 4);
  link.UrlTarget = TUrlTarget(u"a.htm", u"");
  TFontList runs;
  runs.push_back(text);
  runs.push_back(link);
  UpdateFonts(runs, doc);
  EXPECT_EQ(runs[0].Font().Spec.Color, clNavy | kPaletteRelative);
  EXPECT_EQ(runs[1].Font().Spec.Color, clMaroon | kPaletteRelative);
}

TEST(TFontObj, MeasuresThroughTheCanvasAndAgainAfterTheFontChanges) {
  FixedCanvas canvas;
  TMyFont f;
  f.Spec.Size = 12;
  TFontObj run(f, 0);
  EXPECT_EQ(run.LineHeight(canvas), 16 + 2);
  EXPECT_EQ(run.FontHeight(canvas), 16);
  EXPECT_EQ(run.Descent(canvas), 4);
  EXPECT_EQ(run.Overhang(canvas), 0);
  EXPECT_EQ(canvas.Calls.size(), 1u);  // measured once

  f.Spec.Size = 24;  // 32 pixels
  run.SetFont(f);
  EXPECT_EQ(run.LineHeight(canvas), 32 + 4);

  DocumentFonts doc;
  doc.FontSize = 6;  // nominal 12 -> 6 points -> 8 pixels
  run.UpdateFont(doc);
  EXPECT_EQ(run.FontHeight(canvas), 8);
  EXPECT_EQ(run.Descent(canvas), 2);
}

class RunList : public ::testing::Test {
 protected:
  void Add(int pos) { runs.push_back(TFontObj(TMyFont{}, pos)); }
  TFontList runs;
};

TEST_F(RunList, OneRunCoversEverything) {
  Add(0);
  int index = -1;
  EXPECT_EQ(FontAt(runs, 0, &index), &runs[0]);
  EXPECT_EQ(FontAt(runs, 7, &index), &runs[0]);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(CharsToNextChange(runs, 0, 10), 10);
  EXPECT_EQ(CharsToNextChange(runs, 7, 10), 3);
}

TEST_F(RunList, RunsAtZeroAndFive) {
  Add(0);
  Add(5);
  int index = -1;
  EXPECT_EQ(FontAt(runs, 5, &index), &runs[1]);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(FontAt(runs, 4, &index), &runs[0]);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(FontAt(runs, 9), &runs[1]);
  EXPECT_EQ(CharsToNextChange(runs, 4, 20), 1);
  EXPECT_EQ(CharsToNextChange(runs, 0, 20), 5);
  EXPECT_EQ(CharsToNextChange(runs, 5, 20), 15);
  EXPECT_EQ(FontAt(TFontList{}, 3), nullptr);
}

// The first run is held in place and the runs after it on the heap: the
// runs stay in order, the same objects, as the list grows and shrinks.
TEST_F(RunList, KeepsItsRunsInOrderAsItGrowsAndShrinks) {
  std::vector<const TFontObj*> added;
  for (int pos : {0, 3, 8}) {
    Add(pos);
    added.push_back(&runs.back());
    ASSERT_EQ(runs.size(), added.size());
    for (size_t i = 0; i < added.size(); ++i) EXPECT_EQ(&runs[i], added[i]);
    EXPECT_EQ(&runs.front(), added.front());
    EXPECT_EQ(FontAt(runs, 9), added.back());
  }
  while (!runs.empty()) {
    EXPECT_EQ(&runs.back(), added.back());
    runs.pop_back();
    added.pop_back();
    size_t n = 0;
    for (const TFontObj& run : runs) EXPECT_EQ(&run, added[n++]);
    EXPECT_EQ(n, added.size());
  }
  Add(0);
  EXPECT_EQ(FontAt(runs, 5), &runs[0]);
}

}  // namespace
}  // namespace quillet
