// quillet-render as a user runs it: the options, the dump and timing
// formats, failures, the browser export fixtures and very deep nesting.
#include <gtest/gtest.h>

#include <QImage>
#include <regex>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::RunProgram;

const std::string kPages = std::string(QUILLET_SOURCE_DIR) + "/tests/viewer/pages/";

test::ProgramResult Render(const std::vector<std::string>& args) { return RunProgram(QUILLET_RENDER, args); }

TEST(RenderCli, TheDumpGivesEveryBlockAndLineInThePicturesPixels) {
  test::TempDir dir;
  test::WriteBytes(dir / "p.htm", "<TITLE>T &amp; U</TITLE><H1>Head</H1><UL><LI>one<OL><LI>two</OL></UL><HR>");
  const auto r = Render({"--fixed-metrics", "--width", "400", "--dump", dir / "p.htm", dir / "p.png"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  // Fixed metrics: a 12-point line is 18 pixels, a 24-point one 32 + 4.
  EXPECT_EQ(r.Out,
            "title |T & U|\n"
            "TSection y=5 h=0\n"
            "THeadingSpace y=5 h=16\n"
            "TSection y=21 h=36\n"
            "  line x=10 y=21 h=36 |Head|\n"
            "THeadingSpace y=57 h=16\n"
            "TUListItem y=73 h=18 marker=\xE2\x80\xA2\n"
            "  line x=45 y=73 h=18 |one|\n"
            "TOListItem y=91 h=18 marker=1.\n"
            "  line x=80 y=91 h=18 |two|\n"
            "THorzLine y=109 h=20\n"
            "TSection y=129 h=0\n");
  const QImage picture(QString::fromStdString(dir / "p.png"));
  EXPECT_EQ(picture.width(), 400);
  EXPECT_EQ(picture.height(), 109 + 20 + 5);
}

TEST(RenderCli, PicturesAreReadFromBesideThePageWithImages) {
  test::TempDir dir;
  const std::string bmp = std::string(QUILLET_SOURCE_DIR) + "/tests/viewer/data/bmp/24bit.bmp";
  test::WriteBytes(dir / "pics/a.bmp", test::ReadBytes(bmp));
  test::WriteBytes(dir / "p.htm", "<IMG SRC=\"pics/a.bmp\" WIDTH=26>x");
  // 26 by 14 with pictures on: the line keeps its 18 pixels.
  const auto on = Render({"--images", "--fixed-metrics", "--dump", dir / "p.htm", dir / "p.png"});
  ASSERT_EQ(on.ExitCode, 0) << on.Err;
  EXPECT_NE(on.Out.find("  line x=10 y=5 h=18 |[img]x"), std::string::npos) << on.Out;
  // The picture's top-left pixel (pure blue) at the line's top.
  const QImage picture(QString::fromStdString(dir / "p.png"));
  EXPECT_EQ(picture.pixel(10, 5), qRgb(0, 0, 255));
  // Pictures off: the placeholder's box, 24 high on the baseline.
  const auto off = Render({"--fixed-metrics", "--dump", dir / "p.htm", "-"});
  EXPECT_NE(off.Out.find("  line x=10 y=5 h=28 |[img]x"), std::string::npos) << off.Out;
}

TEST(RenderCli, ATableDumpsItsRowsAndRealCellsWithTheirBlocksInThePicturesPixels) {
  test::TempDir dir;
  test::WriteBytes(dir / "t.htm",
                   "<TABLE BORDER CELLPADDING=3><CAPTION>Cap</CAPTION><TR><TD>ab<TD ROWSPAN=2>c"
                   "<TR><TD><TABLE><TD>in</TABLE></TABLE>after");
  const auto r = Render({"--fixed-metrics", "--width", "400", "--dump", dir / "t.htm", "-"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  // Spacing 4 and padding 3 add 10 to a cell's content: "ab" 16, and the
  // inner table 22, make the first column 32. The spanning cell is as tall
  // as both rows and its text sits in the middle of them; a cell's x and y
  // are its column's and row's origin, its blocks start 4 + 3 further in.
  EXPECT_EQ(r.Out,
            "title ||\n"
            "TSection y=5 h=0\n"
            "ThtmlTable y=5 h=84 widths=32,18 spacing=4 padding=3 border=1\n"
            "  caption x=10 y=5 w=54 h=18\n"
            "    TSection y=5 h=18\n"
            "      line x=25 y=5 h=18 |Cap|\n"
            "  row h=28\n"
            "    cell x=10 y=23 w=32 h=28\n"
            "      TSection y=30 h=18\n"
            "        line x=17 y=30 h=18 |ab|\n"
            "    cell x=42 y=23 w=18 h=62\n"
            "      TSection y=47 h=18\n"
            "        line x=49 y=47 h=18 |c|\n"
            "  row h=34\n"
            "    cell x=10 y=51 w=32 h=34\n"
            "      ThtmlTable y=58 h=24 widths=20 spacing=2 padding=1 border=0\n"
            "        row h=22\n"
            "          cell x=17 y=58 w=20 h=22\n"
            "            TSection y=61 h=18\n"
            "              line x=20 y=61 h=18 |in|\n"
            "TSection y=89 h=18\n"
            "  line x=10 y=89 h=18 |after |\n");
}

TEST(RenderCli, ATooWideTableIsReportedAndTheRestOfThePageDrawn) {
  test::TempDir dir;
  std::string page = "before<TABLE><TR>";
  for (int i = 0; i < 31; ++i) page += "<TD>x";
  test::WriteBytes(dir / "t.htm", page + "</TABLE>after");
  const auto r = Render({"--fixed-metrics", "--dump", dir / "t.htm", "-"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "quillet: Table has too many Columns\n");
  EXPECT_EQ(r.Out.find("ThtmlTable"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("TSection y=23 h=18\n  line x=10 y=23 h=18 |after |"), std::string::npos) << r.Out;
}

TEST(RenderCli, TimeIsOneLineOnStandardErrorAndADashWritesNoPicture) {
  test::TempDir dir;
  test::WriteBytes(dir / "p.htm", "<P>x");
  const auto r = Render({"--time", dir / "p.htm", "-"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(std::regex_match(r.Err, std::regex("parse=[0-9.]+ layout=[0-9.]+ paint=[0-9.]+\n"))) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_FALSE(test::Exists(dir / "-"));
}

TEST(RenderCli, TextIsShownAsItStands) {
  test::TempDir dir;
  test::WriteBytes(dir / "t.txt", "<B>not bold</B>\n  indented\n");
  const auto r = Render({"--text", "--dump", "--fixed-metrics", dir / "t.txt", "-"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("TPreFormated y=5 h=14\n  line x=10 y=5 h=14 |<B>not bold</B>|\n"), std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("|  indented|"), std::string::npos);
}

TEST(RenderCli, AnOpenCommentIsReportedAndWhatCameBeforeIsStillDrawn) {
  test::TempDir dir;
  test::WriteBytes(dir / "p.htm", "<H1>Kept</H1><!-- never closed");
  const auto r = Render({"--dump", "--fixed-metrics", dir / "p.htm", dir / "p.png"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "Open Comment at End of HTML File\n");
  EXPECT_NE(r.Out.find("|Kept|"), std::string::npos);
  EXPECT_TRUE(test::Exists(dir / "p.png"));
}

TEST(RenderCli, WrongCommandLinesAndMissingFiles) {
  test::TempDir dir;
  EXPECT_EQ(Render({}).ExitCode, 2);
  EXPECT_EQ(Render({"--width", "0", "a", "b"}).ExitCode, 2);
  EXPECT_EQ(Render({"--frobnicate", "a", "b"}).ExitCode, 2);
  EXPECT_EQ(Render({"--help"}).ExitCode, 0);
  const auto missing = Render({dir / "none.htm", "-"});
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_NE(missing.Err.find("Cannot open file"), std::string::npos) << missing.Err;
  test::WriteBytes(dir / "p.htm", "x");
  const auto unwritable = Render({dir / "p.htm", dir / "no/such/folder/p.png"});
  EXPECT_EQ(unwritable.ExitCode, 1);
  EXPECT_NE(unwritable.Err.find("Cannot create file"), std::string::npos) << unwritable.Err;
  // A selection of text the page does not hold is said, the page drawn.
  EXPECT_EQ(Render({"--select", "x", "--select"}).ExitCode, 2);
  const auto absent = Render({"--select", "y z", dir / "p.htm", dir / "p.png"});
  EXPECT_EQ(absent.ExitCode, 1);
  EXPECT_EQ(absent.Err, "quillet-render: \"y z\" is not in the page\n");
  EXPECT_FALSE(QImage(QString::fromStdString(dir / "p.png")).isNull());
}

TEST(RenderCli, BrowserExportsRenderCleanly) {
  for (const char* page : {"bookmarks-export.htm", "bookmarks-urls2html.htm"}) {
    const auto r = Render({kPages + page, "-"});
    EXPECT_EQ(r.ExitCode, 0) << page << ": " << r.Err;
    EXPECT_EQ(r.Err, "") << page;
  }
}

TEST(RenderCli, HundredThousandDeepNestingEndsWithoutACrash) {
  test::TempDir dir;
  std::string deep;
  const int n = 100000;
  for (const char* open :
       {"<UL><LI>x", "<CENTER><DIV ALIGN=right>", "<BLOCKQUOTE><DL><DT>t<DD>", "<TABLE><TR><TD>x"}) {
    deep.clear();
    for (int i = 0; i < n; ++i) deep += open;
    deep += "deep";
    test::WriteBytes(dir / "deep.htm", deep);
    const auto r = Render({"--fixed-metrics", dir / "deep.htm", dir / "deep.png"});
    EXPECT_EQ(r.ExitCode, 0) << open << ": " << r.Err;
  }
}

}  // namespace
}  // namespace quillet
