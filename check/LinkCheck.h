#pragma once
// The link check: which of a list of addresses are fine, moved or dead.
// It checks gently and calls a link dead only when it surely is: HEAD first
// and GET when HEAD is refused, every redirect hop recorded, waits and
// retries when a server asks for them or a connection fails, a second pass
// over every failure, and a per-host queue so that no site is hammered.
// It runs on the HTTP and scheduler ports, answers come on their loop.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Http.h"
#include "platform/Scheduler.h"

namespace quillet {

enum class LinkState : uint8_t { Ok, RedirectPermanent, RedirectTemporary, Dead, RateLimited, Error, Skipped };
inline constexpr int kLinkStateCount = 7;

// "ok", "redirect-permanent", "redirect-temporary", "dead", "rate-limited",
// "error", "skipped".
std::string_view LinkStateName(LinkState state);

struct CheckOptions {
  int MaxRedirects = 10;
  int Retries = 2;
  std::chrono::milliseconds RecheckAfter{30000};
  int PerHost = 2;
  std::chrono::milliseconds HostInterval{500};
  int Concurrency = 16;
  std::chrono::milliseconds Timeout{20000};
  std::chrono::milliseconds ConnectTimeout{10000};
  std::string UserAgent = "Quillet";
  // The first wait before a retry the server did not time; it doubles.
  std::chrono::milliseconds RetryBase{2000};
  // A number in [0, 1) that spreads retries apart; none: no spread.
  std::function<double()> Jitter;
  // Unix seconds now, for Retry-After dates and checked_at.
  std::function<int64_t()> WallClock;
  // The local path a file: address stands for; nothing: it is skipped.
  std::function<std::optional<std::string>(std::string_view url)> FilePath;
  std::function<bool(const std::string& path)> FileExists;
};

struct RedirectHop {
  std::string Url;
  int Status = 0;
  bool operator==(const RedirectHop&) const = default;
};

struct LinkResult {
  LinkState State = LinkState::Skipped;
  // False for a link the check was stopped before it finished.
  bool Checked = false;
  std::optional<int> Status;  // the last answer's, none after a failure
  std::string FinalUrl;
  std::vector<RedirectHop> Chain;  // the redirects on the way, in order
  std::string Error;
  int Attempts = 0;  // checks begun: retries and the second pass count
  int64_t CheckedAt = 0;  // Unix seconds
};

// A Retry-After value: seconds, or an HTTP date (now in Unix seconds),
// clamped to 1..120 s. Nothing for text that is neither.
std::optional<std::chrono::seconds> RetryAfterDelay(std::string_view value, int64_t now);

class LinkChecker {
 public:
  LinkChecker(Http& http, Scheduler& loop, CheckOptions options);
  ~LinkChecker();
  LinkChecker(const LinkChecker&) = delete;
  LinkChecker& operator=(const LinkChecker&) = delete;

  // Checks the addresses, answering on the loop; Finished is called once at
  // the end, or not at all after Stop. Call once.
  void Start(std::vector<std::string> urls);
  // Aborts every open request and wait at once; results so far stay.
  void Stop();
  bool Running() const;

  const std::vector<LinkResult>& Results() const;
  // Links whose check has ended (their first pass, or the second).
  size_t Done() const;

  // After each link's result changes.
  std::function<void(size_t link)> OnProgress;
  std::function<void()> OnFinished;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quillet
