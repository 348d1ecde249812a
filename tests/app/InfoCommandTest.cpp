// `quillet info`: its options, exit statuses and the JSON read back.
#include "app/InfoCommand.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out, Err;
};

Outcome Info(std::vector<std::string> args) {
  test::TestContext t;
  std::ostringstream out, err;
  Outcome r;
  r.Status = RunInfoCommand(t.Ctx, args, out, err);
  r.Out = out.str();
  r.Err = err.str();
  return r;
}

TEST(InfoCommand, ExitStatusesAndMessages) {
  test::TempDir dir;
  test::WriteBytes(dir / "ok.htm", "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
  test::WriteBytes(dir / "bad.htm", "<DL><p>\n</DL><p>\n</DL><p>\n");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;  // each a part of what is printed ("" for nothing)
  } cases[] = {
      {{dir / "ok.htm"}, 0, "Links: 1\n", ""},
      {{dir / "bad.htm"}, 0, "  line 3 (stray-list-end): </DL><p>\n", ""},  // problems are no failure
      {{"--json", dir / "ok.htm"}, 0, "{\"dialect\":\"none\",", ""},
      {{dir / "missing.htm"}, 1, "", "quillet: Cannot open file " + dir / "missing.htm" + ": it does not exist\n"},
      {{dir.Path()}, 1, "", ": it is a folder\n"},
      {{dir / "fifo"}, 1, "", ": it is no regular file (a fifo or a device)\n"},
      {{}, 2, "", "FILE is required"},
      {{"--jsn", dir / "ok.htm"}, 2, "", "--jsn"},
      {{dir / "ok.htm", dir / "bad.htm"}, 2, "", "not expected"},
      {{"--help"}, 0, "Usage: quillet info [OPTIONS] FILE", ""},
  };
  for (const Case& c : cases) {
    const Outcome r = Info(c.args);
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
    EXPECT_EQ(r.Status, c.status);
    EXPECT_NE(r.Out.find(c.out), std::string::npos) << r.Out;
    EXPECT_NE(r.Err.find(c.err), std::string::npos) << r.Err;
    if (c.out.empty()) {
      EXPECT_EQ(r.Out, "");
    }
    if (c.err.empty()) {
      EXPECT_EQ(r.Err, "");
    }
  }
}

TEST(InfoCommand, HelpNamesEveryKindOfProblem) {
  const std::string help = Info({"--help"}).Out;
  for (const char* kind : {"--json", "unclosed-list", "stray-list-end", "orphan-description", "heading-without-list",
                           "unplaced-line", "nul", "invalid-utf8"})
    EXPECT_NE(help.find(kind), std::string::npos) << kind;
}

TEST(InfoCommand, JsonReadsBackWithTheKeysScriptsUse) {
  test::TempDir dir;
  // A browser export with a NUL byte: the whole file is read, the NUL said.
  using namespace std::string_literals;
  test::WriteBytes(dir / "x.htm", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                              "<DL><p>\n"
                                              "    <DT><H3>Caf\xc3\xa9 \"&amp;\"</H3>\n"
                                              "    <DL><p>\n"
                                              "        <DT><A HREF=\"place:x&amp;y\">P</A>\n"
                                              "        <DD>note\n"
                                              "        <DT><A HREF=\"https://a/\">A</A>\n"
                                              "        <DT><A HREF=\"https://a/\">A again</A>\n"
                                              "        <DT>odd\0byte\n"
                                              "    </DL><p>\n"
                                              "    <HR>\n"s);
  const Outcome r = Info({dir / "x.htm", "--json"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_EQ(r.Out.back(), '\n');
  const nlohmann::json j = nlohmann::json::parse(r.Out);
  const nlohmann::json want = {
      {"dialect", "browser"}, {"encoding", "utf-8"},   {"folders", 1},         {"links", 3},
      {"separators", 1},      {"descriptions", 1},     {"depth", 1},           {"duplicate_links", 1},
      {"problems",
       {{{"line", 2}, {"kind", "unclosed-list"}, {"text", "<DL><p>"}},
        {{"line", 9}, {"kind", "unplaced-line"}, {"text", "        <DT>odd\0byte"s}},
        {{"line", 9}, {"kind", "nul"}, {"text", "        <DT>odd\0byte"s}}}},
      {"non_web_links", {{{"line", 5}, {"address", "place:x&y"}}}},
  };
  EXPECT_EQ(j, want) << r.Out;
  // The keys come in the order they are documented in.
  std::vector<std::string> keys;
  const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(r.Out);
  for (const auto& [key, value] : ordered.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"dialect", "encoding", "folders", "links", "separators", "descriptions",
                                            "depth", "duplicate_links", "problems", "non_web_links"}));
}

}  // namespace
}  // namespace quillet
