#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <cstring>

#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace quillet {

void FileSystem::WriteFileFrom(const std::string& path, const PieceSource& next, Flush flush) {
  std::string data;
  for (std::string_view piece = next(); !piece.empty(); piece = next()) data.append(piece);
  WriteFile(path, data, flush);
}

std::unique_ptr<FileSystem::Lock> FileSystem::LockFile(const std::string&, const std::function<void()>&) {
  return nullptr;
}

std::string FileSystem::ReadFile(const std::string& path) {
  std::string data;
  if (!TryReadFile(path, data)) throw EFOpenError(path);
  return data;
}

std::optional<int64_t> FileSystem::ModificationTime(const std::string&) { return std::nullopt; }

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
    const auto x = static_cast<unsigned char>(LowerAscii(a[i]));
    const auto y = static_cast<unsigned char>(LowerAscii(b[i]));
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

// Opens a regular file for reading, -1 for anything else. O_NONBLOCK keeps
// the open itself from waiting on a fifo.
int OpenRegularFile(const std::string& path, struct stat& st) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Makes the renames in a folder last; a file system that cannot sync a
// folder has nothing more to do for it.
void SyncFolder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

// The new file that replaces a file: made in the target's folder, so that
// one rename puts it in place. Where the file system allows it, the file has
// no name while it is written, so a kill or a full disk leaves nothing
// behind; otherwise it has a short hidden name (the target's own name may
// already be as long as a name can be) and is removed on failure.
// Fills the trailing "XXXXXX" of a name with letters and digits that differ
// from call to call.
void FillTemplate(std::string& name, uint64_t attempt) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  struct timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  // splitmix64 of the time, the process and the attempt
  uint64_t x = static_cast<uint64_t>(ts.tv_nsec) ^ (static_cast<uint64_t>(ts.tv_sec) << 30) ^
               (static_cast<uint64_t>(::getpid()) << 40) ^ (attempt * 0x9E3779B97F4A7C15ull);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  for (size_t i = name.size() - 6; i < name.size(); ++i, x /= 62) name[i] = kChars[x % 62];
}

class ReplacementFile {
 public:
  explicit ReplacementFile(std::string dir) : dir_(std::move(dir)) {}
  ~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Open() {
    fd_ = ::open(dir_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) return true;
    // Not every file system has unnamed files.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) return false;
    std::string name = dir_ + kTemplate;
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) return false;
    name_ = std::move(name);
    return true;
  }
  int Fd() const { return fd_; }

  // Renames the written file over path.
  bool Replace(const std::string& path) {
    if (name_.empty() && !GiveName()) return false;
    if (::rename(name_.c_str(), path.c_str()) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  static constexpr const char* kTemplate = ".quillet-XXXXXX";

  // An unnamed file gets a temporary name to be renamed from: a link cannot
  // replace a file, a rename can.
  bool GiveName() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
      // linkat refuses a name that exists; then another is made up.
      std::string name = dir_ + kTemplate;
      FillTemplate(name, static_cast<uint64_t>(attempt));
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        name_ = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  std::string dir_;
  int fd_ = -1;
  std::string name_;  // the temporary name while the file has one
};

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
  // /dev/zero would never end.
  struct stat st;
  const int fd = OpenRegularFile(path, st);
  if (fd < 0) return false;
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

void PosixFileSystem::WriteFile(const std::string& name, const std::string& data, Flush flush) {
  bool given = false;
  WriteFileFrom(
      name,
      [&] {
        if (given) return std::string_view();
        given = true;
        return std::string_view(data);
      },
      flush);
}

void PosixFileSystem::WriteFileFrom(const std::string& name, const PieceSource& next, Flush flush) {
  if (name.empty() || EndsWithDelim(name)) throw EFCreateError(name, "that is no file name");
  // Replacing a link would turn it into a plain file: write where it points.
  std::string path = name;
  char real[PATH_MAX];
  struct stat link;
  if (::lstat(name.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && ::realpath(name.c_str(), real))
    path = real;
  struct stat old;
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) throw EFCreateError(name, "it is a folder");
  if (exists && WriteProtected(old)) throw EFCreateError(name, "the file is read-only");
  if (exists && !S_ISREG(old.st_mode)) {
    // A device or fifo: there is nothing to replace, only a stream to write.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw EFCreateError(name, std::strerror(errno));
    const bool ok = WriteAllPieces(fd, next);
    const int err = errno;
    if (::close(fd) != 0 || !ok) throw EFCreateError(name, std::strerror(ok ? errno : err));
    return;
  }
  std::string dir = ExtractFilePath(path);
  if (dir.empty()) dir = "./";
  if (!CanWriteInto(dir))
    throw EFCreateError(name, DirectoryExists(dir) ? "its folder is read-only, so no new file can be made beside it"
                                                   : "its folder does not exist");
  ReplacementFile file(dir);
  if (!file.Open()) throw EFCreateError(name, std::string("no new file can be made beside it: ") + std::strerror(errno));
  if (!WriteAllPieces(file.Fd(), next)) throw EFCreateError(name, std::string("writing failed: ") + std::strerror(errno));
  if (exists) {
    bool kept = ::fchmod(file.Fd(), old.st_mode & 07777) == 0;
    if (::getuid() == 0) kept = ::fchown(file.Fd(), old.st_uid, old.st_gid) == 0 && kept;
    if (!kept) throw EFCreateError(name, std::string("its mode cannot be kept: ") + std::strerror(errno));
  } else if (::fchmod(file.Fd(), 0666 & ~CurrentUmask()) != 0) {
    throw EFCreateError(name, std::string("its mode cannot be set: ") + std::strerror(errno));
  }
  if (flush == Flush::Durable && ::fsync(file.Fd()) != 0)
    throw EFCreateError(name, std::string("writing failed: ") + std::strerror(errno));
  if (!file.Replace(path)) throw EFCreateError(name, std::string("it cannot be replaced: ") + std::strerror(errno));
  if (flush == Flush::Durable) SyncFolder(dir);
}

namespace {

class PosixLock : public FileSystem::Lock {
 public:
  explicit PosixLock(int fd) : fd_(fd) {}
  ~PosixLock() override { ::close(fd_); }  // closing releases the lock
  PosixLock(const PosixLock&) = delete;
  PosixLock& operator=(const PosixLock&) = delete;

 private:
  int fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::unique_ptr<FileSystem::Lock> PosixFileSystem::LockFile(const std::string& path,
                                                             const std::function<void()>& beforeWait) {
  bool waited = false;
  for (;;) {
    struct stat locked;
    const int fd = OpenRegularFile(path, locked);
    if (fd < 0) return nullptr;
    int rc = ::flock(fd, LOCK_EX | LOCK_NB);
    if (rc != 0 && errno == EWOULDBLOCK) {
      if (!waited && beforeWait) beforeWait();
      waited = true;
      while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
      }
    }
    if (rc != 0) {
      ::close(fd);
      return nullptr;
    }
    // The run that held the lock may have put a new file in place: that one
    // is the file to lock now.
    struct stat now;
    if (::stat(path.c_str(), &now) == 0 && SameFile(now, locked)) return std::make_unique<PosixLock>(fd);
    ::close(fd);
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

std::optional<int64_t> PosixFileSystem::ModificationTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 && ::lstat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<int64_t>(st.st_mtime);
}

std::string PosixFileSystem::ProgramDir() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return std::string(1, PathDelim);
  return ExtractFilePath(std::string(buf, static_cast<size_t>(n)));
}

bool PosixFileSystem::IsWritableDir(const std::string& dir) { return CanWriteInto(dir); }

}  // namespace quillet
