#include "viewer/layout/IndentManager.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

IndentManager Manager(int width) {
  IndentManager m;
  m.Width = width;
  m.Init(0, width);
  return m;
}

TEST(IndentManager, FloatsNarrowTheirSideUntilTheirBottom) {
  IndentManager m = Manager(600);
  // A left float 100 x 40 at y 10 with 5 pixels beside it.
  EXPECT_EQ(m.AddFloat(10, FloatSide::Left, 100, 40, 5), 0);
  EXPECT_EQ(m.LeftIndent(9), 0);
  EXPECT_EQ(m.LeftIndent(10), 105);
  EXPECT_EQ(m.LeftIndent(49), 105);
  EXPECT_EQ(m.LeftIndent(50), 0);  // the first row below it
  // A second left float beside the first starts where the first ends.
  EXPECT_EQ(m.AddFloat(20, FloatSide::Left, 30, 10, 5), 105);
  EXPECT_EQ(m.LeftIndent(25), 140);

  // A right float: it stands hspace in from the edge it narrows.
  EXPECT_EQ(m.AddFloat(0, FloatSide::Right, 50, 100, 5), 550);
  EXPECT_EQ(m.RightSide(0), 545);
  EXPECT_EQ(m.RightSide(100), 600);

  EXPECT_EQ(m.ImageBottom(), 100);
  const IndentManager::ClearY clear = m.GetClearY();
  EXPECT_EQ(clear.Left, 51);
  EXPECT_EQ(clear.Right, 101);
}

TEST(IndentManager, EdgesMoveWithTheCellButEntriesStayRelative) {
  IndentManager m = Manager(600);
  m.AddFloat(0, FloatSide::Left, 100, 40, 5);
  m.AddFloat(0, FloatSide::Right, 50, 40, 5);
  m.Init(200, 800);  // drawing the same layout further right
  EXPECT_EQ(m.LeftIndent(0), 305);
  EXPECT_EQ(m.RightSide(0), 745);
}

TEST(IndentManager, LevelsIndent35EachAndCloseWhenLeft) {
  IndentManager m = Manager(600);
  EXPECT_EQ(m.GetClearY().Left, 0);
  m.SetLevel(0, 2);
  EXPECT_EQ(m.LeftIndent(0), 70);
  EXPECT_EQ(m.LeftIndent(1000000), 70);
  m.SetLevel(100, 1);
  EXPECT_EQ(m.LeftIndent(100), 35);
  m.SetLevel(200, 0);
  EXPECT_EQ(m.LeftIndent(200), 0);
  // Levels are no floats: nothing to clear, nothing hanging below.
  EXPECT_EQ(m.ImageBottom(), 0);
  EXPECT_EQ(m.GetClearY().Left, 0);
  EXPECT_EQ(m.NextLevelBottom(), 0);
}

TEST(IndentManager, ALevelOpenedBesideAFloatStartsRightOfIt) {
  IndentManager m = Manager(600);
  m.AddFloat(0, FloatSide::Left, 100, 40, 5);
  m.SetLevel(10, 1);
  EXPECT_EQ(m.LeftIndent(10), 140);
  EXPECT_EQ(m.LeftIndent(60), 140);  // the level keeps its x below the float
  m.Reset();
  EXPECT_EQ(m.LeftIndent(10), 0);
  EXPECT_EQ(m.Level, 0);
  EXPECT_EQ(m.ImageBottom(), 0);
}

TEST(IndentManager, FloatsEndedAboveStillCountForClearing) {
  IndentManager m = Manager(600);
  m.AddFloat(0, FloatSide::Left, 100, 40, 5);
  m.SetLevel(500, 0);  // layout has moved far below the float
  EXPECT_EQ(m.LeftIndent(500), 0);
  EXPECT_EQ(m.GetClearY().Left, 41);
  EXPECT_EQ(m.ImageBottom(), 40);
}

}  // namespace
}  // namespace quillet
