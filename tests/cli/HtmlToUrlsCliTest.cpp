// The built program writing bookmark HTML back as shortcut files, and
// stripping the browser's attributes from a file in place.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::Tree;

using test::Shortcut;

namespace fs = std::filesystem;
using test::Exists;
using test::MakeDirs;
using test::ReadBytes;
using test::RunProgram;
using test::TempDir;
using test::WriteBytes;

// The program copied into its own folder, so its error log lands there.
struct Program {
  TempDir Home;
  std::string Bin = test::PortableCopy(Home.Path());

  test::ProgramResult operator()(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProgram(Bin, args, input, Home.Path(), {"HOME=" + Home.Path(), "WINEPREFIX=" + Home / "nowine"});
  }
  std::string Log() const { return Home / "UrlErrors.txt"; }
};

TEST(HtmlToUrlsCli, RoundTripThroughBothDirections) {
  Program run;
  TempDir src;
  WriteBytes(src / "Debian.url", Shortcut("https://www.debian.org/"));
  WriteBytes(src / "News/Weather & Radar.url", Shortcut("https://weather/?a=1&b=2"));
  WriteBytes(src / "News/Science/arXiv.url", Shortcut("https://arxiv.org/"));
  WriteBytes(src / "Software & Tools/GitHub.url", Shortcut("https://github.com/"));
  const std::string html = run.Home / "out.htm";
  ASSERT_EQ(run({"urls2html", src.Path(), html}).ExitCode, 0);

  const std::string target = run.Home / "back";
  const auto r = run({"html2urls", html, target}, "y\n");
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("Directory: " + target + "/ not found. Create Now?"), std::string::npos) << r.Err;
  EXPECT_EQ(Tree(target), Tree(src.Path()));

  // A second run adds nothing and writes no log.
  EXPECT_EQ(run({"html2urls", html, target}).ExitCode, 0);
  EXPECT_EQ(Tree(target), Tree(src.Path()));
  EXPECT_FALSE(Exists(run.Log()));
}

TEST(HtmlToUrlsCli, LinksWithoutANameAreListedWithoutFailingTheRun) {
  Program run;
  WriteBytes(run.Home / "in.htm", "<DL><p>\r\n<DT><A HREF=\"https://a/\"></A>\r\n<DT><A HREF=\"https://b/\">B</A>\r\n");
  MakeDirs(run.Home / "out");
  const auto r = run({"html2urls", "in.htm", "out"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Err, "quillet: Some links gave no shortcut file; they are listed in " + run.Log() + "\n");
  EXPECT_EQ(ReadBytes(run.Log()), "No shortcut written for line 2 (https://a/): it has no description\r\n");
  EXPECT_EQ(ReadBytes(run.Home / "out/B.url"), Shortcut("https://b/"));
}

TEST(HtmlToUrlsCli, BrowserExportGivesOneFolderPerHeading) {
  Program run;
  const std::string html = run.Home / "bookmarks.htm";
  WriteBytes(html,
             "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
             "<TITLE>Bookmarks</TITLE>\r\n"
             "<H1>Bookmarks</H1>\r\n"
             "<DL><p>\r\n"
             "    <DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\">News &amp; Weather</H3>\r\n"
             "    <DL><p>\r\n"
             "        <DT><A HREF=\"https://x/?a=1&amp;b=2\" ADD_DATE=\"3\" ICON=\"data:image/png;base64,AA\">Fish &amp; Chips</A>\r\n"
             "        <DD>What it is about\r\n"
             "    </DL><p>\r\n"
             "    <HR>\r\n"
             "    <DT><A HREF=\"https://osm/\" ADD_DATE=\"4\">It&#39;s &lt;b&gt;</A>\r\n"
             "</DL><p>\r\n");
  const std::string target = run.Home / "fav";
  MakeDirs(target);
  const auto r = run({"html2urls", html, target});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  std::map<std::string, std::string> want = {
      {"News & Weather", "<dir>"},
      {"News & Weather/Fish & Chips.url", Shortcut("https://x/?a=1&b=2")},
      {"It's _b_.url", Shortcut("https://osm/")},
  };
  EXPECT_EQ(Tree(target), want);
  // The input file is only read.
  EXPECT_NE(ReadBytes(html).find("ADD_DATE"), std::string::npos);
}

TEST(HtmlToUrlsCli, WriteFailuresGoToTheLogAndUnsafeNamesStayInside) {
  Program run;
  const std::string target = run.Home / "fav";
  const std::string outside = run.Home / "outside";
  MakeDirs(target);
  MakeDirs(outside);
  fs::create_directory_symlink(outside, target + "/Linked");
  WriteBytes(target + "/Locked.url", Shortcut("old"));
  ::chmod((target + "/Locked.url").c_str(), 0444);
  WriteBytes(run.Log(), "older log\r\n");
  const std::string html = run.Home / "in.htm";
  WriteBytes(html,
             "<DL><p>\n"
             "<DT><A HREF=\"new\">Locked</A>\n"
             "<DT><H3>..</H3>\n<DL><p>\n<DT><A HREF=\"up\">Up</A>\n</DL><p>\n"
             "<DT><H3>Linked</H3>\n<DL><p>\n<DT><A HREF=\"out\">Out</A>\n</DL><p>\n"
             "<DT><A HREF=\"fine\">Fine</A>\n"
             "</DL><p>\n");
  const auto r = run({"html2urls", html, target});
  // The run goes on past each failure, and the script learns of them.
  EXPECT_EQ(r.ExitCode, 1) << r.Err;
  EXPECT_NE(r.Err.find("Some shortcut files could not be written; they are listed in " + run.Log()),
            std::string::npos)
      << r.Err;
  EXPECT_EQ(ReadBytes(target + "/Locked.url"), Shortcut("old"));
  EXPECT_EQ(ReadBytes(target + "/Up.url"), Shortcut("up"));
  EXPECT_EQ(ReadBytes(target + "/Fine.url"), Shortcut("fine"));
  EXPECT_TRUE(Tree(outside).empty());
  EXPECT_FALSE(Exists(run.Home / "Up.url"));
  const std::string t = target + "/";
  EXPECT_EQ(ReadBytes(run.Log()),
            "Unable to write to " + t + "Locked.url: the file is read-only\r\n"
            "Folder name \"..\" cannot be used; its links were written into " + t + "\r\n"
            "Nothing written into " + t + "Linked/: it is a symbolic link that leads outside " + t + "\r\n"
            "No shortcut written for line 9 (out): its folder " + t + "Linked/ is a symbolic link that leads outside " +
                t + "\r\n");
}

TEST(HtmlToUrlsCli, RefusalsAndFailures) {
  Program run;
  const std::string html = run.Home / "in.htm";
  WriteBytes(html, "<DL><p>\r\n<DT><A HREF=\"a\">A</A>\r\n</DL><p>\r\n");

  // No target folder: nothing written anywhere, status 1.
  auto r = run({"html2urls", html});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("No target folder given"), std::string::npos) << r.Err;
  EXPECT_FALSE(Exists(run.Home / "A.url"));
  EXPECT_FALSE(Exists("/A.url"));

  // The Favorites folder is not known: the same refusal.
  r = run({"html2ie", html});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("No Favorites folder found"), std::string::npos) << r.Err;

  // A missing target folder, question answered by the end of input: nothing
  // was converted, so the run did not do its job.
  r = run({"html2urls", html, run.Home / "new/deeper"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("not found. Create Now?"), std::string::npos) << r.Err;
  EXPECT_FALSE(Exists(run.Home / "new"));

  // A file to read that does not exist fails the run.
  r = run({"html2urls", run.Home / "missing.htm", run.Home / "t"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Cannot open file " + run.Home / "missing.htm"), std::string::npos) << r.Err;

  // An empty document writes nothing.
  WriteBytes(run.Home / "empty.htm", "");
  r = run({"html2urls", run.Home / "empty.htm", run.Home.Path()});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Err.find("There is no HTML to convert."), std::string::npos) << r.Err;

  // A heading's folder beside a file of its name is numbered; one that cannot
  // be made costs only its links, listed with the reason, and fails the run.
  MakeDirs(run.Home / "t/RO");
  ::chmod((run.Home / "t/RO").c_str(), 0555);
  WriteBytes(run.Home / "t/News", "a file");
  WriteBytes(html, "<DL><p>\n<DT><H3>News</H3>\n<DL><p>\n<DT><A HREF=\"a\">A</A>\n</DL><p>\n"
                   "<DT><H3>RO</H3>\n<DL><p>\n<DT><H3>Sub</H3>\n<DL><p>\n<DT><A HREF=\"b\">B</A>\n</DL><p>\n</DL><p>\n"
                   "<DT><A HREF=\"c\">C</A>\n</DL><p>\n");
  r = run({"html2urls", html, run.Home / "t"});
  EXPECT_EQ(r.ExitCode, 1) << r.Err;
  EXPECT_EQ(ReadBytes(run.Home / "t/News (2)/A.url"), Shortcut("a"));
  EXPECT_EQ(ReadBytes(run.Home / "t/C.url"), Shortcut("c"));
  const std::string sub = run.Home / "t/RO/Sub/";
  EXPECT_EQ(ReadBytes(run.Log()), "Could not create folder " + sub + ": its folder is read-only\r\n" +
                                      "No shortcut written for line 10 (b): its folder " + sub +
                                      " could not be made\r\n");
}

TEST(HtmlToUrlsCli, TextAfterANulFailsTheRunEvenWhenAllBeforeItIsWritten) {
  Program run;
  const std::string before = "<DL><p>\r\n<DT><A HREF=\"a\">A</A>\r\n";
  for (const std::string& text : {before + std::string("\0", 1) + "<DT><A HREF=\"b\">B</A>\r\n</DL><p>\r\n",
                                  std::string("\0", 1) + before}) {
    const std::string target = run.Home / "t";
    std::filesystem::remove_all(target);
    MakeDirs(target);
    WriteBytes(run.Home / "in.htm", text);
    const auto r = run({"html2urls", "in.htm", target});
    EXPECT_EQ(r.ExitCode, 1) << r.Err;
    EXPECT_NE(r.Err.find("in.htm holds a NUL byte at offset " + std::to_string(text.find('\0')) +
                         "; only the text before it was read."),
              std::string::npos)
        << r.Err;
    EXPECT_EQ(Exists(target + "/A.url"), text[0] != '\0');
    EXPECT_FALSE(Exists(target + "/B.url"));
  }
}

TEST(NsStripCli, CleansAFileInPlaceOnce) {
  Program run;
  const std::string file = run.Home / "bookmarks.htm";
  WriteBytes(file,
             "<DL><p>\n"
             "<DT><H3 FOLDED ADD_DATE=\"1\">News</H3>\n"
             "<DT><A HREF=\"u\" ADD_DATE=\"1\" LAST_VISIT=\"2\">Title</A>\n"
             "</DL><p>");
  auto r = run({file, "/nsstrip"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  const std::string once = "<DL><p>\r\n<DT><H3 FOLDED>News</H3>\r\n<DT><A HREF=\"u\">Title</A>\r\n</DL><p>\r\n";
  EXPECT_EQ(ReadBytes(file), once);
  r = run({file, "/nsstrip", "/nodupes"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(ReadBytes(file), once);

  // A file that does not exist: silent, nothing created.
  r = run({run.Home / "none.htm", "/nsstrip"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "");
  EXPECT_FALSE(Exists(run.Home / "none.htm"));
}

}  // namespace
}  // namespace quillet
