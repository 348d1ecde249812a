// Right-to-left words under the mouse: a double click or a drag across one
// selects that word, as it is drawn.
#include "tests/viewer/qt/PaneFixture.h"

namespace quillet::test {
namespace {

// "עברית" and "שלום" (Hebrew, read right to left) between Latin words.
const std::string kFirst = "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA";
const std::string kLastOfFirst = "\xD7\xAA";
const std::string kSecond = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";

class PaneBidi : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    Load({"<p>abc " + kFirst + " " + kSecond + " def"});
  }
};

TEST_F(PaneBidi, ADoubleClickSelectsTheWordUnderThePointer) {
  // The two words lie between the blanks around them, the first one on the
  // right; the blanks read left to right, so they are where they always were.
  const QPoint left = At(" " + kFirst), right = At(" def");
  DoubleClick(left + (right - left) * 3 / 4);
  EXPECT_EQ(P().SelText(), kFirst);
  DoubleClick(left + (right - left) / 4);
  EXPECT_EQ(P().SelText(), kSecond);
  DoubleClick(At(kFirst));
  EXPECT_EQ(P().SelText(), kFirst);
}

TEST_F(PaneBidi, ADragAcrossAWordFromItsRightEndToItsLeftSelectsIt) {
  // The word's first letter is its right end, its last letter its left.
  Drag(At(kFirst) + QPoint(3, 0), At(kLastOfFirst) - QPoint(3, 0));
  EXPECT_EQ(P().SelText(), kFirst);
  Drag(At(kLastOfFirst) - QPoint(3, 0), At(kFirst) + QPoint(3, 0));
  EXPECT_EQ(P().SelText(), kFirst);
}

}  // namespace
}  // namespace quillet::test
