// quillet check against a web server of the test's own on 127.0.0.1-3: the
// states, the requests each link costs, the per-host limits, and what is
// written. Deadlines are short and nothing waits for the second pass.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet::test {
namespace {

struct Logged {
  double At;
  std::string Host, Method, Path, What, Agent;
};

class CheckCli : public ::testing::Test {
 protected:
  TempDir dir;
  std::string program = PortableCopy(dir.Path());
  std::unique_ptr<RunningProgram> server;
  std::string port;

  void SetUp() override {
    server = std::make_unique<RunningProgram>(
        "/usr/bin/env", std::vector<std::string>{"python3", std::string(QUILLET_SOURCE_DIR) + "/tests/cli/servers/link_server.py",
                                                 dir / "port", dir / "server.log", dir / "stop", "300", "55"});
    ASSERT_TRUE(server->WaitForError("ready"));
    port = ReadBytes(dir / "port");
  }
  void TearDown() override {
    WriteBytes(dir / "stop", "");
    server->Finish();
  }
  std::string Url(int host, const std::string& path) {
    return "http://127.0.0." + std::to_string(host) + ":" + port + path;
  }
  ProgramResult Check(const std::vector<std::string>& urls, std::vector<std::string> args) {
    std::string doc = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (const std::string& u : urls) doc += "    <DT><A HREF=\"" + u + "\">" + u + "</A>\n";
    WriteBytes(dir / "links.htm", doc + "</DL><p>\n");
    args.insert(args.begin(), {"check", dir / "links.htm", "--recheck-after", "0", "--timeout", "1.5",
                               "--connect-timeout", "1", "--report", dir / "r.json"});
    return RunProgram(program, args, "", dir.Path(), {"LC_ALL=C", "HOME=" + dir.Path()});
  }
  std::map<std::string, std::string> States() {
    std::map<std::string, std::string> states;
    const auto report = nlohmann::json::parse(ReadBytes(dir / "r.json"));
    for (const auto& l : report["links"])
      states[l["url"].get<std::string>()] = l["state"].get<std::string>();
    return states;
  }
  std::vector<Logged> Log() {
    std::vector<Logged> log;
    std::istringstream in(ReadBytes(dir / "server.log"));
    for (std::string line; std::getline(in, line);) {
      std::istringstream f(line);
      Logged l;
      f >> l.At >> l.Host >> l.Method >> l.Path >> l.What;
      std::getline(f >> std::ws, l.Agent);
      log.push_back(l);
    }
    return log;
  }
};

TEST_F(CheckCli, StatesOverARealServerAndOnlyACopyIsChanged) {
  const std::vector<std::string> urls = {
      Url(1, "/ok"),       Url(1, "/404"),      Url(1, "/410"),     Url(1, "/500"),  Url(1, "/403"),
      Url(2, "/p1"),       Url(2, "/t1"),       Url(2, "/t7"),      Url(2, "/loop"), Url(2, "/gone"),
      Url(1, "/head-405"), Url(1, "/head-404"), Url(1, "/cross"),   Url(3, "/slow"), Url(3, "/trickle"),
      Url(3, "/reset"),    "http://nowhere.invalid/", "mailto:ann@example.com"};
  const auto r = Check(urls, {"--retries", "0", "--per-host", "2", "--host-interval", "0.2", "--move-dead-to", "Dead",
                              "--rewrite-permanent", "-o", dir / "out.htm"});
  EXPECT_EQ(r.ExitCode, 1) << r.Err;
  auto states = States();
  const std::string nowhere = states["http://nowhere.invalid/"];
  EXPECT_TRUE(nowhere == "dead" || nowhere == "error") << nowhere;
  states.erase("http://nowhere.invalid/");
  const std::map<std::string, std::string> expected = {
      {"/ok", "ok"},       {"/404", "dead"},    {"/410", "dead"},    {"/500", "error"},
      {"/403", "error"},   {"/p1", "redirect-permanent"},             {"/t1", "redirect-temporary"},
      {"/t7", "redirect-temporary"},            {"/loop", "error"},  {"/gone", "redirect-permanent"},
      {"/head-405", "ok"}, {"/head-404", "ok"}, {"/cross", "redirect-permanent"},
      {"/slow", "error"},  {"/trickle", "error"}, {"/reset", "error"}, {"mailto:ann@example.com", "skipped"}};
  std::map<std::string, std::string> got;
  for (const auto& [url, state] : states) got[url.rfind("mailto:", 0) == 0 ? url : url.substr(url.find('/', 8))] = state;
  EXPECT_EQ(got, expected);

  // The document itself is untouched; the copy has the dead links moved and
  // the permanent redirect applied, but not the one to the site's root.
  EXPECT_EQ(ReadBytes(dir / "links.htm").find("Dead"), std::string::npos);
  const std::string out = ReadBytes(dir / "out.htm");
  const size_t dead = out.find(">Dead</H3>");
  ASSERT_NE(dead, std::string::npos) << out;
  EXPECT_GT(out.find("HREF=\"" + Url(1, "/404")), dead);
  EXPECT_NE(out.find("HREF=\"" + Url(2, "/ok") + "\">" + Url(2, "/p1")), std::string::npos) << out;
  EXPECT_NE(out.find("HREF=\"" + Url(2, "/gone") + "\""), std::string::npos);

  const auto log = Log();
  std::map<std::string, std::vector<std::string>> methods;  // host+path: methods asked, in order
  std::map<std::string, std::vector<double>> starts;
  std::map<std::string, int> open, most;
  for (const Logged& l : log) {
    if (l.What == "START") {
      methods[l.Host + l.Path].push_back(l.Method);
      starts[l.Host].push_back(l.At);
      EXPECT_EQ(l.Agent, "Quillet/2.32 (link check)");
      most[l.Host] = std::max(most[l.Host], ++open[l.Host]);
    } else {
      --open[l.Host];
    }
  }
  EXPECT_EQ(methods["127.0.0.1/ok"], (std::vector<std::string>{"HEAD"}));
  EXPECT_EQ(methods["127.0.0.1/head-405"], (std::vector<std::string>{"HEAD", "GET"}));
  // Checked twice: the first pass and the second.
  EXPECT_EQ(methods["127.0.0.1/404"], (std::vector<std::string>{"HEAD", "GET", "HEAD", "GET"}));
  // The server sees a start late when the machine is busy, which shortens the
  // gap after it: so no two starts together, and the whole run spaced out.
  for (const char* host : {"127.0.0.1", "127.0.0.2"}) {
    EXPECT_LE(most[host], 2) << host;
    const std::vector<double>& at = starts[host];
    for (size_t i = 1; i < at.size(); ++i) {
      EXPECT_GE(at[i] - at[i - 1], 0.05) << host;
    }
    if (at.size() > 1) {
      EXPECT_GE(at.back() - at.front(), 0.2 * static_cast<double>(at.size() - 1) - 0.1) << host;
    }
  }
}

TEST_F(CheckCli, WaitsAsRetryAfterAsksAndWritesNothingWhenNothingIsDead) {
  const auto r = Check({Url(1, "/429-once"), Url(2, "/ok")}, {"--retries", "1"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(States()[Url(1, "/429-once")], "ok");
  std::vector<double> at;
  for (const Logged& l : Log())
    if (l.Path == "/429-once" && l.What == "START") at.push_back(l.At);
  ASSERT_EQ(at.size(), 2u);
  EXPECT_GE(at[1] - at[0], 0.95);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.htm"));
  EXPECT_NE(r.Err.find("2 links: 2 ok"), std::string::npos) << r.Err;
}

}  // namespace
}  // namespace quillet::test
