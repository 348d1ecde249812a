// Clean-ups and the append never lose what the file held: a text cut short
// at a NUL byte, a folder without room for a new file, a full disk and a
// second run at the same time all leave the file whole.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet::test {
namespace {

std::string Link(const std::string& address, const std::string& description) {
  return "<DT><A HREF=\"" + address + "\" ADD_DATE=\"1\">" + description + "</A>\r\n";
}

// Unsorted, with a duplicate and an attribute: every clean-up would change it.
const std::string kLinks = "<DL><p>\r\n" + Link("http://b/", "beta") + Link("http://a/", "Alpha") +
                           Link("http://b/", "beta again") + "</DL><p>\r\n";

class SafeCleanUp : public ::testing::Test {
 protected:
  TempDir dir;
  std::string program = PortableCopy(dir.Path());
  std::string home = dir / "home";

  ProgramResult Run(const std::vector<std::string>& args, const std::string& workDir = "") {
    return RunProgram(program, args, "", workDir.empty() ? dir.Path() : workDir, {"LC_ALL=C", "HOME=" + home});
  }
};

TEST_F(SafeCleanUp, ATextCutShortAtANulIsNeverSavedOverItsFile) {
  const std::string withNul = kLinks + std::string("\0", 1) + Link("http://c/", "after the NUL");
  // A UTF-16 file holds a NUL in its first character.
  const std::string utf16("\xFF\xFE<\0D\0L\0>\0", 10);
  for (const char* sw : {"/sort", "/nsstrip", "/nodupes"}) {
    SCOPED_TRACE(sw);
    WriteBytes(dir / "a.htm", withNul);
    ProgramResult r = Run({"a.htm", sw});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("a.htm holds a NUL byte at offset " + std::to_string(kLinks.size())), std::string::npos)
        << r.Err;
    EXPECT_EQ(ReadBytes(dir / "a.htm"), withNul);

    WriteBytes(dir / "u.htm", utf16);
    r = Run({"u.htm", sw});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("u.htm holds a NUL byte at offset 3"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(dir / "u.htm"), utf16);
  }

  // The browser's bookmark file, cleaned or appended to.
  const std::string bookmarks = home + "/.netscape/bookmarks.html";
  WriteBytes(dir / "Fav/new.url", Shortcut("http://new/"));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"ns", "/sort"}, {"ns", "/nodupes"}, {"urls2ns", dir / "Fav"}}) {
    SCOPED_TRACE(args[1]);
    WriteBytes(bookmarks, withNul);
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find(bookmarks + " holds a NUL byte at offset " + std::to_string(kLinks.size())),
              std::string::npos)
        << r.Err;
    EXPECT_EQ(ReadBytes(bookmarks), withNul);
  }
}

TEST_F(SafeCleanUp, AFileInAReadOnlyFolderIsLeftAsItWas) {
  WriteBytes(dir / "ro/a.htm", kLinks);
  ASSERT_EQ(::chmod((dir / "ro").c_str(), 0555), 0);
  for (const char* sw : {"/sort", "/nodupes"}) {
    const ProgramResult r = Run({"a.htm", sw}, dir / "ro");
    EXPECT_EQ(r.ExitCode, 1) << sw;
    EXPECT_EQ(r.Err, "quillet: HTML cannot be saved.\nCannot create file a.htm: its folder is read-only, so no new "
                     "file can be made beside it\n");
    EXPECT_EQ(ReadBytes(dir / "ro/a.htm"), kLinks);
    EXPECT_EQ(Tree(dir / "ro").size(), 1u);
  }
}

TEST_F(SafeCleanUp, AFileWhoseNameIsAsLongAsANameMayBeSorts) {
  const std::string name = std::string(246, 'n') + ".htm";
  ASSERT_EQ(name.size(), 250u);
  WriteBytes(dir / name, kLinks);
  const ProgramResult r = Run({name, "/sort"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  const std::string text = ReadBytes(dir / name);
  EXPECT_LT(text.find("Alpha"), text.find("beta"));
}

TEST_F(SafeCleanUp, TwoRunsAtOnceBothLeaveTheirChange) {
  // Sorted and without duplicates is the same file whichever runs first.
  const std::string file = dir / "a.htm";
  WriteBytes(file, "<DL><p>\r\n" + Link("http://z/", "Zeta") + Link("http://a/", "Alpha") + Link("http://z/", "Zeta") +
                       "</DL><p>\r\n");
  // This test holds the file as a run would, so that both runs start while
  // it is held and have to wait for it and then for each other.
  const int held = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  RunningProgram sort(program, {"a.htm", "/sort"}, dir.Path(), {"LC_ALL=C"});
  RunningProgram nodupes(program, {"a.htm", "/nodupes"}, dir.Path(), {"LC_ALL=C"});
  const std::string waiting = "Another program is changing a.htm; waiting until it is done.";
  EXPECT_TRUE(sort.WaitForError(waiting));
  EXPECT_TRUE(nodupes.WaitForError(waiting));
  ::close(held);
  const ProgramResult a = sort.Finish(), b = nodupes.Finish();
  EXPECT_EQ(a.ExitCode, 0) << a.Err;
  EXPECT_EQ(b.ExitCode, 0) << b.Err;
  EXPECT_EQ(ReadBytes(file), "<DL><p>\r\n" + Link("http://a/", "Alpha") + Link("http://z/", "Zeta") + "</DL><p>\r\n");
}

TEST_F(SafeCleanUp, UrlsToHtmlWaitsForACleanUpOfItsOutput) {
  // A clean-up holding the output file would otherwise save its own text
  // over the new output when it ends.
  const std::string file = dir / "out.htm";
  WriteBytes(file, kLinks);
  WriteBytes(dir / "Fav/a.url", Shortcut("http://a/"));
  const int held = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  RunningProgram urls2html(program, {"urls2html", "Fav", "out.htm"}, dir.Path(), {"HOME=" + home});
  EXPECT_TRUE(urls2html.WaitForError("Another program is changing out.htm; waiting until it is done."));
  EXPECT_EQ(ReadBytes(file), kLinks);
  ::close(held);
  const ProgramResult r = urls2html.Finish();
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(file), "<DL><p>\r\n<DT><A HREF=\"http://a/\">a</A>\r\n</DL><p>\r\n");
}

// A file system of 1 MiB, filled up by the test. Mounting needs the right to
// mount (root); without it the tests say so and skip.
class FullDisk : public SafeCleanUp {
 protected:
  std::string disk = dir / "disk";
  bool mounted = false;

  void SetUp() override {
    MakeDirs(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m") != 0)
      GTEST_SKIP() << "cannot mount a 1 MiB tmpfs to fill up (" << std::strerror(errno)
                   << "); this test needs the right to mount, as root has";
    mounted = true;
  }
  void TearDown() override {
    if (mounted) ::umount2(disk.c_str(), MNT_DETACH);
  }
  // Takes all but about free bytes of the disk.
  void Fill(size_t free) {
    const std::string filler = disk + "/filler";
    std::string block(4096, 'f');
    std::FILE* f = std::fopen(filler.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
    // Give back what is asked for.
    const auto size = std::filesystem::file_size(filler);
    std::filesystem::resize_file(filler, size > free ? size - free : 0);
  }
  // Every file on the disk but the filler, with its bytes.
  std::map<std::string, std::string> Files() {
    auto tree = Tree(disk);
    tree.erase("filler");
    return tree;
  }
};

TEST_F(FullDisk, ACleanUpThatFindsNoRoomLeavesTheFileAndNothingElse) {
  // Big enough that the file and its sorted copy do not both fit.
  std::string big = "<DL><p>\r\n";
  for (int i = 0; big.size() < 600 * 1024; ++i) big += Link("http://h/" + std::to_string(i), "L" + std::to_string(i % 977));
  big += "</DL><p>\r\n";
  WriteBytes(disk + "/big.htm", big);
  for (const char* sw : {"/sort", "/nodupes", "/nsstrip"}) {
    const ProgramResult r = Run({"big.htm", sw}, disk);
    EXPECT_EQ(r.ExitCode, 1) << sw;
    EXPECT_NE(r.Err.find("HTML cannot be saved.\nCannot create file big.htm: writing failed: No space left on device"),
              std::string::npos)
        << r.Err;
    EXPECT_EQ(Files(), (std::map<std::string, std::string>{{"big.htm", big}}));
  }
}

TEST_F(FullDisk, ANewFileOrShortcutThatDoesNotFitLeavesNoPartOfItself) {
  for (int i = 0; i < 200; ++i) WriteBytes(dir / ("Fav/Link " + std::to_string(i) + ".url"), Shortcut("http://x/" + std::to_string(i)));
  Fill(2 * 1024);
  ProgramResult r = Run({"urls2html", dir / "Fav", disk + "/out.htm"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("No space left on device"), std::string::npos) << r.Err;
  EXPECT_TRUE(Files().empty());

  // Shortcut files: as many as fit are written whole, the rest are listed.
  std::string doc = "<DL><p>\r\n";
  for (int i = 0; i < 200; ++i) doc += Link("http://x/" + std::to_string(i), "Link " + std::to_string(i));
  WriteBytes(dir / "links.htm", doc + "</DL><p>\r\n");
  MakeDirs(disk + "/Links");
  Fill(40 * 1024);  // room for a few: each file takes a page of its own
  r = Run({"html2urls", "links.htm", disk + "/Links"});
  EXPECT_EQ(r.ExitCode, 1);
  const auto files = Files();
  EXPECT_GT(files.size(), 2u);
  EXPECT_LT(files.size(), 200u);
  for (const auto& [name, bytes] : files) {
    if (bytes != "<dir>") {
      EXPECT_EQ(bytes, Shortcut("http://x/" + name.substr(11, name.size() - 15))) << name;
    }
  }
  const std::string log = ReadBytes(dir / "UrlErrors.txt");
  EXPECT_NE(log.find("Unable to write to " + disk + "/Links/Link 199.url: writing failed: No space left on device"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace quillet::test
