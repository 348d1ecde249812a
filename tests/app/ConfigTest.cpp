#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/Config.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class Settings : public ::testing::Test {
 protected:
  TempDir dir;
  test::TestContext t{dir.Path() + "/"};
  Context& ctx = t.Ctx;
  std::string File() { return dir / "Quillet.Ini"; }
};

TEST(ParseSettingsInteger, DecimalHexBlanksAndSign) {
  const std::vector<std::pair<std::string, int32_t>> good = {
      {"0", 0},          {"1", 1},           {"2", 2},        {"007", 7},      {"  42", 42},
      {"\t-5", -5},      {"+7", 7},          {"$1F", 31},     {"x20", 32},     {"X20", 32},
      {"0x20", 32},      {"0X20", 32},       {"-$10", -16},   {" -0x10", -16}, {"$ffffffff", -1},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"0x80000000", INT32_MIN}};
  for (const auto& [text, value] : good) {
    ASSERT_TRUE(ParseSettingsInteger(text).has_value()) << text;
    EXPECT_EQ(*ParseSettingsInteger(text), value) << text;
  }
  for (std::string text : {"", " ", "yes", "true", "12abc", "1 ", "- 5", "$", "0x", "x", "+", "--1",
                           "$-5", "1.5", "2147483648", "-2147483649", "$100000000", "0x1G"})
    EXPECT_FALSE(ParseSettingsInteger(text).has_value()) << text;
}

TEST_F(Settings, NoFileGivesEveryDefault) {
  ctx.Config.FavoritesDir = "/fav";
  LoadSettings(ctx);
  const TConfig& c = ctx.Config;
  EXPECT_TRUE(c.ShowSplash);
  EXPECT_FALSE(c.BoldHtml || c.ItalicHtml || c.WordWrap || c.DoubleSpaceLines || c.IndentHtml || c.BrowserLayout);
  EXPECT_EQ(c.Left, 216);
  EXPECT_EQ(c.Top, 131);
  EXPECT_EQ(c.Height, 321);
  EXPECT_EQ(c.Width, 411);
  EXPECT_EQ(c.LastDir, ctx.ProgramDir);
  EXPECT_EQ(c.FavoritesDir, "/fav");  // not stored, not touched
  EXPECT_FALSE(test::Exists(File()));
}

TEST_F(Settings, HandWrittenValuesReadAsIntegers) {
  WriteBytes(File(),
             "[options]\nWordWrap=yes\nIndentHtml=2\nshowsplash=0\nDoubleSpaceLines = -1\n"
             "BoldHtml=\nbrowserlayout=1\n[DEFAULTS]\nLeft=0x20\nTop=$10\nHeight=abc\nWidth=  -7\nLastDir=\"/a b/ \"\n");
  LoadSettings(ctx);
  const TConfig& c = ctx.Config;
  EXPECT_FALSE(c.WordWrap);  // not an integer: the default
  EXPECT_TRUE(c.IndentHtml);
  EXPECT_FALSE(c.ShowSplash);
  EXPECT_TRUE(c.DoubleSpaceLines);
  EXPECT_FALSE(c.BoldHtml);
  EXPECT_TRUE(c.BrowserLayout);
  EXPECT_EQ(c.Left, 32);
  EXPECT_EQ(c.Top, 16);
  EXPECT_EQ(c.Height, 321);
  EXPECT_EQ(c.Width, -7);
  EXPECT_EQ(c.LastDir, "/a b/ ");
}

TEST_F(Settings, AFreshSaveWritesTheFourteenLinesInOrder) {
  LoadSettings(ctx);
  SaveSettings(ctx);
  EXPECT_EQ(ReadBytes(File()),
            "[Options]\r\nShowSplash=1\r\nBoldHtml=0\r\nItalicHtml=0\r\nWordWrap=0\r\n"
            "DoubleSpaceLines=0\r\nIndentHtml=0\r\nBrowserLayout=0\r\n[Defaults]\r\nLeft=216\r\nTop=131\r\n"
            "Height=321\r\nWidth=411\r\nLastDir=" +
                ctx.ProgramDir + "\r\n");
}

TEST_F(Settings, SaveReplacesInPlaceAndKeepsWhatItDoesNotKnow) {
  WriteBytes(File(),
             "; mine\r\n[Defaults]\r\nwidth=1\r\nTheme=dark\r\n\r\n[Extra]\r\nLeft=5\r\n"
             "[Options]\r\nIndentHtml=0\r\n");
  LoadSettings(ctx);
  ctx.Config.IndentHtml = true;
  ctx.Config.Width = 640;
  SaveSettings(ctx);
  EXPECT_EQ(ReadBytes(File()),
            "; mine\r\n[Defaults]\r\nwidth=640\r\nTheme=dark\r\nLeft=216\r\nTop=131\r\nHeight=321\r\n"
            "LastDir=" + ctx.ProgramDir + "\r\n\r\n[Extra]\r\nLeft=5\r\n"
            "[Options]\r\nIndentHtml=1\r\nShowSplash=1\r\nBoldHtml=0\r\nItalicHtml=0\r\nWordWrap=0\r\n"
            "DoubleSpaceLines=0\r\nBrowserLayout=0\r\n");
}

TEST_F(Settings, WhatIsSavedLoadsBack) {
  TConfig& c = ctx.Config;
  c = {true, true, true, true, true, false, true, -3, 0, 900, 1200, "n", "c", "f", " /odd dir/ "};
  SaveSettings(ctx);
  c = TConfig{};
  LoadSettings(ctx);
  EXPECT_TRUE(c.IndentHtml && c.DoubleSpaceLines && c.WordWrap && c.BoldHtml && c.ItalicHtml && c.BrowserLayout);
  EXPECT_FALSE(c.ShowSplash);
  EXPECT_EQ(c.Left, -3);
  EXPECT_EQ(c.Top, 0);
  EXPECT_EQ(c.Height, 900);
  EXPECT_EQ(c.Width, 1200);
  EXPECT_EQ(c.LastDir, " /odd dir/ ");
}

TEST_F(Settings, TheWindowsOwnKeysReadBackAndAFirstStartHasNoPlace) {
  EXPECT_FALSE(HasStoredPlace(ctx));
  EXPECT_EQ(LoadZoom(ctx), 100);
  EXPECT_TRUE(LoadRecentFiles(ctx).empty());
  SaveSettings(ctx);
  SaveZoom(ctx, 125);
  SaveRecentFiles(ctx, {"/a b/x.htm ", "/y.htm"});
  EXPECT_TRUE(HasStoredPlace(ctx));
  EXPECT_EQ(LoadZoom(ctx), 125);
  EXPECT_EQ(LoadRecentFiles(ctx), (std::vector<std::string>{"/a b/x.htm ", "/y.htm"}));
  // A shorter list leaves none of the longer one behind.
  SaveRecentFiles(ctx, {"/z.htm"});
  EXPECT_EQ(LoadRecentFiles(ctx), std::vector<std::string>{"/z.htm"});
  EXPECT_NE(ReadBytes(File()).find("[Recent]\r\nFile1=/z.htm\r\nFile2=\r\n"), std::string::npos);
}

TEST_F(Settings, TheSortChoicesReadBackAndUnknownWordsGiveTheDefault) {
  EXPECT_EQ(LoadSortSettings(ctx), SortSettings{});
  SortSettings s{"added", "site", "mixed", "sv_SE", " Work/Old ", true, false, true, false, true, {"A\\/B", " C"}};
  SaveSortSettings(ctx, s);
  EXPECT_EQ(LoadSortSettings(ctx), s);
  // A shorter list of folders leaves none of the longer one behind.
  s.KeepOrder = {"D"};
  SaveSortSettings(ctx, s);
  EXPECT_EQ(LoadSortSettings(ctx), s);
  WriteBytes(File(), "[Sort]\r\nBy=size\r\nThen=nothing\r\nFolders=middle\r\nNatural=0\r\n");
  SortSettings want;
  want.Natural = false;
  EXPECT_EQ(LoadSortSettings(ctx), want);
}

TEST_F(Settings, AReadOnlyFolderFailsWithTheFullName) {
  ::chmod(dir.Path().c_str(), 0555);  // no write bit: read-only even for root
  LoadSettings(ctx);
  try {
    SaveSettings(ctx);
    FAIL() << "no error";
  } catch (const EWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + File());
  }
  ::chmod(dir.Path().c_str(), 0755);
  EXPECT_FALSE(test::Exists(File()));
}

TEST_F(Settings, AReadOnlyFileIsLeftAsItWas) {
  WriteBytes(File(), "[Options]\r\nIndentHtml=1\r\n");
  ::chmod(File().c_str(), 0444);
  LoadSettings(ctx);
  EXPECT_THROW(SaveSettings(ctx), EWriteError);
  EXPECT_EQ(ReadBytes(File()), "[Options]\r\nIndentHtml=1\r\n");
}

TEST_F(Settings, AFolderNameWithALineBreakIsRefusedNotSplit) {
  // Linux allows such names; written raw they would forge lines of the file.
  LoadSettings(ctx);
  ctx.Config.LastDir = "/a\n[Options]\nIndentHtml=1";
  EXPECT_THROW(SaveSettings(ctx), EWriteError);
  LoadSettings(ctx);
  EXPECT_FALSE(ctx.Config.IndentHtml);
  EXPECT_EQ(ctx.Config.LastDir, ctx.ProgramDir);
}

// A profile that stops accepting writes at one key, as a full disk would.
class FailingAt : public PrivateProfile {
 public:
  FailingAt(PrivateProfile& real, std::string key) : real_(real), key_(std::move(key)) {}
  std::string ReadString(const std::string& f, const std::string& s, const std::string& k,
                         const std::string& d) override {
    return real_.ReadString(f, s, k, d);
  }
  void WriteString(const std::string& f, const std::string& s, const std::string& k,
                   const std::string& v) override {
    if (k == key_) throw EWriteError(f);
    real_.WriteString(f, s, k, v);
  }
  std::string ReadStringUpTo(size_t n, const std::string& f, const std::string& s, const std::string& k,
                             const std::string& d) override {
    return real_.ReadStringUpTo(n, f, s, k, d);
  }
  void WriteStringIn(FileSystem::Folder& dir, const std::string& f, const FileSystem::Folder& within, size_t n,
                     const std::string& s, const std::string& k, const std::string& v) override {
    real_.WriteStringIn(dir, f, within, n, s, k, v);
  }
  void DeleteKeyIn(FileSystem::Folder& dir, const std::string& f, const FileSystem::Folder& within, size_t n,
                   const std::string& s, const std::string& k) override {
    real_.DeleteKeyIn(dir, f, within, n, s, k);
  }

 private:
  PrivateProfile& real_;
  std::string key_;
};

TEST_F(Settings, AFailedKeyStopsTheSave) {
  FailingAt failing(t.Profile, "Left");
  ctx.Services.Profile = &failing;
  LoadSettings(ctx);
  EXPECT_THROW(SaveSettings(ctx), EWriteError);
  EXPECT_EQ(ReadBytes(File()),
            "[Options]\r\nShowSplash=1\r\nBoldHtml=0\r\nItalicHtml=0\r\nWordWrap=0\r\n"
            "DoubleSpaceLines=0\r\nIndentHtml=0\r\nBrowserLayout=0\r\n");
}

TEST_F(Settings, BuildingFromAFolderRereadsTheFile) {
  WriteBytes(File(), "[Options]\r\nDoubleSpaceLines=0\r\nBoldHtml=1\r\n[Defaults]\r\nLastDir=/stored\r\n");
  LoadSettings(ctx);
  ctx.ReloadSettings = LoadSettings;
  // Changed in the window since the file was written.
  ctx.Config.DoubleSpaceLines = true;
  ctx.Config.BoldHtml = false;
  ctx.Config.LastDir = "/this/run";
  test::MakeDirs(dir / "fav");
  ASSERT_TRUE(UrlsToHtml(ctx, dir / "fav"));
  // The build used the option of the moment, then the stored values came back.
  EXPECT_EQ(ctx.HtmlLines, (TextLines{"<DL><p>", "", "</DL><p>", ""}));
  EXPECT_FALSE(ctx.Config.DoubleSpaceLines);
  EXPECT_TRUE(ctx.Config.BoldHtml);
  EXPECT_EQ(ctx.Config.LastDir, "/stored");
}

}  // namespace
}  // namespace quillet
