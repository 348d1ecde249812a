#include "platform/qt/QtScheduler.h"

#include <algorithm>
#include <cstdint>

namespace quillet {

QtScheduler::QtScheduler() = default;

// The timers are the owner's children and go with it.
QtScheduler::~QtScheduler() = default;

std::chrono::milliseconds QtScheduler::Now() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

Scheduler::TimerId QtScheduler::After(std::chrono::milliseconds delay, std::function<void()> fn) {
  const TimerId id = next_++;
  auto* timer = new QTimer(&owner_);
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, [this, id, fn = std::move(fn)] {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    // A timer must not be deleted inside its own signal.
    it->second->deleteLater();
    timers_.erase(it);
    fn();
  });
  timers_.emplace(id, timer);
  timer->start(static_cast<int>(std::clamp<int64_t>(delay.count(), 0, INT32_MAX)));
  return id;
}

void QtScheduler::CancelTimer(TimerId id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void QtScheduler::Run() {
  // A Quit that came before the loop ran still ends it.
  if (!quit_) loop_.exec();
  quit_ = false;
}

void QtScheduler::Quit() {
  quit_ = !loop_.isRunning();
  loop_.quit();
}

}  // namespace quillet
