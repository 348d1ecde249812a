#include "platform/qt/QtTimer.h"

namespace quillet {

QtTimer::QtTimer() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (OnTimer) OnTimer();
  });
}

void QtTimer::SetEnabled(bool on) {
  if (on)
    timer_.start();
  else
    timer_.stop();
}

}  // namespace quillet
