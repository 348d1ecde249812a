// The install of this build tree into a temporary prefix: the files land
// where Linux programs keep them, and the installed program works from there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::Exists;
using test::ReadBytes;
using test::RunProgram;
using test::TempDir;
using test::WriteBytes;

bool OnPath(const std::string& tool) {
  return ::access(("/usr/bin/" + tool).c_str(), X_OK) == 0 || ::access(("/bin/" + tool).c_str(), X_OK) == 0;
}

class Install : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new TempDir;
    const auto r = RunProgram(QUILLET_CMAKE, {"--install", QUILLET_BUILD_DIR, "--prefix", prefix_->Path()});
    ASSERT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  static std::string P(const std::string& rel) { return *prefix_ / rel; }
  static inline TempDir* prefix_ = nullptr;
};

TEST_F(Install, PutsEveryFileInItsPlace) {
  for (const char* rel : {"bin/quillet", "share/quillet/help/index.html", "share/quillet/help/keywords.html",
                          "share/quillet/help/other-software.html", "share/quillet/help/style.css",
                          "share/quillet/examples/bookmarks.htm", "share/quillet/examples/Favorites/Debian.url",
                          "share/applications/quillet.desktop", "share/icons/hicolor/scalable/apps/quillet.svg",
                          "share/icons/hicolor/32x32/apps/quillet.png", "share/icons/hicolor/48x48/apps/quillet.png",
                          "share/icons/hicolor/128x128/apps/quillet.png", "share/man/man1/quillet.1"})
    EXPECT_TRUE(std::filesystem::is_regular_file(P(rel))) << rel;
  EXPECT_EQ(::access(P("bin/quillet").c_str(), X_OK), 0);
  // Each fixed-size icon is a PNG of its size.
  for (const int size : {32, 48, 128}) {
    const std::string png =
        ReadBytes(P("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/quillet.png"));
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(png[i]); };
    EXPECT_EQ((byte(16) << 24) | (byte(17) << 16) | (byte(18) << 8) | byte(19), size);  // width
    EXPECT_EQ((byte(20) << 24) | (byte(21) << 16) | (byte(22) << 8) | byte(23), size);  // height
  }
}

TEST_F(Install, TheDesktopEntryOpensTheWindowAndOffersItselfForHtml) {
  const std::string entry = ReadBytes(P("share/applications/quillet.desktop"));
  EXPECT_NE(entry.find("\nExec=quillet --open %f\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=text/html;\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=quillet\n"), std::string::npos);
  if (!OnPath("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed";
  const auto r = RunProgram("/usr/bin/desktop-file-validate", {P("share/applications/quillet.desktop")});
  EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out.find("error"), std::string::npos) << r.Out;
}

TEST_F(Install, TheManPageFormatsWithoutWarnings) {
  const std::string page = ReadBytes(P("share/man/man1/quillet.1"));
  for (const char* word : {"urls2html", "ie2html", "html2urls", "html2ie", "ns2urls", "ns2ie", "urls2ns", "ie2ns",
                           "/sort", "/nsstrip", "/nodupes", "EXIT STATUS", "Quillet.Ini", "UrlErrors.txt",
                           "XDG_CONFIG_HOME"})
    EXPECT_NE(page.find(word), std::string::npos) << word;
  if (!OnPath("groff")) GTEST_SKIP() << "groff is not installed";
  const auto r = RunProgram("/usr/bin/groff", {"-man", "-Tutf8", "-ww", "-z", P("share/man/man1/quillet.1")});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "");
}

TEST_F(Install, TheInstalledProgramAnswersHelpAndVersion) {
  auto r = RunProgram(P("bin/quillet"), {"--help"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("Usage: quillet", 0), 0u) << r.Out;
  EXPECT_NE(r.Out.find("urls2html FOLDER FILE.htm"), std::string::npos);
  EXPECT_EQ(r.Err, "");
  r = RunProgram(P("bin/quillet"), {"--version"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "quillet 2.32\n");
}

TEST_F(Install, TheInstalledProgramKeepsItsSettingsInTheConfigFolder) {
  // The prefix is writable here, as ~/.local would be; the settings still
  // belong in the user's config folder, not among the programs.
  TempDir home;
  WriteBytes(P("bin/Quillet.Ini"), "[Options]\r\nDoubleSpaceLines=1\r\n");
  WriteBytes(home / "cfg/quillet/Quillet.Ini", "[Options]\r\nIndentHtml=1\r\n");
  WriteBytes(home / "fav/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n");
  WriteBytes(home / "fav/News/c.url", "[InternetShortcut]\r\nURL=http://c.example/\r\n");
  const auto r = RunProgram(P("bin/quillet"), {"urls2html", home / "fav", home / "out.htm"}, "", home.Path(),
                            {"XDG_CONFIG_HOME=" + (home / "cfg")});
  std::filesystem::remove(P("bin/Quillet.Ini"));
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(home / "out.htm"),
            "<DL><p>\r\n    <DT><A HREF=\"http://a.example/\">a</A>\r\n  <DL><p>\r\n    <DT><H3>News</H3>\r\n"
            "      <DT><A HREF=\"http://c.example/\">c</A>\r\n  </DL><p>\r\n</DL><p>\r\n");
}

TEST(StartCli, AnHtmlFileAloneGoesToTheWindowAndHelpWithMoreArgumentsToTheBatch) {
  TempDir dir;
  const std::string program = test::PortableCopy(dir.Path());
  WriteBytes(dir / "links.htm", "<DL><p>\r\n<DT><A HREF=\"http://b/\">b</A>\r\n<DT><A HREF=\"http://a/\">a</A>\r\n"
                                "</DL><p>\r\n");
  // Without any display the window road says so; the batch would have been silent.
  const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  auto r = RunProgram(program, {dir / "links.htm"}, "", dir.Path(), noDisplay);
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("no display"), std::string::npos) << r.Err;
  // With a switch the same argument is still the batch's clean-up.
  r = RunProgram(program, {dir / "links.htm", "/sort"}, "", dir.Path(), noDisplay);
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "links.htm"),
            "<DL><p>\r\n<DT><A HREF=\"http://a/\">a</A>\r\n<DT><A HREF=\"http://b/\">b</A>\r\n</DL><p>\r\n");
  // --help among other arguments is an ordinary argument: no usage text.
  r = RunProgram(program, {"--help", "/nodupes"}, "", dir.Path(), noDisplay);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "");
}

}  // namespace
}  // namespace quillet
