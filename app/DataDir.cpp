#include "app/DataDir.h"

#include <cstdlib>

#include "platform/Path.h"

namespace quillet {

bool IsInstalledProgramDir(FileSystem& fs, const std::string& programDir) {
  std::string dir = programDir;
  while (dir.size() > 1 && EndsWithDelim(dir)) dir.pop_back();
  if (ExtractFileName(dir) != "bin") return false;
  return fs.DirectoryExists(ExtractFilePath(dir) + "share" + PathDelim + "quillet");
}

std::string ChooseDataDir(FileSystem& fs, const std::string& programDir) {
  if (fs.IsWritableDir(programDir) && !IsInstalledProgramDir(fs, programDir))
    return IncludeTrailingDelim(programDir);
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
