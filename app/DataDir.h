#pragma once
#include <string>

#include "platform/FileSystem.h"

namespace quillet {

// Where the program keeps the files it writes (settings, error log, preview):
// its own folder when that is writable (a portable copy, a build tree), else
// $XDG_CONFIG_HOME/quillet (by default ~/.config/quillet), created on demand.
// An installed program uses the latter even in a prefix the user may write
// (~/.local), so settings never land among the programs. Ends in the path
// delimiter.
std::string ChooseDataDir(FileSystem& fs, const std::string& programDir);

// True for PREFIX/bin/ beside PREFIX/share/quillet/, where the install puts it.
bool IsInstalledProgramDir(FileSystem& fs, const std::string& programDir);

}  // namespace quillet
