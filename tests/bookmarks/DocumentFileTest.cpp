#include "bookmarks/DocumentFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Errors.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(DocumentFile, SplitsAtEveryTerminatorAndStopsAtNul) {
  EXPECT_EQ(SplitDocumentText(""), TextLines{});
  EXPECT_EQ(SplitDocumentText("a\r\nb\rc\nd"), (TextLines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitDocumentText("a\r\n"), TextLines{"a"});
  EXPECT_EQ(SplitDocumentText("a\n\n"), (TextLines{"a", ""}));
  EXPECT_EQ(SplitDocumentText("a\n\r"), (TextLines{"a", ""}));
  EXPECT_EQ(SplitDocumentText("\r\n\r\n"), (TextLines{"", ""}));
  EXPECT_EQ(SplitDocumentText(std::string("ab\ncd\0ef\ngh", 11)), (TextLines{"ab", "cd"}));
  EXPECT_EQ(SplitDocumentText(std::string("\0x", 2)), TextLines{});
  // Lone CRs before and after an LF, and a text of CRs alone.
  EXPECT_EQ(SplitDocumentText("a\rb\rc\nd\re\r\nf\r"), (TextLines{"a", "b", "c", "d", "e", "f"}));
  EXPECT_EQ(SplitDocumentText("\r\rx\r"), (TextLines{"", "", "x"}));
}

TEST(DocumentFile, SaveEndsEveryLineWithCrLfAcrossBlocks) {
  TempDir dir;
  test::TestContext t;
  SaveHtmlFile(t.Fs, {"a", "", "\xff"}, dir / "small.htm");
  EXPECT_EQ(ReadBytes(dir / "small.htm"), "a\r\n\r\n\xff\r\n");
  // Several write blocks, and a line longer than a block.
  TextLines lines;
  std::string expected;
  for (int i = 0; i < 200000; ++i) {
    lines.push_back("line " + std::to_string(i));
    if (i == 1000) lines.back() += std::string(3 << 20, 'x');
    expected += lines.back() + "\r\n";
  }
  SaveHtmlFile(t.Fs, lines, dir / "big.htm");
  EXPECT_EQ(ReadBytes(dir / "big.htm"), expected);
}

TEST(DocumentFile, LoadAndSaveKeepBytes) {
  TempDir dir;
  test::TestContext t;
  const std::string bytes = "<DL><p>\r\n\xe9t\xe9\r\n\tx  \r\n";
  WriteBytes(dir / "in.htm", bytes);
  ASSERT_TRUE(LoadHtmlFile(t.Ctx, dir / "in.htm").Loaded);
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{"<DL><p>", "\xe9t\xe9", "\tx  "}));
  SaveHtmlFile(t.Fs, t.Ctx.HtmlLines, dir / "out.htm");
  EXPECT_EQ(ReadBytes(dir / "out.htm"), bytes);
}

TEST(DocumentFile, LoadSaysWhereANulEndedTheText) {
  TempDir dir;
  test::TestContext t;
  WriteBytes(dir / "nul.htm", std::string("ab\r\ncd\0ef\r\n", 11));
  DocumentLoad load = LoadHtmlFile(t.Ctx, dir / "nul.htm");
  EXPECT_TRUE(load.Loaded);
  EXPECT_EQ(load.NulAt, std::optional<size_t>(6));
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{"ab", "cd"}));
  EXPECT_TRUE(MustNotSaveOver(t.Ctx, "nul.htm", load));
  EXPECT_EQ(t.UI.Messages, std::vector<std::string>{"nul.htm holds a NUL byte at offset 6; the text after it cannot "
                                                    "be read, so the file was left as it was."});
  WriteBytes(dir / "whole.htm", "ab\r\n");
  load = LoadHtmlFile(t.Ctx, dir / "whole.htm");
  EXPECT_FALSE(load.NulAt);
  EXPECT_FALSE(MustNotSaveOver(t.Ctx, "whole.htm", load));
}

TEST(DocumentFile, LoadOfAMissingFileFailsAfterEmptyingTheDocument) {
  TempDir dir;
  test::TestContext t;
  t.Ctx.HtmlLines = {"old"};
  try {
    LoadHtmlFile(t.Ctx, dir / "missing.htm");
    FAIL() << "no failure";
  } catch (const QuilletError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + (dir / "missing.htm"));
  }
  EXPECT_TRUE(t.Ctx.HtmlLines.empty());
}

TEST(DocumentFile, SaveReplacesWholeAndKeepsPermissions) {
  TempDir dir;
  test::TestContext t;
  const std::string path = dir / "doc.htm";
  WriteBytes(path, std::string(10000, 'x'));
  ::chmod(path.c_str(), 0640);
  SaveHtmlFile(t.Fs, {"short"}, path);
  EXPECT_EQ(ReadBytes(path), "short\r\n");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  SaveHtmlFile(t.Fs, {}, path);
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(DocumentFile, SaveThatCannotWriteLeavesTheOldFile) {
  TempDir dir;
  test::TestContext t;
  const std::string path = dir / "locked.htm";
  WriteBytes(path, "old\r\n");
  ::chmod(path.c_str(), 0444);
  EXPECT_THROW(SaveHtmlFile(t.Fs, {"new"}, path), EFCreateError);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  EXPECT_THROW(SaveHtmlFile(t.Fs, {"new"}, ""), EFCreateError);
  EXPECT_THROW(SaveHtmlFile(t.Fs, {"new"}, dir / "no/such/folder.htm"), EFCreateError);
  EXPECT_THROW(SaveHtmlFile(t.Fs, {"new"}, dir.Path()), EFCreateError);
}

TEST(DocumentFile, TheBackupKeepsTheFileAsItWasBeforeTheRunsFirstChange) {
  TempDir dir;
  test::TestContext t;
  const std::string path = dir / "b.htm";
  WriteBytes(path, "first\r\n");
  KeepBackupCopy(t.Ctx, path);
  WriteBytes(path, "second\r\n");
  KeepBackupCopy(t.Ctx, path);
  EXPECT_EQ(ReadBytes(path + ".bak"), "first\r\n");
  // A file that cannot be read leaves no copy behind.
  EXPECT_THROW(KeepBackupCopy(t.Ctx, dir / "missing.htm"), EFCreateError);
  EXPECT_FALSE(t.Fs.FileExists(dir / "missing.htm.bak"));
}

}  // namespace
}  // namespace quillet
