#pragma once
// Which entries of a folder listing the shortcut-folder operations look at:
// the walk that builds the document and the purge use the same rules.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"

namespace quillet {

// The most a shortcut file is read up to. Real ones hold a few hundred
// bytes; a larger file counts as unreadable, so that a huge file named like
// a shortcut costs no memory.
inline constexpr size_t kShortcutFileLimit = 64 * 1024;

// "*.url" in any letter case, whatever the entry's attributes.
inline bool IsShortcutFileName(const std::string& name) {
  return name.size() >= 4 && EqualIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".url");
}

// A folder that is neither hidden nor system, whose name does not begin with
// "." and does not hold ".lnk" (folder shortcuts), in that letter case.
inline bool IsVisibleSubfolder(const DirEntry& e) {
  return e.IsDirectory && !e.Hidden && !e.System && !e.Name.empty() && e.Name[0] != '.' &&
         e.Name.find(".lnk") == std::string::npos;
}

}  // namespace quillet
