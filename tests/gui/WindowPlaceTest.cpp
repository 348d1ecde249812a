// Where the main window opens: two thirds of the screen at a first start, a
// stored place honoured but kept on the screen.
#include <gtest/gtest.h>

#include <QScreen>

#include "app/window/WindowPlace.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

TEST(WindowPlace, AFirstStartTakesTwoThirdsOfTheScreenCentred) {
  struct Row {
    QRect available, place;
  };
  for (const Row& r : {Row{{0, 0, 1280, 900}, {213, 150, 853, 600}},
                       Row{{1920, 30, 1920, 1050}, {2240, 205, 1280, 700}}}) {
    EXPECT_EQ(FirstWindowPlace(r.available), r.place);
  }
}

TEST(WindowPlace, AStoredPlaceIsKeptOnTheScreen) {
  const QRect screen(0, 0, 1280, 900);
  struct Row {
    QRect stored, place;
  };
  for (const Row& r : {Row{{216, 131, 411, 321}, {216, 131, 411, 321}},     // fits: as stored
                       Row{{1100, 800, 411, 321}, {869, 579, 411, 321}},    // past the corner: moved back
                       Row{{-500, -40, 411, 321}, {0, 0, 411, 321}},        // before it
                       Row{{100, 100, 3000, 2000}, {0, 0, 1280, 900}}}) {  // larger: shrunk
    EXPECT_EQ(ClampWindowPlace(r.stored, screen), r.place);
  }
}

class WindowAtStart : public ::testing::Test, public WindowFixture {};

TEST_F(WindowAtStart, WithoutAStoredPlaceOpensAtTwoThirdsOfThisScreen) {
  const MainWindow& f = Create();
  const QRect expected = FirstWindowPlace(QGuiApplication::primaryScreen()->availableGeometry());
  EXPECT_EQ(QRect(f.pos(), f.size()), expected);
}

TEST_F(WindowAtStart, AStoredPlaceIsHonouredAndClamped) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  WriteBytes(File("Quillet.Ini"), "[Defaults]\r\nWidth=500\r\nHeight=400\r\n");
  Ctx().Config.Left = screen.left() + 20;
  Ctx().Config.Top = screen.top() + 10;
  Ctx().Config.Width = 500;
  Ctx().Config.Height = 400;
  MainWindow& f = Create();
  EXPECT_EQ(QRect(f.pos(), f.size()), QRect(screen.left() + 20, screen.top() + 10, 500, 400));
  Form.reset();
  Ctx().Config.Left = screen.right() + 900;
  Ctx().Config.Width = screen.width() + 100;
  MainWindow& g = Create();
  EXPECT_EQ(g.pos().x(), screen.left());
  EXPECT_EQ(g.width(), screen.width());
}

}  // namespace
}  // namespace quillet::test
