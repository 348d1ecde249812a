#pragma once
// The file-system port: what the program needs of folders and files.
#include <functional>
#include <string>
#include <string_view>
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

  // Replaces the file's contents with data so that readers see either the old
  // or the new file, never a half-written one; keeps the old file's mode.
  // Throws EFCreateError when the file cannot be written.
  virtual void WriteFile(const std::string& path, const std::string& data) = 0;

  // Hands out the next piece of a file being written; an empty piece ends it.
  using PieceSource = std::function<std::string_view()>;
  // WriteFile for data made piece by piece, so a large document need not be
  // joined into one string first. This default joins the pieces.
  virtual void WriteFileFrom(const std::string& path, const PieceSource& next);

  // True when candidate, links resolved, is path itself or a folder above it.
  virtual bool IsAncestorOrSelf(const std::string& candidate, const std::string& path) = 0;

  // True when the path itself (a trailing delimiter ignored) is a symbolic
  // link, dangling or not. This default asks the parent's listing.
  virtual bool IsSymlink(const std::string& path);

  // The folder holding the running program, with its trailing delimiter.
  virtual std::string ProgramDir() = 0;
  // True when files can be created in the folder.
  virtual bool IsWritableDir(const std::string& dir) = 0;
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
  void WriteFile(const std::string& path, const std::string& data) override;
  void WriteFileFrom(const std::string& path, const PieceSource& next) override;
  bool IsAncestorOrSelf(const std::string& candidate, const std::string& path) override;
  bool IsSymlink(const std::string& path) override;
  std::string ProgramDir() override;
  bool IsWritableDir(const std::string& dir) override;
};

// Orders names as listings are ordered: ASCII case ignored, bytes break ties.
bool NameLess(const std::string& a, const std::string& b);

}  // namespace quillet
