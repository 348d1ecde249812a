#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Shell.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::TempDir;

// A stand-in opener that writes its arguments, one a line, into a fifo, so
// the test reads them as soon as the detached program has run: no waiting on
// a clock.
class FakeOpener {
 public:
  FakeOpener() {
    fifo_ = dir_ / "args";
    if (::mkfifo(fifo_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
    program_ = dir_ / "opener";
    test::WriteBytes(program_, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + fifo_ + "'\n");
    std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
  }
  const std::string& Program() const { return program_; }
  const TempDir& Dir() const { return dir_; }
  // What the opener was given; call only after it was started.
  std::string Arguments() {
    ::alarm(60);  // a broken opener fails the test instead of hanging it
    const int fd = ::open(fifo_.c_str(), O_RDONLY);
    std::string out;
    char buf[256];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;) out.append(buf, n);
    if (fd >= 0) ::close(fd);
    ::alarm(0);
    return out;
  }

 private:
  TempDir dir_;
  std::string fifo_, program_;
};

TEST(HasUrlScheme, KnowsSchemesFromDrivesAndPaths) {
  for (const char* s : {"http://x", "https://x", "mailto:ann@example.org", "file:///tmp", "svn+ssh://h"})
    EXPECT_TRUE(HasUrlScheme(s)) << s;
  for (const char* s : {"C:\\x", "c:", "/tmp/a:b", "page.htm", ":x", "1ab:x", "", "a b:c"})
    EXPECT_FALSE(HasUrlScheme(s)) << s;
}

TEST(StartDetached, ReportsWhetherTheProgramStarted) {
  TempDir dir;
  test::WriteBytes(dir / "not-executable", "#!/bin/sh\n");
  EXPECT_TRUE(StartDetached("true", {}));
  EXPECT_FALSE(StartDetached("quillet-no-such-program", {}));
  EXPECT_FALSE(StartDetached(dir / "missing", {}));
  EXPECT_FALSE(StartDetached(dir / "not-executable", {}));
  EXPECT_FALSE(StartDetached(dir.Path(), {}));
}

TEST(StartDetached, PassesArgumentsAsTheyAreWithoutAShell) {
  FakeOpener opener;
  ASSERT_TRUE(StartDetached(opener.Program(), {"two words", "$(touch x)", "it's;|*"}));
  EXPECT_EQ(opener.Arguments(), "two words\n$(touch x)\nit's;|*\n");
}

TEST(XdgShell, OpensExistingFilesAndAddresses) {
  FakeOpener opener;
  XdgShell shell(opener.Program());
  const std::string file = opener.Dir() / "page one.htm";
  test::WriteBytes(file, "<html>");
  ASSERT_TRUE(shell.Open(file));
  EXPECT_EQ(opener.Arguments(), file + "\n");
  ASSERT_TRUE(shell.Open("mailto:ann@example.org?subject=Hi there"));
  EXPECT_EQ(opener.Arguments(), "mailto:ann@example.org?subject=Hi there\n");
  ASSERT_TRUE(shell.Explore(opener.Dir().Path()));
  EXPECT_EQ(opener.Arguments(), opener.Dir().Path() + "\n");
  // The opener takes no parameters: a program file is opened like any file.
  ASSERT_TRUE(shell.StartProgram(file, "-q"));
  EXPECT_EQ(opener.Arguments(), file + "\n");
}

TEST(XdgShell, RefusesWhatCannotBeOpened) {
  FakeOpener opener;
  XdgShell shell(opener.Program());
  test::WriteBytes(opener.Dir() / "file.txt", "x");
  EXPECT_FALSE(shell.Open(opener.Dir() / "missing.htm"));
  EXPECT_FALSE(shell.Open(""));
  EXPECT_FALSE(shell.Explore(opener.Dir() / "missing"));
  EXPECT_FALSE(shell.Explore(opener.Dir() / "file.txt"));
  EXPECT_FALSE(XdgShell("quillet-no-such-opener").Open("https://example.org/"));
}

TEST(XdgShell, KeepsANameStartingWithADashFromBeingTakenForAnOption) {
  FakeOpener opener;
  XdgShell shell(opener.Program());
  test::WriteBytes(opener.Dir() / "--help", "x");
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(opener.Dir().Path());
  const bool opened = shell.Open("--help");
  std::filesystem::current_path(before);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opener.Arguments(), "./--help\n");
}

}  // namespace
}  // namespace quillet
