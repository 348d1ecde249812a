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

// The defaults below work by path, for file systems that hold no folders
// open (test doubles); the real one overrides them all.

FileSystem::LimitedRead FileSystem::ReadFileUpTo(const std::string& path, size_t limit, std::string& data) {
  data.clear();
  if (DirectoryExists(path)) return {ReadOutcome::Unreadable, "it is a folder"};
  if (!FileExists(path)) return {ReadOutcome::Missing, {}};
  if (!TryReadFile(path, data)) return {ReadOutcome::Unreadable, "it cannot be read"};
  if (data.size() <= limit) return {ReadOutcome::Read, {}};
  data.clear();
  return {ReadOutcome::TooLarge, {}};
}

std::unique_ptr<FileSystem::Folder> FileSystem::OpenFolder(const std::string& path) {
  if (!DirectoryExists(path)) return nullptr;
  std::string p = IncludeTrailingDelim(path);
  const Folder::Id id{0, std::hash<std::string>{}(p)};
  return std::make_unique<Folder>(std::move(p), id);
}

FileSystem::Subfolder FileSystem::OpenSubfolder(Folder& dir, const std::string& name, const Folder& within) {
  const std::string sub = dir.Path() + name + PathDelim;
  if (IsSymlink(sub) && !IsAncestorOrSelf(within.Path(), sub)) return {SubfolderOutcome::LeadsOutside, nullptr, {}};
  if (!DirectoryExists(sub)) {
    if (FileExists(dir.Path() + name)) return {SubfolderOutcome::NotAFolder, nullptr, {}};
    try {
      CreateDir(sub);
    } catch (const EOSError& e) {
      return {SubfolderOutcome::Failed, nullptr, e.what()};
    }
  }
  std::unique_ptr<Folder> opened = OpenFolder(sub);
  if (!opened) return {SubfolderOutcome::Failed, nullptr, "it cannot be opened"};
  return {SubfolderOutcome::Opened, std::move(opened), {}};
}

FileSystem::FilePlace FileSystem::PlaceOfFile(Folder& dir, const std::string& name, const Folder& within) {
  const std::string path = dir.Path() + name;
  if (IsSymlink(path) && !IsAncestorOrSelf(within.Path(), path))
    return {nullptr, name, "it is a symbolic link that leads outside " + within.Path()};
  return {nullptr, name, {}};
}

FileSystem::LimitedRead FileSystem::ReadFileIn(Folder& dir, const std::string& name, size_t limit,
                                               std::string& data) {
  return ReadFileUpTo(dir.Path() + name, limit, data);
}

void FileSystem::WriteFileIn(Folder& dir, const std::string& name, const std::string& data, Flush flush) {
  WriteFile(dir.Path() + name, data, flush);
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

// Closes a descriptor when it goes out of scope.
struct FdCloser {
  int fd;
  ~FdCloser() { ::close(fd); }
};

using ReadOutcome = FileSystem::ReadOutcome;
using LimitedRead = FileSystem::LimitedRead;

LimitedRead Unreadable(std::string why) { return {ReadOutcome::Unreadable, std::move(why)}; }

// Reads an open file, up to limit bytes, and closes it. Only regular files:
// a fifo would block the walk and a device such as /dev/zero would never end.
LimitedRead ReadOpenFile(int fd, size_t limit, std::string& data) {
  const FdCloser closer{fd};
  data.clear();
  struct stat st;
  if (::fstat(fd, &st) != 0) return Unreadable(std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return Unreadable("it is a folder");
  if (!S_ISREG(st.st_mode)) return Unreadable("it is no regular file (a fifo or a device)");
  const size_t expected = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  if (expected > limit) return {ReadOutcome::TooLarge, {}};
  // Read straight into the string the size the file had when opened.
  data.resize(expected);
  size_t have = 0;
  const auto fail = [&] {
    const int err = errno;
    data.clear();
    return Unreadable(std::strerror(err));
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
  // that reports no size (as some system files do) is read on to its end, or
  // until it passes the limit. One system call less per shortcut file in a
  // folder walk.
  if (expected == 0) {
    char buf[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0) {
        if (errno == EINTR) continue;
        return fail();
      }
      if (n == 0) break;
      if (static_cast<size_t>(n) > limit - data.size()) {
        data.clear();
        return {ReadOutcome::TooLarge, {}};
      }
      data.append(buf, static_cast<size_t>(n));
    }
  }
  return {ReadOutcome::Read, {}};
}

// Why an open for reading failed, in the reader's terms.
LimitedRead OpenFailure(int err) {
  if (err == ENOENT) return {ReadOutcome::Missing, {}};
  if (err == ELOOP) return Unreadable("it is a symbolic link");
  return Unreadable(std::strerror(err));
}

// One name in a folder: no path, and never the folder itself or its parent.
bool IsEntryName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find(PathDelim) == std::string::npos &&
         name.find('\0') == std::string::npos;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Read once: the program never changes it, and a conversion asks for every
// one of thousands of new files (two system calls each).
mode_t CurrentUmask() {
  static const mode_t mask = [] {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  return mask;
}

// Makes the renames in a folder last; a file system that cannot sync a
// folder has nothing more to do for it.
void SyncFolder(int dir) { (void)::fsync(dir); }

// The process, asked once for every temporary name.
pid_t ProcessId() {
  static const pid_t pid = ::getpid();
  return pid;
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
               (static_cast<uint64_t>(ProcessId()) << 40) ^ (attempt * 0x9E3779B97F4A7C15ull);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  for (size_t i = name.size() - 6; i < name.size(); ++i, x /= 62) name[i] = kChars[x % 62];
}

class ReplacementFile {
 public:
  explicit ReplacementFile(int dir) : dir_(dir) {}
  ~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlinkat(dir_, name_.c_str(), 0);
  }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Open() {
    fd_ = ::openat(dir_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) return true;
    // Not every file system has unnamed files.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = kTemplate;
      FillTemplate(name, static_cast<uint64_t>(attempt));
      fd_ = ::openat(dir_, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
      if (fd_ >= 0) {
        name_ = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }
  int Fd() const { return fd_; }

  // Renames the written file over name in the folder.
  bool Replace(const std::string& name) {
    if (name_.empty() && !GiveName()) return false;
    if (::renameat(dir_, name_.c_str(), dir_, name.c_str()) != 0) return false;
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
      std::string name = kTemplate;
      FillTemplate(name, static_cast<uint64_t>(attempt));
      if (::linkat(AT_FDCWD, self.c_str(), dir_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        name_ = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  int dir_;
  int fd_ = -1;
  std::string name_;  // the temporary name while the file has one
};

// Replaces name in the open folder dir with the pieces, keeping old's mode
// (and owner, for root) when the file existed. shown names it in messages.
void ReplaceIn(int dir, const std::string& name, const std::string& shown, const struct stat* old,
               const FileSystem::PieceSource& next, FileSystem::Flush flush) {
  ReplacementFile file(dir);
  if (!file.Open()) throw EFCreateError(shown, std::string("no new file can be made beside it: ") + std::strerror(errno));
  if (!WriteAllPieces(file.Fd(), next)) throw EFCreateError(shown, std::string("writing failed: ") + std::strerror(errno));
  if (old) {
    bool kept = ::fchmod(file.Fd(), old->st_mode & 07777) == 0;
    if (::getuid() == 0) kept = ::fchown(file.Fd(), old->st_uid, old->st_gid) == 0 && kept;
    if (!kept) throw EFCreateError(shown, std::string("its mode cannot be kept: ") + std::strerror(errno));
  } else if (::fchmod(file.Fd(), 0666 & ~CurrentUmask()) != 0) {
    throw EFCreateError(shown, std::string("its mode cannot be set: ") + std::strerror(errno));
  }
  if (flush == FileSystem::Flush::Durable && ::fsync(file.Fd()) != 0)
    throw EFCreateError(shown, std::string("writing failed: ") + std::strerror(errno));
  if (!file.Replace(name)) throw EFCreateError(shown, std::string("it cannot be replaced: ") + std::strerror(errno));
  if (flush == FileSystem::Flush::Durable) SyncFolder(dir);
}

// A folder held open by its descriptor.
class PosixFolder : public FileSystem::Folder {
 public:
  PosixFolder(std::string path, Id id, int fd) : Folder(std::move(path), id), fd_(fd) {}
  ~PosixFolder() override { ::close(fd_); }
  int Fd() const { return fd_; }

 private:
  int fd_;
};

// Takes over an open folder descriptor; null (and closed) when it cannot be told apart.
std::unique_ptr<FileSystem::Folder> HoldFolder(int fd, std::string path) {
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return nullptr;
  }
  const FileSystem::Folder::Id id{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return std::make_unique<PosixFolder>(IncludeTrailingDelim(std::move(path)), id, fd);
}

const PosixFolder* Held(const FileSystem::Folder& f) { return dynamic_cast<const PosixFolder*>(&f); }

// Where an open file or folder is now, links resolved; empty when unknown.
std::string WhereIs(int fd) {
  char buf[PATH_MAX];
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t n = ::readlink(self.c_str(), buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// True when the open folder fd is the folder within or lies below it. A
// folder whose place cannot be told counts as outside.
bool LiesWithin(int fd, int within) {
  const std::string p = WhereIs(fd), w = WhereIs(within);
  if (p.empty() || w.empty() || p[0] != PathDelim) return false;
  if (p == w || w == "/") return true;
  return p.size() > w.size() && p.compare(0, w.size(), w) == 0 && p[w.size()] == PathDelim;
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
  return PosixFileSystem::ReadFileUpTo(path, SIZE_MAX, data).Outcome == ReadOutcome::Read;
}

FileSystem::LimitedRead PosixFileSystem::ReadFileUpTo(const std::string& path, size_t limit, std::string& data) {
  data.clear();
  // O_NONBLOCK keeps the open itself from waiting on a fifo.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return OpenFailure(errno);
  return ReadOpenFile(fd, limit, data);
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
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) throw EFCreateError(name, std::string("its folder cannot be opened: ") + std::strerror(errno));
  const FdCloser closer{dirFd};
  ReplaceIn(dirFd, ExtractFileName(path), name, exists ? &old : nullptr, next, flush);
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

std::unique_ptr<FileSystem::Folder> PosixFileSystem::OpenFolder(const std::string& path) {
  if (path.empty()) return nullptr;
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return fd < 0 ? nullptr : HoldFolder(fd, path);
}

FileSystem::Subfolder PosixFileSystem::OpenSubfolder(Folder& dir, const std::string& name, const Folder& within) {
  const PosixFolder* parent = Held(dir);
  const PosixFolder* top = Held(within);
  if (!parent || !top) return FileSystem::OpenSubfolder(dir, name, within);
  const auto failed = [](std::string why) { return Subfolder{SubfolderOutcome::Failed, nullptr, std::move(why)}; };
  if (!IsEntryName(name)) return failed("that is no folder name");
  const std::string path = dir.Path() + name;
  const int at = parent->Fd();
  // Twice at most: a folder made by someone else between the look and the
  // make is taken as it is.
  for (int attempt = 0; attempt < 2; ++attempt) {
    int fd = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
      std::unique_ptr<Folder> opened = HoldFolder(fd, path);
      if (!opened) return failed(std::strerror(errno));
      return {SubfolderOutcome::Opened, std::move(opened), {}};
    }
    if (errno == ENOTDIR) {
      // A file, a fifo, or a symbolic link (which O_NOFOLLOW does not open).
      struct stat st;
      if (::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode))
        return {SubfolderOutcome::NotAFolder, nullptr, {}};
      fd = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (fd < 0) {
        if (errno == ENOTDIR || errno == ENOENT || errno == ELOOP) return {SubfolderOutcome::NotAFolder, nullptr, {}};
        return failed(std::strerror(errno));
      }
      // Where the link led is checked on the folder opened, the one written to.
      if (!LiesWithin(fd, top->Fd())) {
        ::close(fd);
        return {SubfolderOutcome::LeadsOutside, nullptr, {}};
      }
      std::unique_ptr<Folder> opened = HoldFolder(fd, path);
      if (!opened) return failed(std::strerror(errno));
      return {SubfolderOutcome::Opened, std::move(opened), {}};
    }
    if (errno != ENOENT) return failed(std::strerror(errno));
    struct stat st;
    if (::fstat(at, &st) == 0 && WriteProtected(st)) return failed("its folder is read-only");
    if (::mkdirat(at, name.c_str(), 0777) != 0 && errno != EEXIST) return failed(std::strerror(errno));
  }
  return failed("it was removed as soon as it was made");
}

FileSystem::FilePlace PosixFileSystem::PlaceOfFile(Folder& dir, const std::string& name, const Folder& within) {
  const PosixFolder* parent = Held(dir);
  const PosixFolder* top = Held(within);
  if (!parent || !top) return FileSystem::PlaceOfFile(dir, name, within);
  struct stat st;
  if (!IsEntryName(name) || ::fstatat(parent->Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISLNK(st.st_mode))
    return {nullptr, name, {}};
  FilePlace outside{nullptr, name, "it is a symbolic link that leads outside " + within.Path()};
  // The file the link leads to, opened without being read...
  const int target = ::openat(parent->Fd(), name.c_str(), O_PATH | O_CLOEXEC);
  if (target < 0) return outside;
  struct stat led;
  const std::string real = ::fstat(target, &led) == 0 ? WhereIs(target) : std::string();
  ::close(target);
  if (real.empty() || real[0] != PathDelim) return outside;
  // ...then its folder, held open and checked, in which the same file must
  // stand under its name: a swap meanwhile leaves the link unwritten.
  const std::string folder = ExtractFilePath(real);
  const std::string base = ExtractFileName(real);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return outside;
  struct stat there;
  if (!LiesWithin(fd, top->Fd()) || ::fstatat(fd, base.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
      !SameFile(there, led)) {
    ::close(fd);
    return outside;
  }
  std::unique_ptr<Folder> held = HoldFolder(fd, folder);
  if (!held) return outside;
  return {std::move(held), base, {}};
}

FileSystem::LimitedRead PosixFileSystem::ReadFileIn(Folder& dir, const std::string& name, size_t limit,
                                                    std::string& data) {
  const PosixFolder* folder = Held(dir);
  if (!folder) return FileSystem::ReadFileIn(dir, name, limit, data);
  data.clear();
  if (!IsEntryName(name)) return Unreadable("that is no file name");
  const int fd = ::openat(folder->Fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return OpenFailure(errno);
  return ReadOpenFile(fd, limit, data);
}

void PosixFileSystem::WriteFileIn(Folder& dir, const std::string& name, const std::string& data, Flush flush) {
  const PosixFolder* folder = Held(dir);
  if (!folder) return FileSystem::WriteFileIn(dir, name, data, flush);
  const std::string shown = dir.Path() + name;
  if (!IsEntryName(name)) throw EFCreateError(shown, "that is no file name");
  const int at = folder->Fd();
  struct stat old;
  const bool exists = ::fstatat(at, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (exists) {
    if (S_ISLNK(old.st_mode)) throw EFCreateError(shown, "it is a symbolic link");
    if (S_ISDIR(old.st_mode)) throw EFCreateError(shown, "it is a folder");
    if (WriteProtected(old)) throw EFCreateError(shown, "the file is read-only");
    if (!S_ISREG(old.st_mode)) throw EFCreateError(shown, "it is no regular file (a fifo or a device)");
  }
  struct stat self;
  if (::fstat(at, &self) != 0 || WriteProtected(self) || ::faccessat(at, ".", W_OK, 0) != 0)
    throw EFCreateError(shown, "its folder is read-only, so no new file can be made beside it");
  bool given = false;
  ReplaceIn(
      at, name, shown, exists ? &old : nullptr,
      [&] {
        if (given) return std::string_view();
        given = true;
        return std::string_view(data);
      },
      flush);
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
