// The batch finds the Favorites folder in the Wine prefix named by WINEPREFIX.
#include <gtest/gtest.h>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/WinePrefix.h"

namespace quillet::test {
namespace {

using test::Shortcut;

TEST(WinePrefixCli, Ie2htmlConvertsThePrefixFavorites) {
  TempDir dir;
  const std::string prefix = dir / "wine";
  const std::string favorites = MakeWinePrefix(prefix, UserRegWithShellFolders(kFavoritesLine));
  WriteBytes(favorites + "/Debian.url", Shortcut("https://www.debian.org/"));
  WriteBytes(favorites + "/News/BBC.url", Shortcut("https://www.bbc.co.uk/news"));
  const std::string program = PortableCopy(dir.Path());

  const auto r = RunProgram(program, {"ie2html", dir / "out.htm"}, "", dir.Path(),
                            {"WINEPREFIX=" + prefix});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string html = ReadBytes(dir / "out.htm");
  EXPECT_NE(html.find("<DT><A HREF=\"https://www.debian.org/\">Debian</A>"), std::string::npos) << html;
  EXPECT_NE(html.find("<DT><H3>News</H3>"), std::string::npos) << html;
  EXPECT_NE(html.find("<DT><A HREF=\"https://www.bbc.co.uk/news\">BBC</A>"), std::string::npos) << html;
}

TEST(WinePrefixCli, AFavoritesValueThatIsNotTextStopsTheStart) {
  TempDir dir;
  const std::string prefix = dir / "wine";
  MakeWinePrefix(prefix, UserRegWithShellFolders("\"Favorites\"=hex:43,00,3a,00"));
  const auto r = RunProgram(PortableCopy(dir.Path()), {"ie2html", dir / "out.htm"}, "", dir.Path(),
                            {"WINEPREFIX=" + prefix});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Invalid data type for 'Favorites'"), std::string::npos) << r.Err;
  EXPECT_FALSE(Exists(dir / "out.htm"));
}

TEST(WinePrefixCli, WithoutAPrefixThereIsNoFavoritesFolder) {
  TempDir dir;
  WriteBytes(dir / "in.htm", "<DL><p>\r\n<DT><A HREF=\"https://example.org/\">Ex</A>\r\n</DL><p>\r\n");
  const std::vector<std::string> env = {"WINEPREFIX=" + (dir / "no-prefix")};
  const std::string program = PortableCopy(dir.Path());

  auto r = RunProgram(program, {"ie2html", dir / "out.htm"}, "", dir.Path(), env);
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Directory not found"), std::string::npos) << r.Err;
  EXPECT_FALSE(Exists(dir / "out.htm"));

  r = RunProgram(program, {"html2ie", dir / "in.htm"}, "", dir.Path(), env);
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("No Favorites folder found"), std::string::npos) << r.Err;
}

}  // namespace
}  // namespace quillet::test
