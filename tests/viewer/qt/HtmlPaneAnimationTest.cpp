// Animated pictures in the pane with the real Qt timer: the event loop runs
// for a few hundred milliseconds and the picture's box is repainted with
// its next frame. anim-loop0.gif: red for 100 ms, blue for 200 ms.
#include <QPainter>

#include "tests/viewer/images/PictureFiles.h"
#include "tests/viewer/qt/PaneFixture.h"
#include "viewer/layout/ImageObj.h"
#include "viewer/layout/Section.h"

namespace quillet::test {
namespace {

// The first picture of the pane's document.
TImageObj& FirstImage(ThtmlPane& pane) {
  for (const auto& block : pane.Document().Blocks())
    if (auto* s = dynamic_cast<TSection*>(block.get()))
      if (!s->Images().empty()) return *s->Images().front();
  throw std::out_of_range("no picture");
}

struct AnimatedPane : PaneTest {
  RecordingPane pane{nullptr, &Ui, &Fs};

  void Show(std::vector<std::string> lines) {
    pane.resize(320, 200);
    pane.SetViewImages(true);
    pane.show();
    Lines = std::move(lines);
    pane.LoadStrings(Lines);
    QApplication::processEvents();
  }
  // The picture's box on the panel.
  QRect Box() {
    const TImageObj& image = FirstImage(pane);
    return QRect(image.DrawX, image.DrawY - pane.Document().YOff, image.ObjWidth, image.ObjHeight);
  }
  QRgb Centre() { return pane.viewport()->grab().toImage().pixel(Box().center()); }
};

std::string ImageTag() {
  return "<IMG SRC=\"" + PictureDataPath("gif/anim-loop0.gif") + "\" WIDTH=60 HEIGHT=50>";
}

TEST_F(AnimatedPane, TheTimerRepaintsThePicturesBoxWithItsNextFrame) {
  Show({"<P>An animation: " + ImageTag()});
  ASSERT_EQ(pane.Document().AnimatedGifList.size(), 1u);
  ASSERT_EQ(Centre(), qRgb(255, 0, 0));
  pane.Painted.clear();
  const QRect box = Box();
  // (Grabbing the panel paints it whole, so only once a repaint came.)
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.Painted.empty(); }, 3000));
  // Only the box was painted again, with the next frame.
  for (const QRect& r : pane.Painted) EXPECT_TRUE(box.contains(r)) << r.x() << "," << r.y();
  EXPECT_EQ(Centre(), qRgb(0, 0, 255));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Centre() == qRgb(255, 0, 0); }, 3000));
}

TEST_F(AnimatedPane, AfterAScrollThePanelIsPaintedWholeAndThePictureGoesOnStepping) {
  std::vector<std::string> lines = {ImageTag() + "<BR>"};
  for (const std::string& line : ManyLines(100)) lines.push_back(line);
  Show(lines);
  pane.Painted.clear();
  QTest::keyClick(&pane, Qt::Key_Down);
  QApplication::processEvents();
  ASSERT_FALSE(pane.Painted.empty());
  EXPECT_EQ(pane.Painted.back(), pane.viewport()->rect());
  const QRgb before = Centre();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Centre() != before; }, 3000));
  // Scrolled out of sight, it stops: the timer does too.
  pane.Painted.clear();
  QTest::keyClick(&pane, Qt::Key_End);
  QApplication::processEvents();
  QTest::qWait(400);
  EXPECT_FALSE(pane.Document().AnimationTimer().Enabled());
  for (const QRect& r : pane.Painted) EXPECT_EQ(r, pane.viewport()->rect());
}

}  // namespace
}  // namespace quillet::test
