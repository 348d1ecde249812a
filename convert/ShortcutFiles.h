#pragma once
// Every shortcut file of a folder tree with its address, for the commands
// that look at a whole tree at once (finding duplicates among them).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

struct ShortcutFile {
  std::string Path;      // as the file system names it
  std::string Relative;  // below the folder listed
  std::string Title;     // the name without ".url"
  std::string Url;       // as read; "ERROR" when there is none
  size_t Folder = 0;     // its folder, an index into ShortcutTree::Folders
  std::optional<int64_t> Modified;
};

struct ShortcutTree {
  // Folder paths (FolderPath.h): "" for the folder listed, then each
  // subfolder's, in the order they were walked.
  std::vector<std::string> Folders;
  std::vector<ShortcutFile> Files;
};

// The shortcut files below the folder, in the order urls2html writes them:
// a folder's own files by name, then its visible subfolders by name. A
// linked folder that leads back into the tree is left out, so that no file
// is listed twice. withDates also reads each file's modification time.
ShortcutTree ListShortcutFiles(Context& ctx, const std::string& folder, bool withDates);

}  // namespace quillet
