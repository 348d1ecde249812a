#pragma once
// The HTTP and scheduler ports without a network: a virtual clock that runs
// timers in time order at once, and servers scripted as functions of the
// request. Every request is logged with its times, so tests check the
// order and spacing of requests without waiting for them.
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Http.h"
#include "platform/Scheduler.h"

namespace quillet::test {

class VirtualLoop : public Scheduler {
 public:
  std::chrono::milliseconds Now() override { return now_; }
  TimerId After(std::chrono::milliseconds delay, std::function<void()> fn) override {
    const TimerId id = next_++;
    timers_.emplace(std::make_pair(now_ + std::max(delay, std::chrono::milliseconds(0)), id), std::move(fn));
    return id;
  }
  void CancelTimer(TimerId id) override {
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
      if (it->first.second == id) {
        timers_.erase(it);
        return;
      }
  }
  // Runs timers in time order (then in the order set) until Quit or none is left.
  void Run() override {
    quit_ = false;
    while (!quit_ && !timers_.empty()) {
      auto it = timers_.begin();
      now_ = it->first.first;
      auto fn = std::move(it->second);
      timers_.erase(it);
      fn();
    }
    quit_ = false;
  }
  void Quit() override { quit_ = true; }
  size_t PendingTimers() const { return timers_.size(); }

 private:
  std::chrono::milliseconds now_{1000000};
  std::map<std::pair<std::chrono::milliseconds, TimerId>, std::function<void()>> timers_;
  TimerId next_ = 1;
  bool quit_ = false;
};

// What a scripted server does with one request: answer after Delay (past
// the request's Timeout it times out instead), or fail.
struct ScriptedAnswer {
  using HeaderList = std::vector<std::pair<std::string, std::string>>;
  ScriptedAnswer(int status = 200, HeaderList headers = {},
                 std::chrono::milliseconds delay = std::chrono::milliseconds(10),
                 HttpFailure failure = HttpFailure::None)
      : Status(status), Headers(std::move(headers)), Delay(delay), Failure(failure) {}
  int Status;
  HeaderList Headers;
  std::chrono::milliseconds Delay;
  HttpFailure Failure;
};

class ScriptedHttp : public Http {
 public:
  struct Logged {
    HttpRequest Request;
    std::chrono::milliseconds Sent{0}, Ended{0};
    bool Cancelled = false;
  };
  // The script sees each request and how many came before it for that
  // address (0 for the first).
  using Script = std::function<ScriptedAnswer(const HttpRequest&, int nth)>;

  ScriptedHttp(VirtualLoop& loop, Script script) : loop_(loop), script_(std::move(script)) {}

  RequestId Send(const HttpRequest& request, Done done) override {
    const RequestId id = log_.size();
    const int nth = seen_[request.Url]++;
    ScriptedAnswer a = script_(request, nth);
    HttpResponse r;
    r.Failure = a.Failure;
    r.Status = a.Failure == HttpFailure::None ? a.Status : 0;
    r.Headers = a.Headers;
    if (a.Delay > request.Timeout) {
      a.Delay = request.Timeout;
      r = {};
      r.Failure = HttpFailure::Timeout;
    }
    log_.push_back({request, loop_.Now(), loop_.Now() + a.Delay});
    timers_[id] = loop_.After(a.Delay, [this, id, r, done = std::move(done)] {
      timers_.erase(id);
      done(r);
    });
    return id;
  }
  void Cancel(RequestId id) override {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    loop_.CancelTimer(it->second);
    log_[id].Cancelled = true;
    log_[id].Ended = loop_.Now();
    timers_.erase(it);
  }
  const std::vector<Logged>& Log() const { return log_; }
  size_t Open() const { return timers_.size(); }

 private:
  VirtualLoop& loop_;
  Script script_;
  std::vector<Logged> log_;
  std::map<std::string, int> seen_;
  std::map<RequestId, Scheduler::TimerId> timers_;
};

}  // namespace quillet::test
