#pragma once
// The objects that live for the whole run, owned by the entry and passed by
// reference to every operation, together with the platform services.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/Collation.h"
#include "platform/FileSystem.h"
#include "platform/Http.h"
#include "platform/PrivateProfile.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

namespace quillet {

// The options, remembered values and paths of the current run.
struct TConfig {
  bool IndentHtml = false;
  bool DoubleSpaceLines = false;
  bool WordWrap = false;
  bool BoldHtml = false;
  bool ItalicHtml = false;
  bool ShowSplash = false;
  // The folder walk writes what browsers write and import: heading before
  // its list, a header, dates, every "&" escaped.
  bool BrowserLayout = false;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Height = 0;
  int32_t Width = 0;
  std::string NetscapeFile;
  std::string CurrentFile;
  std::string FavoritesDir;
  std::string LastDir;
};

// The document: 8-bit lines without terminators, exactly as in the file.
using TextLines = std::vector<std::string>;

// The platform services an operation may call on. The entry fills in the
// real backends; tests fill in doubles.
struct Platform {
  FileSystem* Fs = nullptr;
  PrivateProfile* Profile = nullptr;
  Ui* UI = nullptr;
  Collation* Collate = nullptr;
  Registry* Reg = nullptr;
  Shell* Sh = nullptr;
  // The network and the loop it answers on: set by ConnectNetwork when a
  // command first needs them.
  Http* Net = nullptr;
  Scheduler* Loop = nullptr;
};

struct Context {
  Platform Services;
  // The program's folder, with its trailing delimiter.
  std::string ProgramDir;
  // Where the program writes its own files (settings, error log, preview):
  // ProgramDir when that is writable, else the user's config folder.
  std::string DataDir;
  TConfig Config;
  TextLines HtmlLines;
  std::string UrlTargetDir;
  // The user's home folder ($HOME), where a Linux browser keeps its
  // bookmarks; empty when unknown.
  std::string HomeDir;
  // $XDG_CONFIG_HOME, where Linux browsers keep their profiles; empty: the
  // home folder's .config.
  std::string ConfigHome;
  // Files this run has copied to their ".bak" already: the copy keeps each
  // as it was before the run first changed it.
  std::set<std::string> BackedUpFiles;
  // Reads the settings file into Config again; set by the entry.
  std::function<void(Context&)> ReloadSettings;
  // Opens a file with the program associated with it; false when that could
  // not be started (it reports why itself). Unset: nothing can be opened.
  std::function<bool(Context&, const std::string&)> LaunchDocument;
  // Sets Services.Net and Services.Loop; set by the entry, which starts the
  // event loop only for a command that goes on the network.
  std::function<void(Context&)> ConnectNetwork;

  FileSystem& Fs() { return *Services.Fs; }
  PrivateProfile& Profile() { return *Services.Profile; }
  Ui& UI() { return *Services.UI; }
  Collation& Collate() { return *Services.Collate; }
  Registry& Reg() { return *Services.Reg; }
  Shell& Sh() { return *Services.Sh; }
};

}  // namespace quillet
