#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <tuple>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "tests/support/ProfileProperty.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Find(std::string_view text, std::string_view section, std::string_view key) {
  return FindProfileValue(text, section, key).value_or("<none>");
}

TEST(FindProfileValue, NamesMatchWithoutCaseAndBlanks) {
  const std::string text = "[InternetShortcut]\r\n  url =  http://a/  \r\n";
  EXPECT_EQ(Find(text, "internetshortcut", "URL"), "http://a/");
  EXPECT_EQ(Find(text, " INTERNETSHORTCUT ", " Url "), "http://a/");
  EXPECT_EQ(Find("[ Options ]\nk=1\n", "options", "K"), "1");
}

TEST(FindProfileValue, MissingSectionOrKeyOrTextGivesNothing) {
  EXPECT_EQ(Find("", "S", "k"), "<none>");
  EXPECT_EQ(Find("k=1\r\n[S]\r\n", "S", "k"), "<none>");  // before any section
  EXPECT_EQ(Find("[S]\r\nk=1\r\n[T]\r\n", "T", "k"), "<none>");
  EXPECT_EQ(Find("[S]\r\nk\r\n", "S", "k"), "<none>");  // no '='
  EXPECT_EQ(Find("[S\r\nk=1\r\n", "S", "k"), "<none>");  // not a section line
  EXPECT_EQ(Find("[S]\r\nk=\r\n", "S", "k"), "");
}

TEST(FindProfileValue, FirstSectionAndFirstKeyWin) {
  const std::string text = "[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\nj=4\r\n";
  EXPECT_EQ(Find(text, "S", "k"), "1");
  // Only the first section of a name is searched.
  EXPECT_EQ(Find(text, "S", "j"), "<none>");
}

TEST(FindProfileValue, OnePairOfEnclosingQuotesIsDropped) {
  EXPECT_EQ(Find("[S]\nk=\"a b\"\n", "S", "k"), "a b");
  EXPECT_EQ(Find("[S]\nk='a b'\n", "S", "k"), "a b");
  EXPECT_EQ(Find("[S]\nk=\"\"x\"\"\n", "S", "k"), "\"x\"");
  EXPECT_EQ(Find("[S]\nk=\"a'\n", "S", "k"), "\"a'");
  EXPECT_EQ(Find("[S]\nk=\"\n", "S", "k"), "\"");
  EXPECT_EQ(Find("[S]\nk=  \" a \"  \n", "S", "k"), " a ");
}

TEST(FindProfileValue, AnyLineEndAndTheLengthLimit) {
  EXPECT_EQ(Find("[S]\rk=1\r", "S", "k"), "1");
  EXPECT_EQ(Find("[S]\nk=1", "S", "k"), "1");
  EXPECT_EQ(Find("[S]\r\n\r\nk=1=2\r\n", "S", "k"), "1=2");
  const std::string longValue(3000, 'v');
  EXPECT_EQ(Find("[S]\r\nk=" + longValue + "\r\n", "S", "k").size(), kProfileValueLimit);
}

TEST(FindProfileValue, AValueEndsAtANulAsAStringOfTheSystemDoes) {
  using namespace std::string_literals;
  EXPECT_EQ(Find("[S]\r\nk=http://a/\0junk\r\n"s, "S", "k"), "http://a/");
  EXPECT_EQ(Find("[S]\r\nk=\"a\0\"\r\n"s, "S", "k"), "a");
  EXPECT_EQ(Find("[S]\r\nk=\0\r\n"s, "S", "k"), "");
}

TEST(SetProfileValue, ReplacesTheValueWhereTheKeyStands) {
  // Other lines keep their bytes, LF endings, comments and blank lines; the
  // line keeps its own name spelling and ending.
  const std::string text = "; note\n[Other]\nURL=x\n\n[internetshortcut]\n  Url = old\nIcon=3\n";
  EXPECT_EQ(SetProfileValue(text, "InternetShortcut", "URL", "new"),
            "; note\n[Other]\nURL=x\n\n[internetshortcut]\n  Url =new\nIcon=3\n");
  EXPECT_EQ(SetProfileValue("[S]\r\nk=1", "S", "K", "22"), "[S]\r\nk=22");
}

TEST(SetProfileValue, AddsAMissingKeyAtTheEndOfItsSection) {
  EXPECT_EQ(SetProfileValue("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3"),
            "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_EQ(SetProfileValue("[A]", "A", "z", "3"), "[A]\r\nz=3\r\n");
  EXPECT_EQ(SetProfileValue("[A]\nx=1", "A", " z ", "3"), "[A]\nx=1\r\nz=3\r\n");
  // A later section of the same name is never written.
  EXPECT_EQ(SetProfileValue("[A]\r\n[B]\r\n[A]\r\nz=1\r\n", "A", "z", "2"),
            "[A]\r\nz=2\r\n[B]\r\n[A]\r\nz=1\r\n");
}

TEST(SetProfileValue, AddsAMissingSectionAtTheEnd) {
  EXPECT_EQ(SetProfileValue("", "Options", "ShowSplash", "1"), "[Options]\r\nShowSplash=1\r\n");
  EXPECT_EQ(SetProfileValue("[A]\r\nx=1", "B", "y", "2"), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  EXPECT_EQ(SetProfileValue("[A]\n", " B ", "y", ""), "[A]\n[B]\r\ny=\r\n");
}

TEST(SetProfileValue, RefusesEntriesThatWouldNotReadBack) {
  const std::string text = "[S]\r\nk=1\r\n";
  const std::vector<std::tuple<std::string, std::string, std::string>> refused = {
      {"S", "k", "a\r\n[T]"}, {"S", "k", "a\rb"}, {"S", "a=b", "1"}, {"S", " [x", "]"},
      {"S]", "k", "1"},        {"S\n", "k", "1"},  {"S", "k\n", "1"}};
  for (const auto& [s, k, v] : refused) {
    EXPECT_FALSE(CanStoreProfileEntry(s, k, v)) << s << "|" << k << "|" << v;
    EXPECT_EQ(SetProfileValue(text, s, k, v), text);
  }
  EXPECT_TRUE(CanStoreProfileEntry("[x", "x[", "]=[\""));
}

// Random INI texts from pieces that stress the rules, each followed by
// several random writes; every write must keep every line it does not own.
TEST(SetProfileValue, KeepsEveryLineItDoesNotOwn) {
  const std::vector<std::string> names = {"A", "a", " A ", "B", "", "[x", "k", "K", "k ", "x y"};
  const std::vector<std::string> pieces = {"[A]", "[ a ]", "[B]", "[", "]", "[A", "k=1", "K = 2", "k",
                                           "=", "x y=\"q\"", ";c=3", "  ", "\t", "'v'", "[x]]"};
  const std::vector<std::string> ends = {"\r\n", "\n", "\r", "", "\r\r\n"};
  const std::vector<std::string> values = {"", "1", " 2 ", "\"q\"", "'", "a=b", "]", "[B]", "v\nw"};
  std::mt19937 rng(20240607);
  auto pick = [&](const std::vector<std::string>& from) { return from[rng() % from.size()]; };
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = static_cast<int>(rng() % 8); n > 0; --n) text += pick(pieces) + pick(ends);
    for (int w = 0; w < 4; ++w) {
      const std::string s = pick(names), k = pick(names), v = pick(values);
      std::string next;
      const std::string fault = test::CheckProfileWrite(text, s, k, v, pick(names), pick(names), &next);
      ASSERT_EQ(fault, "") << "text: [" << text << "] set " << s << "/" << k << "=" << v;
      text = next;
    }
  }
}

TEST(RemoveProfileValue, TheKeyReadsAsMissingAndOnlyItsLinesGo) {
  const std::tuple<std::string, std::string> cases[] = {
      {"[S]\r\nk=1\r\nj=2\r\n", "[S]\r\nj=2\r\n"},
      {"[T]\r\nk=0\r\n[S]\r\nk=1\r\n", "[T]\r\nk=0\r\n"},  // the emptied section goes
      {"[S]\nk=1\nK = 2\n;c\n", "[S]\n;c\n"},                    // every line of the key
      {"[S]\nk=1\n[s]\nk=2\n[s]\nj=3\n", "[s]\nj=3\n"},          // the next section would count
      {"[S]\nj=1\n[s]\nk=2\n", "[S]\nj=1\n[s]\nk=2\n"},          // only the first section counts
      {"\xEF\xBB\xBF[S]\r\nk=1\r\n", "\xEF\xBB\xBF"},
      {"[S]\r\nj=1", "[S]\r\nj=1"},
      {"", ""},
  };
  for (const auto& [text, removed] : cases) EXPECT_EQ(RemoveProfileValue(text, "S", "k"), removed) << text;
  EXPECT_EQ(Find("\xEF\xBB\xBF[S]\nk=1\n", "S", "k"), "1");
  EXPECT_EQ(SetProfileValue("\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "2"), "\xEF\xBB\xBF[S]\nk=2\n");
}

TEST(RemoveProfileValue, OverRandomTextsLeavesTheKeyMissingAndOtherLinesInOrder) {
  const std::vector<std::string> pieces = {"[A]", "[ a ]", "[B]", "[A", "k=1", "K = 2", "k", "j=3", ";c", "  ", ""};
  std::mt19937 rng(37);
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::string> lines;
    for (int n = static_cast<int>(rng() % 9); n > 0; --n) lines.push_back(pieces[rng() % pieces.size()]);
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    const std::string out = RemoveProfileValue(text, "A", "k");
    EXPECT_EQ(Find(out, "A", "k"), "<none>") << text;
    // What is left is the original lines with some taken out.
    size_t at = 0;
    for (const std::string& l : lines)
      if (out.compare(at, l.size() + 1, l + "\n") == 0) at += l.size() + 1;
    EXPECT_EQ(at, out.size()) << text;
  }
}

class IniProfileFiles : public ::testing::Test {
 protected:
  TempDir dir;
  PosixFileSystem fs;
  IniProfile ini{fs};
};

TEST_F(IniProfileFiles, ReadsDefaultsWhenTheFileIsMissingOrAFolder) {
  EXPECT_EQ(ini.ReadString(dir / "none.ini", "S", "k", "def"), "def");
  EXPECT_EQ(ini.ReadString(dir.Path(), "S", "k", "def"), "def");
}

TEST_F(IniProfileFiles, WritesCreateAndKeepTheFile) {
  const std::string file = dir / "a.ini";
  ini.WriteString(file, "S", "k", "1");
  ini.WriteString(file, "T", "j", "2");
  ini.WriteString(file, "s", "K", "3");
  EXPECT_EQ(ReadBytes(file), "[S]\r\nk=3\r\n[T]\r\nj=2\r\n");
  EXPECT_EQ(ini.ReadString(file, "T", "J", ""), "2");
}

TEST_F(IniProfileFiles, AReadOnlyFileFailsAndStaysAsItWas) {
  const std::string file = dir / "a.ini";
  WriteBytes(file, "[S]\r\nk=1\r\n");
  ::chmod(file.c_str(), 0444);  // no write bit: read-only even for root
  try {
    ini.WriteString(file, "S", "k", "2");
    FAIL() << "no error";
  } catch (const EWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
  }
  EXPECT_EQ(ReadBytes(file), "[S]\r\nk=1\r\n");
}

TEST_F(IniProfileFiles, AReadOnlyFolderFailsAndCreatesNothing) {
  const std::string sub = dir / "ro";
  test::MakeDirs(sub);
  ::chmod(sub.c_str(), 0555);
  const std::string file = sub + "/a.ini";
  EXPECT_THROW(ini.WriteString(file, "S", "k", "1"), EWriteError);
  EXPECT_FALSE(test::Exists(file));
  EXPECT_THROW(ini.WriteString(dir / "missing/a.ini", "S", "k", "1"), EWriteError);
  EXPECT_THROW(ini.WriteString(dir.Path(), "S", "k", "1"), EWriteError);
}

TEST_F(IniProfileFiles, AnEntryThatCannotBeStoredFailsAndLeavesTheFile) {
  const std::string file = dir / "a.ini";
  WriteBytes(file, "[S]\r\nk=1\r\n");
  EXPECT_THROW(ini.WriteString(file, "S", "k", "2\r\n[Other]"), EWriteError);
  EXPECT_EQ(ReadBytes(file), "[S]\r\nk=1\r\n");
}

// A UTF-16 file is read and written as text in its own byte order; one that
// would not come back byte for byte is refused and stays as it was.
TEST_F(IniProfileFiles, Utf16FilesAreEditedInTheirOwnEncoding) {
  const std::string file = dir / "a.ini";
  const std::string le = std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22);
  for (const bool bigEndian : {false, true}) {
    std::string bytes = le;
    if (bigEndian)
      for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    WriteBytes(file, bytes);
    EXPECT_EQ(ini.ReadString(file, "S", "k", ""), "\xC3\xA9");
    ini.WriteString(file, "S", "j", "\xE2\x82\xAC");
    const std::string added = bigEndian ? std::string("\0j\0=\x20\xAC\0\r\0\n", 10) : std::string("j\0=\0\xAC\x20\r\0\n\0", 10);
    EXPECT_EQ(ReadBytes(file), bytes + added) << bigEndian;
    EXPECT_EQ(ini.ReadString(file, "s", "J", ""), "\xE2\x82\xAC");
  }
  const auto folder = fs.OpenFolder(dir.Path());
  ASSERT_TRUE(folder);
  for (const std::string& bad : {le + std::string("\x00\xD8", 2), le + "x"}) {
    WriteBytes(file, bad);
    EXPECT_THROW(ini.WriteString(file, "S", "k", "2"), EWriteError);
    EXPECT_THROW(ini.WriteStringIn(*folder, "a.ini", *folder, 1 << 16, "S", "k", "2"), EWriteError);
    EXPECT_THROW(ini.DeleteKeyIn(*folder, "a.ini", *folder, 1 << 16, "S", "k"), EWriteError);
    EXPECT_EQ(ReadBytes(file), bad);
  }
}

}  // namespace
}  // namespace quillet
