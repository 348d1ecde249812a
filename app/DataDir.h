#pragma once
#include <string>

#include "platform/FileSystem.h"

namespace quillet {

// Where the program keeps the files it writes (settings, error log, preview):
// its own folder when that is writable (a portable copy, a build tree), else
// $XDG_CONFIG_HOME/quillet (by default ~/.config/quillet), created on demand.
// Ends in the path delimiter.
std::string ChooseDataDir(FileSystem& fs, const std::string& programDir);

}  // namespace quillet
