#include "platform/qt/QtTimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/support/qt/OffscreenApp.h"

namespace quillet {
namespace {

TEST(QtTimer, TicksThroughTheEventLoopOnlyWhileEnabled) {
  test::OffscreenApp();
  QtTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(0);  // due at the next pass of the event loop
  EXPECT_FALSE(timer.Enabled());
  QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 0);

  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Enabled());
  QCoreApplication::processEvents();
  EXPECT_GE(ticks, 1);

  timer.SetEnabled(false);
  const int before = ticks;
  QCoreApplication::processEvents();
  EXPECT_EQ(ticks, before);

  timer.SetInterval(50);
  EXPECT_EQ(timer.Interval(), 50);
}

}  // namespace
}  // namespace quillet
