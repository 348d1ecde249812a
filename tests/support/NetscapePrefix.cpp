#include "tests/support/NetscapePrefix.h"

#include "tests/support/TempDir.h"
#include "tests/support/WinePrefix.h"

namespace quillet::test {

namespace {

std::string Escaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string RegString(const std::string& name, const std::string& text) {
  return "\"" + Escaped(name) + "\"=\"" + Escaped(text) + "\"";
}

std::string RegistryFile(const std::vector<RegKey>& keys) {
  std::string out = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n";
  for (const RegKey& k : keys) {
    out += "[" + Escaped(k.Key) + "] 1733600000\n#time=1db4a2b3c4d5e6f\n";
    for (const std::string& v : k.Values) out += v + "\n";
    out += "\n";
  }
  return out;
}

std::string MakeNetscapePrefix(const std::string& dir, const std::vector<RegKey>& user,
                               const std::vector<RegKey>& machine) {
  std::vector<RegKey> userKeys = user;
  userKeys.push_back({"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                      {kFavoritesLine}});
  MakeWinePrefix(dir, RegistryFile(userKeys));
  WriteBytes(dir + "/system.reg", RegistryFile(machine));
  return dir + "/drive_c";
}

}  // namespace quillet::test
