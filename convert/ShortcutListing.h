#pragma once
// Which entries of a folder listing the shortcut-folder operations look at:
// the walk that builds the document and the purge use the same rules.
#include <cstddef>
#include <string>

#include "platform/FileSystem.h"

namespace quillet {

// The most a shortcut file is read up to. Real ones hold a few hundred
// bytes; a larger file counts as unreadable, so that a huge file named like
// a shortcut costs no memory.
inline constexpr size_t kShortcutFileLimit = 64 * 1024;

// "*.url" in any letter case, whatever the entry's attributes.
inline bool IsShortcutFileName(const std::string& name) {
  if (name.size() < 4) return false;
  const char* t = name.c_str() + name.size() - 4;
  return t[0] == '.' && (t[1] | 0x20) == 'u' && (t[2] | 0x20) == 'r' && (t[3] | 0x20) == 'l';
}

// A folder that is neither hidden nor system, whose name does not begin with
// "." and does not hold ".lnk" (folder shortcuts), in that letter case.
inline bool IsVisibleSubfolder(const DirEntry& e) {
  return e.IsDirectory && !e.Hidden && !e.System && !e.Name.empty() && e.Name[0] != '.' &&
         e.Name.find(".lnk") == std::string::npos;
}

}  // namespace quillet
