#pragma once
// Which entries of a folder listing the shortcut-folder operations look at:
// the walk that builds the document and the purge use the same rules.
#include <string>
#include <string_view>

#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"

namespace quillet {

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
