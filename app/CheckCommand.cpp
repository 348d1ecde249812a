#include "app/CheckCommand.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cmath>
#include <iostream>
#include <random>
#include <regex>

#include "app/Batch.h"
#include "app/Counted.h"
#include "app/StartOptions.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "check/CheckDocument.h"
#include "check/CheckReport.h"
#include "platform/Errors.h"
#include "platform/Path.h"

namespace quillet {

namespace {

std::chrono::milliseconds Millis(double seconds) {
  return std::chrono::milliseconds(static_cast<int64_t>(std::llround(seconds * 1000)));
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

std::string ReportKind(const std::string& path) {
  const size_t dot = path.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : Lower(path.substr(dot + 1));
  if (ext == "htm") return "html";
  return ext == "json" || ext == "csv" || ext == "html" ? ext : "";
}

std::string ProgressText(const LinkChecker& checker, size_t total) {
  const StateCounts c = CountStates(checker.Results());
  auto n = [&](LinkState s) { return c[static_cast<int>(s)]; };
  // Links not yet checked count as skipped until they are.
  return "checked " + Grouped(checker.Done()) + " of " + Grouped(total) + ", " + Grouped(n(LinkState::Dead)) +
         " dead, " + Grouped(n(LinkState::RedirectPermanent) + n(LinkState::RedirectTemporary)) + " moved, " +
         Grouped(n(LinkState::Error) + n(LinkState::RateLimited)) + " errors";
}

struct Settings {
  std::string file, output, report, moveDeadTo;
  bool rewritePermanent = false;
  std::vector<std::string> excludes;
  double recheckAfter = 30, hostInterval = 0.5, timeout = 20, connectTimeout = 10;
  int maxRedirects = 10, retries = 2, perHost = 2, concurrency = 16;
};

}  // namespace

void SetUpCheck(Context& ctx, const std::string& docDir, CheckOptions& opt) {
  opt.UserAgent = std::string("Quillet/") + kVersion + " (link check)";
  auto random = std::make_shared<std::mt19937>(std::random_device{}());
  opt.Jitter = [random] { return std::uniform_real_distribution<double>(0, 1)(*random); };
  opt.FilePath = [&ctx, docDir](std::string_view url) -> std::optional<std::string> {
    auto path = FileLinkPath(url, docDir, ctx.Services.Reg);
    // A document without a file has no folder to resolve against.
    if (path && (path->empty() || path->front() != '/')) return std::nullopt;
    return path;
  };
  opt.FileExists = [&ctx](const std::string& path) { return ctx.Fs().FileExists(path) || ctx.Fs().DirectoryExists(path); };
}

int RunCheckCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Settings s;
  CLI::App app("Checks the links of a bookmark file: which are fine, moved or dead.", "quillet check");
  app.add_option("FILE", s.file, "the bookmark file")->required();
  app.add_option("--max-redirects", s.maxRedirects, "redirects followed at most (10)")->check(CLI::Range(0, 100));
  app.add_option("--retries", s.retries, "retries after 429, 503, a timeout or a reset (2)")->check(CLI::Range(0, 10));
  app.add_option("--recheck-after", s.recheckAfter, "seconds before failed links are checked again (30)")
      ->check(CLI::Range(0.0, 3600.0));
  app.add_option("--per-host", s.perHost, "requests at a time to one host (2)")->check(CLI::Range(1, 64));
  app.add_option("--host-interval", s.hostInterval, "seconds between starts on one host (0.5)")
      ->check(CLI::Range(0.0, 600.0));
  app.add_option("--concurrency", s.concurrency, "requests at a time in all (16)")->check(CLI::Range(1, 1024));
  app.add_option("--timeout", s.timeout, "seconds a request may take in all (20)")->check(CLI::Range(0.001, 3600.0));
  app.add_option("--connect-timeout", s.connectTimeout, "seconds to connect (10)")->check(CLI::Range(0.001, 3600.0));
  app.add_option("--exclude", s.excludes, "skip addresses this regular expression matches (repeatable)");
  app.add_option("--report", s.report, "write a report: F.json, F.csv or F.html");
  app.add_option("--move-dead-to", s.moveDeadTo, "with -o: move dead links into this top-level folder");
  app.add_flag("--rewrite-permanent", s.rewritePermanent, "with -o: give permanently moved links their new address");
  app.add_option("-o", s.output, "write the changed document here (FILE itself is never changed without it)");
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return 0;
  } catch (const CLI::ParseError& e) {
    err << "quillet check: " << e.what() << "\n";
    return 2;
  }
  std::vector<std::regex> excludes;
  for (const std::string& text : s.excludes) {
    try {
      excludes.emplace_back(text, std::regex::ECMAScript);
    } catch (const std::regex_error& e) {
      err << "quillet check: --exclude " << text << ": " << e.what() << "\n";
      return 2;
    }
  }
  if (!s.report.empty() && ReportKind(s.report).empty()) {
    err << "quillet check: --report " << s.report << ": the name must end in .json, .csv or .html\n";
    return 2;
  }
  const bool changes = !s.moveDeadTo.empty() || s.rewritePermanent;
  if (changes && s.output.empty()) {
    err << "quillet check: --move-dead-to and --rewrite-permanent write to -o OUT\n";
    return 2;
  }
  if (!s.output.empty() && !changes) {
    err << "quillet check: -o needs --move-dead-to or --rewrite-permanent\n";
    return 2;
  }

  TextLines lines;
  DocumentLoad load;
  try {
    load = ReadDocumentFile(ctx, s.file, lines);
  } catch (const std::exception& e) {
    err << FailureReport(e) << "\n";
    return 1;
  }
  if (!load.Loaded) return 1;
  if (changes && load.NulAt) {
    // What follows the NUL would be lost in OUT.
    err << NulByteText(s.file, *load.NulAt) << ": nothing is written\n";
    return 1;
  }
  BookmarkTree tree = ReadBookmarkTree(std::move(lines));
  const std::vector<DocumentLink> links = DocumentLinks(tree);

  std::vector<std::string> urls;
  std::vector<bool> excluded(links.size(), false);
  urls.reserve(links.size());
  for (size_t i = 0; i < links.size(); ++i) {
    for (const std::regex& re : excludes)
      if (std::regex_search(links[i].Url, re)) excluded[i] = true;
    urls.push_back(excluded[i] ? std::string() : links[i].Url);
  }

  if (!ctx.Services.Net && ctx.ConnectNetwork) ctx.ConnectNetwork(ctx);
  if (!ctx.Services.Net || !ctx.Services.Loop) {
    err << "quillet check: no network here\n";
    return 1;
  }
  CheckOptions opt;
  opt.MaxRedirects = s.maxRedirects;
  opt.Retries = s.retries;
  opt.RecheckAfter = Millis(s.recheckAfter);
  opt.PerHost = s.perHost;
  opt.HostInterval = Millis(s.hostInterval);
  opt.Concurrency = s.concurrency;
  opt.Timeout = Millis(s.timeout);
  opt.ConnectTimeout = Millis(s.connectTimeout);
  SetUpCheck(ctx, ExtractFilePath(std::filesystem::absolute(s.file).string()), opt);

  Scheduler& loop = *ctx.Services.Loop;
  LinkChecker checker(*ctx.Services.Net, loop, opt);
  const bool terminal = &err == &std::cerr && isatty(STDERR_FILENO);
  std::chrono::milliseconds shown{-1000};
  if (terminal)
    checker.OnProgress = [&](size_t) {
      if (loop.Now() - shown < std::chrono::milliseconds(200)) return;
      shown = loop.Now();
      err << "\r" << ProgressText(checker, links.size()) << "\x1b[K" << std::flush;
    };
  checker.OnFinished = [&] { loop.Quit(); };
  checker.Start(urls);
  if (checker.Running()) loop.Run();
  if (terminal) err << "\r" << ProgressText(checker, links.size()) << "\x1b[K\n";

  std::vector<LinkResult> results = checker.Results();
  for (size_t i = 0; i < results.size(); ++i)
    if (excluded[i]) results[i].Error = "excluded";

  const StateCounts counts = CountStates(results);
  std::string summary = Grouped(links.size()) + (links.size() == 1 ? " link" : " links") + ":";
  for (int st = 0; st < kLinkStateCount; ++st)
    summary += std::string(st ? ", " : " ") + Grouped(counts[st]) + " " +
               std::string(LinkStateName(static_cast<LinkState>(st)));
  err << summary << "\n";

  int status = counts[static_cast<int>(LinkState::Dead)] ? 1 : 0;
  if (!s.report.empty()) {
    const std::string kind = ReportKind(s.report);
    const std::string text = kind == "json" ? JsonReport(links, results)
                             : kind == "csv" ? CsvReport(links, results)
                                             : HtmlReport(links, results);
    try {
      ctx.Fs().WriteFile(s.report, text);
    } catch (const std::exception& e) {
      err << FailureReport(e) << "\n";
      status = 1;
    }
  }
  if (changes) {
    size_t moved = 0, rewritten = 0;
    if (s.rewritePermanent) rewritten = RewritePermanentRedirects(tree, links, results);
    if (!s.moveDeadTo.empty()) moved = MoveDeadLinks(tree, links, results, s.moveDeadTo);
    try {
      SaveHtmlFile(ctx.Fs(), tree.Lines(), s.output);
    } catch (const EFCreateError& e) {
      err << SaveFailureText("HTML cannot be saved.", e) << "\n";
      return 1;
    }
    if (!s.moveDeadTo.empty()) err << "moved " << Grouped(moved) << " dead to \"" << s.moveDeadTo << "\"\n";
    if (s.rewritePermanent) err << "rewrote " << Grouped(rewritten) << " permanent redirects\n";
  }
  return status;
}

}  // namespace quillet
