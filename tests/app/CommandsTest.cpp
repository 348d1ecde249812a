#include "app/Commands.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "app/Batch.h"
#include "app/StartOptions.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

// A whole word or switch: "sort" is not mentioned by "/sort" or "sorted".
bool Mentions(const std::string& text, const std::string& name) {
  auto inWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_'; };
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    const bool before = at > 0 && inWord(text[at - 1]);
    const bool after = at + name.size() < text.size() && inWord(text[at + name.size()]);
    if (!before && !after) return true;
  }
  return false;
}

TEST(Commands, EveryRowIsNamedInTheUsageTheManPageAndTheHelpPages) {
  const std::string source = QUILLET_SOURCE_DIR;
  std::string man = test::ReadBytes(source + "/dist/quillet.1");
  for (size_t at; (at = man.find("\\-")) != std::string::npos;) man.erase(at, 1);  // roff's minus
  const std::string help = test::ReadBytes(source + "/app/resources/help/index.html");
  for (const Command& c : Commands()) {
    EXPECT_TRUE(Mentions(UsageText(), c.name)) << c.name;
    EXPECT_TRUE(Mentions(man, c.name)) << c.name;
    EXPECT_TRUE(Mentions(help, c.name)) << c.name;
  }
}

std::vector<std::string> probeArgs;
int RunProbe(Context&, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  probeArgs = args;
  out << "out";
  err << "err";
  return 7;
}

// The real rows and two words only this test knows, one named like a switch.
std::vector<Command> TableWithWords() {
  std::vector<Command> table{{CommandKind::Word, "probe", RunProbe}, {CommandKind::Word, "sort", RunProbe}};
  table.insert(table.end(), Commands().begin(), Commands().end());
  return table;
}

TEST(Commands, AWordFirstWinsOverModesAndSwitchesAndOnlyAsTypedFirst) {
  const std::vector<Command> table = TableWithWords();
  const struct {
    std::vector<std::string> args;
    const char* selected;  // null: none
  } cases[] = {
      {{"probe"}, "probe"},
      {{"probe", "x/sorted/a.htm", "/nodupes"}, "probe"},
      {{"sort", "a.htm"}, "sort"},
      {{"sort", "/sort"}, "sort"},
      {{"./probe", "/sort"}, "/sort"},  // a file named like a word
      {{"PROBE", "/nodupes"}, "/nodupes"},
      {{"a.htm", "probe"}, nullptr},
      {{"a.htm", "sort"}, nullptr},
      {{"/sort"}, "/sort"},
      {{"Urls2Html", "f", "o.htm", "/sort"}, "urls2html"},
      {{"ns", "/nodupes", "/nsstrip", "/sort"}, "/sort"},  // the table's order, not the line's
      {{"a.htm", "/nodupes", "/nsstrip"}, "/nsstrip"},
      {{"a.htm"}, nullptr},
  };
  for (const auto& c : cases) {
    const Command* row = CommandOf(CommandLine(c.args), table);
    const std::string line = CommandLine(c.args).RawCommandLine();
    EXPECT_EQ(std::string(row ? row->name : "-"), c.selected ? c.selected : "-") << line;
  }
}

TEST(Commands, AWordGetsTheRestOfTheLineAndItsStatusAndNoCleanUpRuns) {
  test::TempDir dir;
  test::TestContext t;
  const std::string file = dir / "sorted.htm";
  const std::string unsorted = "<DL><p>\r\n<DT><A HREF=\"http://b/\">b</A>\r\n<DT><A HREF=\"http://a/\">a</A>\r\n</DL><p>\r\n";
  test::WriteBytes(file, unsorted);
  std::ostringstream out, err;
  EXPECT_EQ(RunBatch(t.Ctx, CommandLine({"sort", file, "", "/sort"}), TableWithWords(), out, err), 7);
  EXPECT_EQ(probeArgs, (std::vector<std::string>{file, "/sort"}));
  EXPECT_EQ(out.str() + err.str(), "outerr");
  EXPECT_EQ(test::ReadBytes(file), unsorted);
  EXPECT_TRUE(t.UI.Messages.empty());
}

TEST(Commands, EveryWindowCaptionAndCleanUpNoteIsComplete) {
  for (const Command& c : Commands()) {
    EXPECT_EQ(c.action == nullptr, c.caption == nullptr) << c.name;
    EXPECT_EQ(c.kind == CommandKind::Switch, c.cleanUp != nullptr) << c.name;
    if (c.cleanUp) {
      EXPECT_TRUE(c.action && c.step && c.done && c.one && c.many) << c.name;
    }
  }
}

}  // namespace
}  // namespace quillet
