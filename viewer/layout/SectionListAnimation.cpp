// The document's animation: restarting the animated pictures after a
// layout, knowing which of them are on the screen, and stepping those on
// the timer.
#include "viewer/images/Gif.h"
#include "viewer/layout/SectionList.h"

namespace quillet {

namespace {

Rect ToRect(const GifRect& r) { return {r.X, r.Y, r.X + r.Width, r.Y + r.Height}; }

}  // namespace

void TSectionList::RestartAnimations() {
  const int64_t now = host_->AnimationTime();
  bool any = false;
  for (TGIFImage* gif : AnimatedGifList) {
    gif->SetCurrentFrame(1);
    gif->SetAnimate(false, now);
    gif->SetAnimate(true, now);
    // Where it was drawn means nothing after a layout; the next paint says.
    gif->ClearDrawn();
    any = any || gif->Animate();
  }
  if (any) timer_->SetEnabled(true);
}

void TSectionList::ForgetAnimationDrawsIn(const Rect& clip) {
  for (TGIFImage* gif : AnimatedGifList)
    if (gif->Drawn() && ToRect(gif->LastDraw()).Intersects(clip)) gif->ClearDrawn();
}

void TSectionList::ForgetAnimationDraws() {
  for (TGIFImage* gif : AnimatedGifList) gif->ClearDrawn();
}

void TSectionList::ResumeAnimationTimer() {
  if (timer_->Enabled()) return;
  for (const TGIFImage* gif : AnimatedGifList)
    if (gif->Drawn() && gif->Animate()) {
      timer_->SetEnabled(true);
      return;
    }
}

void TSectionList::AnimationStep() {
  const int64_t now = host_->AnimationTime();
  bool running = false;
  // By index: a repaint handler may draw, or even clear, the document.
  for (size_t i = 0; i < AnimatedGifList.size(); ++i) {
    TGIFImage& gif = *AnimatedGifList[i];
    if (!gif.Drawn()) continue;
    const GifStep step = gif.CheckTime(now);
    running = running || gif.Animate();
    if (step.Changed) host_->RepaintAnimation(ToRect(step.Repaint));
  }
  timer_->SetInterval(kAnimationInterval);
  // Nothing on the screen animates: the next paint that draws one starts
  // the timer again.
  if (!running) timer_->SetEnabled(false);
}

}  // namespace quillet
