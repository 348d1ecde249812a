#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "app/Batch.h"
#include "platform/Errors.h"

namespace quillet {
namespace {

TEST(CommandLine, JoinsArgumentsAndDropsEmptyOnes) {
  const char* argv[] = {"/usr/bin/quillet", "", "urls2html", "My Folder", "", "out.htm"};
  const CommandLine cl(6, argv);
  EXPECT_EQ(cl.ArgumentCount(), 3u);
  EXPECT_EQ(cl.RawCommandLine(), "/usr/bin/quillet urls2html My Folder out.htm");
  EXPECT_EQ(cl.Argument(1), "urls2html");
  EXPECT_EQ(cl.Argument(2), "My Folder");
  EXPECT_EQ(cl.Argument(3), "out.htm");
  EXPECT_EQ(cl.Argument(4), "");
  EXPECT_EQ(cl.Argument(0), "");

  const char* onlyEmpty[] = {"quillet", ""};
  EXPECT_EQ(CommandLine(2, onlyEmpty).ArgumentCount(), 0u);
}

TEST(CommandLine, SwitchesAreCaseSensitiveSubstringsOfTheWholeLine) {
  const CommandLine cl({"file.htm", "/sorted", "C:/x/nodupes"}, "/opt/nsstrip/quillet");
  EXPECT_TRUE(cl.HasSwitch("/sort"));
  EXPECT_TRUE(cl.HasSwitch("/nodupes"));
  EXPECT_TRUE(cl.HasSwitch("/nsstrip"));  // inside the program's own path
  EXPECT_FALSE(CommandLine({"f", "/SORT"}).HasSwitch("/sort"));
}

TEST(Batch, FailureReportNamesTheKindAndTheText) {
  EXPECT_EQ(FailureReport(EFCreateError("/x/y.htm")),
            "Exception EFCreateError in module quillet at 00000000.\nCannot create file /x/y.htm");
}

}  // namespace
}  // namespace quillet
