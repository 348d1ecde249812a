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

// A portable copy of the program with a small Favorites tree beside it.
class SettingsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDirs(dir / "prog");
    program = test::PortableCopy(dir / "prog");
    WriteBytes(dir / "fav/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n");
    WriteBytes(dir / "fav/News/c.url", "[InternetShortcut]\r\nURL=http://c.example/\r\n");
  }
  test::ProgramResult Run(const std::vector<std::string>& env = {}) {
    return RunProgram(program, {"urls2html", dir / "fav", dir / "out.htm"}, "", dir.Path(), env);
  }
  TempDir dir;
  std::string program;
};

TEST_F(SettingsCli, Urls2HtmlFollowsIndentAndDoubleSpacingFromTheFile) {
  const std::string ini = "[Options]\r\nIndentHtml=1\r\nDoubleSpaceLines=1\r\n";
  WriteBytes(dir / "prog/Quillet.Ini", ini);
  const auto r = Run();
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "out.htm"),
            "<DL><p>\r\n\r\n"
            "    <DT><A HREF=\"http://a.example/\">a</A>\r\n\r\n"
            "  <DL><p>\r\n\r\n"
            "    <DT><H3>News</H3>\r\n\r\n"
            "      <DT><A HREF=\"http://c.example/\">c</A>\r\n\r\n"
            "  </DL><p>\r\n\r\n"
            "</DL><p>\r\n\r\n");
  EXPECT_EQ(ReadBytes(dir / "prog/Quillet.Ini"), ini);  // a batch run never writes it
}

TEST_F(SettingsCli, WithoutAFileTheOutputIsPlainAndNoFileAppears) {
  const auto r = Run();
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "out.htm"),
            "<DL><p>\r\n<DT><A HREF=\"http://a.example/\">a</A>\r\n<DL><p>\r\n<DT><H3>News</H3>\r\n"
            "<DT><A HREF=\"http://c.example/\">c</A>\r\n</DL><p>\r\n</DL><p>\r\n");
  EXPECT_FALSE(test::Exists(dir / "prog/Quillet.Ini"));
}

TEST_F(SettingsCli, AnInstalledProgramReadsTheUsersConfigFolder) {
  // Settings beside a program whose folder cannot be written are not used.
  WriteBytes(dir / "prog/Quillet.Ini", "[Options]\r\nDoubleSpaceLines=1\r\n");
  WriteBytes(dir / "cfg/quillet/Quillet.Ini", "[Options]\r\nIndentHtml=1\r\n");
  ::chmod((dir / "prog").c_str(), 0555);
  const auto r = Run({"XDG_CONFIG_HOME=" + (dir / "cfg")});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "out.htm"),
            "<DL><p>\r\n    <DT><A HREF=\"http://a.example/\">a</A>\r\n  <DL><p>\r\n    <DT><H3>News</H3>\r\n"
            "      <DT><A HREF=\"http://c.example/\">c</A>\r\n  </DL><p>\r\n</DL><p>\r\n");
}

}  // namespace
}  // namespace quillet
