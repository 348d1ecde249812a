// The desktop's trash as the freedesktop.org trash specification lays it
// out: a file goes into the trash's "files" folder by a rename, and an
// "info" file beside it records where it came from and when, so that a file
// manager can put it back.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace quillet {

bool FileSystem::MoveToTrash(const std::string&, std::string& reason) {
  reason = "there is no trash here";
  return false;
}

namespace {

std::string SystemText(int err) { return std::strerror(err); }

// Makes the folder and the missing ones above it, for the user alone.
bool MakeFolders(const std::string& path, std::string& reason) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    reason = path + " is no folder";
    return false;
  }
  const std::string parent = ExtractFilePath(path.substr(0, path.size() - (EndsWithDelim(path) ? 1 : 0)));
  if (parent.size() > 1 && !MakeFolders(parent.substr(0, parent.size() - 1), reason)) return false;
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    reason = "cannot make " + path + ": " + SystemText(errno);
    return false;
  }
  return true;
}

// Every byte but the unreserved ones and "/" as %XX, as the info file
// writes a path.
std::string EscapePath(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == PathDelim) return path;
  char buf[PATH_MAX];
  if (!getcwd(buf, sizeof buf)) return path;
  return IncludeTrailingDelim(buf) + path;
}

// The trash of the disk a file lies on, when that is not the home trash's:
// $top/.Trash/$uid when the administrator made $top/.Trash (a sticky
// folder, no link), else $top/.Trash-$uid.
std::string TopTrash(const std::string& folder, dev_t dev) {
  std::string top = folder;
  while (top.size() > 1) {
    const std::string parent = ExtractFilePath(top.substr(0, top.size() - 1));
    struct stat st;
    if (parent.empty() || stat(parent.c_str(), &st) != 0 || st.st_dev != dev) break;
    top = parent;
  }
  const std::string uid = std::to_string(getuid());
  struct stat shared;
  if (lstat((top + ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX))
    return top + ".Trash/" + uid;
  return top + ".Trash-" + uid;
}

}  // namespace

bool PosixFileSystem::MoveToTrash(const std::string& path, std::string& reason) {
  const std::string absolute = AbsolutePath(path);
  const std::string name = ExtractFileName(absolute);
  const std::string folder = ExtractFilePath(absolute);
  struct stat file, home;
  if (name.empty() || lstat(absolute.c_str(), &file) != 0) {
    reason = name.empty() ? "no file named" : SystemText(errno);
    return false;
  }
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* homeDir = std::getenv("HOME");
  std::string trash;
  if (dataHome && *dataHome == PathDelim)
    trash = IncludeTrailingDelim(dataHome) + "Trash";
  else if (homeDir && *homeDir)
    trash = IncludeTrailingDelim(homeDir) + ".local/share/Trash";
  if (trash.empty() || !MakeFolders(trash, reason)) {
    if (trash.empty()) reason = "no home folder to keep the trash in";
    return false;
  }
  // A rename cannot leave its disk.
  if (stat(trash.c_str(), &home) == 0 && home.st_dev != file.st_dev) trash = TopTrash(folder, file.st_dev);
  const std::string files = trash + "/files/", info = trash + "/info/";
  if (!MakeFolders(trash, reason) || !MakeFolders(files, reason) || !MakeFolders(info, reason)) return false;

  char date[32];
  const time_t now = time(nullptr);
  struct tm local;
  strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", localtime_r(&now, &local));
  const std::string record = "[Trash Info]\nPath=" + EscapePath(absolute) + "\nDeletionDate=" + date + "\n";

  // The info file is made first, exclusively: it claims the name in the
  // trash against other programs trashing a file of the same name.
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string ext = stem.size() == name.size() ? std::string() : name.substr(dot);
  for (int n = 1; n < 10000; ++n) {
    const std::string candidate = n == 1 ? name : stem + "." + std::to_string(n) + ext;
    const std::string infoPath = info + candidate + ".trashinfo";
    const int fd = open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      reason = "cannot write " + infoPath + ": " + SystemText(errno);
      return false;
    }
    const bool written = write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    const int writeErr = errno;
    close(fd);
    struct stat taken;
    if (written && lstat((files + candidate).c_str(), &taken) == 0) {
      unlink(infoPath.c_str());
      continue;
    }
    if (!written || rename(absolute.c_str(), (files + candidate).c_str()) != 0) {
      reason = SystemText(written ? errno : writeErr);
      unlink(infoPath.c_str());
      return false;
    }
    return true;
  }
  reason = "too many files of that name in the trash";
  return false;
}

}  // namespace quillet
