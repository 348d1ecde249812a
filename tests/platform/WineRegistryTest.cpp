#include "platform/WineRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#include "tests/support/WinePrefix.h"

namespace quillet {
namespace {

using test::TempDir;

const char* const kHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";

std::string Text(const RegistryHive& hive, const std::string& key, const std::string& name) {
  const RegValue* v = hive.FindValue(key, name);
  return v ? v->Text : "<missing>";
}

TEST(ParseWineRegistry, ReadsEscapedNamesAndTextsAndMatchesWithoutCase) {
  const auto hive = ParseWineRegistry(std::string(kHeader) +
                                      "[Software\\\\Acme\\\\Tool] 1600000000\n"
                                      "#time=1d0\n"
                                      "@=\"the default\"\n"
                                      "\"Path\"=\"C:\\\\Program Files\\\\Acme\"\n"
                                      "\"Quote\"=\"say \\\"hi\\\"\"\n"
                                      "\"Say \\\"x\\\"\"=\"named with quotes\"\n"
                                      "\"Accent\"=\"caf\\xe9 \\x41\\x1f600\"\n"
                                      "\"Ctl\"=\"a\\tb\\nc\\101\"\n"
                                      "\"Cut\"=\"before\\0after\"\n");
  EXPECT_EQ(Text(hive, "Software\\Acme\\Tool", ""), "the default");
  EXPECT_EQ(Text(hive, "software\\ACME\\tool", "path"), "C:\\Program Files\\Acme");
  EXPECT_EQ(Text(hive, "\\Software\\Acme\\Tool\\", "Quote"), "say \"hi\"");
  EXPECT_EQ(Text(hive, "Software\\Acme\\Tool", "say \"x\""), "named with quotes");
  // \x takes at most four hex digits; the fifth is a character of its own.
  EXPECT_EQ(Text(hive, "Software\\Acme\\Tool", "Accent"), "caf\xC3\xA9 A\xE1\xBD\xA0" "0");
  EXPECT_EQ(Text(hive, "Software\\Acme\\Tool", "Ctl"), "a\tb\ncA");
  EXPECT_EQ(Text(hive, "Software\\Acme\\Tool", "Cut"), "before");
  EXPECT_EQ(Text(hive, "Software\\Acme\\Tool", "Missing"), "<missing>");
  EXPECT_EQ(Text(hive, "Software\\Acme", "Path"), "<missing>");
  EXPECT_EQ(Text(hive, "Software\\\\Acme\\Tool", "Path"), "<missing>");
}

TEST(ParseWineRegistry, TellsTextFromOtherTypes) {
  const auto hive = ParseWineRegistry(std::string(kHeader) +
                                      "[K]\n"
                                      "\"Expand\"=str(2):\"%USERPROFILE%\\\\Favorites\"\n"
                                      "\"Multi\"=str(7):\"a\\0b\\0\"\n"
                                      "\"Count\"=dword:0000002a\n"
                                      "\"Blob\"=hex:01,02,03\n"
                                      // A string Wine had to write as bytes (no final NUL).
                                      "\"Odd\"=hex(1):41,00,e9,00,3d,d8,00,de,\\\n"
                                      "  42,00\n"
                                      "\"Wide\"=hex(2):43,00,3a,00,00,00,44,00\n"
                                      "\"After\"=\"still read\"\n");
  const RegValue* expand = hive.FindValue("K", "Expand");
  ASSERT_TRUE(expand);
  EXPECT_TRUE(expand->IsText());
  EXPECT_EQ(expand->Text, "%USERPROFILE%\\Favorites");  // kept as stored
  for (const char* name : {"Multi", "Count", "Blob"}) {
    ASSERT_TRUE(hive.FindValue("K", name)) << name;
    EXPECT_FALSE(hive.FindValue("K", name)->IsText()) << name;
  }
  EXPECT_EQ(Text(hive, "K", "Odd"), "A\xC3\xA9\xF0\x9F\x98\x80" "B");
  EXPECT_EQ(Text(hive, "K", "Wide"), "C:");
  EXPECT_EQ(Text(hive, "K", "After"), "still read");
}

TEST(ParseWineRegistry, SkipsWhatItCannotReadAndKeepsTheRest) {
  const auto hive = ParseWineRegistry(std::string(kHeader) +
                                      "\"Orphan\"=\"before any key\"\r\n"
                                      "[A] 1\r\n"
                                      "\"Unterminated\"=\"no end\r\n"
                                      "\"BadHex\"=hex:0g,01\r\n"
                                      "\"BadType\"=hex(zz):01\r\n"
                                      "\"NoEquals\" \"x\"\r\n"
                                      "garbage line\r\n"
                                      "\"Twice\"=\"first\"\r\n"
                                      "\"twice\"=\"second\"\r\n"
                                      "[B\r\n"
                                      "\"InBrokenKey\"=\"lost\"\r\n"
                                      "[A\\\\C]\r\n"
                                      "\"Good\"=\"yes\"\r\n"
                                      "\"Cut\"=hex:01,\\\n"
                                      "[D]\n"
                                      "\"Kept\"=\"yes\"\n"
                                      "\"Trailing\"=hex:01,\\\n");
  EXPECT_EQ(Text(hive, "A", "Orphan"), "<missing>");
  EXPECT_EQ(Text(hive, "A", "Unterminated"), "<missing>");
  EXPECT_EQ(Text(hive, "A", "BadHex"), "<missing>");
  EXPECT_EQ(Text(hive, "A", "BadType"), "<missing>");
  EXPECT_EQ(Text(hive, "A", "NoEquals"), "<missing>");
  EXPECT_EQ(Text(hive, "A", "Twice"), "second");
  EXPECT_EQ(Text(hive, "B", "InBrokenKey"), "<missing>");
  EXPECT_EQ(Text(hive, "A\\C", "Good"), "yes");
  ASSERT_TRUE(hive.FindValue("A\\C", "Cut"));
  EXPECT_EQ(Text(hive, "D", "Kept"), "yes");
  ASSERT_TRUE(hive.FindValue("D", "Trailing"));
}

TEST(ParseWineRegistry, NeedsTheWineHeader) {
  EXPECT_EQ(ParseWineRegistry("Windows Registry Editor Version 5.00\n[A]\n\"x\"=\"y\"\n").KeyCount(), 0u);
  EXPECT_EQ(ParseWineRegistry("").KeyCount(), 0u);
}

TEST(RegistryHive, ListsSubkeysOnceInRegistryOrderIncludingUnwrittenParents) {
  const auto hive = ParseWineRegistry(std::string(kHeader) +
                                      "[Software\\\\Netscape\\\\Users\\\\zoe]\n\"DirRoot\"=\"Z\"\n"
                                      "[Software\\\\Netscape\\\\Users\\\\Ann]\n\"DirRoot\"=\"A\"\n"
                                      "[Software\\\\Netscape\\\\Users\\\\ann\\\\deeper]\n\"x\"=\"1\"\n"
                                      "[Software\\\\Netscape\\\\Users\\\\Bob\\\\only\\\\deep]\n"
                                      "[Software\\\\Netscape\\\\Users\\\\_sys]\n"
                                      "[Software\\\\Netscape\\\\UsersX]\n");
  const std::vector<std::string> users = {"Ann", "Bob", "zoe", "_sys"};
  EXPECT_EQ(hive.SubKeyNames("software\\netscape\\users"), users);
  EXPECT_EQ(hive.SubKeyNames("Software\\Netscape"), (std::vector<std::string>{"Users", "UsersX"}));
  EXPECT_EQ(hive.SubKeyNames(""), std::vector<std::string>{"Software"});
  EXPECT_TRUE(hive.SubKeyNames("Software\\Nothing").empty());
  EXPECT_TRUE(hive.SubKeyNames("Software\\\\Netscape").empty());
}

class WinePrefixTest : public ::testing::Test {
 protected:
  TempDir dir;
  PosixFileSystem fs;
  std::string favorites;
  void Make(const std::string& userReg) {
    favorites = std::filesystem::canonical(test::MakeWinePrefix(dir.Path(), userReg)).string();
  }
};

TEST_F(WinePrefixTest, ReadsUserRegAndMapsDrivePathsThroughDosdevices) {
  Make(test::UserRegWithShellFolders(test::kFavoritesLine));
  WineRegistry reg(fs, dir.Path());
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::string value = reg.ReadString(RegRoot::CurrentUser, key, "Favorites");
  EXPECT_EQ(value, "C:\\users\\ann\\Favorites");
  EXPECT_EQ(reg.LocalPath(value), favorites);
  // Names below the drive match without regard to case; the trailing
  // delimiter is kept; a part that does not exist is kept as written.
  EXPECT_EQ(reg.LocalPath("c:\\USERS\\Ann\\favorites\\"), favorites + "/");
  EXPECT_EQ(reg.LocalPath("C:/users/ann/Favorites/New Folder\\Sub"), favorites + "/New Folder/Sub");
  EXPECT_EQ(reg.LocalPath("C:\\"), std::filesystem::canonical(dir / "drive_c").string() + "/");
  EXPECT_EQ(reg.LocalPath("Z:\\etc"), "/etc");
  EXPECT_EQ(reg.LocalPath("C:\\..\\..\\users\\.\\x\\..\\ann\\Favorites"), favorites);
  // No such drive, no drive, a drive-relative path: returned as read.
  EXPECT_EQ(reg.LocalPath("D:\\data"), "D:\\data");
  EXPECT_EQ(reg.LocalPath("\\\\server\\share"), "\\\\server\\share");
  EXPECT_EQ(reg.LocalPath("C:users"), "C:users");
  EXPECT_EQ(reg.LocalPath(""), "");
  // Other roots: no system.reg here, and HKEY_USERS is never read.
  EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine, key, "Favorites"), "");
  EXPECT_EQ(reg.ReadString(RegRoot::Users, key, "Favorites"), "");
  EXPECT_EQ(reg.SubKeyNames(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion"),
            std::vector<std::string>{"Explorer"});
}

TEST_F(WinePrefixTest, ReadsSystemRegForTheMachine) {
  Make(test::UserRegWithShellFolders(""));
  test::WriteBytes(dir / "system.reg", std::string(kHeader) +
                                           "[Software\\\\Netscape\\\\Netscape Navigator\\\\Users\\\\ann]\n"
                                           "\"DirRoot\"=\"C:\\\\NS\\\\ann\"\n");
  WineRegistry reg(fs, dir.Path());
  EXPECT_EQ(reg.SubKeyNames(RegRoot::LocalMachine, "Software\\Netscape\\Netscape Navigator\\Users"),
            std::vector<std::string>{"ann"});
  EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine,
                           "Software\\Netscape\\Netscape Navigator\\Users\\ann", "DirRoot"),
            "C:\\NS\\ann");
}

TEST_F(WinePrefixTest, AValueThatIsNotTextIsAnError) {
  Make(test::UserRegWithShellFolders("\"Favorites\"=dword:00000001"));
  WineRegistry reg(fs, dir.Path());
  try {
    reg.ReadString(RegRoot::CurrentUser,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Favorites");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Favorites'");
  }
}

TEST(WineRegistry, WithoutAPrefixEverythingReadsAsMissing) {
  PosixFileSystem fs;
  TempDir empty;
  for (const std::string& prefix : {std::string(), empty.Path(), empty / "absent"}) {
    WineRegistry reg(fs, prefix);
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, "Software", "x"), "") << prefix;
    EXPECT_TRUE(reg.SubKeyNames(RegRoot::LocalMachine, "").empty()) << prefix;
    EXPECT_EQ(reg.LocalPath("C:\\users"), "C:\\users") << prefix;
  }
}

}  // namespace
}  // namespace quillet
