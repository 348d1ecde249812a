// Tables: drawing of cell backgrounds, frames and the border colour.
#include <gtest/gtest.h>

#include "tests/viewer/tables/TableFixture.h"

namespace quillet {
namespace {

using test::AddTable;
using test::Attr;
using test::Attrs;
using test::Bare;
using test::CallsStarting;
using test::FilledAt;
using test::LayoutFixture;
using test::TableBuilder;

std::vector<std::string> DrawAll(LayoutFixture& f) {
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 400, 10000}, 0, 0, 400);
  return f.canvas.Calls;
}

TEST(TableDrawing, ABorderFramesEachCellSunkenAndTheTableRaised) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Bare(Sy::Border)}));
  b.Cell(u"ab");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(400);
  // Spacing 4: the column is 16 + 2 + 4, the row 18 + 2 + 4.
  EXPECT_EQ(t.Widths, (std::vector<int>{22}));
  EXPECT_EQ(t.SectionHeight, 28);
  DrawAll(f);
  const std::vector<std::string> expected = {
      "TextOut 5,19 \"ab\"",
      // The cell is 4..22 x 4..24; its frame lies just outside it.
      "Line 3,24-3,3 #A0A0A0", "Line 3,3-22,3 #A0A0A0", "Line 22,3-22,24 #C0C0C0", "Line 22,24-3,24 #C0C0C0",
      // The grid is 26 wide and 24 + 4 high.
      "Line 0,27-0,0 #C0C0C0", "Line 0,0-25,0 #C0C0C0", "Line 25,0-25,27 #A0A0A0", "Line 25,27-0,27 #A0A0A0"};
  EXPECT_EQ(CallsStarting(f.canvas, {"TextOut", "Line", "FillRect"}), expected);
}

TEST(TableDrawing, OnAColouredPageTheLightEdgesTakeTheButtonHighlight) {
  LayoutFixture f;
  f.doc.SetBackground(clBtnFace);
  TableBuilder b(f.doc, Attrs({Bare(Sy::Border)}));
  b.Cell(u"ab");
  AddTable(f.doc, b);
  f.Layout(400);
  DrawAll(f);
  const auto lines = CallsStarting(f.canvas, {"Line"});
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[2], "Line 22,3-22,24 #FFFFFF");
  EXPECT_EQ(lines[4], "Line 0,27-0,0 #FFFFFF");
  const SystemPalette dark{.BtnHighlight = RgbColor(0x40, 0x40, 0x40)};
  FixedCanvas themed(dark);
  f.doc.Draw(themed, {0, 0, 400, 100}, 0, 0, 400);
  EXPECT_EQ(CallsStarting(themed, {"Line"})[2], "Line 22,3-22,24 #404040");
}

// Rows "a" "b" / "c": the second row has no cell in the second column.
ThtmlTable& ShortRow(LayoutFixture& f, const TAttributeList& attributes) {
  TableBuilder b(f.doc, attributes);
  b.Cell(u"a");
  b.Cell(u"b");
  b.Row();
  b.Cell(u"c");
  return AddTable(f.doc, b);
}

TEST(TableDrawing, WithoutABorderColourTheMissingCellsAreaStaysUnpainted) {
  LayoutFixture f;
  ShortRow(f, Attrs({Attr(Sy::BgColor, u"yellow")}));
  f.Layout(400);
  DrawAll(f);
  const std::vector<std::string> expected = {"FillRect 2,2,12,22 #FFFF00", "FillRect 14,2,24,22 #FFFF00",
                                             "FillRect 2,24,12,44 #FFFF00"};
  EXPECT_EQ(CallsStarting(f.canvas, {"FillRect"}), expected);
  EXPECT_EQ(FilledAt(f.canvas, 18, 30), "");
}

TEST(TableDrawing, ABorderColourFillsTheSpacingAndTheMissingCells) {
  LayoutFixture f;
  ShortRow(f, Attrs({Attr(Sy::BgColor, u"yellow"), Attr(Sy::BorderColor, u"red")}));
  f.Layout(400);
  DrawAll(f);
  const std::vector<std::string> expected = {
      "FillRect 2,2,12,22 #FFFF00", "FillRect 14,2,24,22 #FFFF00", "FillRect 2,24,12,44 #FFFF00",
      // The grid (26 x 46) less the three cells, band by band.
      "FillRect 0,0,26,2 #FF0000", "FillRect 0,2,2,22 #FF0000", "FillRect 12,2,14,22 #FF0000",
      "FillRect 24,2,26,22 #FF0000", "FillRect 0,22,26,24 #FF0000", "FillRect 0,24,2,44 #FF0000",
      "FillRect 12,24,26,44 #FF0000", "FillRect 0,44,26,46 #FF0000"};
  EXPECT_EQ(CallsStarting(f.canvas, {"FillRect"}), expected);
  EXPECT_EQ(FilledAt(f.canvas, 18, 30), "#FF0000");
  EXPECT_EQ(FilledAt(f.canvas, 5, 10), "#FFFF00");
}

TEST(TableDrawing, ABorderColourLeavesTheCellFramesAlone) {
  LayoutFixture f;
  ShortRow(f, Attrs({Bare(Sy::Border), Attr(Sy::BorderColor, u"red")}));
  f.Layout(400);
  DrawAll(f);
  // Cell a is 4..14 x 4..24; its frame, a pixel outside, is not filled over.
  EXPECT_EQ(FilledAt(f.canvas, 3, 10), "");
  EXPECT_EQ(FilledAt(f.canvas, 14, 10), "");
  EXPECT_EQ(FilledAt(f.canvas, 2, 10), "#FF0000");
  EXPECT_EQ(FilledAt(f.canvas, 20, 40), "#FF0000");  // the missing cell
  // Filled only within the band drawn.
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 30, 400, 35}, 0, 0, 400);
  for (const std::string& call : CallsStarting(f.canvas, {"FillRect"})) {
    int l, t, r, b;
    ASSERT_EQ(std::sscanf(call.c_str(), "FillRect %d,%d,%d,%d", &l, &t, &r, &b), 4);
    EXPECT_GE(t, 30);
    EXPECT_LE(b, 35);
  }
}

TEST(TableDrawing, OnlyTheRowsMeetingTheBandAreDrawn) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  for (int i = 0; i < 100; ++i) {
    b.Row();
    b.Cell(u"r");
  }
  AddTable(f.doc, b);
  f.Layout(400);
  f.canvas.Calls.clear();
  // Rows are 22 high from 0: the band 1000..1050 meets rows 45 to 47.
  f.doc.Draw(f.canvas, {0, 1000, 400, 1050}, 0, 0, 400);
  const std::vector<std::string> expected = {"TextOut 3,1007 \"r\"", "TextOut 3,1029 \"r\"",
                                             "TextOut 3,1051 \"r\""};
  EXPECT_EQ(CallsStarting(f.canvas, {"TextOut"}), expected);
}

}  // namespace
}  // namespace quillet
