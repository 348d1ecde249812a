#include <gtest/gtest.h>

#include "tests/viewer/images/PictureFiles.h"
#include "viewer/images/Gif.h"

namespace quillet {
namespace {

// Runs the document's 50 ms timer from `from` to `to` (inclusive) and
// returns the frame shown after every tick that changed the picture.
std::vector<int> Ticks(TGIFImage& gif, int64_t from, int64_t to) {
  std::vector<int> shown;
  for (int64_t now = from; now <= to; now += 50)
    if (gif.CheckTime(now).Changed) shown.push_back(gif.CurrentFrame());
  return shown;
}

TGIFImage Animated(const char* name) {
  TGIFImage gif;
  EXPECT_TRUE(gif.Load(test::PictureData(name)));
  gif.SetAnimate(true, 0);
  return gif;
}

TEST(GifAnimation, LoopCountZeroRunsEndlessly) {
  // Frames of 100 and 200 ms; the first step only starts the clock.
  TGIFImage gif = Animated("gif/anim-loop0.gif");
  EXPECT_EQ(Ticks(gif, 50, 1000), (std::vector<int>{2, 1, 2, 1, 2, 1}));  // at 200, 400, 500, 700, 800, 1000
  EXPECT_EQ(Ticks(gif, 1050, 61000).size(), 400u);  // two changes every 300 ms
  EXPECT_TRUE(gif.Animate());
}

TEST(GifAnimation, WithoutNetscapeBlockItPlaysOnceAndStaysOnTheLastFrame) {
  TGIFImage gif = Animated("gif/anim-once.gif");  // 100, 200, 100 ms
  EXPECT_EQ(Ticks(gif, 50, 5000), (std::vector<int>{2, 3}));
  EXPECT_FALSE(gif.Animate());
  EXPECT_EQ(gif.CurrentFrame(), 3);
  EXPECT_EQ(gif.Composed().At(0, 0), Rgb(0, 200, 0));
}

TEST(GifAnimation, ALoopCountPlaysTheSequenceThatManyTimes) {
  TGIFImage gif = Animated("gif/anim-loop2.gif");
  EXPECT_EQ(Ticks(gif, 50, 5000), (std::vector<int>{2, 1, 2}));
  EXPECT_FALSE(gif.Animate());
  EXPECT_EQ(gif.CurrentFrame(), 2);
  EXPECT_EQ(gif.CurrentLoop(), 1);  // stopping starts the count again
}

TEST(GifAnimation, DelayZeroStepsOnEveryTick) {
  TGIFImage gif = Animated("gif/delay0.gif");
  EXPECT_EQ(Ticks(gif, 50, 300), (std::vector<int>{2, 1, 2, 1, 2}));  // the first tick starts the clock
}

TEST(GifAnimation, SpeedScalesTheDelays) {
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(test::PictureData("gif/anim-loop0.gif")));
  gif.SetSpeed(200);  // 50 and 100 ms
  gif.SetAnimate(true, 0);
  EXPECT_EQ(Ticks(gif, 50, 300), (std::vector<int>{2, 1, 2}));  // at 100, 200, 250
  gif.SetSpeed(0);
  EXPECT_EQ(gif.Speed(), 1);
}

TEST(GifAnimation, AStepRepaintsTheLastDrawnBox) {
  TGIFImage gif = Animated("gif/anim-loop0.gif");
  EXPECT_FALSE(gif.Drawn());
  const Picture* pic = gif.RecordDraw(30, 40, 12, 10);
  ASSERT_EQ(pic, &gif.Composed());
  EXPECT_TRUE(gif.Drawn());
  EXPECT_EQ(gif.LastDraw(), (GifRect{30, 40, 12, 10}));
  EXPECT_FALSE(gif.CheckTime(100).Changed);  // the clock starts
  EXPECT_FALSE(gif.CheckTime(150).Changed);  // 100 ms not yet passed
  const GifStep step = gif.CheckTime(200);
  EXPECT_TRUE(step.Changed);
  EXPECT_EQ(step.Repaint, (GifRect{30, 40, 12, 10}));
  EXPECT_EQ(gif.Composed().At(0, 0), Rgb(0, 0, 255));
  gif.ClearDrawn();
  EXPECT_FALSE(gif.Drawn());
  gif.SetVisible(false);
  EXPECT_EQ(gif.RecordDraw(0, 0, 1, 1), nullptr);
}

TEST(GifAnimation, NothingStepsWhenOffAndSwitchingOnRestartsTheLoops) {
  TGIFImage gif;
  ASSERT_TRUE(gif.Load(test::PictureData("gif/anim-loop2.gif")));
  EXPECT_TRUE(Ticks(gif, 0, 2000).empty());  // never switched on
  gif.SetAnimate(true, 0);
  EXPECT_EQ(Ticks(gif, 50, 5000).size(), 3u);
  // After a layout the pane shows frame 1 and restarts the animation.
  gif.SetCurrentFrame(1);
  gif.SetAnimate(false, 6000);
  gif.SetAnimate(true, 6000);
  EXPECT_EQ(Ticks(gif, 6050, 9000), (std::vector<int>{2, 1, 2}));
}

TEST(GifAnimation, ASingleFrameNeverSteps) {
  TGIFImage gif = Animated("gif/gif87a.gif");
  EXPECT_TRUE(Ticks(gif, 0, 1000).empty());
}

}  // namespace
}  // namespace quillet
