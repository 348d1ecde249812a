// Animated pictures on a page: the document's timer steps the pictures a
// paint has drawn and asks for their boxes to be repainted. The timer is
// the manual one and the clock a number the test moves, so nothing sleeps.
// anim-loop0.gif is 6 x 5: red for 100 ms, blue for 200 ms, endlessly.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/viewer/layout/ImageFixture.h"
#include "viewer/images/Gif.h"

namespace quillet {
namespace {

const uint32_t kRed = Rgb(255, 0, 0);
const uint32_t kBlue = Rgb(0, 0, 255);

struct AnimatedPage {
  test::PicturePage page;
  int64_t now = 0;
  std::vector<Rect> repaints;

  explicit AnimatedPage(std::string_view html) {
    page.Doc().Callbacks().AnimationClock = [this] { return now; };
    page.Doc().Callbacks().OnAnimationRepaint = [this](const Rect& r) { repaints.push_back(r); };
    page.Parse(html);
    page.Layout(400);
  }
  TSectionList& Doc() { return page.Doc(); }
  ManualTimer& Timer() { return static_cast<ManualTimer&>(Doc().AnimationTimer()); }
  // The n-th animated picture and its image, in document order.
  TImageObj& AnimatedImage(size_t n) {
    for (size_t i = 0;; ++i)
      if (page.Image(i).Animation() && n-- == 0) return page.Image(i);
  }
  TGIFImage& Gif(size_t n = 0) { return *AnimatedImage(n).Animation(); }
  // The timer's ticks up to `until`, 50 ms apart.
  void RunUntil(int64_t until) {
    while (now + TSectionList::kAnimationInterval <= until) {
      now += TSectionList::kAnimationInterval;
      Timer().Fire();
    }
  }
  void DrawBand(int top, int bottom) {
    page.canvas.Calls.clear();
    Doc().Draw(page.canvas, {0, top, 2000, bottom}, 0, 0, 2000);
  }
  // The box an image was drawn in, document coordinates.
  Rect Box(size_t n) {
    const TImageObj& image = AnimatedImage(n);
    return {image.DrawX, image.DrawY, image.DrawX + image.ObjWidth, image.DrawY + image.ObjHeight};
  }
};

TEST(DocumentAnimation, ADrawnPictureStepsOnTheTimerAndItsBoxIsRepainted) {
  AnimatedPage p("<P>Text <IMG SRC='gif/anim-loop0.gif' WIDTH=12 HEIGHT=10>");
  ASSERT_EQ(p.Doc().AnimatedGifList, (std::vector<TGIFImage*>{&p.Gif()}));
  EXPECT_EQ(p.Timer().Interval(), TSectionList::kAnimationInterval);
  EXPECT_TRUE(p.Timer().Enabled());  // the layout started the animation
  // Nothing drawn yet: the tick steps nothing, and the timer stops.
  p.RunUntil(300);
  EXPECT_EQ(p.Gif().CurrentFrame(), 1);
  EXPECT_TRUE(p.repaints.empty());
  EXPECT_FALSE(p.Timer().Enabled());

  p.page.Draw();
  EXPECT_TRUE(p.Timer().Enabled());
  const Rect box = p.Box(0);
  EXPECT_EQ(box.Width(), 12);
  EXPECT_EQ(box.Height(), 10);
  p.RunUntil(400);  // the first step only starts the clock
  EXPECT_EQ(p.Gif().CurrentFrame(), 1);
  p.RunUntil(500);
  EXPECT_EQ(p.Gif().CurrentFrame(), 2);
  EXPECT_EQ(p.Gif().Composed().At(0, 0), kBlue);
  EXPECT_EQ(p.repaints, (std::vector<Rect>{box}));
  p.RunUntil(700);
  EXPECT_EQ(p.Gif().CurrentFrame(), 1);
  EXPECT_EQ(p.repaints.size(), 2u);
  // The repaint draws the frame now current.
  p.page.Draw();
  ASSERT_EQ(p.page.canvas.Drawn.size(), 1u);
  EXPECT_EQ(p.page.canvas.Drawn[0].At(0, 0), kRed);
}

TEST(DocumentAnimation, OnlyPicturesOnTheScreenStepAndRepaintingOneDoesNotStopAnother) {
  // Two animations far apart: the second lies below a tall picture.
  AnimatedPage p(
      "<IMG SRC='gif/anim-loop0.gif'><P><IMG SRC='bmp/24bit.bmp' WIDTH=10 HEIGHT=2000>"
      "<P><IMG SRC='gif/anim-loop0.gif'>");
  ASSERT_EQ(p.Doc().AnimatedGifList.size(), 2u);
  p.DrawBand(0, 300);  // the first only
  EXPECT_TRUE(p.Gif(0).Drawn());
  EXPECT_FALSE(p.Gif(1).Drawn());
  p.RunUntil(300);
  EXPECT_EQ(p.Gif(0).CurrentFrame(), 2);
  EXPECT_EQ(p.Gif(1).CurrentFrame(), 1);
  EXPECT_EQ(p.repaints, (std::vector<Rect>{p.Box(0)}));

  // Both on the screen; a repaint of the first's box alone leaves the
  // second drawn, so it goes on stepping.
  p.DrawBand(0, 5000);
  EXPECT_TRUE(p.Gif(1).Drawn());
  p.DrawBand(p.Box(0).Top, p.Box(0).Bottom);
  EXPECT_TRUE(p.Gif(1).Drawn());
  p.repaints.clear();
  p.RunUntil(1000);
  EXPECT_NE(std::count(p.repaints.begin(), p.repaints.end(), p.Box(1)), 0);
  EXPECT_NE(std::count(p.repaints.begin(), p.repaints.end(), p.Box(0)), 0);

  // A scroll forgets them all until a paint draws them again.
  p.Doc().ForgetAnimationDraws();
  p.repaints.clear();
  p.RunUntil(2000);
  EXPECT_TRUE(p.repaints.empty());
  EXPECT_FALSE(p.Timer().Enabled());
  // Repainting a band where the picture was, without it, forgets it too.
  p.DrawBand(0, 5000);
  p.Doc().ShowImages = false;
  p.DrawBand(0, 5000);
  EXPECT_FALSE(p.Gif(0).Drawn());
}

TEST(DocumentAnimation, ALayoutRestartsEveryPictureAtItsFirstFrame) {
  AnimatedPage p("<IMG SRC='gif/anim-loop2.gif'><IMG SRC='gif/anim-loop2.gif'>");
  p.page.Draw();
  p.RunUntil(2000);  // twice through: stopped on the last frame
  EXPECT_FALSE(p.Gif(0).Animate());
  EXPECT_EQ(p.Gif(1).CurrentFrame(), 2);
  EXPECT_FALSE(p.Timer().Enabled());  // nothing left to animate

  p.page.Layout(300);
  EXPECT_TRUE(p.Timer().Enabled());
  for (size_t n = 0; n < 2; ++n) {
    EXPECT_TRUE(p.Gif(n).Animate());
    EXPECT_EQ(p.Gif(n).CurrentFrame(), 1);
    EXPECT_EQ(p.Gif(n).Composed().At(0, 0), kRed);
    EXPECT_FALSE(p.Gif(n).Drawn());
  }
  p.page.Draw();
  p.RunUntil(2100);  // 100 ms: this time no first step is held back
  EXPECT_EQ(p.Gif(0).CurrentFrame(), 2);
  EXPECT_EQ(p.Gif(1).CurrentFrame(), 2);
}

TEST(DocumentAnimation, TheTimerRunsOnlyWithSomethingToAnimate) {
  AnimatedPage still("<IMG SRC='gif/gif87a.gif'><IMG SRC='bmp/24bit.bmp'>");
  EXPECT_TRUE(still.Doc().AnimatedGifList.empty());
  still.page.Draw();
  EXPECT_FALSE(still.Timer().Enabled());

  // Pictures off: nothing is loaded, nothing animates.
  test::PicturePage off(false);
  off.Parse("<IMG SRC='gif/anim-loop0.gif'>");
  off.Layout(400);
  off.Draw();
  EXPECT_TRUE(off.Doc().AnimatedGifList.empty());
  EXPECT_FALSE(off.Doc().AnimationTimer().Enabled());

  AnimatedPage p("<IMG SRC='gif/anim-loop0.gif'>");
  p.page.Draw();
  EXPECT_TRUE(p.Timer().Enabled());
  p.Doc().Clear();
  EXPECT_TRUE(p.Doc().AnimatedGifList.empty());
  EXPECT_FALSE(p.Timer().Enabled());
}

TEST(DocumentAnimation, OfThousandsOfPicturesOnlyTheDrawnOnesStep) {
  std::string html;
  for (int i = 0; i < 3000; ++i) html += "<IMG SRC='gif/delay0.gif'><BR>";
  AnimatedPage p(html);
  ASSERT_EQ(p.Doc().AnimatedGifList.size(), 3000u);
  EXPECT_EQ(p.page.files.Reads.size(), 1u);  // one read; each image its own copy
  p.DrawBand(0, 200);
  const auto drawn = std::count_if(p.Doc().AnimatedGifList.begin(), p.Doc().AnimatedGifList.end(),
                                   [](const TGIFImage* g) { return g->Drawn(); });
  EXPECT_GT(drawn, 0);
  EXPECT_LT(drawn, 100);
  p.RunUntil(100);  // delay 0: a step on every tick after the first
  EXPECT_EQ(p.repaints.size(), static_cast<size_t>(drawn));
  EXPECT_EQ(p.Gif(2999).CurrentFrame(), 1);
}

TEST(DocumentAnimation, ARepaintHandlerMayClearTheDocument) {
  AnimatedPage p("<IMG SRC='gif/delay0.gif'><IMG SRC='gif/delay0.gif'>");
  p.page.Draw();
  p.Doc().Callbacks().OnAnimationRepaint = [&](const Rect&) { p.Doc().Clear(); };
  p.RunUntil(100);
  EXPECT_TRUE(p.Doc().AnimatedGifList.empty());
  EXPECT_FALSE(p.Timer().Enabled());
}

}  // namespace
}  // namespace quillet
