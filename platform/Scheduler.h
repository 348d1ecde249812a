#pragma once
// The scheduler port: the clock and one-shot timers of the event loop an
// asynchronous port (Http) answers on, so that its caller can wait between
// requests without blocking the loop. Backends: platform/qt/QtScheduler
// (QTimer) and the virtual clock of tests/support/ScriptedHttp.h.
#include <chrono>
#include <cstdint>
#include <functional>

namespace quillet {

class Scheduler {
 public:
  using TimerId = uint64_t;
  virtual ~Scheduler() = default;
  // A steady clock; only differences count.
  virtual std::chrono::milliseconds Now() = 0;
  // Calls fn once after delay (0: at the next pass of the loop).
  virtual TimerId After(std::chrono::milliseconds delay, std::function<void()> fn) = 0;
  // The timer does not fire; unknown or fired ids are ignored.
  virtual void CancelTimer(TimerId id) = 0;
  // Runs the loop (timers, and the answers of ports on it) until Quit.
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

}  // namespace quillet
