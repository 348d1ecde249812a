// Program entry: one batch command when there are arguments, else the window.
#include <QCoreApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/Batch.h"
#include "app/Config.h"
#include "app/CommandLine.h"
#include "app/DataDir.h"
#include "app/ShellCommands.h"
#include "app/StartOptions.h"
#include "app/window/WindowMode.h"
#include "bookmarks/Context.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "platform/Shell.h"
#include "platform/TerminalUi.h"
#include "platform/WineRegistry.h"
#include "platform/qt/QtHttp.h"
#include "platform/qt/QtScheduler.h"

using namespace quillet;

int main(int argc, char** argv) {
  const CommandLine cl(argc, argv);
  if (const InfoRequest info = InfoRequestOf(cl); info != InfoRequest::None) {
    std::cout << (info == InfoRequest::Help ? UsageText() : VersionText());
    return 0;
  }
  PosixFileSystem fs;
  IniProfile profile(fs);
  TerminalUi terminal(std::cin, std::cerr);
  // Links sort by the user's collation locale, as the C library would pick it.
  IcuCollation collation(CollationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"),
                                             std::getenv("LANG")));
  WineRegistry registry(fs, WinePrefixFromEnvironment());
  XdgShell shell;

  Context ctx;
  ctx.Services = {&fs, &profile, &terminal, &collation};
  ctx.ProgramDir = fs.ProgramDir();
  ctx.DataDir = ChooseDataDir(fs, ctx.ProgramDir);
  ctx.Services.Reg = &registry;
  ctx.Services.Sh = &shell;
  try {
    ctx.Config.FavoritesDir = FavoritesFolderFromRegistry(registry);
  } catch (const std::exception& e) {
    std::cerr << FailureReport(e) << std::endl;
    return 1;
  }
  ctx.UrlTargetDir = ctx.Config.FavoritesDir;
  if (const char* home = std::getenv("HOME")) ctx.HomeDir = home;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') ctx.ConfigHome = config;
  LoadSettings(ctx);
  ctx.ReloadSettings = LoadSettings;
  ctx.LaunchDocument = LaunchDocument;
  // Only a command that goes on the network gets an event loop; it needs
  // no display.
  std::unique_ptr<QCoreApplication> loopApp;
  std::unique_ptr<QtScheduler> loop;
  std::unique_ptr<QtHttp> http;
  ctx.ConnectNetwork = [&](Context& c) {
    static int appArgc = 1;
    if (!QCoreApplication::instance()) loopApp = std::make_unique<QCoreApplication>(appArgc, argv);
    if (!loop) loop = std::make_unique<QtScheduler>();
    if (!http) http = std::make_unique<QtHttp>();
    c.Services.Loop = loop.get();
    c.Services.Net = http.get();
  };

  std::string openFile;
  if (OrganizeFileOf(cl, openFile)) return RunWindow(ctx, argc, argv, openFile, WindowStart::Organize);
  const bool window = cl.ArgumentCount() == 0 || WindowFileOf(cl, openFile);
  if (!window) return RunBatchReporting(ctx, cl, std::cerr);

  return RunWindow(ctx, argc, argv, openFile);
}
