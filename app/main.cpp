// Program entry: one batch command when there are arguments, else the window.
#include <iostream>

#include "app/Batch.h"
#include "app/Config.h"
#include "app/CommandLine.h"
#include "app/DataDir.h"
#include "app/WindowMode.h"
#include "convert/Context.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "platform/TerminalUi.h"

using namespace quillet;

int main(int argc, char** argv) {
  const CommandLine cl(argc, argv);
  PosixFileSystem fs;
  IniProfile profile(fs);
  TerminalUi terminal(std::cin, std::cerr);

  Context ctx;
  ctx.Services = {&fs, &profile, &terminal};
  ctx.ProgramDir = fs.ProgramDir();
  ctx.DataDir = ChooseDataDir(fs, ctx.ProgramDir);
  ctx.UrlTargetDir = ctx.Config.FavoritesDir;
  LoadSettings(ctx);
  ctx.ReloadSettings = LoadSettings;

  if (cl.ArgumentCount() > 0) return RunBatchReporting(ctx, cl, std::cerr);

  return RunWindow(ctx, argc, argv);
}
