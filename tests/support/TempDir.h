#pragma once
// A real temporary folder for a test, removed with everything in it.
#include <map>
#include <string>

namespace quillet::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing delimiter.
  const std::string& Path() const { return path_; }
  // Path() + "/" + rel.
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

 private:
  std::string path_;
};

// Writes bytes to a file, creating its parent folders.
void WriteBytes(const std::string& path, const std::string& data);
std::string ReadBytes(const std::string& path);
void MakeDirs(const std::string& path);
bool Exists(const std::string& path);

// The bytes of a new shortcut file holding url.
inline std::string Shortcut(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

// Every file and folder under root, by relative path; files map to their
// bytes, folders to "<dir>".
std::map<std::string, std::string> Tree(const std::string& root);

}  // namespace quillet::test
