#pragma once
// Registry files for a Wine-style prefix holding the Netscape browser's keys.
#include <string>
#include <utility>
#include <vector>

namespace quillet::test {

// A key of a registry file with its value lines, the key written as Windows
// writes it ("Software\Netscape\...").
struct RegKey {
  std::string Key;
  std::vector<std::string> Values;
};

// The text of a registry file holding the keys.
std::string RegistryFile(const std::vector<RegKey>& keys);

// The value line "name"="text", the text's backslashes and quotes escaped.
std::string RegString(const std::string& name, const std::string& text);

inline const char* const kNavigatorKey = "Software\\Netscape\\Netscape Navigator";

// Builds a prefix in dir (drive C: at dir/drive_c, Favorites of ann made
// empty) with the given user.reg and system.reg keys; returns drive C:'s folder.
std::string MakeNetscapePrefix(const std::string& dir, const std::vector<RegKey>& user,
                               const std::vector<RegKey>& machine);

}  // namespace quillet::test
