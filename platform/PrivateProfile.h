#pragma once
// The private-profile (INI file) port: how shortcut files and the settings
// file are read and written, entry by entry.
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace quillet {

// Longest value a read returns; the rest is dropped.
inline constexpr size_t kProfileValueLimit = 2047;

class PrivateProfile {
 public:
  virtual ~PrivateProfile() = default;
  // The value of key in section, or def when the file, section or key is
  // missing or the file cannot be read.
  virtual std::string ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& def) = 0;
  // Sets key in section, creating the file, section or key as needed; every
  // other line stays, in the file's own encoding (see ProfileBytes: in a
  // UTF-16 file, names and values are taken as UTF-8). Throws EWriteError with the file's path on failure,
  // among them an entry that cannot be stored (see CanStoreProfileEntry).
  virtual void WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) = 0;

  // ReadString for a file that may hold at most limit bytes: a larger one
  // counts as unreadable and is not read at all.
  virtual std::string ReadStringUpTo(size_t limit, const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& def) = 0;
  // WriteString for the file name in a folder held open. A symbolic link
  // there is written through only to a file inside within; a file larger
  // than limit, or one that cannot be read, is left as it is. Throws
  // EWriteError with the file's path and the reason.
  virtual void WriteStringIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within,
                             size_t limit, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
  // Removes key from section in the file name of a folder held open, with
  // the rules of WriteStringIn: afterwards the key reads as missing. A file
  // without the key, or no file, is not written at all. Throws EWriteError.
  virtual void DeleteKeyIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within,
                           size_t limit, const std::string& section, const std::string& key) = 0;
};

// INI files on the file-system port.
class IniProfile : public PrivateProfile {
 public:
  explicit IniProfile(FileSystem& fs) : fs_(fs) {}
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& def) override;
  void WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::string ReadStringUpTo(size_t limit, const std::string& file, const std::string& section,
                             const std::string& key, const std::string& def) override;
  void WriteStringIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within,
                     size_t limit, const std::string& section, const std::string& key,
                     const std::string& value) override;
  void DeleteKeyIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within, size_t limit,
                   const std::string& section, const std::string& key) override;

 private:
  // Reads the file as WriteStringIn does, hands its text to edit and writes
  // back what edit returns, unless that is nullopt.
  template <class Edit>
  void EditIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within, size_t limit,
              Edit edit);

  FileSystem& fs_;
};

// The text-level rules, apart from any file. A UTF-8 byte order mark before
// the first line is not part of it. Section and key names are trimmed of blanks and match without regard to ASCII case; only the first
// section of a name and the first line of a key in it count. A value is
// trimmed of blanks, loses one pair of enclosing quotes and is cut to the limit.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);
// The text with key set to value: the value replaced where the key stands
// (the line keeps its name and ending), else the entry added after the last
// non-blank line of its section, else a new section at the end. New lines end
// in CR LF. An entry that cannot be stored leaves the text as it is.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);
// The text without key, so that it reads as missing: every line of it in the
// section that counts, and that section's own line once it holds nothing
// else (a later section of the name would count then). Other lines stay
// byte for byte.
std::string RemoveProfileValue(std::string_view text, std::string_view section, std::string_view key);
// How a profile file holds its text: its bytes as they are (ASCII, UTF-8
// with or without a byte order mark, Windows-1252), or UTF-16 after a byte
// order mark, as some Windows tools save it.
enum class ProfileBytes { AsTheyAre, Utf16Le, Utf16Be };
struct DecodedProfile {
  std::string Text;
  ProfileBytes Bytes = ProfileBytes::AsTheyAre;
};
// The text the rules above work on: UTF-16 read as UTF-8, without its mark;
// any other bytes as they are.
DecodedProfile DecodeProfileText(std::string_view bytes);
// Text back into a file's own form: UTF-16 (its mark first) from UTF-8.
std::string EncodeProfileText(std::string_view text, ProfileBytes bytes);
// False when the entry would not read back as written: a line break anywhere,
// a ']' in the section name, a '=' in the key or a key starting with '['.
bool CanStoreProfileEntry(std::string_view section, std::string_view key, std::string_view value);

}  // namespace quillet
