// Right-to-left text in a left-to-right page: each line drawn by its runs
// of one direction, and the hit tests and the selection going by what is
// drawn where.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>

#include "platform/TextCodec.h"
#include "tests/viewer/layout/LayoutFixture.h"

namespace quillet {
namespace {

using test::LayoutFixture;

TEST(Bidi, TextThatCannotRunRightToLeftNeedsNoRuns) {
  EXPECT_FALSE(MayHoldRtl(u"plain text, \u00E9t\u00E9, \u65E5\u672C, \U0001F600"));
  EXPECT_TRUE(MayHoldRtl(u"abc \u05E2"));                // Hebrew
  EXPECT_TRUE(MayHoldRtl(u"\u0645"));                    // Arabic
  EXPECT_TRUE(MayHoldRtl(u"abc\u202Edef"));              // an override
  EXPECT_TRUE(MayHoldRtl(u"\U00010900"));                // Phoenician, beyond the BMP
  BidiParagraph bidi;
  EXPECT_FALSE(bidi.Set(u"abc def"));
  EXPECT_TRUE(bidi.LineRuns(0, 7).empty());
  // Digits in Hebrew text read left to right inside it.
  const std::u16string text = u"ab \u05D0\u05D1 12 \u05D2";
  ASSERT_TRUE(bidi.Set(text));
  EXPECT_EQ(bidi.LineRuns(0, static_cast<int>(text.size())),
            (std::vector<BidiRun>{{0, 3, false}, {8, 2, true}, {6, 2, false}, {3, 3, true}}));
  // A line of the paragraph alone, its trailing blank on the left-to-right side.
  EXPECT_EQ(bidi.LineRuns(3, 6), (std::vector<BidiRun>{{3, 2, true}, {5, 1, false}}));
}

// One drawn piece of text: where it starts, whether right to left and
// selected, and its characters.
struct Drawn {
  int X = 0;
  bool Rtl = false;
  bool Selected = false;
  std::u16string Text;
};

std::vector<Drawn> DrawnPieces(LayoutFixture& f) {
  static const std::regex call(R"re(^TextOut(Opaque)? (-?\d+),-?\d+( rtl)? "(.*)"( back=.*)?$)re");
  std::vector<Drawn> out;
  for (const std::string& c : f.DrawText()) {
    std::smatch m;
    if (!std::regex_match(c, m, call)) continue;
    out.push_back({std::stoi(m[2]), m[3].matched, m[1].matched, Utf8ToUtf16(m[4].str())});
  }
  return out;
}

TEST(Bidi, ASelectionKeepsTheLineInItsOrder) {
  LayoutFixture f;
  f.AddSection(u"abc \u05E2\u05D1\u05E8\u05D9\u05EA def");
  f.Layout(2000);
  const auto text = [](const std::vector<Drawn>& pieces) {
    std::vector<std::string> out;
    for (const Drawn& d : pieces)
      out.push_back(std::to_string(d.X) + (d.Rtl ? " rtl " : " ") + (d.Selected ? "[" : "") + Utf16ToUtf8(d.Text) +
                    (d.Selected ? "]" : ""));
    return out;
  };
  EXPECT_EQ(text(DrawnPieces(f)),
            (std::vector<std::string>{"0 abc ", "32 rtl \u05E2\u05D1\u05E8\u05D9\u05EA", "72  def"}));
  // From the third Hebrew letter into "def": the letters stay where they
  // were, the selected ones at the left end of the Hebrew word.
  f.doc.SelB = 6;
  f.doc.SelE = 11;
  EXPECT_EQ(text(DrawnPieces(f)), (std::vector<std::string>{"0 abc ", "56 rtl \u05E2\u05D1",
                                                            "32 rtl [\u05E8\u05D9\u05EA]", "72 [ d]", "88 ef"}));
}

// On random mixed lines, the character found at each place on the line is
// the one drawn there, selected or not, and every character is drawn once.
TEST(Bidi, HitTestsFindWhatIsDrawnWhere) {
  const std::u16string alphabet = u"ab \u05D0\u05D1\u05E9 12().,\u0645\u0646-";
  std::mt19937 random(4);
  for (int round = 0; round < 200; ++round) {
    std::u16string text;
    const int length = 1 + static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    LayoutFixture f;
    TSection& s = f.AddSection(text);
    if (s.Buff.empty()) continue;  // blanks alone
    f.Layout(2000);
    ASSERT_EQ(s.Lines.size(), 1u);
    const int n = s.Len();
    const int selB = static_cast<int>(random() % static_cast<unsigned>(n + 1));
    const int selE = selB + static_cast<int>(random() % static_cast<unsigned>(n + 1 - selB));
    f.doc.SelB = selB;
    f.doc.SelE = selE;
    // Each drawn character takes one 8-pixel cell.
    std::map<int, std::pair<char16_t, bool>> cells;
    for (const Drawn& d : DrawnPieces(f))
      for (size_t i = 0; i < d.Text.size(); ++i) {
        const int cell = d.X / 8 + static_cast<int>(d.Rtl ? d.Text.size() - 1 - i : i);
        ASSERT_TRUE(cells.emplace(cell, std::pair{d.Text[i], d.Selected}).second) << Utf16ToUtf8(text);
      }
    ASSERT_EQ(static_cast<int>(cells.size()), n) << Utf16ToUtf8(text);
    for (const auto& [cell, drawn] : cells) {
      TCursorHit hit;
      ASSERT_GE(f.doc.FindCursor(f.canvas, cell * 8 + 3, 5, hit), 0);
      ASSERT_TRUE(hit.Intext);
      EXPECT_EQ(s.Buff[static_cast<size_t>(hit.Char)], drawn.first) << Utf16ToUtf8(text) << " cell " << cell;
      EXPECT_EQ(selB <= hit.Char && hit.Char < selE, drawn.second) << Utf16ToUtf8(text) << " cell " << cell;
      // The position there is the character's, or the one after it, by the
      // half of it the point lies in; its x is that side of the cell.
      TCursorHit left, right;
      const int l = f.doc.FindCursor(f.canvas, cell * 8 + 1, 5, left);
      const int r = f.doc.FindCursor(f.canvas, cell * 8 + 6, 5, right);
      EXPECT_EQ(std::min(l, r), hit.Char);
      EXPECT_EQ(std::max(l, r), hit.Char + 1);
      EXPECT_EQ(left.XR, cell * 8);
      EXPECT_EQ(right.XR, cell * 8 + 8);
      int x = 0, y = 0;
      ASSERT_TRUE(s.CursorToXY(f.canvas, hit.Char, x, y));
      EXPECT_EQ(x, l == hit.Char ? cell * 8 : cell * 8 + 8);
    }
  }
}

}  // namespace
}  // namespace quillet
