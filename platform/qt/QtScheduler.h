#pragma once
// The scheduler port on Qt's event loop: QTimer one-shots, precise to the
// millisecond (a coarse timer may fire early, and a wait between requests
// to one host must never be shorter than asked).
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <unordered_map>

#include "platform/Scheduler.h"

namespace quillet {

class QtScheduler : public Scheduler {
 public:
  QtScheduler();
  ~QtScheduler() override;

  std::chrono::milliseconds Now() override;
  TimerId After(std::chrono::milliseconds delay, std::function<void()> fn) override;
  void CancelTimer(TimerId id) override;
  // Needs a QCoreApplication (or QApplication) to exist.
  void Run() override;
  void Quit() override;

 private:
  QObject owner_;  // parent of the timers: they go with the scheduler
  std::unordered_map<TimerId, QTimer*> timers_;
  TimerId next_ = 1;
  QEventLoop loop_;
  bool quit_ = false;
};

}  // namespace quillet
