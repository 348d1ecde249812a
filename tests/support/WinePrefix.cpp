#include "tests/support/WinePrefix.h"

#include <filesystem>

#include "tests/support/TempDir.h"

namespace quillet::test {

std::string UserRegWithShellFolders(const std::string& valueLines) {
  return "WINE REGISTRY Version 2\n"
         ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
         "\n"
         "#arch=win64\n"
         "\n"
         "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer] 1733600000\n"
         "#time=1db4a2b3c4d5e6f\n"
         "\"ShellState\"=hex:24,00,00,00,34,28,00,00\n"
         "\n"
         "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] "
         "1733600000\n"
         "#time=1db4a2b3c4d5e6f\n"
         "\"AppData\"=\"C:\\\\users\\\\ann\\\\AppData\\\\Roaming\"\n" +
         valueLines +
         "\n"
         "\"Personal\"=\"C:\\\\users\\\\ann\\\\Documents\"\n"
         "\n";
}

std::string MakeWinePrefix(const std::string& dir, const std::string& userReg) {
  const std::string favorites = dir + "/drive_c/users/ann/Favorites";
  MakeDirs(favorites);
  MakeDirs(dir + "/dosdevices");
  std::filesystem::create_directory_symlink("../drive_c", dir + "/dosdevices/c:");
  std::filesystem::create_directory_symlink("/", dir + "/dosdevices/z:");
  WriteBytes(dir + "/user.reg", userReg);
  return favorites;
}

}  // namespace quillet::test
