#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace quillet {

void FileSystem::WriteFileFrom(const std::string& path, const PieceSource& next) {
  std::string data;
  for (std::string_view piece = next(); !piece.empty(); piece = next()) data.append(piece);
  WriteFile(path, data);
}

std::string FileSystem::ReadFile(const std::string& path) {
  std::string data;
  if (!TryReadFile(path, data)) throw EFOpenError(path);
  return data;
}

bool FileSystem::IsSymlink(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && EndsWithDelim(p)) p.pop_back();
  std::vector<DirEntry> entries;
  const std::string dir = ExtractFilePath(p);
  if (!ListDir(dir.empty() ? std::string(".") : dir, entries)) return false;
  const std::string name = ExtractFileName(p);
  for (const DirEntry& e : entries)
    if (e.Name == name) return e.IsSymlink;
  return false;
}

bool NameLess(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

namespace {

// Windows refuses to write a read-only file whoever asks; root on Linux would
// not, so a file or folder without any write bit counts as read-only here.
bool WriteProtected(const struct stat& st) { return (st.st_mode & 0222) == 0; }

bool CanWriteInto(const std::string& dir) {
  struct stat st;
  const std::string d = dir.empty() ? "." : dir;
  if (::stat(d.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return !WriteProtected(st) && ::access(d.c_str(), W_OK) == 0;
}

bool WriteAll(int fd, std::string_view data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool WriteAllPieces(int fd, const FileSystem::PieceSource& next) {
  for (std::string_view piece = next(); !piece.empty(); piece = next())
    if (!WriteAll(fd, piece)) return false;
  return true;
}

}  // namespace

bool PosixFileSystem::ListDir(const std::string& dir, std::vector<DirEntry>& out) {
  out.clear();
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  const int dfd = ::dirfd(d);
  while (dirent* e = ::readdir(d)) {
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
    DirEntry entry;
    entry.Name = n;
    entry.Hidden = n[0] == '.';
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
      struct stat st;
      if (::fstatat(dfd, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
        entry.IsSymlink = true;
        if (::fstatat(dfd, n, &st, 0) == 0) entry.IsDirectory = S_ISDIR(st.st_mode);
      } else if (type == DT_UNKNOWN) {
        entry.IsDirectory = S_ISDIR(st.st_mode);
      }
    } else {
      entry.IsDirectory = type == DT_DIR;
    }
    out.push_back(std::move(entry));
  }
  ::closedir(d);
  std::sort(out.begin(), out.end(),
            [](const DirEntry& a, const DirEntry& b) { return NameLess(a.Name, b.Name); });
  return true;
}

bool PosixFileSystem::DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void PosixFileSystem::CreateDir(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && EndsWithDelim(p)) p.pop_back();
  if (::mkdir(p.c_str(), 0777) != 0) throw EOSError(std::strerror(errno));
}

bool PosixFileSystem::ForceDirectories(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && EndsWithDelim(p)) p.pop_back();
  if (p.empty() || DirectoryExists(p)) return !p.empty();
  // Outermost missing parent first.
  const auto at = p.rfind(PathDelim);
  if (at != std::string::npos && at > 0) ForceDirectories(p.substr(0, at));
  ::mkdir(p.c_str(), 0777);
  return DirectoryExists(p);
}

bool PosixFileSystem::DeleteFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  // Windows refuses to delete a read-only file. A link is removed itself,
  // never its target, so only a real file's own write access counts.
  if (!S_ISLNK(st.st_mode) && (WriteProtected(st) || ::access(path.c_str(), W_OK) != 0)) return false;
  return ::unlink(path.c_str()) == 0;
}

bool PosixFileSystem::TryReadFile(const std::string& path, std::string& data) {
  data.clear();
  // Only regular files: a fifo would block the walk and a device such as
  // /dev/zero would never end. O_NONBLOCK keeps the open itself from waiting.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  // Read straight into the string the size the file had when opened.
  const size_t expected = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  data.resize(expected);
  size_t have = 0;
  const auto fail = [&] {
    ::close(fd);
    data.clear();
    return false;
  };
  while (have < expected) {
    const ssize_t n = ::read(fd, data.data() + have, expected - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail();
    }
    if (n == 0) break;
    have += static_cast<size_t>(n);
  }
  data.resize(have);
  // A regular file that gave the size it reported is read whole; only a file
  // that reports no size (as some system files do) is read on to its end. One
  // system call less per shortcut file in a folder walk.
  if (expected == 0) {
    char buf[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0) {
        if (errno == EINTR) continue;
        return fail();
      }
      if (n == 0) break;
      data.append(buf, static_cast<size_t>(n));
    }
  }
  ::close(fd);
  return true;
}

void PosixFileSystem::WriteFile(const std::string& name, const std::string& data) {
  bool given = false;
  WriteFileFrom(name, [&] {
    if (given) return std::string_view();
    given = true;
    return std::string_view(data);
  });
}

void PosixFileSystem::WriteFileFrom(const std::string& name, const PieceSource& next) {
  if (name.empty() || EndsWithDelim(name)) throw EFCreateError(name);
  // Replacing a link would turn it into a plain file: write where it points.
  std::string path = name;
  char real[PATH_MAX];
  struct stat link;
  if (::lstat(name.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && ::realpath(name.c_str(), real))
    path = real;
  struct stat old;
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && (S_ISDIR(old.st_mode) || WriteProtected(old))) throw EFCreateError(name);
  const std::string dir = ExtractFilePath(path);
  if (!exists || !S_ISREG(old.st_mode) || !CanWriteInto(dir)) {
    // A new file, a device, or a file in a folder we may not add to: write in place.
    if (!exists && !CanWriteInto(dir)) throw EFCreateError(name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFCreateError(name);
    const bool ok = WriteAllPieces(fd, next);
    if (::close(fd) != 0 || !ok) throw EFCreateError(name);
    return;
  }
  // Write beside the target and rename over it, so a failure never leaves a
  // half-written file behind.
  std::string tmp = path + ".quillet-XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) throw EFCreateError(name);
  bool ok = WriteAllPieces(fd, next) && ::fchmod(fd, old.st_mode & 07777) == 0;
  if (::getuid() == 0) (void)!::fchown(fd, old.st_uid, old.st_gid);
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    throw EFCreateError(name);
  }
}

bool PosixFileSystem::IsAncestorOrSelf(const std::string& candidate, const std::string& path) {
  char a[PATH_MAX], b[PATH_MAX];
  if (!::realpath(candidate.c_str(), a) || !::realpath(path.c_str(), b)) return false;
  const std::string c(a), p(b);
  if (c == p || c == "/") return true;
  return p.size() > c.size() && p.compare(0, c.size(), c) == 0 && p[c.size()] == PathDelim;
}

bool PosixFileSystem::IsSymlink(const std::string& path) {
  std::string p = path;
  // "link/" would be the folder the link leads to; ask about the link itself.
  while (p.size() > 1 && EndsWithDelim(p)) p.pop_back();
  struct stat st;
  return !p.empty() && ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string PosixFileSystem::ProgramDir() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return std::string(1, PathDelim);
  return ExtractFilePath(std::string(buf, static_cast<size_t>(n)));
}

bool PosixFileSystem::IsWritableDir(const std::string& dir) { return CanWriteInto(dir); }

}  // namespace quillet
