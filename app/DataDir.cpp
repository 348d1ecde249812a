#include "app/DataDir.h"

#include <cstdlib>

#include "platform/Path.h"

namespace quillet {

std::string ChooseDataDir(FileSystem& fs, const std::string& programDir) {
  if (fs.IsWritableDir(programDir)) return IncludeTrailingDelim(programDir);
  std::string base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && x[0] == PathDelim) {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = IncludeTrailingDelim(h) + ".config";
  } else {
    return IncludeTrailingDelim(programDir);
  }
  const std::string dir = IncludeTrailingDelim(base) + "quillet";
  fs.ForceDirectories(dir);
  return IncludeTrailingDelim(dir);
}

}  // namespace quillet
