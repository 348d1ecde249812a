// The batch through the built program, as a script would run it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::ReadBytes;
using test::RunProgram;
using test::TempDir;
using test::WriteBytes;

class BatchCli : public ::testing::Test {
 protected:
  void SetUp() override {
    program = test::PortableCopy(home.Path());
    WriteBytes(dir / "Fav/a.url", "[InternetShortcut]\r\nURL=http://a/\r\n");
    WriteBytes(dir / "Fav/Sub/b.url", "[InternetShortcut]\r\nURL=http://b/\r\n");
  }
  test::ProgramResult Run(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProgram(program, args, input, dir.Path());
  }
  TempDir home;  // the program's own folder
  TempDir dir;   // the user's working folder
  std::string program;
};

const char* kExpected =
    "<DL><p>\r\n<DT><A HREF=\"http://a/\">a</A>\r\n<DL><p>\r\n<DT><H3>Sub</H3>\r\n"
    "<DT><A HREF=\"http://b/\">b</A>\r\n</DL><p>\r\n</DL><p>\r\n";

TEST_F(BatchCli, UrlsToHtmlInAnyCaseOfTheModeWord) {
  for (const char* mode : {"urls2html", "URLS2HTML", "Urls2Html"}) {
    const auto r = Run({mode, "Fav", "out.htm"});
    EXPECT_EQ(r.ExitCode, 0) << mode << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(ReadBytes(dir / "out.htm"), kExpected) << mode;
  }
  // A batch run never writes the settings file.
  EXPECT_FALSE(test::Exists(home / "Quillet.Ini"));
}

TEST_F(BatchCli, UrlsToHtmlWithAMissingFolderLeavesTheOutputAlone) {
  WriteBytes(dir / "out.htm", "precious");
  const auto r = Run({"urls2html", "NoSuchFolder", "out.htm"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Directory not found"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir / "out.htm"), "precious");
}

TEST_F(BatchCli, UnwritableOutputEndsWithTheFailureReport) {
  auto r = Run({"urls2html", "Fav"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Exception EFCreateError in module quillet"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("Cannot create file"), std::string::npos);
  r = Run({"urls2html", "Fav", "no/such/dir/out.htm"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Cannot create file no/such/dir/out.htm"), std::string::npos) << r.Err;
}

TEST_F(BatchCli, Ie2HtmlWithoutAFavoritesFolderSaysSo) {
  const auto r = Run({"ie2html", "out.htm"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Directory not found"), std::string::npos);
  EXPECT_FALSE(test::Exists(dir / "out.htm"));
}

TEST_F(BatchCli, AMistypedCommandSaysSoAndAFileWithoutASwitchIsLeftAlone) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"urls2htm", "Fav", "out.htm"},
                                                {"out.htm"},
                                                {"ns"}}) {
    const auto r = Run(args);
    EXPECT_EQ(r.ExitCode, 2) << args[0];
    EXPECT_EQ(r.Err, "quillet: \"" + args[0] + "\" is no command and no file; see quillet --help\n");
    EXPECT_EQ(r.Out, "");
  }
  EXPECT_FALSE(test::Exists(dir / "out.htm"));
  // A switch, or a file named first, makes it no mistyped command.
  WriteBytes(dir / "notes.txt", "text");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"/sort", "file.htm"}, {"notes.txt", "more"}}) {
    const auto r = Run(args);
    EXPECT_EQ(r.ExitCode, 0) << args[0];
    EXPECT_EQ(r.Err, "");
  }
  EXPECT_EQ(ReadBytes(dir / "notes.txt"), "text");
  // A fifo or a device cannot be opened, and the run says so.
  ASSERT_EQ(::mkfifo((dir / "f.htm").c_str(), 0644), 0);
  for (const std::string file : {"f.htm", "/dev/null"}) {
    const auto r = Run({file});
    EXPECT_EQ(r.ExitCode, 1) << file;
    EXPECT_EQ(r.Err, "quillet: Cannot open file " + file + ": it is no regular file (a fifo or a device)\n");
  }
}

TEST_F(BatchCli, CleanUpOfAMissingFileEndsSilently) {
  for (const char* sw : {"/sort", "/nsstrip", "/nodupes"}) {
    const auto r = Run({"missing.htm", sw});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_FALSE(test::Exists(dir / "missing.htm"));
  }
}

}  // namespace
}  // namespace quillet
