#pragma once
// The timer port: a repeating tick on the window thread. The pane's
// document uses one to advance animated pictures. Backends:
// platform/qt/QtTimer (a QTimer) and ManualTimer below, which ticks only
// when its owner says so (tests, and headless rendering, where nothing
// animates).
#include <functional>

namespace quillet {

class Timer {
 public:
  virtual ~Timer() = default;

  // Milliseconds between ticks.
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  // A disabled timer does not tick; enabling it starts a fresh interval.
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;

  // Called on every tick.
  std::function<void()> OnTimer;
};

class ManualTimer : public Timer {
 public:
  void SetInterval(int ms) override { interval_ = ms; }
  int Interval() const override { return interval_; }
  void SetEnabled(bool on) override { enabled_ = on; }
  bool Enabled() const override { return enabled_; }

  // One tick, as if the interval had passed; nothing while disabled.
  void Fire() {
    if (enabled_ && OnTimer) OnTimer();
  }

 private:
  int interval_ = 0;
  bool enabled_ = false;
};

}  // namespace quillet
