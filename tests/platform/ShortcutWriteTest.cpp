// How a shortcut file's URL entry is written: new files get exactly the two
// lines, existing ones keep every other line.
#include <gtest/gtest.h>

#include "platform/PrivateProfile.h"

namespace quillet {
namespace {

std::string SetUrl(std::string_view text, std::string_view value) {
  return SetProfileValue(text, "InternetShortcut", "URL", value);
}

TEST(ShortcutWrite, NewFileHoldsExactlyTwoLines) {
  EXPECT_EQ(SetUrl("", "https://x/"), "[InternetShortcut]\r\nURL=https://x/\r\n");
  EXPECT_EQ(SetUrl("", ""), "[InternetShortcut]\r\nURL=\r\n");
}

TEST(ShortcutWrite, ExistingFileChangesOnlyItsValue) {
  // Only the value is replaced where it stands, whatever the case of section
  // and key; the name and the line's terminator stay, and the same key in a
  // later section is not ours.
  EXPECT_EQ(SetUrl("[Other]\nURL=keep\n[internetshortcut]\n url = old \nIconIndex=1\n[InternetShortcut]\nURL=2nd",
                   "new"),
            "[Other]\nURL=keep\n[internetshortcut]\n url =new\nIconIndex=1\n[InternetShortcut]\nURL=2nd");
  // Added after the section's last entry when the key is missing.
  EXPECT_EQ(SetUrl("[InternetShortcut]\r\nIconIndex=1\r\n\r\n[Other]\r\nX=1\r\n", "u"),
            "[InternetShortcut]\r\nIconIndex=1\r\nURL=u\r\n\r\n[Other]\r\nX=1\r\n");
  // A new section at the end when the section is missing, the last line ended first.
  EXPECT_EQ(SetUrl("[Other]\r\nX=1", "u"), "[Other]\r\nX=1\r\n[InternetShortcut]\r\nURL=u\r\n");
  // Writing the same value twice gives the same file.
  const std::string once = SetUrl("[InternetShortcut]\r\nURL=a\r\nHotKey=0\r\n", "b");
  EXPECT_EQ(SetUrl(once, "b"), once);
}

}  // namespace
}  // namespace quillet
