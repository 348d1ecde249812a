#include "stores/StoreFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "stores/BrowserProfiles.h"
#include "stores/StoreError.h"
#include "tests/stores/StoreTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using namespace test;

std::string HostName() {
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  return host;
}

// A pid that names no process: past the kernel's largest.
constexpr const char* kDeadPid = "4194305";

TEST(ChromiumSave, RefusedWhileTheBrowserHoldsTheProfileElseKeepsTheOldFileAsBak) {
  struct Case {
    std::string Lock;  // what SingletonLock names; empty: no lock
    bool Refused;
  };
  const Case cases[] = {
      {"", false},
      {HostName() + "-" + std::to_string(::getpid()), true},  // a live process here
      {HostName() + "-" + kDeadPid, false},                    // left behind by a crash
      {"other-host.example-123", true},                        // cannot be checked from here
      {"garbage", false},
  };
  const OutlineNode root = Root({Folder("Other bookmarks", {Link("A", "https://a.example/")})});
  for (const Case& c : cases) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Default");
    const std::string file = dir / "Default/Bookmarks";
    WriteBytes(file, "old");
    if (!c.Lock.empty()) std::filesystem::create_symlink(c.Lock, dir / "SingletonLock");
    TestContext t;
    EXPECT_EQ(ChromiumProfileInUse(file).has_value(), c.Refused) << c.Lock;
    if (c.Refused) {
      EXPECT_THROW(SaveChromiumBookmarks(t.Ctx, file, root), StoreError) << c.Lock;
      EXPECT_EQ(ReadBytes(file), "old");
      EXPECT_FALSE(std::filesystem::exists(file + ".bak"));
      continue;
    }
    SaveChromiumBookmarks(t.Ctx, file, root);
    EXPECT_EQ(ReadBytes(file + ".bak"), "old");
    // A second save in the same run keeps the first backup, the file as it was.
    SaveChromiumBookmarks(t.Ctx, file, Root({}));
    EXPECT_EQ(ReadBytes(file + ".bak"), "old");
    EXPECT_EQ(CountOutline(ReadChromiumBookmarks(ReadBytes(file)).Root).Links, 0u);
  }
}

}  // namespace
}  // namespace quillet
