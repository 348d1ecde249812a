#include "app/CheckCommand.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "check/Url.h"
#include "tests/support/ScriptedHttp.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::ScriptedAnswer;

ScriptedAnswer Site(const HttpRequest& req, int) {
  const std::string path = ParseUrl(req.Url)->Path;
  if (path == "/ok") return {200};
  if (path == "/moved") return {301, {{"Location", "/new"}}};
  if (path == "/new") return {200};
  if (path == "/gone") return {308, {{"Location", "/"}}};
  if (path == "/") return {200};
  if (path == "/away") return {302, {{"Location", "/ok"}}};
  if (path == "/busy") return {500};
  return {404};
}

const char* const kDoc =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<DL><p>\n"
    "<DT><H3>News</H3>\n"
    "<DL><p>\n"
    "<DT><A HREF=\"http://a.test/ok\">Fine</A>\n"
    "<DT><A HREF=\"http://a.test/dead\">=cmd|' /C calc'!A0</A>\n"
    "<DT><A HREF=\"http://a.test/moved\">Moved</A>\n"
    "</DL><p>\n"
    "<DT><A HREF=\"http://b.test/gone\">Gone home</A>\n"
    "<DT><A HREF=\"http://b.test/away\">Away</A>\n"
    "<DT><A HREF=\"http://b.test/busy\">Busy</A>\n"
    "<DT><A HREF=\"javascript:alert(1)\">Script</A>\n"
    "</DL><p>\n";

struct CheckRun {
  test::TempDir dir;
  test::TestContext t;
  test::VirtualLoop loop;
  test::ScriptedHttp http{loop, Site};
  std::string file = dir / "links.htm";
  std::string out, err;

  CheckRun() {
    test::WriteBytes(file, kDoc);
    t.Ctx.Services.Net = &http;
    t.Ctx.Services.Loop = &loop;
  }
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), file);
    for (const char* fast : {"--recheck-after", "0", "--host-interval", "0"}) args.push_back(fast);
    std::ostringstream o, e;
    const int status = RunCheckCommand(t.Ctx, args, o, e);
    out = o.str();
    err = e.str();
    return status;
  }
};

TEST(CheckCommand, ReportsEveryLinkAndSaysDeadByItsStatus) {
  CheckRun run;
  const std::string json = run.dir / "r.json";
  EXPECT_EQ(run.Run({"--report", json}), 1);
  EXPECT_EQ(test::ReadBytes(run.file), kDoc);  // never changed without -o
  const auto report = nlohmann::json::parse(test::ReadBytes(json));
  const auto& links = report["links"];
  ASSERT_EQ(links.size(), 7u);
  EXPECT_EQ(links[1]["line"], 6);
  EXPECT_EQ(links[1]["folder"], "News");
  EXPECT_EQ(links[1]["state"], "dead");
  EXPECT_EQ(links[1]["attempts"], 2);
  EXPECT_EQ(links[2]["chain"], nlohmann::json::parse(R"([{"url": "http://a.test/moved", "status": 301}])"));
  EXPECT_EQ(links[2]["final_url"], "http://a.test/new");
  EXPECT_TRUE(links[6]["status"].is_null());
  EXPECT_EQ(report["summary"], nlohmann::json::parse(R"({"ok": 1, "redirect-permanent": 2, "redirect-temporary": 1,
      "dead": 1, "rate-limited": 0, "error": 1, "skipped": 1})"));
  EXPECT_NE(run.err.find("7 links: 1 ok, 2 redirect-permanent"), std::string::npos) << run.err;

  EXPECT_EQ(run.Run({"--exclude", "dead$", "--report", run.dir / "r.csv"}), 0);
  const std::string csv = test::ReadBytes(run.dir / "r.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\r')), "line,folder,title,url,state,status,final_url,chain,error,attempts,checked_at");
  // A title that looks like a formula stays text in a spreadsheet.
  EXPECT_NE(csv.find("\r\n6,News,'=cmd|' /C calc'!A0,http://a.test/dead,skipped,,,,excluded,0,20"), std::string::npos)
      << csv;

  EXPECT_EQ(run.Run({"--exclude", "dead", "--report", run.dir / "r.html"}), 0);
  const std::string html = test::ReadBytes(run.dir / "r.html");
  EXPECT_NE(html.find("<a href=\"http://a.test/ok\">"), std::string::npos);
  EXPECT_EQ(html.find("href=\"javascript:"), std::string::npos);
  EXPECT_NE(html.find("ok: 1, redirect-permanent: 2"), std::string::npos);
}

TEST(CheckCommand, MovesDeadLinksAndAppliesOnlyPermanentRedirectsThatKeepAPage) {
  CheckRun run;
  const std::string out = run.dir / "out.htm";
  EXPECT_EQ(run.Run({"--move-dead-to", "Dead links", "--rewrite-permanent", "-o", out}), 1);
  EXPECT_EQ(test::ReadBytes(run.file), kDoc);
  const std::string written = test::ReadBytes(out);
  EXPECT_NE(written.find("HREF=\"http://a.test/new\">Moved"), std::string::npos) << written;
  EXPECT_NE(written.find("HREF=\"http://b.test/gone\""), std::string::npos);  // sent to the site's root: kept
  EXPECT_NE(written.find("HREF=\"http://b.test/away\""), std::string::npos);  // temporary: kept
  const size_t folder = written.find("Dead links</H3>");
  ASSERT_NE(folder, std::string::npos) << written;
  EXPECT_GT(written.find("http://a.test/dead"), folder);
  EXPECT_GT(folder, written.find("javascript:"));  // at the end of the top list
  EXPECT_NE(run.err.find("moved 1 dead to \"Dead links\""), std::string::npos);

  // A second run finds the folder there and adds no other.
  run.file = out;
  EXPECT_EQ(run.Run({"--move-dead-to", "Dead links", "-o", out}), 1);
  const std::string again = test::ReadBytes(out);
  EXPECT_EQ(again.find("Dead links</H3>"), again.rfind("Dead links</H3>"));
}

TEST(CheckCommand, MistypedOptionsAndUnreadableFilesHaveTheirStatus) {
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"--frobnicate"}, 2},
      {{"--report", "r.txt"}, 2},
      {{"--move-dead-to", "Dead"}, 2},
      {{"--rewrite-permanent"}, 2},
      {{"-o", "out.htm"}, 2},
      {{"--exclude", "("}, 2},
      {{"--per-host", "0"}, 2},
      {{"--retries", "many"}, 2},
  };
  for (const auto& c : cases) {
    CheckRun run;
    EXPECT_EQ(run.Run(c.args), c.status) << c.args[0];
    EXPECT_TRUE(run.http.Log().empty());
  }
  CheckRun run;
  run.file = run.dir / "missing.htm";
  EXPECT_EQ(run.Run({}), 1);
  EXPECT_NE(run.err.find("missing.htm"), std::string::npos);
  std::ostringstream o, e;
  EXPECT_EQ(RunCheckCommand(run.t.Ctx, {"--help"}, o, e), 0);
  EXPECT_NE(o.str().find("--move-dead-to"), std::string::npos);
}

}  // namespace
}  // namespace quillet
