// Program entry: one batch command when there are arguments, else the window.
#include <cstdlib>
#include <iostream>

#include "app/Batch.h"
#include "app/Config.h"
#include "app/CommandLine.h"
#include "app/DataDir.h"
#include "convert/Context.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "platform/TerminalUi.h"

using namespace quillet;

int main(int argc, char** argv) {
  const CommandLine cl(argc, argv);
  PosixFileSystem fs;
  IniProfile profile(fs);
  TerminalUi terminal(std::cin, std::cerr);
  // Links sort by the user's collation locale, as the C library would pick it.
  IcuCollation collation(CollationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"),
                                             std::getenv("LANG")));

  Context ctx;
  ctx.Services = {&fs, &profile, &terminal, &collation};
  ctx.ProgramDir = fs.ProgramDir();
  ctx.DataDir = ChooseDataDir(fs, ctx.ProgramDir);
  ctx.UrlTargetDir = ctx.Config.FavoritesDir;
  LoadSettings(ctx);
  ctx.ReloadSettings = LoadSettings;

  if (cl.ArgumentCount() > 0) return RunBatchReporting(ctx, cl, std::cerr);

  std::cout << "quillet: the window is not built yet; run a batch command instead." << std::endl;
  return 0;
}
