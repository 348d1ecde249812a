#pragma once
// The timer port on a QTimer: ticks on the thread that created it, through
// Qt's event loop.
#include <QTimer>

#include "platform/Timer.h"

namespace quillet {

class QtTimer : public Timer {
 public:
  QtTimer();

  void SetInterval(int ms) override { timer_.setInterval(ms); }
  int Interval() const override { return timer_.interval(); }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace quillet
