#pragma once
// The file-system port: what the program needs of folders and files.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

struct DirEntry {
  std::string Name;
  bool IsDirectory = false;  // a folder (a link to a folder counts, see IsSymlink)
  bool IsSymlink = false;
  bool Hidden = false;
  bool System = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Entries of a folder ("." and ".." left out), sorted by name without
  // regard to ASCII case, bytes breaking ties. False when it cannot be listed.
  virtual bool ListDir(const std::string& dir, std::vector<DirEntry>& out) = 0;

  virtual bool DirectoryExists(const std::string& path) = 0;
  // True for anything but a folder: a regular file, a device, a fifo.
  virtual bool FileExists(const std::string& path) = 0;

  // Creates one folder level. Throws EOSError with the system's text on failure.
  virtual void CreateDir(const std::string& path) = 0;
  // Creates the folder and every missing parent; false when it still does not exist.
  virtual bool ForceDirectories(const std::string& path) = 0;
  // Deletes a file (a link itself, never its target); false when it cannot be
  // deleted, also for a file the user may not write, as Windows keeps a
  // read-only file.
  virtual bool DeleteFile(const std::string& path) = 0;

  // Whole-file reads. TryReadFile returns false when the file cannot be read;
  // ReadFile throws EFOpenError.
  virtual bool TryReadFile(const std::string& path, std::string& data) = 0;
  std::string ReadFile(const std::string& path);

  // How far a replace goes before it returns. Both replace the file whole:
  // the data goes into a new file beside it that is then renamed over it, so
  // a reader, a kill or a full disk leaves the old file or the new one, never
  // a part. Durable also waits until the new file and its folder entry are on
  // the disk (documents); AtomicOnly does not (shortcut files, written by the
  // thousand, and the settings).
  enum class Flush { Durable, AtomicOnly };

  // Replaces the file's contents with data, keeping the old file's mode. A
  // file that cannot be replaced that way (a read-only file or folder, no room
  // for the new file) is left as it was: throws EFCreateError with the reason.
  // A device or fifo is written to as it stands; it holds no contents to lose.
  virtual void WriteFile(const std::string& path, const std::string& data, Flush flush = Flush::Durable) = 0;

  // Hands out the next piece of a file being written; an empty piece ends it.
  using PieceSource = std::function<std::string_view()>;
  // WriteFile for data made piece by piece, so a large document need not be
  // joined into one string first. This default joins the pieces.
  virtual void WriteFileFrom(const std::string& path, const PieceSource& next, Flush flush = Flush::Durable);

  // An advisory lock on a file, held while the object lives.
  class Lock {
   public:
    virtual ~Lock() = default;
  };
  // Locks the file for one load-change-save against other runs doing the
  // same, waiting while another holds it (beforeWait is called first, so the
  // user hears why nothing happens). Since a save puts a new file in place,
  // the lock is taken on whatever the path names once it is free. Null when
  // the file cannot be locked (gone, unreadable, no regular file): the caller
  // goes on without. This default locks nothing.
  virtual std::unique_ptr<Lock> LockFile(const std::string& path, const std::function<void()>& beforeWait);

  // How a read with a size limit went: read whole; nothing of that name;
  // larger than the limit (nothing read); or unreadable, Reason saying why
  // (a folder, a fifo or device, a symbolic link where none is followed, the
  // system's text).
  enum class ReadOutcome { Read, Missing, TooLarge, Unreadable };
  struct LimitedRead {
    ReadOutcome Outcome = ReadOutcome::Unreadable;
    std::string Reason;
  };
  // TryReadFile for a file that may hold at most limit bytes. This default
  // reads the file whole before it looks at the size.
  virtual LimitedRead ReadFileUpTo(const std::string& path, size_t limit, std::string& data);

  // A folder held open by a run that writes below it. Every name is looked up
  // in the folder itself, never again through the path that led to it, so a
  // folder swapped for a symbolic link while the run goes on cannot turn its
  // writes elsewhere: what was checked is what is written.
  class Folder {
   public:
    // Tells folders apart however they were reached (device and inode).
    using Id = std::pair<uint64_t, uint64_t>;
    Folder(std::string path, Id id) : path_(std::move(path)), id_(id) {}
    virtual ~Folder() = default;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    // The path it was reached by, with its trailing delimiter, for messages.
    const std::string& Path() const { return path_; }
    const Id& Identity() const { return id_; }

   private:
    std::string path_;
    Id id_;
  };

  // Opens the folder a path names, links on the way followed (the user named
  // it). Null when it is no folder or cannot be opened.
  virtual std::unique_ptr<Folder> OpenFolder(const std::string& path);

  // Opening a folder by its name in another: opened (made first when nothing
  // stood there); something that is no folder stands there (a file, a fifo,
  // a link to no folder); a symbolic link to a folder outside the folder the
  // run stays within; or it cannot be opened or made, Reason saying why.
  enum class SubfolderOutcome { Opened, NotAFolder, LeadsOutside, Failed };
  struct Subfolder {
    SubfolderOutcome Outcome = SubfolderOutcome::Failed;
    std::unique_ptr<Folder> Dir;
    std::string Reason;
  };
  // A symbolic link is followed only to a folder inside within (or within
  // itself). A folder without any write bit gets no new folder, even for
  // root, as Windows keeps a read-only folder.
  virtual Subfolder OpenSubfolder(Folder& dir, const std::string& name, const Folder& within);

  // Where a file named in dir is to be read and written: for a symbolic link
  // that leads to a file inside within, the folder it lies in and its name
  // there; for anything else dir and name themselves (Dir stays null). Reason
  // is set, and nothing may be written, for a link that leads elsewhere.
  struct FilePlace {
    std::unique_ptr<Folder> Dir;
    std::string Name;
    std::string Reason;
  };
  virtual FilePlace PlaceOfFile(Folder& dir, const std::string& name, const Folder& within);

  // ReadFileUpTo and WriteFile for a name in a folder held open. Neither
  // follows a symbolic link under that name: the read finds it unreadable,
  // the write throws EFCreateError. The write replaces the file whole, as
  // WriteFile does; a device or fifo is refused, not written to.
  virtual LimitedRead ReadFileIn(Folder& dir, const std::string& name, size_t limit, std::string& data);
  virtual void WriteFileIn(Folder& dir, const std::string& name, const std::string& data,
                           Flush flush = Flush::Durable);

  // True when candidate, links resolved, is path itself or a folder above it.
  virtual bool IsAncestorOrSelf(const std::string& candidate, const std::string& path) = 0;

  // True when the path itself (a trailing delimiter ignored) is a symbolic
  // link, dangling or not. This default asks the parent's listing.
  virtual bool IsSymlink(const std::string& path);

  // When the file or folder (a link's target, else the link itself) was last
  // changed, in seconds since 1970; nothing when that cannot be told. This
  // default cannot tell.
  virtual std::optional<int64_t> ModificationTime(const std::string& path);

  // The folder holding the running program, with its trailing delimiter.
  virtual std::string ProgramDir() = 0;
  // True when files can be created in the folder.
  virtual bool IsWritableDir(const std::string& dir) = 0;

  // Moves a file to the desktop's trash, from where the user can restore
  // it. False, with why in reason, when it cannot: the file then stays where
  // it was, never deleted instead. This default has no trash.
  virtual bool MoveToTrash(const std::string& path, std::string& reason);
};

// The real file system.
class PosixFileSystem : public FileSystem {
 public:
  bool ListDir(const std::string& dir, std::vector<DirEntry>& out) override;
  bool DirectoryExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  void CreateDir(const std::string& path) override;
  bool ForceDirectories(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool TryReadFile(const std::string& path, std::string& data) override;
  void WriteFile(const std::string& path, const std::string& data, Flush flush = Flush::Durable) override;
  void WriteFileFrom(const std::string& path, const PieceSource& next, Flush flush = Flush::Durable) override;
  std::unique_ptr<Lock> LockFile(const std::string& path, const std::function<void()>& beforeWait) override;
  LimitedRead ReadFileUpTo(const std::string& path, size_t limit, std::string& data) override;
  std::unique_ptr<Folder> OpenFolder(const std::string& path) override;
  Subfolder OpenSubfolder(Folder& dir, const std::string& name, const Folder& within) override;
  FilePlace PlaceOfFile(Folder& dir, const std::string& name, const Folder& within) override;
  LimitedRead ReadFileIn(Folder& dir, const std::string& name, size_t limit, std::string& data) override;
  void WriteFileIn(Folder& dir, const std::string& name, const std::string& data,
                   Flush flush = Flush::Durable) override;
  bool IsAncestorOrSelf(const std::string& candidate, const std::string& path) override;
  bool IsSymlink(const std::string& path) override;
  std::optional<int64_t> ModificationTime(const std::string& path) override;
  std::string ProgramDir() override;
  bool IsWritableDir(const std::string& dir) override;
  // The freedesktop.org trash: $XDG_DATA_HOME/Trash (by default
  // ~/.local/share/Trash), or for a file on another disk the trash at the
  // top of that disk.
  bool MoveToTrash(const std::string& path, std::string& reason) override;
};

// Orders names as listings are ordered: ASCII case ignored, bytes break ties.
bool NameLess(const std::string& a, const std::string& b);

}  // namespace quillet
