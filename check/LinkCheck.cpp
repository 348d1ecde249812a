#include "check/LinkCheck.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <unordered_map>

#include "check/Url.h"

namespace quillet {

using std::chrono::milliseconds;

std::string_view LinkStateName(LinkState state) {
  static constexpr std::string_view kNames[kLinkStateCount] = {
      "ok", "redirect-permanent", "redirect-temporary", "dead", "rate-limited", "error", "skipped"};
  return kNames[static_cast<int>(state)];
}

namespace {

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// "Sun, 06 Nov 1994 08:49:37 GMT" as Unix seconds.
std::optional<int64_t> HttpDate(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string rest(text.substr(comma + 1));
  int day = 0, year = 0, h = 0, m = 0, s = 0;
  char month[4] = {};
  char zone[4] = {};
  if (std::sscanf(rest.c_str(), " %2d %3s %4d %2d:%2d:%2d %3s", &day, month, &year, &h, &m, &s, zone) != 7)
    return std::nullopt;
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const size_t at = kMonths.find(month);
  if (at == std::string_view::npos || at % 3 || std::string_view(zone) != "GMT") return std::nullopt;
  if (day < 1 || day > 31 || h > 23 || m > 59 || s > 60) return std::nullopt;
  return DaysFromCivil(year, static_cast<unsigned>(at / 3 + 1), static_cast<unsigned>(day)) * 86400 + h * 3600 +
         m * 60 + s;
}

bool IsWeb(std::string_view scheme) { return scheme == "http" || scheme == "https"; }

bool Failed(LinkState s) { return s == LinkState::Dead || s == LinkState::RateLimited || s == LinkState::Error; }

// Worth asking again after a wait: the server said so, or the connection
// broke on the way.
bool Retryable(const HttpResponse& r) {
  if (r.Failure == HttpFailure::Timeout || r.Failure == HttpFailure::Reset) return true;
  return r.Failure == HttpFailure::None && (r.Status == 429 || r.Status == 503);
}

std::string FailureText(const HttpResponse& r) {
  if (!r.Error.empty()) return r.Error;
  switch (r.Failure) {
    case HttpFailure::HostNotFound: return "host not found";
    case HttpFailure::Refused: return "connection refused";
    case HttpFailure::Timeout: return "timed out";
    case HttpFailure::Reset: return "connection reset";
    case HttpFailure::Tls: return "secure connection failed";
    default: return "request failed";
  }
}

}  // namespace

std::optional<std::chrono::seconds> RetryAfterDelay(std::string_view value, int64_t now) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.empty()) return std::nullopt;
  int64_t seconds = 0;
  if (std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    for (char c : value.substr(0, 12)) seconds = seconds * 10 + (c - '0');
    if (value.size() > 12) seconds = 120;
  } else if (const auto date = HttpDate(value)) {
    seconds = *date - now;
  } else {
    return std::nullopt;
  }
  return std::chrono::seconds(std::clamp<int64_t>(seconds, 1, 120));
}

struct LinkChecker::Impl {
  struct Run {
    std::string Url;  // the hop being asked
    HttpMethod Method = HttpMethod::Head;
    uint32_t Host = 0;
    int RetriesLeft = 0;
    int Backoffs = 0;
    int Pass = 0;
    LinkState FirstState = LinkState::Skipped;
    Http::RequestId Request = 0;
    Scheduler::TimerId Timer = 0;
    bool InFlight = false;
  };
  struct Host {
    std::deque<size_t> Queue;
    int Active = 0;
    milliseconds NextStart{0};
    Scheduler::TimerId Timer = 0;
    bool Ready = false;
  };

  Http& http;
  Scheduler& loop;
  CheckOptions opt;
  LinkChecker& owner;
  std::vector<std::string> urls;
  std::vector<LinkResult> results;
  std::vector<Run> runs;
  std::vector<Host> hosts;
  std::unordered_map<std::string, uint32_t> hostIds;
  std::deque<uint32_t> ready;
  std::vector<size_t> recheck;
  int active = 0;
  size_t outstanding = 0;  // links whose current pass has not ended
  size_t done = 0;
  bool running = false;
  bool secondPass = false;
  Scheduler::TimerId passTimer = 0;

  Impl(Http& h, Scheduler& l, CheckOptions o, LinkChecker& w) : http(h), loop(l), opt(std::move(o)), owner(w) {
    opt.PerHost = std::max(1, opt.PerHost);
    opt.Concurrency = std::max(1, opt.Concurrency);
    opt.MaxRedirects = std::max(0, opt.MaxRedirects);
    opt.Retries = std::max(0, opt.Retries);
  }

  int64_t WallNow() const {
    if (opt.WallClock) return opt.WallClock();
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
  }

  void Start(std::vector<std::string> list) {
    urls = std::move(list);
    results.assign(urls.size(), {});
    runs.assign(urls.size(), {});
    running = true;
    // Counted first: a link that ends at once must not end the pass.
    std::vector<size_t> web;
    for (size_t i = 0; i < urls.size(); ++i) {
      const std::string scheme = UrlScheme(urls[i]);
      if (IsWeb(scheme))
        web.push_back(i);
      else
        CheckLocal(i, scheme);
    }
    outstanding = web.size();
    for (size_t i : web) BeginCheck(i);
    // The end is told from the loop, as every other event.
    if (outstanding == 0) passTimer = loop.After(milliseconds(0), [this] { passTimer = 0; EndOfPass(); });
  }

  void CheckLocal(size_t i, std::string_view scheme) {
    LinkResult& r = results[i];
    r.Checked = true;
    r.CheckedAt = WallNow();
    ++done;
    if (scheme == "file" && opt.FilePath && opt.FileExists) {
      if (const auto path = opt.FilePath(urls[i])) {
        r.Attempts = 1;
        r.FinalUrl = urls[i];
        const bool there = opt.FileExists(*path);
        r.State = there ? LinkState::Ok : LinkState::Dead;
        if (!there) r.Error = "no file " + *path;
      }
    }
    if (owner.OnProgress) owner.OnProgress(i);
  }

  void BeginCheck(size_t i) {
    Run& run = runs[i];
    LinkResult& r = results[i];
    ++run.Pass;
    run.Url = urls[i];
    run.Method = HttpMethod::Head;
    run.RetriesLeft = opt.Retries;
    run.Backoffs = 0;
    r.Chain.clear();
    ++r.Attempts;
    Enqueue(i, false);
  }

  void Enqueue(size_t i, bool first) {
    const auto parts = ParseUrl(runs[i].Url);
    if (!parts || parts->Host.empty()) return Conclude(i, LinkState::Error, "not an address that can be fetched");
    auto [it, added] = hostIds.try_emplace(parts->Host, static_cast<uint32_t>(hosts.size()));
    if (added) hosts.emplace_back();
    const uint32_t h = it->second;
    runs[i].Host = h;
    if (first)
      hosts[h].Queue.push_front(i);
    else
      hosts[h].Queue.push_back(i);
    MakeReady(h);
    Pump();
  }

  // Puts the host in line for a start when it may start one now, or times
  // its next start when only its interval holds it back.
  void MakeReady(uint32_t h) {
    Host& host = hosts[h];
    if (host.Ready || host.Timer || host.Queue.empty() || host.Active >= opt.PerHost) return;
    const milliseconds now = loop.Now();
    if (now < host.NextStart) {
      host.Timer = loop.After(host.NextStart - now, [this, h] {
        hosts[h].Timer = 0;
        MakeReady(h);
        Pump();
      });
      return;
    }
    host.Ready = true;
    ready.push_back(h);
  }

  void Pump() {
    while (running && active < opt.Concurrency && !ready.empty()) {
      const uint32_t h = ready.front();
      ready.pop_front();
      hosts[h].Ready = false;
      Host& host = hosts[h];
      if (host.Queue.empty() || host.Active >= opt.PerHost) continue;
      const size_t i = host.Queue.front();
      host.Queue.pop_front();
      Send(i, h);
      // Hosts take turns.
      MakeReady(h);
    }
  }

  void Send(size_t i, uint32_t h) {
    Run& run = runs[i];
    Host& host = hosts[h];
    ++host.Active;
    ++active;
    host.NextStart = loop.Now() + opt.HostInterval;
    HttpRequest req;
    req.Method = run.Method;
    // Credentials written into an address are never sent.
    req.Url = WithoutUserInfo(run.Url);
    req.Headers = {{"User-Agent", opt.UserAgent}};
    req.Timeout = opt.Timeout;
    req.ConnectTimeout = opt.ConnectTimeout;
    run.InFlight = true;
    run.Request = http.Send(req, [this, i](const HttpResponse& r) { OnAnswer(i, r); });
  }

  void OnAnswer(size_t i, const HttpResponse& r) {
    Run& run = runs[i];
    run.InFlight = false;
    --active;
    --hosts[run.Host].Active;
    MakeReady(run.Host);
    Handle(i, r);
    Pump();
  }

  void Handle(size_t i, const HttpResponse& r) {
    Run& run = runs[i];
    LinkResult& res = results[i];
    const bool answered = r.Failure == HttpFailure::None;
    const int status = answered ? r.Status : 0;
    // Many servers refuse or mishandle HEAD; GET decides, but "come back
    // later" is about the server, not the method.
    if (run.Method == HttpMethod::Head && !(status >= 200 && status < 400) && status != 429 && status != 503) {
      run.Method = HttpMethod::Get;
      return Enqueue(i, true);
    }
    if (Retryable(r) && run.RetriesLeft > 0) {
      --run.RetriesLeft;
      milliseconds wait = opt.RetryBase * (int64_t{1} << std::min(run.Backoffs, 16));
      if (opt.Jitter) wait += milliseconds(static_cast<int64_t>(static_cast<double>(wait.count()) * opt.Jitter() / 2));
      if (answered)
        if (const auto header = r.Header("Retry-After"))
          if (const auto asked = RetryAfterDelay(*header, WallNow())) wait = *asked;
      ++run.Backoffs;
      ++res.Attempts;
      run.Timer = loop.After(wait, [this, i] {
        runs[i].Timer = 0;
        Enqueue(i, true);
      });
      return;
    }
    if (!answered) {
      res.Status.reset();
      return Conclude(i, r.Failure == HttpFailure::HostNotFound ? LinkState::Dead : LinkState::Error,
                      FailureText(r));
    }
    res.Status = status;
    if (status >= 300 && status < 400 && status != 304) {
      const auto location = r.Header("Location");
      if (!location) return Conclude(i, LinkState::Error, "a redirect without a Location");
      res.Chain.push_back({run.Url, status});
      const auto next = ResolveUrl(run.Url, *location);
      if (!next || !IsWeb(UrlScheme(*next))) return Conclude(i, LinkState::Error, "a redirect to " + *location);
      for (const RedirectHop& hop : res.Chain)
        if (hop.Url == *next) return Conclude(i, LinkState::Error, "a redirect loop");
      if (static_cast<int>(res.Chain.size()) > opt.MaxRedirects)
        return Conclude(i, LinkState::Error, "more than " + std::to_string(opt.MaxRedirects) + " redirects");
      run.Url = *next;
      run.Method = HttpMethod::Head;
      return Enqueue(i, true);
    }
    if (status >= 200 && status < 300) {
      const bool permanent = std::all_of(res.Chain.begin(), res.Chain.end(),
                                         [](const RedirectHop& h) { return h.Status == 301 || h.Status == 308; });
      return Conclude(i, res.Chain.empty() ? LinkState::Ok
                         : permanent       ? LinkState::RedirectPermanent
                                           : LinkState::RedirectTemporary,
                      "");
    }
    if (status == 404 || status == 410) return Conclude(i, LinkState::Dead, "HTTP " + std::to_string(status));
    if (status == 429) return Conclude(i, LinkState::RateLimited, "HTTP 429");
    Conclude(i, LinkState::Error, "HTTP " + std::to_string(status));
  }

  void Conclude(size_t i, LinkState state, std::string error) {
    Run& run = runs[i];
    LinkResult& res = results[i];
    res.FinalUrl = run.Url;
    res.Error = std::move(error);
    res.CheckedAt = WallNow();
    if (run.Pass == 1) {
      ++done;
      res.Checked = true;
      run.FirstState = state;
      if (Failed(state)) recheck.push_back(i);
    } else if (state == LinkState::Dead && run.FirstState != LinkState::Dead) {
      // Dead once is not surely dead.
      state = LinkState::Error;
      res.Error += " on the second check only";
    }
    res.State = state;
    --outstanding;
    if (owner.OnProgress) owner.OnProgress(i);
    if (outstanding == 0) EndOfPass();
  }

  void EndOfPass() {
    if (!secondPass && !recheck.empty()) {
      secondPass = true;
      passTimer = loop.After(opt.RecheckAfter, [this] {
        passTimer = 0;
        outstanding = recheck.size();
        for (size_t i : recheck) BeginCheck(i);
      });
      return;
    }
    running = false;
    if (owner.OnFinished) owner.OnFinished();
  }

  void Stop() {
    if (!running) return;
    running = false;
    for (Run& run : runs) {
      if (run.InFlight) http.Cancel(run.Request);
      if (run.Timer) loop.CancelTimer(run.Timer);
      run.InFlight = false;
      run.Timer = 0;
    }
    for (Host& host : hosts) {
      if (host.Timer) loop.CancelTimer(host.Timer);
      host = {};
    }
    ready.clear();
    if (passTimer) loop.CancelTimer(passTimer);
    passTimer = 0;
    active = 0;
  }
};

LinkChecker::LinkChecker(Http& http, Scheduler& loop, CheckOptions options)
    : impl_(std::make_unique<Impl>(http, loop, std::move(options), *this)) {}

LinkChecker::~LinkChecker() { impl_->Stop(); }

void LinkChecker::Start(std::vector<std::string> urls) { impl_->Start(std::move(urls)); }
void LinkChecker::Stop() { impl_->Stop(); }
bool LinkChecker::Running() const { return impl_->running; }
const std::vector<LinkResult>& LinkChecker::Results() const { return impl_->results; }
size_t LinkChecker::Done() const { return impl_->done; }

}  // namespace quillet
